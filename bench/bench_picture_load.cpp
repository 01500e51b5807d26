#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>

#include "tests/support/picture_files.h"
#include "workspace/picture_decoder.h"

namespace {

// Decoding a picture into the 512 x 512 canvas; the 20000 x 20000 one shows that only the part on
// the canvas is decoded (Qt's own reader refuses a picture that size outright).
void loadPicture(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        std::optional<QImage> canvas =
            kestrane::decodePictureForCanvas(path, QSize(512, 512), QColor(Qt::lightGray));
        if (!canvas) {
            state.SkipWithError("picture refused");
            break;
        }
        benchmark::DoNotOptimize(canvas->constBits());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    const QString small = folder.filePath("jpeg512.jpg");
    const QString huge = folder.filePath("jpeg20000.jpg");
    if (!kestrane::testing::writeJpeg(small, 512, 512, 90) ||
        !kestrane::testing::writeJpeg(huge, 20000, 20000, 90)) {
        std::fputs("cannot write the benchmark pictures\n", stderr);
        return 1;
    }
    benchmark::RegisterBenchmark("BM_LoadPicture/jpeg512", loadPicture, small)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadPicture/jpeg20000", loadPicture, huge)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
