// The selection on the main canvas as a user drives it: one rubber-band move event (handler, band
// drawn over a fresh copy of the picture, transfer to the canvas bitmap) and one area release
// (height map, marker fill, surface render, transfer to the graph canvas), with no window shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "graph3d/graph_redraw.h"
#include "selection/region_selection.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/form1.h"

namespace kestrane {
namespace {

using Clock = std::chrono::steady_clock;

// A picture of random heights with 5% yellow marker pixels, so the fill has work to do.
form1& mainWithPicture() {
    form1& main = form<form1>();
    static const bool prepared = [&main] {
        installSelection(main);
        installGraph(main);
        std::mt19937 random(512);
        std::uniform_int_distribution<int> byte(0, 255);
        std::bernoulli_distribution marker(0.05);
        for (int y = 1; y <= 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                main.basePix(x, y) = marker(random) ? Pixel{0, 255, 255, 0}
                                                    : Pixel{std::uint8_t(byte(random)),
                                                            std::uint8_t(byte(random)), 0, 0};
            }
        }
        main.Picture1->setEnabled(true);
        return true;
    }();
    (void)prepared;
    return main;
}

constexpr std::size_t kTwoGridsBytes = 2 * sizeof(Pixel) * PixelGrid::kSize * PixelGrid::kSize;

// Seconds for `iterations` copies of two grids' worth of bytes.
double memcpySeconds(benchmark::IterationCount iterations) {
    std::vector<char> from(kTwoGridsBytes, 1);
    std::vector<char> to(kTwoGridsBytes);
    const Clock::time_point start = Clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i) {
        std::memcpy(to.data(), from.data(), kTwoGridsBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_RubberBandMove(benchmark::State& state) {
    form1& main = mainWithPicture();
    PictureBox& canvas = *main.Picture1;
    Picture1_MouseDown(main, vbLeftButton, 0, 20, 30);
    const QPointF corners[] = {{400, 450}, {401, 449}};
    int next = 0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        const QPointF at = corners[next ^= 1] + QPointF(PictureBox::kBorder, PictureBox::kBorder);
        QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &move);
        benchmark::DoNotOptimize(canvas.bitmap().constBits());
    }
    const double moveSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The same number of copies timed in the same run: the move's cost in memcpys of two grids.
    state.counters["x_memcpy"] = moveSeconds / memcpySeconds(state.iterations());
}
BENCHMARK(BM_RubberBandMove)->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State& state) {
    std::vector<char> from(kTwoGridsBytes, 1);
    std::vector<char> to(kTwoGridsBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kTwoGridsBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

// A 480 x 494 region released: aim under 5 ms.
void BM_AreaRelease(benchmark::State& state) {
    form1& main = mainWithPicture();
    for (auto _ : state) {
        Picture1_MouseDown(main, vbLeftButton, 0, 20, 16);
        Picture1_MouseUp(main, vbLeftButton, 0, 500, 510);
    }
    state.counters["cells"] =
        double(main.regionHeights.lastX() + 1) * double(main.regionHeights.lastY() + 1);
}
BENCHMARK(BM_AreaRelease)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrane

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The offscreen platform warns at every raise of the graph window.
    QLoggingCategory::setFilterRules("default.warning=false");
    kestrane::setEndProgramAction([] {});
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
