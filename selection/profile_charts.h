#pragma once

#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane {

// Chart rows: height h is plotted on row 110 - h, so the heights 0..93 of a filled map land on
// rows 17..110; row 111 carries the blue base line.
inline constexpr int kProfileZeroRow = 110;
inline constexpr int kProfileTopRow = 17;

// Re-creates profilePix as a black 513 x 121 canvas (x 0..512, y 0..120, every byte 0).
void recreateProfileCanvas(PixelGrid& profilePix);

// Draws the height profile along map row round(y) into profilePix, columns d = 0..512 in order.
// Each column gets, in this order: the fixed grid lines (each sets one colour byte and leaves the
// rest of the pixel alone: row 111 blue 255 in every column, row 17 red 255 in every column,
// row 62 red 127 in even columns, rows 39 and 86 red 64 where d % 3 != 1); when d == x exactly,
// red 255 on rows 17..110 of column round(x), where the vertical profile crosses; then a white
// segment (blue, green, red 255) from the previous column's row to 110 - regionHeights[d,
// round(y)], both ends inclusive, the first column starting from row 110. It also paints viewPix[d,
// round(y)] crosshair red (blue 0, green 0, red 255) for every d. Reserved bytes are never touched.
// Rounding halves to even. The map must cover 0..512 x 0..512 with heights 0..93, profilePix
// must be 513 x 121 and viewPix 513 x 513; x and y must round into 0..512.
void drawHorizontalProfile(const HeightMap& regionHeights, float x, float y, PixelGrid& profilePix,
                           PixelGrid& viewPix);

// The same along map column round(x): column d plots regionHeights[round(x), d], the crossing
// marker goes into column round(y) when d == y exactly, and viewPix[round(x), d] turns red.
void drawVerticalProfile(const HeightMap& regionHeights, float x, float y, PixelGrid& profilePix,
                         PixelGrid& viewPix);

}  // namespace kestrane
