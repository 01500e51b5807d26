#pragma once

#include <QString>
#include <cstdint>

#include "workspace/workspace_state.h"

namespace kestrane {

// The JPEG file name for a typed name: ".jpg" is appended unless the last three characters are
// "jpg" or "JPG" (compared case-sensitively; a shorter name never matches). "3D" -> "3D.jpg",
// "3Djpg" stays, "x.Jpg" -> "x.Jpg.jpg", "" -> ".jpg".
QString jpegFileName(const QString& typed);

// The compression value of a compression text: the nearest integer to its number, halves to the
// even neighbour, limited to 0..100. A text that is not a number gives 0.
std::int16_t compressionValue(const QString& text);

// Tilt limits: 90 looks straight down on the region, 180 from the side.
inline constexpr std::int16_t kLowestTilt = 90;
inline constexpr std::int16_t kHighestTilt = 180;

// A press at (x, y) starts a drag there: xx = floor(x), yy = floor(y).
DragAngles startDrag(DragAngles angles, float x, float y);

// The pointer at (x, y): one pixel of travel is one degree. mx2 = nearest(mx - x + xx) and
// my2 = nearest(my - y + yy). A tilt beyond 90..180 is held at the limit, and the drag's start row
// and committed tilt move there, so that turning back changes the tilt at once. The turn is kept
// within -360..360 by reducing it modulo 360 with its sign, so that no number of drags can
// overflow it.
DragAngles moveDrag(DragAngles angles, float x, float y);

// Release: the live angles become the committed ones.
DragAngles commitDrag(DragAngles angles);

}  // namespace kestrane
