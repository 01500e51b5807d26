// The renderer's entry points: the dot colours, the view's projection terms, and the choice of
// the path that paints.

#include "graph3d/surface_renderer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "graph3d/surface_painter.h"
#include "graph3d/surface_paths.h"

namespace kestrane {

namespace {

// Past this level the monochrome ramp's green and red would run beyond 255.
constexpr int kTopRampLevel = 93;
constexpr int kCentreShiftDown = 20;

// The colour bands from the lowest up: level 0 alone, then six levels each from level 1, and the
// last from level 85 on.
constexpr int kBandLevels = 6;
constexpr std::array<std::uint32_t, 16> kColourBands{
    0xC8C8FF, 0x99CCFF, 0x6598FF, 0x3366FF, 0x1933FF, 0x0000FF, 0x007D7D, 0x00FF00,
    0x7DFF00, 0xFFFF00, 0xFFC800, 0xFF9900, 0xFF4B7D, 0xFF00FF, 0xFF007B, 0xFF0000};

LevelColours tabulate(Pixel (*colour)(std::uint8_t)) {
    LevelColours colours;
    for (std::size_t level = 0; level < colours.size(); ++level) {
        colours[level] = std::bit_cast<PixelBits>(
            colour(static_cast<std::uint8_t>(std::min<std::size_t>(level, 255))));
    }
    return colours;
}

const LevelColours kMonochromeColours = tabulate(&monochromeDotColour);
const LevelColours kBandColours = tabulate(&colourBandDotColour);

Pixel background(bool monochrome) { return monochrome ? Pixel{127, 0, 0, 0} : Pixel{}; }

#if defined(__x86_64__)
// The wide path compiles the painter for its own instructions.
[[gnu::target("avx2")]] std::int64_t paintWide(SurfacePainter<4>& painter) {
    return painter.paint();
}
#endif

}  // namespace

Pixel monochromeDotColour(std::uint8_t level) {
    const int step = (std::min(static_cast<int>(level), kTopRampLevel) + 2) / 3;
    const auto redGreen = static_cast<std::uint8_t>(8 * step);
    return {static_cast<std::uint8_t>(4 * step + 127), redGreen, redGreen, 0};
}

Pixel colourBandDotColour(std::uint8_t level) {
    const std::size_t band =
        std::min<std::size_t>((level + kBandLevels - 1) / kBandLevels, kColourBands.size() - 1);
    // A pixel's bytes are blue, green, red and the reserved 0.
    return std::bit_cast<Pixel>(kColourBands[band]);
}

void clearGraphCanvas(PixelGrid& canvas, bool monochromeBackground) {
    canvas.fill(background(monochromeBackground));
}

std::vector<SurfacePath> supportedSurfacePaths() {
    std::vector<SurfacePath> paths{SurfacePath::plain};
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(SurfacePath::wide);
    }
#endif
    return paths;
}

std::int64_t renderSurface(const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas) {
    static const SurfacePath fastest = supportedSurfacePaths().back();
    return renderSurface(fastest, heights, regionWidth, regionHeight, view, canvas);
}

std::int64_t renderSurface(SurfacePath path, const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas) {
    if (roundHalfEven(regionWidth / 2.0) <= 0 || roundHalfEven(regionHeight / 2.0) <= 0 ||
        heights.lastX() < regionWidth || heights.lastY() < regionHeight) {
        clearGraphCanvas(canvas, view.monochromeBackground);
        return 0;
    }
    const int cx = roundHalfEven(view.canvasWidth / 2.0);
    const int cy = roundHalfEven(view.canvasHeight / 2.0 + kCentreShiftDown);
    const Projection projection{
        .sinA = std::sin(view.angleA),
        .cosA = std::cos(view.angleA),
        .sinR = std::sin(view.angleR),
        .cosR = std::cos(view.angleR),
        .centreX = static_cast<double>(cx),
        .centreY = static_cast<double>(cy),
        // A drawing area larger than the grid keeps its centre; what lies beyond the grid is lost.
        .lastX = static_cast<double>(std::min(2 * cx, canvas.columns() - 1)),
        .lastY = static_cast<double>(std::min(2 * (cy - kCentreShiftDown), canvas.rows() - 1)),
    };
    const LevelColours& colours = view.monochromeDots ? kMonochromeColours : kBandColours;
    const auto backgroundBits = std::bit_cast<PixelBits>(background(view.monochromeBackground));
    thread_local Scratch scratch;
    Q_ASSERT(std::ranges::count(supportedSurfacePaths(), path) == 1);
#if defined(__x86_64__)
    if (path == SurfacePath::wide) {
        SurfacePainter<4> painter(heights, regionWidth, regionHeight, projection, colours,
                                  backgroundBits, scratch, canvas);
        return paintWide(painter);
    }
#endif
    SurfacePainter<2> painter(heights, regionWidth, regionHeight, projection, colours,
                              backgroundBits, scratch, canvas);
    return painter.paint();
}

}  // namespace kestrane
