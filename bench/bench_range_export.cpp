// Saving the range data of a 450 x 450 region: the text formed from the heights and written
// beside the name, then renamed over it. Each save is followed, off the clock, by one fwrite of
// the same bytes to a plain file, so that both are timed in the same run on the same disk.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "dialogs/range_data.h"
#include "workspace/file_replacement.h"

namespace kestrane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLast = 449;

// Heights 0 to 93, as the height map gives them, so that numbers of one and two digits mix.
HeightMap regionHeights() {
    HeightMap heights(kLast, kLast);
    for (int x = 0; x <= kLast; ++x) {
        for (int y = 0; y <= kLast; ++y) {
            heights(x, y) = static_cast<std::uint8_t>((x * 7 + y * 13) % 94);
        }
    }
    return heights;
}

// Opens, writes in one fwrite and closes; false when any step fails.
bool plainWrite(const QByteArray& path, const QByteArray& bytes) {
    std::FILE* file = std::fopen(path.constData(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file) ==
                         std::size_t(bytes.size());
    return std::fclose(file) == 0 && written;
}

void BM_RangeExport(benchmark::State& state) {
    const QTemporaryDir folder;
    const HeightMap heights = regionHeights();
    const QString path = folder.filePath("region.txt");
    const QByteArray plainPath = QFile::encodeName(folder.filePath("plain.txt"));
    const QByteArray text = rangeDataBytes(heights, kLast, kLast);
    Clock::duration saving{};
    Clock::duration plain{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const bool saved = replaceFileContents(path, rangeDataBytes(heights, kLast, kLast));
        saving += Clock::now() - start;
        state.PauseTiming();
        const Clock::time_point plainStart = Clock::now();
        const bool written = plainWrite(plainPath, text);
        plain += Clock::now() - plainStart;
        state.ResumeTiming();
        if (!saved || !written) {
            state.SkipWithError("file not written");
            break;
        }
    }
    const double plainSeconds = std::chrono::duration<double>(plain).count();
    state.counters["bytes"] = double(text.size());
    // Seconds per plain write, and the save's time as a multiple of it.
    state.counters["fwrite"] = benchmark::Counter(plainSeconds, benchmark::Counter::kAvgIterations);
    state.counters["x_fwrite"] = std::chrono::duration<double>(saving).count() / plainSeconds;
}
BENCHMARK(BM_RangeExport)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace kestrane

BENCHMARK_MAIN();
