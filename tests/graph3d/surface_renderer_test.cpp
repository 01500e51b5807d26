#include "graph3d/surface_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>

#include "graph3d/surface_paths.h"

namespace kestrane {
namespace {

constexpr Pixel kBlue{127, 0, 0, 0}, kBlack{};
const double kTop = degreesToRadians(90), kSide = degreesToRadians(180);

// Calls render(path, description) for every path this processor runs.
void forEveryWay(auto render) {
    for (const SurfacePath path : supportedSurfacePaths()) {
        render(path, testing::Message() << " on path " << static_cast<int>(path));
    }
}

HeightMap mapOf(int lastX, int lastY, auto height) {
    HeightMap heights(lastX, lastY);
    for (int x = 0; x <= lastX; ++x) {
        for (int y = 0; y <= lastY; ++y) heights(x, y) = static_cast<std::uint8_t>(height(x, y));
    }
    return heights;
}

// Each row: region width and height, view, colour 0xRRGGBB, the map's level, and the pixels
// left..right x top..bottom that must show the colour, all others the background. The map's first
// row is 86, so that every cell is a column of levels 85..level, all red in the colour bands.
TEST(RenderSurface, DrawsTheRegionAroundTheCentreWithinTheDrawableArea) {
    using Row = std::tuple<const char*, short, short, SurfaceView, int, int, int, int, int, int>;
    const Row rows[] = {
        {"monochrome", 4, 4, {0, kTop, 450, 450, true, true}, 0xF8F8FB, 255, 224, 226, 244, 246},
        {"colour", 4, 4, {0, kTop, 451, 451, false, false}, 0x6598FF, 7, 225, 227, 245, 247},
        {"rampOnBlack", 4, 4, {0, kTop, 449, 449, false, true}, 0x00007F, 0, 223, 225, 243, 245},
        {"bandsOnBlue", 4, 4, {0, kTop, 450, 450, true, false}, 0xFF007B, 79, 224, 226, 244, 246},
        // From the front each level z of column i lands on (cx + i, cy + z).
        {"bothEdges", 454, 2, {0, 0, 449, 449, false, false}, 0xFF0000, 215, 0, 448, 329, 448},
        {"pastTheGrid", 454, 2, {0, 0, 760, 760, false, false}, 0xFF0000, 130, 154, 512, 485, 512},
        {"sideView", 2, 2, {0, kSide, 450, 450, false, false}, 0xFF0000, 255, 225, 225, 0, 160},
        {"oneCellWide", 1, 40, {0, kTop, 450, 450, false, false}, 0, 93, 0, -1, 0, -1},
        {"oneCellHigh", 40, 1, {0, kTop, 450, 450, false, false}, 0, 93, 0, -1, 0, -1},
        {"infiniteAngle", 40, 40, {HUGE_VAL, kTop, 450, 450, false, false}, 0, 93, 0, -1, 0, -1},
    };
    for (const auto& [name, width, height, view, rgb, level, left, right, top, bottom] : rows) {
        PixelGrid expected;
        expected.fill(view.monochromeBackground ? kBlue : kBlack);
        for (int y = top; y <= bottom; ++y) {
            std::fill_n(&expected(left, y), right - left + 1, std::bit_cast<Pixel>(rgb));
        }
        const auto cell = [&level](int, int y) { return y == 0 ? 86 : level; };
        forEveryWay([&](SurfacePath path, const testing::Message& way) {
            PixelGrid canvas;
            canvas.fill({1, 2, 3, 4});
            renderSurface(path, mapOf(width, height, cell), width, height, view, canvas);
            EXPECT_EQ(canvas, expected) << name << way;
        });
    }
}

// The projection written out dot by dot on the 450 x 450 canvas, nothing hoisted, combined or
// left out; heights up to 93. Returns the number of dots drawn.
std::int64_t plainRender(const HeightMap& map, int w, int h, double a, double r,
                         PixelGrid& canvas) {
    canvas.fill(kBlue);
    std::int64_t dots = 0;
    const double sa = std::sin(a), ca = std::cos(a), sr = std::sin(r), cr = std::cos(r);
    const int hw = roundHalfEven(w / 2.0), hh = roundHalfEven(h / 2.0);
    for (int n = 1; n < 2 * hw; ++n) {
        for (int k = 1; k < 2 * hh; ++k) {
            const int i = (n - hw) * (sa >= 0 ? 1 : -1), j = (k - hh) * (ca >= 0 ? 1 : -1);
            int lowest = 100;
            for (int m = 0; m < 9; ++m) {
                const int x = std::min(i + hw + m % 3 - 1, w), y = std::min(j + hh + m / 3 - 1, h);
                lowest = std::min(lowest, int{map(x, y)});
            }
            for (int z = std::max(lowest - 1, 0); z <= map(i + hw, j + hh); ++z) {
                const double depth = 100000 - (-i * sa * cr - j * ca * cr + z * sr);
                const double sx = 225 + (i * ca - j * sa) * 100000 / depth;
                const double sy = 245 + (j * ca * sr + i * sa * sr + z * cr) * 100000 / depth;
                if (sx >= 0 && sx <= 450 && sy >= 0 && sy <= 450) {
                    ++dots;
                    // Each third level adds 4 to blue and 8 to green and red.
                    canvas(roundHalfEven(sx), roundHalfEven(sy)) =
                        std::bit_cast<Pixel>((z + 2) / 3 * 0x080804 + 0x7F);
                }
            }
        }
    }
    return dots;
}

int hills(int x, int y) { return (x * 7 + y * 3) % 70 + x * y % 24; }
int checkerboard(int x, int y) { return (x + y) % 2 == 0 ? 93 : 0; }
// Runs of one to three levels, in no regular order.
int gentleSlope(int x, int y) { return (x * x + 3 * y) / 97 % 94; }
// Tall only in row 40, which a region 40 high reads as neighbours but never draws.
int tallBeyondTheCells(int, int y) { return y == 40 ? 93 : 0; }
// Seen with A = R = 0 over 24 x 24002 cells, row j = -12000 sits behind a perspective factor of
// exactly 100000 / 88000: level 11 of column i = 11 lands on (cx + 12.5, cy + 12.5) and level 33
// of column i = -11 on (cx - 12.5, cy + 37.5), each half way between two pixels.
int halfWay(int x, int y) { return y != 1 ? 0 : x == 1 ? 33 : x == 23 ? 11 : 0; }

// Every quarter turn with tilts from 90 to 180 degrees, tilts at and near both ends, and regions
// larger than the canvas, where runs leave it at any edge; on every path.
TEST(RenderSurface, MatchesThePlainProjectionBitForBit) {
    const std::tuple<const char*, int (*)(int, int), short, short, double, double> rows[] = {
        {"turn10", hills, 181, 140, 10, 91.25},
        {"turn100", hills, 181, 140, 100, 102.5},
        {"turn190", hills, 181, 140, 190, 113.75},
        {"turn280", hills, 181, 140, 280, 125},
        {"turn325", hills, 181, 140, 325, 130.625},
        {"turn720", hills, 181, 140, 720, 180},
        {"straightDown", hills, 181, 140, 10, 90},
        {"nearlyStraightDown", hills, 181, 140, 30, 90.4},
        {"beyondEveryEdge", hills, 507, 494, 10, 110},
        {"rough", checkerboard, 507, 494, 10, 110},
        {"roughStraightDown", checkerboard, 507, 494, 200, 90},
        {"smooth", gentleSlope, 507, 494, 10, 110},
        {"smoothTurned", gentleSlope, 507, 494, 160, 125},
        {"tallBeyondTheCells", tallBeyondTheCells, 40, 40, 10, 110},
        {"halfWayToTheEvenPixel", halfWay, 24, 24002, 0, 0},
    };
    for (const auto& [name, level, width, height, turn, tilt] : rows) {
        const HeightMap map = mapOf(width, height, level);
        const SurfaceView view{degreesToRadians(turn), degreesToRadians(tilt)};
        PixelGrid expected;
        const std::int64_t dots =
            plainRender(map, width, height, view.angleA, view.angleR, expected);
        forEveryWay([&](SurfacePath path, const testing::Message& way) {
            PixelGrid canvas;
            EXPECT_EQ(renderSurface(path, map, width, height, view, canvas), dots) << name << way;
            EXPECT_EQ(canvas, expected) << name << way;
        });
    }
}

}  // namespace
}  // namespace kestrane
