#include "graph3d/surface_renderer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "graph3d/surface_painter.h"
#include "graph3d/surface_paths.h"

namespace kestrane {

namespace {

using namespace surface;

// Past this level the monochrome ramp's green and red would run beyond 255.
constexpr int kTopRampLevel = 93;
constexpr int kCentreShiftDown = 20;

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

std::int64_t paintPlain(SurfacePainter<2>& painter) { return painter.paint(); }

#if defined(__x86_64__)
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
    const auto band = std::find_if(kColourBands.begin(), kColourBands.end(),
                                   [&](const ColourBand& b) { return level >= b.lowestLevel; });
    return {band->blue, band->green, band->red, 0};
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
    const int halfWidth = roundHalfEven(regionWidth / 2.0);
    const int halfHeight = roundHalfEven(regionHeight / 2.0);
    if (halfWidth <= 0 || halfHeight <= 0 || heights.lastX() < regionWidth ||
        heights.lastY() < regionHeight) {
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
    thread_local Scratch scratch;
    scratch.easel.prepare(canvas, background(view.monochromeBackground));
    Q_ASSERT(std::ranges::count(supportedSurfacePaths(), path) == 1);
#if defined(__x86_64__)
    if (path == SurfacePath::wide) {
        SurfacePainter<4> painter(heights, regionWidth, regionHeight, halfWidth, halfHeight,
                                  projection, colours, canvas, scratch);
        return paintWide(painter);
    }
#endif
    SurfacePainter<2> painter(heights, regionWidth, regionHeight, halfWidth, halfHeight, projection,
                              colours, canvas, scratch);
    return paintPlain(painter);
}

}  // namespace kestrane
