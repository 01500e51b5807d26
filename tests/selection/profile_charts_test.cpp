#include "selection/profile_charts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace kestrane {
namespace {

// Every chart byte starts nonzero, so a pixel where only one byte was set shows it.
constexpr Pixel kChart{1, 2, 3, 4};

// The profiles through (100, 512), whose vertical crossing comes last, after that column's grid
// lines. Along row 512 the heights are 3 at d = 0 and 45 at the crossing; along column 100, 45 at
// the crossing; 0 elsewhere.
TEST(ProfileCharts, DrawOnlyTheirBytesOverWhatIsThere) {
    PixelGrid horizontal(513, 121);
    PixelGrid vertical(513, 121);
    PixelGrid viewPix(513, 513);
    horizontal.fill(kChart);
    vertical.fill(kChart);
    HeightMap map(512, 512);
    map(0, 512) = 3;
    map(100, 512) = 45;
    drawHorizontalProfile(map, 100, 512, horizontal, viewPix);
    drawVerticalProfile(map, 100, 512, vertical, viewPix);

    using RedRuns = std::vector<std::tuple<int, int, std::uint8_t>>;  // first row, last row, red
    // The white segment runs from its top row to row 110; row 111 is the blue base line.
    const std::tuple<const PixelGrid*, int, RedRuns, int> columns[] = {
        {&horizontal, 0, {{17, 17, 255}, {39, 39, 64}, {62, 62, 127}, {86, 86, 64}}, 107},
        {&horizontal, 4, {{17, 17, 255}, {62, 62, 127}}, 110},
        {&horizontal, 100, {{17, 64, 255}}, 65},
        {&vertical, 0, {{17, 17, 255}, {39, 39, 64}, {62, 62, 127}, {86, 86, 64}}, 110},
        {&vertical, 512, {{17, 64, 255}}, 65},
    };
    for (const auto& [chart, column, redRuns, whiteTop] : columns) {
        std::vector<Pixel> expected(121, kChart);
        for (const auto& [first, last, red] : redRuns) {
            std::fill(expected.begin() + first, expected.begin() + last + 1, Pixel{1, 2, red, 4});
        }
        std::fill(expected.begin() + whiteTop, expected.begin() + 111, Pixel{255, 255, 255, 4});
        expected[111] = {255, 2, 3, 4};
        for (int row = 0; row < 121; ++row) {
            EXPECT_EQ((*chart)(column, row), expected[row]) << column << ", " << row;
        }
    }
}

}  // namespace
}  // namespace kestrane
