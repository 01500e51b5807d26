#include <QDir>
#include <QFile>
#include <cstdio>

#include "dialogs/settings_file.h"
#include "tests/support/bmp_files.h"
#include "tests/support/picture_files.h"
#include "tests/support/png_files.h"

// Writes the fuzz targets' starting inputs into <folder>/<target>/: small pictures of every kind
// the decoder reads, settings lines as the program writes them, and numbers as users type them.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_fuzz_seeds <folder>\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const auto path = [&](const char* target, const QString& name) {
        folder.mkpath(target);
        return folder.filePath(QString(target) + "/" + name);
    };
    const auto write = [&](const char* target, const QString& name, const QByteArray& bytes) {
        QFile file(path(target, name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    namespace t = kestrane::testing;
    const char* pictures = "fuzz_picture_decoder";
    bool written =
        t::writeJpeg(path(pictures, "baseline.jpg"), 40, 24, 75) &&
        t::writeJpeg(path(pictures, "progressive.jpg"), 40, 24, 75, {.progressive = true}) &&
        t::writeJpeg(path(pictures, "noise.jpg"), 16, 16, 90, {.noise = true}) &&
        t::writeJpeg(path(pictures, "arithmetic.jpg"), 40, 24, 75, {.arithmetic = true}) &&
        t::writeJpeg(path(pictures, "arithmeticProgressive.jpg"), 40, 24, 75,
                     {.progressive = true, .arithmetic = true}) &&
        t::writeJpeg(path(pictures, "cut.jpg"), 16, 600, 50, {.writtenRows = 530}) &&
        write(pictures, "refinements.jpg", t::progressiveJpeg(24, 16, 15, true)) &&
        t::writeGif(path(pictures, "blocks.gif"), t::indexedBlocks(40, 24)) &&
        t::writeGif(path(pictures, "interlaced.gif"), t::indexedBlocks(40, 24), {0, true});
    const QImage blocks = t::indexedBlocks(40, 24);
    const QImage mono = blocks.convertToFormat(QImage::Format_Mono);
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        written = written && write(pictures, QString("bits%1.bmp").arg(bits),
                                   t::bmpOf(bits == 1 ? mono : blocks, {.bitsPerPixel = bits}));
    }
    written =
        written &&
        write(pictures, "rle8.bmp", t::bmpOf(blocks, {.bitsPerPixel = 8, .compression = 1})) &&
        write(pictures, "rle4.bmp", t::bmpOf(blocks, {.bitsPerPixel = 4, .compression = 2})) &&
        write(pictures, "topDown.bmp", t::bmpOf(blocks, {.height = -1})) &&
        write(pictures, "core.bmp", t::bmpOf(blocks, {.infoSize = 12, .bitsPerPixel = 8})) &&
        write(pictures, "bitfields.bmp",
              t::bmpOf(blocks, {.infoSize = 124,
                                .bitsPerPixel = 32,
                                .compression = 3,
                                .masks = {0xFF0000, 0xFF00, 0xFF}}));
    // Each PNG colour type at the depths libpng writes for it, plain and interlaced.
    const std::pair<int, std::vector<int>> pngTypes[] = {
        {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}}, {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}},
        {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}},  {PNG_COLOR_TYPE_RGB, {8, 16}},
        {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}},
    };
    for (const auto& [type, depths] : pngTypes) {
        for (int depth : depths) {
            for (bool interlaced : {false, true}) {
                t::Png png{.width = 12,
                           .height = 10,
                           .colourType = type,
                           .bitDepth = depth,
                           .interlaced = interlaced,
                           .sample = [depth](int x, int y, int c) {
                               return unsigned(x * 7 + y * 13 + c * 5) % (1u << depth);
                           }};
                if (type == PNG_COLOR_TYPE_PALETTE) {
                    png.palette.resize(1u << depth, png_color{200, 100, 50});
                    png.paletteAlpha = {0, 128};
                }
                written = written && write(pictures,
                                           QString("type%1depth%2%3.png")
                                               .arg(type)
                                               .arg(depth)
                                               .arg(interlaced ? "interlaced" : ""),
                                           t::pngFile(png));
            }
        }
    }

    const char* settings = "fuzz_settings_field";
    written = written && write(settings, "home", kestrane::settingsLine("/home/user/pictures")) &&
              write(settings, "root", kestrane::settingsLine("/")) &&
              write(settings, "japanese", kestrane::settingsLine(QString::fromUtf8("/画像"))) &&
              write(settings, "quoted", "  \"/a,b/\",c\r\n/d/\r\n");

    const char* numbers = "fuzz_leading_number";
    int count = 0;
    for (const char* text : {"255", " -12.5e3px", "+.5E-2", "1e999", "0x1F", "abc"}) {
        written = written && write(numbers, QString::number(++count), text);
    }
    if (!written) {
        std::fputs("cannot write the seeds\n", stderr);
        return 1;
    }
    return 0;
}
