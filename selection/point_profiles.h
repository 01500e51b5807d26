#pragma once

namespace kestrane {

class form1;

// The profiles through a point of the picture: rebuilds the whole-picture height map, shows a
// fresh cross-section window with the horizontal profile along row round(y) and the vertical one
// along column round(x), and marks both lines as a red crosshair on the main picture.
void showPointProfiles(form1& main, float x, float y);

}  // namespace kestrane
