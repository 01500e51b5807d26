#include <benchmark/benchmark.h>

#include <random>

#include "selection/height_map_builder.h"
#include "selection/profile_charts.h"
#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane {
namespace {

// A 512 x 512 picture as read into a grid (rows 1..512, columns 0..511): random colours with
// 5% pure-yellow markers.
PixelGrid markedPicture() {
    std::mt19937 random(512);
    std::uniform_int_distribution<int> byte(0, 255);
    std::bernoulli_distribution marker(0.05);
    PixelGrid basePix;
    for (int y = 1; y <= 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            basePix(x, y) = marker(random) ? Pixel{0, 255, 255, 0}
                                           : Pixel{static_cast<std::uint8_t>(byte(random)),
                                                   static_cast<std::uint8_t>(byte(random)),
                                                   static_cast<std::uint8_t>(byte(random)), 0};
        }
    }
    return basePix;
}

// One point selection without its windows: whole-grid map, both charts and the crosshair.
void BM_PointSelection(benchmark::State& state) {
    const PixelGrid basePix = markedPicture();
    PixelGrid viewPix = basePix;
    PixelGrid profilePix(0, 0);
    HeightMap regionHeights;
    const float x = 256;
    const float y = 300;
    for (auto _ : state) {
        regionHeights = filledHeightMap(basePix, 0, 0, 512, 512);
        recreateProfileCanvas(profilePix);
        drawHorizontalProfile(regionHeights, x, y, profilePix, viewPix);
        drawVerticalProfile(regionHeights, x, y, profilePix, viewPix);
        benchmark::DoNotOptimize(profilePix.data());
        benchmark::DoNotOptimize(viewPix.data());
    }
}
BENCHMARK(BM_PointSelection)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrane

BENCHMARK_MAIN();
