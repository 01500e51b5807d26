#include "selection/height_map_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrane {
namespace {

using Cells = std::vector<std::uint8_t>;

// A map from its cells as they look on screen, row by row; cells not given are 0.
HeightMap mapOf(int lastX, int lastY, const Cells& rows) {
    HeightMap map(lastX, lastY);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        map(i % (lastX + 1), i / (lastX + 1)) = rows[i];
    }
    return map;
}

TEST(HeightMapBuilder, BuildsFromTheOriginByRedAloneSavePureYellow) {
    // Red 14/15 (reserved byte 200), 22/23; yellow with red 254, with green 254, with reserved
    // byte 9 and with blue 1. The region's second row is black.
    const Pixel row[] = {{9, 9, 14, 0},    {0, 0, 15, 200},  {0, 0, 22, 0},    {0, 0, 23, 0},
                         {0, 255, 254, 0}, {0, 254, 255, 0}, {0, 255, 255, 9}, {1, 255, 255, 0}};
    PixelGrid basePix;
    std::ranges::copy(row, basePix.row(300) + 200);
    HeightMap regionHeights = mapOf(7, 1, Cells(16, 77));
    buildHeightMap(basePix, 200, 300, 7, 1, regionHeights);
    EXPECT_EQ(regionHeights, mapOf(7, 1, {0, 3, 3, 6, 90, 93, 10, 93}));
}

TEST(HeightMapBuilder, FillsMarkersFromTheirDiagonalsInOneScan) {
    // Straight neighbours (9) never count; cells are filled in x outer, y inner order.
    const std::tuple<const char*, std::int16_t, std::int16_t, Cells, Cells> cases[] = {
        {"halfRoundsUp", 2, 1, {9, 10, 9, 3, 9, 6}, {9, 5, 9, 3, 9, 6}},
        {"threeThreeSix", 2, 2, {3, 9, 6, 9, 10, 9, 3, 9, 10}, {3, 9, 6, 9, 4, 9, 3, 9, 4}},
        {"allMarkers", 2, 2, Cells(9, 10), Cells(9, 0)},
        {"neighboursZero", 2, 2, {0, 9, 0, 9, 10, 9, 0, 9, 0}, {0, 9, 0, 9, 0, 9, 0, 9, 0}},
        {"oneRow", 4, 0, {10, 30, 10, 60, 10}, {0, 30, 0, 60, 0}},
        {"filledTenSkipped", 2, 2, {9, 0, 12, 0, 10, 0, 9, 0, 10}, {9, 0, 12, 0, 10, 0, 9, 0, 0}},
        {"cornerSeesOneDiagonal", 2, 2, {10, 9, 9, 9, 6, 9, 9, 9, 9}, {6, 9, 9, 9, 6, 9, 9, 9, 9}},
    };
    for (const auto& [name, lastX, lastY, before, after] : cases) {
        HeightMap map = mapOf(lastX, lastY, before);
        fillMarkerCells(map, lastX, lastY);
        EXPECT_EQ(map, mapOf(lastX, lastY, after)) << name;
    }
}

}  // namespace
}  // namespace kestrane
