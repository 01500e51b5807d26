#pragma once

// Draws a region of a height map as a 3D surface of dots on the graph's canvas, and the colours
// those dots take.

#include <cstdint>

#include "workspace/height_map.h"
#include "workspace/numbers.h"
#include "workspace/pixel_grid.h"

namespace kestrane {

// Dot colour of a level in the blue-tinted monochrome ramp: level 0 is (blue 127, green 0, red 0),
// the monochrome background; level 93, the highest a picture gives, is (blue 251, green 248,
// red 248). Higher levels keep the colour of 93. The reserved byte is 0.
Pixel monochromeDotColour(std::uint8_t level);

// Dot colour of a level in the colour bands: pale blue at 0, through blue, green, yellow, orange
// and magenta to pure red from 85 on. The reserved byte is 0.
Pixel colourBandDotColour(std::uint8_t level);

// Sets all four bytes of every pixel of the canvas to the background: blue 127 with green, red
// and reserved 0 on a monochrome background, all zero (black) otherwise.
void clearGraphCanvas(PixelGrid& canvas, bool monochromeBackground);

// How the surface is looked at and where it goes. The defaults are those of a new graph window.
struct SurfaceView {
    // Turn of the region about the height axis, radians, any value.
    double angleA = kStartAngleA;
    // Tilt, radians, meant for 90 degrees (straight down on the region) to 180 degrees (from the
    // side, heights pointing up the screen); the painting order is far to near only in that range.
    double angleR = kStartAngleR;
    // Drawable size of the graph picture in pixels. The region's centre lands on
    // (round(canvasWidth / 2), round(canvasHeight / 2 + 20)).
    int canvasWidth = 450;
    int canvasHeight = 450;
    // The graph window's monochrome box is set (blue background instead of black).
    bool monochromeBackground = true;
    // The settings dialog's monochrome box is set (monochrome ramp instead of colour bands).
    bool monochromeDots = true;
};

// Clears the canvas, then paints heights[0..regionWidth, 0..regionHeight] (inclusive) as a surface,
// far to near, with no depth buffer. Each cell x in 1..2*round(regionWidth / 2) - 1, y likewise, is
// a run of dots from one below the lowest of its 3 x 3 neighbours (0 at the least) up to its own
// height; the outermost cells only serve as neighbours. Every rounding goes half to even. A dot
// changes the blue, green and red bytes of one pixel; dots projected outside the drawable area
// 0..2*cx x 0..2*(cy - 20), or outside the canvas grid, are dropped.
// A region of width or height 0 or 1, or one that the map does not cover, draws nothing and reads
// no height. Levels above 93 are drawn like any other, in the colour of 93 when monochrome.
// Returns the number of dots that land in the drawable area, painted over later or not.
std::int64_t renderSurface(const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas);

}  // namespace kestrane
