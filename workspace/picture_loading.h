#pragma once

#include <QString>

namespace kestrane {

class form1;

// The two halves of loading a picture into the main window; the open command closes its dialog
// between them.

// Shows the picture file on the canvas: drawn at its natural size from the top-left corner, cut
// at the canvas's edges, the canvas background wherever it does not reach. The canvas then takes
// mouse input. False, with the canvas untouched, when the file is not a picture that can be
// decoded (missing, not a regular file, empty, damaged, of another format, or beyond the decode
// budget).
bool showPictureFile(form1& main, const QString& path);

// Takes what the canvas shows as the workspace picture: basePix captures the canvas, viewPix
// becomes a copy of it, and the graph's view goes back to its starting angles.
void captureCanvas(form1& main);

}  // namespace kestrane
