#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <functional>

#include "tests/support/bmp_files.h"
#include "tests/support/picture_files.h"
#include "tests/support/png_files.h"
#include "workspace/picture_decoder.h"

namespace {

using kestrane::DecodeCost;
using kestrane::testing::GifFrame;
using kestrane::testing::JpegOptions;
using kestrane::testing::Png;

// Hashed samples, which deflate cannot shrink.
unsigned noise(int x, int y, int c) {
    std::uint32_t h =
        std::uint32_t(x) * 73856093u ^ std::uint32_t(y) * 19349663u ^ std::uint32_t(c) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return (h ^ h >> 15) & 0xffff;
}

// Decoding a picture into the 512 x 512 canvas, with the work the budget charged for it. The
// 20000 x 20000 JPEG shows that only the part on the canvas is decoded; the files "at budget" are
// the dearest of their kind that the budget still lets through, so their times bound a decode.
void loadPicture(benchmark::State& state, const QString& path) {
    DecodeCost cost;
    for (auto _ : state) {
        std::optional<QImage> canvas =
            kestrane::decodePictureForCanvas(path, QSize(512, 512), QColor(Qt::lightGray), &cost);
        if (!canvas) {
            state.SkipWithError("picture refused");
            break;
        }
        benchmark::DoNotOptimize(canvas->constBits());
    }
    state.counters["work"] = static_cast<double>(cost.work);
    state.counters["bytesRead"] = static_cast<double>(cost.bytesRead);
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool writePng(const QString& path, const Png& picture) {
    return writeBytes(path, kestrane::testing::pngFile(picture));
}

struct Picture {
    const char* name;
    std::function<bool(const QString&)> write;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const Picture pictures[] = {
        {"jpeg512.jpg",
         [](auto& path) { return kestrane::testing::writeJpeg(path, 512, 512, 90); }},
        {"jpeg20000.jpg",
         [](auto& path) { return kestrane::testing::writeJpeg(path, 20000, 20000, 90); }},
        // 255 refinement scans over 30276 blocks.
        {"jpegScansAtBudget.jpg",
         [](auto& path) {
             return writeBytes(path, kestrane::testing::progressiveJpeg(1392, 1392, 255, true));
         }},
        {"jpegArithmetic512.jpg",
         [](auto& path) {
             return kestrane::testing::writeJpeg(path, 512, 512, 90, {.arithmetic = true});
         }},
        {"jpegArithmeticBytesAtBudget.jpg",
         [](auto& path) {
             return kestrane::testing::writeJpeg(
                 path, 1150, 1150, 100,
                 JpegOptions{.progressive = true, .arithmetic = true, .noise = true});
         }},
        {"png512rgb.png",
         [](auto& path) {
             return writePng(path,
                             {.width = 512,
                              .height = 512,
                              .colourType = PNG_COLOR_TYPE_RGB,
                              .sample = [](int x, int y, int c) { return noise(x, y, c) % 256; }});
         }},
        {"png512grey16.png",
         [](auto& path) {
             return writePng(path, {.width = 512, .height = 512, .bitDepth = 16, .sample = noise});
         }},
        // Incompressible 16-bit rows, interlaced so that all are decoded: the file as large as the
        // budget reads.
        {"pngBytesAtBudget.png",
         [](auto& path) {
             return writePng(path, {.width = 1600,
                                    .height = 2180,
                                    .colourType = PNG_COLOR_TYPE_RGB_ALPHA,
                                    .bitDepth = 16,
                                    .interlaced = true,
                                    .sample = noise});
         }},
        // Rows of zeros on the canvas: the most inflated data the budget lets through.
        {"pngInflatedAtBudget.png",
         [](auto& path) {
             return writePng(path, {.width = 240000, .height = 512, .sample = [](int, int, int) {
                                        return 0u;
                                    }});
         }},
        // One-bit pixels, each expanded to four bytes, in all passes of an interlaced picture.
        {"pngPixelsAtBudget.png",
         [](auto& path) {
             return writePng(path,
                             {.width = 4096,
                              .height = 19000,
                              .bitDepth = 1,
                              .interlaced = true,
                              .sample = [](int x, int y, int c) { return noise(x, y, c) & 1; }});
         }},
        // Short rows, the dearest per row, as many as libpng lets a picture have.
        {"pngRowsAtBudget.png",
         [](auto& path) {
             return writePng(path, {.width = 100,
                                    .height = 950'000,
                                    .bitDepth = 1,
                                    .interlaced = true,
                                    .sample = [](int, int y, int) { return unsigned(y) & 1; }});
         }},
        // Random pixels at full quality: about 25 MB of progressive data.
        {"jpegBytesAtBudget.jpg",
         [](auto& path) {
             return kestrane::testing::writeJpeg(path, 2700, 2700, 100,
                                                 JpegOptions{.progressive = true, .noise = true});
         }},
        // Interlaced, so the first passes are decoded over all 2700 rows.
        {"gifPixelsAtBudget.gif",
         [](auto& path) {
             return kestrane::testing::writeGif(path, kestrane::testing::indexedBlocks(65535, 16),
                                                GifFrame{2700, true});
         }},
        {"bmp512.bmp",
         [](auto& path) {
             return writeBytes(
                 path, kestrane::testing::bmpOf(kestrane::testing::indexedBlocks(512, 512), {}));
         }},
        // Runs of one pixel, the dearest RLE8 data (more than a stream of absolute pixels or of
        // row ends), in as many rows as the budget lets be read.
        {"bmpRunsAtBudget.bmp",
         [](auto& path) {
             QByteArray row;
             for (int x = 0; x < 512; ++x) row += QByteArray(1, '\1') + char(x % 2);
             row += QByteArray(2, '\0');
             kestrane::testing::Bmp bmp{.width = 512, .bitsPerPixel = 8, .compression = 1};
             bmp.palette.resize(256);
             bmp.height = static_cast<int>(
                 (kestrane::kDecodeWorkLimit / kestrane::kWorkPerByte - 2000) / row.size());
             bmp.pixels = row.repeated(bmp.height) + QByteArray("\0\1", 2);
             return writeBytes(path, kestrane::testing::bmpFile(bmp));
         }},
        // Every shown row is a seek away from the last: 180 MB, mostly a hole.
        {"bmpSeeks.bmp",
         [](auto& path) {
             QFile file(path);
             return writeBytes(path,
                               kestrane::testing::bmpFile({.width = 30000, .height = 2000})) &&
                    file.resize(54 + 90000LL * 2000);
         }},
    };
    // The pictures take seconds to write, so they are kept beside the program and written only
    // when missing; a write is finished under a temporary name, so an interrupted one is redone.
    const QDir folder(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath() +
                      "/bench_picture_load_files");
    folder.mkpath(".");
    for (const Picture& picture : pictures) {
        const QString path = folder.filePath(picture.name);
        if (!QFileInfo::exists(path) &&
            !(picture.write(path + ".part") && QFile::rename(path + ".part", path))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        benchmark::RegisterBenchmark(
            (std::string("BM_LoadPicture/") + QFileInfo(path).baseName().toStdString()).c_str(),
            loadPicture, path)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
