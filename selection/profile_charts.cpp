#include "selection/profile_charts.h"

#include <algorithm>
#include <cstdint>

#include "workspace/numbers.h"

namespace kestrane {

namespace {

constexpr int kLastIndex = PixelGrid::kSize - 1;

// A fixed grid line sets one colour byte in the columns d with d % period != 1.
struct GridLine {
    int row;
    std::uint8_t Pixel::*colour;
    std::uint8_t value;
    int period;
};

constexpr GridLine kGridLines[] = {
    {kProfileZeroRow + 1, &Pixel::blue, 255, 1},  // base line
    {kProfileTopRow, &Pixel::red, 255, 1},        // height 93
    {62, &Pixel::red, 127, 2},                    // height 48
    {39, &Pixel::red, 64, 3},                     // height 71
    {86, &Pixel::red, 64, 3},                     // height 24
};

enum class ProfileLine { row, column };

int gridIndex(float coordinate) {
    // Also rejects NaN.
    Q_ASSERT(coordinate >= -0.5F && coordinate <= kLastIndex + 0.5F);
    return roundHalfEven(coordinate);
}

void drawProfile(const HeightMap& regionHeights, float x, float y, ProfileLine line,
                 PixelGrid& profilePix, PixelGrid& viewPix) {
    const int pointColumn = gridIndex(x);
    const int pointRow = gridIndex(y);
    Q_ASSERT(regionHeights.lastX() >= kLastIndex && regionHeights.lastY() >= kLastIndex &&
             profilePix.columns() >= PixelGrid::kSize &&
             profilePix.rows() >= PixelGrid::kProfileRows &&
             viewPix.columns() >= PixelGrid::kSize && viewPix.rows() >= PixelGrid::kSize);
    const bool alongRow = line == ProfileLine::row;
    // The other profile crosses this one where the point lies along it.
    const float crossing = alongRow ? x : y;
    const int crossingColumn = alongRow ? pointColumn : pointRow;

    int previousRow = kProfileZeroRow;
    for (int d = 0; d <= kLastIndex; ++d) {
        for (const GridLine& gridLine : kGridLines) {
            if (d % gridLine.period != 1) {
                profilePix(d, gridLine.row).*gridLine.colour = gridLine.value;
            }
        }
        if (static_cast<float>(d) == crossing) {
            for (int row = kProfileTopRow; row <= kProfileZeroRow; ++row) {
                profilePix(crossingColumn, row).red = 255;
            }
        }
        const int cellX = alongRow ? d : pointColumn;
        const int cellY = alongRow ? pointRow : d;
        const int curveRow = kProfileZeroRow - regionHeights(cellX, cellY);
        for (int row = std::min(previousRow, curveRow); row <= std::max(previousRow, curveRow);
             ++row) {
            Pixel& pixel = profilePix(d, row);
            pixel.blue = 255;
            pixel.green = 255;
            pixel.red = 255;
        }
        previousRow = curveRow;

        Pixel& crosshair = viewPix(cellX, cellY);
        crosshair.blue = 0;
        crosshair.red = 255;
        crosshair.green = 0;
    }
}

}  // namespace

void recreateProfileCanvas(PixelGrid& profilePix) {
    profilePix = PixelGrid(PixelGrid::kSize, PixelGrid::kProfileRows);
}

void drawHorizontalProfile(const HeightMap& regionHeights, float x, float y, PixelGrid& profilePix,
                           PixelGrid& viewPix) {
    drawProfile(regionHeights, x, y, ProfileLine::row, profilePix, viewPix);
}

void drawVerticalProfile(const HeightMap& regionHeights, float x, float y, PixelGrid& profilePix,
                         PixelGrid& viewPix) {
    drawProfile(regionHeights, x, y, ProfileLine::column, profilePix, viewPix);
}

}  // namespace kestrane
