#pragma once

namespace kestrane {

class form1;

// The selection on the main picture. A press fixes the anchor, a move with a button held draws the
// white rubber band from the anchor to the pointer, and the release takes the rectangle: at least
// 30 pixels wide or high, it becomes the region shown as a 3D graph (and exported by the save
// menu item); smaller, the profiles through the press point are shown instead. Any button
// selects; every position is first held within the selection limits. The settings dialog's boxes
// show the corners: the start point from each press, the end point from each release.
void Picture1_MouseDown(form1& main, int button, int shift, float x, float y);
void Picture1_MouseMove(form1& main, int button, int shift, float x, float y);
void Picture1_MouseUp(form1& main, int button, int shift, float x, float y);

// Replays a selection from the settings dialog's boxes: the start point becomes the anchor, held
// within the same limits as a press while its boxes keep the text as typed; then a move and a
// release to the end point, which write the end point back as the selection used it.
void redraw2(form1& main);

// Connects the main canvas's mouse to the selection and makes the main window's redraw2 replay it.
void installSelection(form1& main);

}  // namespace kestrane
