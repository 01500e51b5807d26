#pragma once

#include <cstdint>

#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane {

// Height of a pure-yellow pixel between building and filling. No computed height equals it,
// since those are all multiples of 3.
inline constexpr std::uint8_t markerHeight = 10;

// Height of one pixel from its red byte alone: 3 * ((red - 7) / 8), truncated toward zero, so
// red 0..14 gives 0, 15..22 gives 3, ..., 247..254 gives 90 and 255 gives 93. Pure yellow
// (blue 0, green 255, red 255) gives markerHeight. The reserved byte is ignored.
constexpr std::uint8_t pixelHeight(Pixel pixel) {
    const bool pureYellow = pixel.blue == 0 && pixel.green == 255 && pixel.red == 255;
    return pureYellow ? markerHeight : static_cast<std::uint8_t>(3 * ((pixel.red - 7) / 8));
}

// Sets regionHeights[i, j] to pixelHeight(basePix[originX + i, originY + j]) for i in 0..lastX and
// j in 0..lastY, both inclusive. The caller sizes the map; its bounds never change here. The map
// and the picture must cover those cells.
void buildHeightMap(const PixelGrid& basePix, int originX, int originY, int lastX, int lastY,
                    HeightMap& regionHeights);

// Replaces each markerHeight cell of regionHeights[0..lastX, 0..lastY] with the mean of its four
// diagonal neighbours inside those bounds that do not hold markerHeight, rounded half up; 0 when
// the counted neighbours sum to 0 or none is counted. One scan, x outer and y inner, in place: a
// cell filled earlier counts as an ordinary neighbour for later cells, unless it was filled with
// markerHeight itself, which later cells skip and which stays in the map. The map must cover the
// bounds.
void fillMarkerCells(HeightMap& regionHeights, std::int16_t lastX, std::int16_t lastY);

// A new map with indices 0..lastX x 0..lastY (both at least 0), built from basePix at the origin
// and filled.
HeightMap filledHeightMap(const PixelGrid& basePix, int originX, int originY, std::int16_t lastX,
                          std::int16_t lastY);

}  // namespace kestrane
