#include "graph3d/surface_renderer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace kestrane {

namespace {

// Past this level the monochrome ramp's green and red would run beyond 255.
constexpr int kTopRampLevel = 93;
constexpr double kPerspectiveDistance = 100000;
constexpr int kCentreShiftDown = 20;
// Above every height a picture gives (0..93), so a neighbour always lowers it.
constexpr int kNeighbourMinimumStart = 100;

struct ColourBand {
    int lowestLevel;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Highest band first; the first band whose lowest level is reached gives the colour.
constexpr std::array<ColourBand, 16> kColourBands{{
    {85, 255, 0, 0},
    {79, 255, 0, 123},
    {73, 255, 0, 255},
    {67, 255, 75, 125},
    {61, 255, 153, 0},
    {55, 255, 200, 0},
    {49, 255, 255, 0},
    {43, 125, 255, 0},
    {37, 0, 255, 0},
    {31, 0, 125, 125},
    {25, 0, 0, 255},
    {19, 25, 51, 255},
    {13, 51, 102, 255},
    {7, 101, 152, 255},
    {1, 153, 204, 255},
    {0, 200, 200, 255},
}};

// One entry past the highest level, 255: the second lane of a pair starting there looks it up
// even though its dot is dropped.
using LevelColours = std::array<Pixel, 257>;

LevelColours tabulate(Pixel (*colour)(std::uint8_t)) {
    LevelColours colours;
    for (std::size_t level = 0; level < colours.size(); ++level) {
        colours[level] = colour(static_cast<std::uint8_t>(std::min<std::size_t>(level, 255)));
    }
    return colours;
}

const LevelColours kMonochromeColours = tabulate(&monochromeDotColour);
const LevelColours kBandColours = tabulate(&colourBandDotColour);

// Two levels of a column are projected side by side, each lane computed as a lone double would
// be, so that the positions come out the same to the last bit.
using LevelPair = double __attribute__((vector_size(16)));
using LevelPairBits = std::int64_t __attribute__((vector_size(16)));

// Added to a position of 0 up to 2^52, it leaves the position rounded to a whole number, half to
// even, in the low bits.
constexpr LevelPair kRoundingShift{0x1p52, 0x1p52};

// A term for each level 0..256.
using LevelTerms = std::array<double, 257>;

}  // namespace

Pixel monochromeDotColour(std::uint8_t level) {
    const int step = (std::min(static_cast<int>(level), kTopRampLevel) + 2) / 3;
    const auto redGreen = static_cast<std::uint8_t>(8 * step);
    return {static_cast<std::uint8_t>(4 * step + 127), redGreen, redGreen, 0};
}

Pixel colourBandDotColour(std::uint8_t level) {
    const auto band = std::find_if(kColourBands.begin(), kColourBands.end(),
                                   [&](const ColourBand& b) { return level >= b.lowestLevel; });
    return {band->blue, band->green, band->red, 0};
}

void clearGraphCanvas(PixelGrid& canvas, bool monochromeBackground) {
    canvas.fill(monochromeBackground ? Pixel{127, 0, 0, 0} : Pixel{});
}

std::int64_t renderSurface(const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas) {
    clearGraphCanvas(canvas, view.monochromeBackground);

    const int halfWidth = roundHalfEven(regionWidth / 2.0);
    const int halfHeight = roundHalfEven(regionHeight / 2.0);
    if (halfWidth <= 0 || halfHeight <= 0 || heights.lastX() < regionWidth ||
        heights.lastY() < regionHeight) {
        return 0;
    }

    const double sinA = std::sin(view.angleA);
    const double cosA = std::cos(view.angleA);
    const double sinR = std::sin(view.angleR);
    const double cosR = std::cos(view.angleR);
    // Depth grows with i when sinA >= 0 and with j when cosA >= 0: walk both far to near.
    const int di = sinA >= 0 ? 1 : -1;
    const int dj = cosA >= 0 ? 1 : -1;

    const int cx = roundHalfEven(view.canvasWidth / 2.0);
    const int cy = roundHalfEven(view.canvasHeight / 2.0 + kCentreShiftDown);
    // A drawing area larger than the grid keeps its centre; what lies beyond the grid is lost.
    const double lastX = std::min(2 * cx, canvas.columns() - 1);
    const double lastY = std::min(2 * (cy - kCentreShiftDown), canvas.rows() - 1);

    const LevelPair centreX{static_cast<double>(cx), static_cast<double>(cx)};
    const LevelPair centreY{static_cast<double>(cy), static_cast<double>(cy)};
    const LevelColours& colours = view.monochromeDots ? kMonochromeColours : kBandColours;
    Pixel* const pixels = canvas.data();
    const auto stride = static_cast<std::size_t>(canvas.columns());
    std::int64_t dotsWritten = 0;
    // The clear left every reserved byte 0, as is each colour's, so storing whole pixels keeps
    // it; byte-wise stores cost nearly twice the time. A dropped dot goes to a scratch pixel,
    // which spares a hard-to-predict branch.
    Pixel dropped;
    const auto plot = [&](bool kept, std::int64_t roundedX, std::int64_t roundedY, int level) {
        const std::size_t offset =
            static_cast<std::uint32_t>(roundedY) * stride + static_cast<std::uint32_t>(roundedX);
        *(kept ? pixels + offset : &dropped) = colours[static_cast<std::size_t>(level)];
        dotsWritten += kept ? 1 : 0;
    };

    // The terms below repeat the projection's products operand for operand, so that taking them
    // out of the inner loops leaves every rounding as it was. Those of a row are the same for
    // every column.
    const auto rows = static_cast<std::size_t>(regionHeight) + 1;
    std::vector<double> rowSinA(rows), rowCosASinR(rows), rowCosACosR(rows);
    for (std::size_t y = 0; y < rows; ++y) {
        const int j = static_cast<int>(y) - halfHeight;
        rowSinA[y] = j * sinA;
        rowCosASinR[y] = j * cosA * sinR;
        rowCosACosR[y] = j * cosA * cosR;
    }
    // Likewise the levels' terms, read two at a time: up to level 256, the second lane of a
    // pair starting at the highest level, 255.
    LevelTerms levelCosR, levelSinR;
    for (std::size_t level = 0; level < levelCosR.size(); ++level) {
        levelCosR[level] = static_cast<double>(level) * cosR;
        levelSinR[level] = static_cast<double>(level) * sinR;
    }
    const auto levelPair = [](const LevelTerms& terms, int level) {
        LevelPair pair;
        std::memcpy(&pair, &terms[static_cast<std::size_t>(level)], sizeof pair);
        return pair;
    };
    // Per column: each row's minimum over columns x - 1..x + 1, a missing last row stood in for
    // by the one before it; then each cell's lowest level, one below the least of the minima of
    // rows y - 1..y + 1, and its height. Unlike byte entries, 16-bit ones cannot alias the height
    // map's bookkeeping, which leaves these loops vectorised.
    std::vector<std::int16_t> rowMinima(rows + 1), lowestLevels(rows), tops(rows);
    const int firstY = dj > 0 ? 1 : 2 * halfHeight - 1;
    const int endY = dj > 0 ? 2 * halfHeight : 0;
    for (int column = 0; column < 2 * halfWidth - 1; ++column) {
        const int i = (column - (halfWidth - 1)) * di;
        const int x = i + halfWidth;
        const double iCosA = i * cosA;
        const double iSinASinR = i * sinA * sinR;
        const double iDepth = -i * sinA * cosR;

        // Row and column 0 always exist; a missing last column is stood in for by the cell's
        // own, which changes no minimum.
        const int nextX = std::min(x + 1, static_cast<int>(regionWidth));
        for (int y = 0; y < static_cast<int>(rows); ++y) {
            const auto here = heights(x, y);
            tops[static_cast<std::size_t>(y)] = here;
            rowMinima[static_cast<std::size_t>(y)] =
                std::min({heights(x - 1, y), here, heights(nextX, y)});
        }
        rowMinima[rows] = rowMinima[rows - 1];
        for (std::size_t y = 1; y < rows; ++y) {
            const int lowest = std::min({kNeighbourMinimumStart, int{rowMinima[y - 1]},
                                         int{rowMinima[y]}, int{rowMinima[y + 1]}});
            lowestLevels[y] = static_cast<std::int16_t>(lowest - (lowest > 0 ? 1 : 0));
        }
        for (int y = firstY; y != endY; y += dj) {
            const auto row = static_cast<std::size_t>(y);
            int level = lowestLevels[row];
            const int top = tops[row];

            const double scaledPx = (iCosA - rowSinA[row]) * kPerspectiveDistance;
            const double groundPy = rowCosASinR[row] + iSinASinR;
            const double groundPz = iDepth - rowCosACosR[row];
            for (; level <= top; level += 2) {
                const LevelPair py = groundPy + levelPair(levelCosR, level);
                const LevelPair pz = groundPz + levelPair(levelSinR, level);
                const LevelPair depth = kPerspectiveDistance - pz;
                const LevelPair screenX = centreX + scaledPx / depth;
                const LevelPair screenY = centreY + py * kPerspectiveDistance / depth;
                // Written so that a NaN position (from an infinite angle) is dropped as well.
                const LevelPairBits inside =
                    (screenX >= 0) & (screenX <= lastX) & (screenY >= 0) & (screenY <= lastY);
                const auto roundedX = std::bit_cast<LevelPairBits>(screenX + kRoundingShift);
                const auto roundedY = std::bit_cast<LevelPairBits>(screenY + kRoundingShift);
                plot(inside[0] != 0, roundedX[0], roundedY[0], level);
                plot(inside[1] != 0 && level < top, roundedX[1], roundedY[1], level + 1);
            }
        }
    }
    return dotsWritten;
}

}  // namespace kestrane
