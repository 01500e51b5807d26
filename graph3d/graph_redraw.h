#pragma once

namespace kestrane {

class form1;

// Paints the current region (heights, size and view angles of the main window) into viewPix and
// puts it on the graph window's canvas, showing and raising that window. The canvas size is read
// from the graph picture at every render; the background follows the graph window's monochrome
// box and the dot colours the settings dialog's. Accessing either window creates it if needed.
void redraw(form1& main);

// Makes the main window's redraw paint the graph, and the graph window come up with its behaviour.
void installGraph(form1& main);

}  // namespace kestrane
