// One rubber-band cycle's pixel work (the clean picture copied into the working grid, then the
// working grid written into the 512 x 512 canvas bitmap) beside a plain memcpy of two grids.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "workspace/bitmap_transfer.h"

namespace {

using kestrane::Pixel;
using kestrane::PixelGrid;

void BM_RubberBandCycle(benchmark::State& state) {
    PixelGrid basePix;
    basePix.fill(Pixel{10, 20, 30, 0});
    PixelGrid viewPix;
    QImage canvas(512, 512, QImage::Format_RGB32);
    for (auto _ : state) {
        kestrane::copyBaseToView(basePix, viewPix);
        kestrane::gridToPicture(viewPix, canvas);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_RubberBandCycle);

void BM_Memcpy(benchmark::State& state) {
    const std::size_t bytes = 2 * sizeof(Pixel) * PixelGrid::kSize * PixelGrid::kSize;
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy);

// Remembers each benchmark's time per iteration (the median when repeated) so that the ratio can
// be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                nanoseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto cycle = reporter.nanoseconds.find("BM_RubberBandCycle");
    const auto copy = reporter.nanoseconds.find("BM_Memcpy");
    if (cycle != reporter.nanoseconds.end() && copy != reporter.nanoseconds.end()) {
        std::cout << "rubber-band cycle / memcpy of two grids: " << cycle->second / copy->second
                  << "x (aim: at most 4x)\n";
    }
    benchmark::Shutdown();
    return 0;
}
