#include <benchmark/benchmark.h>

#include <cstdint>

#include "graph3d/surface_renderer.h"

namespace {

// The largest region the 450 x 450 graph shows whole: 449 x 449 heights.
constexpr std::int16_t kRegionExtent = 448;

// A gentle slope, about two levels per cell, like a smooth picture.
kestrane::HeightMap smoothRegion() {
    kestrane::HeightMap heights(kRegionExtent, kRegionExtent);
    for (int x = 0; x <= kRegionExtent; ++x) {
        for (int y = 0; y <= kRegionExtent; ++y) {
            heights(x, y) = static_cast<std::uint8_t>((x + y) * 93 / (2 * kRegionExtent));
        }
    }
    return heights;
}

// Alternating 0 and 93, so that every cell is a full-height column.
kestrane::HeightMap roughRegion() {
    kestrane::HeightMap heights(kRegionExtent, kRegionExtent);
    for (int x = 0; x <= kRegionExtent; ++x) {
        for (int y = 0; y <= kRegionExtent; ++y) {
            heights(x, y) = (x + y) % 2 == 0 ? 93 : 0;
        }
    }
    return heights;
}

// Time of one render (clear included) at the starting view; time_per_dot divides it by the dots
// written into the canvas.
void renderAtStartingView(benchmark::State& state, const kestrane::HeightMap& heights) {
    kestrane::PixelGrid canvas;
    const kestrane::SurfaceView view;
    std::int64_t dots = 0;
    for (auto _ : state) {
        dots = kestrane::renderSurface(heights, kRegionExtent, kRegionExtent, view, canvas);
        benchmark::DoNotOptimize(canvas.data());
        benchmark::ClobberMemory();
    }
    state.counters["dots"] = static_cast<double>(dots);
    state.counters["time_per_dot"] = benchmark::Counter(
        static_cast<double>(dots),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RenderSurface_smooth(benchmark::State& state) {
    renderAtStartingView(state, smoothRegion());
}
void BM_RenderSurface_rough(benchmark::State& state) { renderAtStartingView(state, roughRegion()); }

}  // namespace

BENCHMARK(BM_RenderSurface_smooth)->Name("BM_RenderSurface/smooth")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderSurface_rough)->Name("BM_RenderSurface/rough")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
