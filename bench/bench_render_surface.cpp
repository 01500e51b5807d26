#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "graph3d/surface_paths.h"

namespace kestrane {
namespace {

// The largest region a selection can make, from (2, 16) to (509, 510): 508 x 495 heights.
constexpr std::int16_t kRegionWidth = 507;
constexpr std::int16_t kRegionHeight = 494;

// A gentle slope, so that nearly every cell is a run of two levels, like a smooth picture.
int smooth(int x, int y) { return (x + y) * 93 / (kRegionWidth + kRegionHeight); }
// Alternating 0 and 93, so that every other cell is a full-height column.
int rough(int x, int y) { return (x + y) % 2 == 0 ? 93 : 0; }

HeightMap region(int (*surface)(int, int)) {
    HeightMap heights(kRegionWidth, kRegionHeight);
    for (int x = 0; x <= kRegionWidth; ++x) {
        for (int y = 0; y <= kRegionHeight; ++y) {
            heights(x, y) = static_cast<std::uint8_t>(surface(x, y));
        }
    }
    return heights;
}

// Time of one render (clear included) at the given tilt, on the calling thread; time_per_dot
// divides it by the dots that land on the canvas, seen or overdrawn. Repeated, the rows also report
// their fastest run.
void render(benchmark::State& state, int (*surface)(int, int), SurfacePath path, double tilt) {
    const HeightMap heights = region(surface);
    const SurfaceView view{.angleR = tilt};
    PixelGrid canvas;
    std::int64_t dots = 0;
    for (auto _ : state) {
        dots = renderSurface(path, heights, kRegionWidth, kRegionHeight, view, canvas);
        benchmark::DoNotOptimize(canvas.data());
        benchmark::ClobberMemory();
    }
    state.counters["dots"] = static_cast<double>(dots);
    state.counters["time_per_dot"] = benchmark::Counter(
        static_cast<double>(dots),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A row per surface, path and tilt. The way the program renders, the processor's fastest path,
// goes unnamed; the plain path beside it is marked "/plain". "/top" rows look straight down, the
// steepest tilt the graph window allows, the others tilt as a new graph does. Every row turns as a
// new graph does.
void registerRows() {
    const auto paths = supportedSurfacePaths();
    for (const auto& [name, surface] : {std::pair{"smooth", &smooth}, std::pair{"rough", &rough}}) {
        for (const auto path : paths) {
            std::string row = std::string("BM_RenderSurface/") + name;
            if (path != paths.back()) {
                row += "/plain";
            }
            for (const auto& [suffix, tilt] :
                 {std::pair{"", kStartAngleR}, std::pair{"/top", degreesToRadians(90)}}) {
                benchmark::RegisterBenchmark((row + suffix).c_str(), render, surface, path, tilt)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime()
                    ->ComputeStatistics("min", [](const std::vector<double>& times) {
                        return *std::min_element(times.begin(), times.end());
                    });
            }
        }
    }
}

}  // namespace
}  // namespace kestrane

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    kestrane::registerRows();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
