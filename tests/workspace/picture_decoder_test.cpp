#include "workspace/picture_decoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QPainter>

#include "tests/support/bmp_files.h"
#include "tests/support/case_name.h"
#include "tests/support/picture_files.h"
#include "tests/support/png_files.h"
#include "tests/support/sandbox.h"

namespace kestrane {
namespace {

using namespace testing;

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);
constexpr qint64 kTwoGigabytes = 2LL << 30;
constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitfields = 3;
constexpr auto kRead = &DecodeCost::bytesRead, kMemory = &DecodeCost::memory;

// The working directory while the tests run, so file names serve as paths.
const Sandbox sandbox;

std::optional<QImage> decode(const QString& name, DecodeCost* cost = nullptr) {
    return decodePictureForCanvas(sandbox.file(name), QSize(512, 512), QColor(kBackground), cost);
}

QByteArray jpeg(int width, int height, JpegOptions options = {}) {
    writeJpeg("made.jpg", width, height, 95, options);
    return sandbox.read("made.jpg");
}

QByteArray gif(const QImage& picture, GifFrame frame = {}) {
    writeGif("made.gif", picture, frame);
    return sandbox.read("made.gif");
}

QByteArray writtenByQt(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    picture.save(&file, format);
    return bytes;
}

QImage filled(int width, int height, QRgb colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Indices running diagonally through `colours` distinct colours.
QImage indexed(int width, int height, int colours) {
    QImage picture(width, height, QImage::Format_Indexed8);
    for (int i = 0; i < colours; ++i) picture.setColor(i, qRgb(i, 255 - i, i * 7 % 256));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, uint((x * 37 + y * 11) % colours));
    }
    return picture;
}

// Channels of 5 significant bits, so that 16-bit pixels hold them too: v * 255 / 31, rounded.
QImage colourful(int width, int height) {
    const auto level = [](int v) { return (v % 32 * 255 + 15) / 31; };
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgb(level(x * 3), level(y * 7), level(x + y * 5 + 9)));
        }
    }
    return picture;
}

// A picture of `pixels` in rows from the top, kOpen where the file leaves the background.
constexpr QRgb kOpen = 0;
QImage rows(int width, const std::vector<QRgb>& pixels) {
    QImage picture(width, int(pixels.size()) / width, QImage::Format_ARGB32);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        picture.setPixel(int(i) % width, int(i) / width, pixels[i]);
    }
    return picture;
}

const QList<QRgb> kEight = {qRgb(255, 0, 0),   qRgb(0, 255, 0),    qRgb(0, 0, 255),
                            qRgb(255, 255, 0), qRgb(0, 255, 255),  qRgb(255, 0, 255),
                            qRgb(9, 9, 9),     qRgb(250, 250, 250)};
const QRgb R = kEight[0], G = kEight[1], B = kEight[2], Y = kEight[3], C = kEight[4], M = kEight[5],
           K = kEight[6], W = kEight[7];

// An RLE BMP over the eight colours, its stream written out.
template <std::size_t size>
QByteArray rle(int width, int height, std::uint32_t compression, const char (&stream)[size]) {
    return bmpFile({.width = width,
                    .height = height,
                    .bitsPerPixel = compression == kRle4 ? 4 : 8,
                    .compression = compression,
                    .palette = kEight,
                    .pixels = QByteArray(stream, size - 1)});
}

QByteArray bitfields(int infoSize, int height, std::vector<std::uint32_t> masks, int bits,
                     const QByteArray& pixels) {
    return bmpFile({.infoSize = infoSize,
                    .width = int(pixels.size() * 8 / bits / std::abs(height)),
                    .height = height,
                    .bitsPerPixel = bits,
                    .compression = kBitfields,
                    .masks = masks,
                    .pixels = pixels});
}

int eightBits(unsigned value, int depth) {
    return depth == 16 ? int((value * 255 + 32767) / 65535)
                       : int(value * 255 / ((1u << depth) - 1));
}

// The canvas a PNG should give: its samples scaled to 8 bits, blended over the background.
QImage pngCanvas(const Png& picture) {
    QImage canvas = filled(512, 512, kBackground);
    const int depth = picture.bitDepth;
    const auto over = [](int colour, int alpha, int under) {
        return (colour * alpha + under * (255 - alpha) + 127) / 255;
    };
    for (int y = 0; y < std::min(picture.height, 512); ++y) {
        for (int x = 0; x < std::min(picture.width, 512); ++x) {
            const auto s = [&](int c) { return picture.sample(x, y, c); };
            const auto& t = picture.transparentColour;
            int red = eightBits(s(0), depth), green = red, blue = red, alpha = 255;
            if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
                const png_color colour = picture.palette[s(0)];
                red = colour.red, green = colour.green, blue = colour.blue;
                if (s(0) < picture.paletteAlpha.size()) alpha = picture.paletteAlpha[s(0)];
            } else if (picture.colourType & PNG_COLOR_MASK_COLOR) {
                green = eightBits(s(1), depth), blue = eightBits(s(2), depth);
                if (picture.colourType & PNG_COLOR_MASK_ALPHA) alpha = eightBits(s(3), depth);
                if (t && t->red == s(0) && t->green == s(1) && t->blue == s(2)) alpha = 0;
            } else {
                if (picture.colourType & PNG_COLOR_MASK_ALPHA) alpha = eightBits(s(1), depth);
                if (t && t->gray == s(0)) alpha = 0;
            }
            canvas.setPixel(
                x, y,
                qRgb(over(red, alpha, qRed(kBackground)), over(green, alpha, qGreen(kBackground)),
                     over(blue, alpha, qBlue(kBackground))));
        }
    }
    return canvas;
}

// Samples that differ from pixel to pixel and from channel to channel, over the whole depth.
Png mixed(int colourType, int depth, bool interlaced = false, int size = 9) {
    const unsigned top = (1u << depth) - 1;
    return {.width = size,
            .height = size,
            .colourType = colourType,
            .bitDepth = depth,
            .interlaced = interlaced,
            .sample = [top](int x, int y, int c) {
                return unsigned(x * 40503 + y * 7919 + c * 2749 + x * y * 31) % (top + 1);
            }};
}

Png palette(int depth, std::vector<png_byte> alpha = {}, bool interlaced = false) {
    std::vector<png_color> colours;
    for (int i = 0; i < (1 << depth); ++i) {
        colours.push_back({png_byte(i * 37), png_byte(255 - i * 11), png_byte(i * 5 + 3)});
    }
    const unsigned count = unsigned(colours.size());
    return {.colourType = PNG_COLOR_TYPE_PALETTE,
            .bitDepth = depth,
            .interlaced = interlaced,
            .palette = colours,
            .paletteAlpha = alpha,
            .sample = [count](int x, int y, int) { return unsigned(x * 3 + y * 5) % count; }};
}

// Fully transparent, fully opaque and between, by column.
Png alphaSteps(int depth, bool interlaced = false) {
    Png picture = mixed(PNG_COLOR_TYPE_RGB_ALPHA, depth, interlaced);
    const unsigned top = (1u << depth) - 1;
    picture.sample = [colour = picture.sample, top](int x, int y, int c) {
        return c < 3 ? colour(x, y, c) : x % 3 == 0 ? 0 : x % 3 == 1 ? top : top / 3 + y;
    };
    return picture;
}

Png transparent(Png picture, png_color_16 colour) {
    picture.transparentColour = colour;
    return picture;
}

// `chunks` placed after the header chunk of a PNG.
QByteArray afterHeader(const QByteArray& png, const QByteArray& chunks) {
    return QByteArray(png).insert(8 + 25, chunks);
}

QByteArray flipped(QByteArray file, qsizetype at) {
    file[at] = char(file[at] ^ 1);
    return file;
}

struct Row {
    std::string name;
    QByteArray file;
    std::optional<QImage> picture = {};  // shown from the top-left; none when refused
    qint64 size = 0;                     // the file's, a hole after `file`; 0 for no hole
    std::int64_t DecodeCost::*cost = &DecodeCost::work;
    std::int64_t bound = kDecodeWorkLimit;
};

Row qt(std::string name, const QByteArray& file) {
    return {std::move(name), file, QImage::fromData(file)};
}

Row png(std::string name, const Png& picture, const QByteArray& file = {}) {
    return {std::move(name), file.isEmpty() ? pngFile(picture) : file, pngCanvas(picture)};
}

class Decode : public ::testing::TestWithParam<Row> {};

// Shown over the background or refused; either way the cost named stays under its bound.
TEST_P(Decode, ShowsThePictureOrRefusesItWithinTheBudget) {
    const Row& row = GetParam();
    const QString name = QString::fromStdString(row.name);
    sandbox.write(name, row.file);
    ASSERT_TRUE(row.size == 0 || QFile(name).resize(row.size));
    std::optional<QImage> canvas;
    if (row.picture) {
        canvas = filled(512, 512, kBackground);
        QPainter(&*canvas).drawImage(0, 0, *row.picture);
    }
    DecodeCost spent;
    EXPECT_EQ(decode(name, &spent), canvas);
    EXPECT_LE(spent.*row.cost, row.bound);
    EXPECT_LE(spent.work, kDecodeWorkLimit);
    EXPECT_LE(spent.memory, kDecodeMemoryLimit);
}

const QByteArray kJpeg = jpeg(640, 480), kLargeJpeg = jpeg(1024, 1024), kSmallJpeg = jpeg(64, 48);
const QImage kGifPicture = QImage::fromData(kJpeg).convertToFormat(QImage::Format_Indexed8);
const QByteArray kGif = gif(kGifPicture);
const qsizetype kJpegTables = kSmallJpeg.indexOf("\xFF\xDB");

// A frame 65535 rows tall of which only the rows the canvas needs are written.
QByteArray tallGif(int width, bool interlaced) {
    return gif(indexedBlocks(width, 512), {65535, interlaced, 600});
}

INSTANTIATE_TEST_SUITE_P(
    Jpeg, Decode,
    ::testing::Values(
        qt("baseline", kJpeg), qt("progressive", jpeg(640, 480, {.progressive = true})),
        qt("large", kLargeJpeg), qt("arithmetic", jpeg(640, 480, {.arithmetic = true})),
        qt("arithmeticProgressive", jpeg(640, 480, {.progressive = true, .arithmetic = true})),
        qt("grey", jpeg(64, 48, {.grey = true})), qt("cmyk", jpeg(64, 48, {.cmyk = true})),
        // Its first 600 rows start with the same blocks as the 1024 x 1024 one.
        Row{"hugeCut", jpeg(20000, 20000, {.writtenRows = 600}), QImage::fromData(kLargeJpeg)},
        Row{"scanLimit", progressiveJpeg(16, 16, kJpegScanLimit - 1), filled(16, 16, 0xFF808080)},
        // Damage outside the scan data leaves the pixels whole.
        qt("strayByteAfterStart", QByteArray(kSmallJpeg).insert(2, '\0')),
        Row{"strayBytesBeforeTables", QByteArray(kSmallJpeg).insert(kJpegTables, "\x01\x02\x03"),
            QImage::fromData(kSmallJpeg)},
        Row{"strayBytesBeforeApp1",
            QByteArray(kSmallJpeg)
                .insert(kJpegTables, QByteArray("\x07\x07\xFF\xE1\x00\x08"
                                                "Exif\0\0",
                                                12)),
            QImage::fromData(kSmallJpeg)},
        Row{"truncatedApp14",
            QByteArray(kSmallJpeg)
                .insert(kJpegTables, QByteArray("\xFF\xEE\x00\x06"
                                                "Adob",
                                                8)),
            QImage::fromData(kSmallJpeg)},
        Row{"zeroBytes", ""}, Row{"text", "This is not a picture.\r\n"},
        Row{"cutInVisibleRows", kJpeg.first(kJpeg.size() * 6 / 10)},
        Row{"withoutItsEnd", kJpeg.chopped(2)},
        Row{"garbageBeforeItsEnd",
            QByteArray(kJpeg).insert(kJpeg.size() - 2, QByteArray(100, 'x'))},
        Row{"strayEndInScan", QByteArray(kJpeg).replace(kJpeg.size() / 2, 2, "\xFF\xD9")},
        Row{"ppm", writtenByQt(filled(8, 8, 0), "PPM")},
        // Files made to cost as much as possible.
        Row{"scanBomb", progressiveJpeg(2048, 2048, 200)},
        Row{"tooManyScans", progressiveJpeg(16, 16, kJpegScanLimit)},
        Row{"coefficientsBeyondMemory",
            progressiveJpeg(8192, 8192, 0),
            {},
            0,
            kMemory,
            kDecodeMemoryLimit},
        Row{"xpmThatNeverEnds",
            "/* XPM */\nstatic char* p[] = {\n\"60000 60000 1 1\",\n",
            {},
            kTwoGigabytes,
            kRead,
            0},
        // Fits the canvas rows, so it is read on to its end marker.
        Row{"beforeAHole",
            jpeg(64, 64).chopped(2),
            {},
            kTwoGigabytes,
            kRead,
            kDecodeWorkLimit / kWorkPerByte}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Gif, Decode,
    ::testing::Values(Row{"whole", kGif, kGifPicture},
                      Row{"tall", tallGif(640, false), indexedBlocks(640, 512)},
                      // Its rows all alike, as rows in file order land in the passes' places.
                      Row{"interlacedTallerThanTheCanvas", gif(indexedBlocks(40, 1), {520, true}),
                          indexedBlocks(40, 1).scaled(40, 520)},
                      Row{"cut", kGif.first(kGif.size() / 2)},
                      Row{"endsBeforeItsFrame", kGif.first(6 + 7 + 256 * 3)},
                      // Refused from its header, before a row is decoded.
                      Row{"interlacedTall", tallGif(8192, true), {}, 0, kRead, 1024}),
    CaseName());

const QImage kIndexed1 = indexed(13, 5, 2), kIndexed4 = indexed(7, 5, 16),
             kIndexed8 = indexed(9, 4, 256), kColourful = colourful(7, 5),
             kLarge = colourful(600, 700), kRuns = indexed(300, 6, 5);
const QByteArray kWhole = bmpOf(kColourful, {});
constexpr std::int64_t kHeader = 54;

INSTANTIATE_TEST_SUITE_P(
    Bmp, Decode,
    ::
        testing::
            Values(Row{"bits1", bmpOf(kIndexed1, {.bitsPerPixel = 1}), kIndexed1},
                   Row{"bits4", bmpOf(kIndexed4, {.bitsPerPixel = 4}), kIndexed4},
                   Row{"bits8", bmpOf(kIndexed8, {.bitsPerPixel = 8}), kIndexed8},
                   Row{"bits16", bmpOf(kColourful, {.bitsPerPixel = 16}), kColourful},
                   Row{"bits24", kWhole, kColourful},
                   Row{"bits32FourthByteZero", bmpOf(kColourful, {.bitsPerPixel = 32}), kColourful},
                   Row{"topDown4", bmpOf(kIndexed4, {.height = -1, .bitsPerPixel = 4}), kIndexed4},
                   Row{"topDown24", bmpOf(kColourful, {.height = -1}), kColourful},
                   Row{"writtenByQt24", writtenByQt(kColourful, "BMP"), kColourful},
                   Row{"writtenByQt8", writtenByQt(kIndexed8, "BMP"), kIndexed8},
                   Row{"coreHeader8", bmpOf(kIndexed8, {.infoSize = 12, .bitsPerPixel = 8}),
                       kIndexed8},
                   Row{"v4Header24", bmpOf(kColourful, {.infoSize = 108}), kColourful},
                   Row{"v5Header8", bmpOf(kIndexed8, {.infoSize = 124, .bitsPerPixel = 8}),
                       kIndexed8},
                   // The shown rows of a bottom-up picture come last, after those below the canvas.
                   Row{"largeCutAtTheEdges", bmpOf(kLarge, {}), kLarge},
                   Row{"largeTopDown", bmpOf(kLarge, {.height = -1}), kLarge},
                   Row{"imageSizeLies", bmpOf(kColourful, {.imageSize = 0xFFFFFFFF}), kColourful},
                   Row{"gapBeforeThePixels", bmpOf(kColourful, {.gap = 99}), kColourful},
                   Row{"paletteLongerThanTheDepth",
                       bmpOf(kIndexed4, {.bitsPerPixel = 4,
                                         .palette = kIndexed4.colorTable() + QList<QRgb>(284),
                                         .colours = 300}),
                       kIndexed4},
                   // Its palette ends where the pixels start.
                   Row{"paletteShorterThanTheDepth", bmpOf(kIndexed1, {.bitsPerPixel = 8}),
                       kIndexed1},
                   // Red, green, blue, and each at half: 16 of 31 is 132, 32 of 63 is 130.
                   Row{"bitfields565",
                       bitfields(40, 1, {0xF800, 0x07E0, 0x001F},
                                 16, QByteArray("\x00\xF8\xE0\x07\x1F\x00\x10\x84", 8)),
                       rows(4, {R, G, B, qRgb(132, 130, 132)})},
                   // Blue, green, red from the top byte down; in the low byte an alpha of 0, not
                   // read.
                   Row{"bitfields32InAV5Header",
                       bitfields(124, -1, {0x0000FF00, 0x00FF0000, 0xFF000000},
                                 32, QByteArray("\x00\x11\x22\x33\x00\xFF\x00\x80", 8)),
                       rows(2, {qRgb(0x11, 0x22, 0x33), qRgb(0xFF, 0x00, 0x80)})},
                   Row{"bitfieldsWidestAndEmpty",
                       bitfields(40, 1, {0xFFFFFFFF, 0xFF00, 0}, 32, QByteArray("\0\0\0\x80", 4)),
                       rows(1, {qRgb(128, 0, 0)})},
                   Row{"rle8", bmpOf(kRuns, {.bitsPerPixel = 8, .compression = kRle8}), kRuns},
                   Row{"rle4", bmpOf(kIndexed4, {.bitsPerPixel = 4, .compression = kRle4}),
                       kIndexed4},
                   // Bottom row first: an absolute run of 3 padded to a word, a run, the end of the
                   // row; a move right, a pixel, and the end of the picture before the top row.
                   Row{"rle8AbsoluteMoveAndEnd",
                       rle(5, 3, kRle8, "\0\3\1\2\3\0\2\5\0\0\0\2\4\0\1\4\0\1"),
                       rows(5, {kOpen, kOpen, kOpen, kOpen, kOpen,  //
                                kOpen, kOpen, kOpen, kOpen, C, G, B, Y, M, M})},
                   Row{"rle8AbsoluteOfFour", rle(4, 1, kRle8, "\0\4\1\2\3\4\0\1"),
                       rows(4, {G, B, Y, C})},
                   // A run alternating two nibbles, an absolute run of 5 (3 bytes, padded to 4),
                   // the end of the row; a row ended early; a last row without the end of the
                   // picture.
                   Row{"rle4NibblesAndAbsolute",
                       rle(8, 3, kRle4, "\3\x12\0\5\x34\x56\x70\0\0\0\2\x77\0\0\x08\x60\0\0"),
                       rows(8, {K, R, K,     R,     K,     R,     K,     R,
                                W, W, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen,  //
                                G, B, G,     Y,     C,     M,     K,     W})},
                   Row{"rle8TopDown", rle(3, -2, kRle8, "\3\6\0\0\1\7\0\1"),
                       rows(3, {K, K, K, W, kOpen, kOpen})},
                   // A move, then runs to the right edge of a picture wider than the canvas.
                   Row{"rle8WiderThanTheCanvas", rle(600, 1, kRle8, "\0\2\xFE\0\xFF\3\x5B\3\0\0"),
                       [] {
                           std::vector<QRgb> line(600, Y);
                           std::fill_n(line.begin(), 254, kOpen);
                           return rows(600, line);
                       }()},
                   Row{"pixelsEndOneByteEarly", kWhole.chopped(1)},
                   Row{"asTallAsTheCanvasWithoutItsLastByte",
                       bmpOf(colourful(7, 512), {}).chopped(1)},
                   Row{"headerCut", kWhole.first(40)},
                   Row{"paletteCut", bmpOf(kIndexed8, {.bitsPerPixel = 8}).first(60)},
                   Row{"topDownCutInItsRows", bmpOf(kColourful, {.height = -1}).chopped(30)},
                   Row{"largeCutInItsShownRows", bmpOf(kLarge, {}).chopped(3000)},
                   Row{"indexBeyondThePalette",
                       bmpOf(kIndexed4, {.bitsPerPixel = 4, .palette = kEight, .colours = 8})},
                   Row{"rleRunPastTheEdge", rle(4, 1, kRle8, "\5\1\0\1")},
                   Row{"rleAbsolutePastTheEdge", rle(4, 1, kRle8, "\0\5\1\1\1\1\1\0")},
                   Row{"rleMovePastTheRight", rle(4, 2, kRle8, "\0\2\5\0\0\1")},
                   Row{"rleMovePastTheTop", rle(4, 2, kRle8, "\0\2\0\2\0\1")},
                   Row{"rleEndsEarly", rle(4, 2, kRle8, "\4\1\0\0")},
                   Row{"rleIndexBeyondThePalette", rle(4, 1, kRle8, "\4\x08\0\1")},
                   Row{"rle4WithEightBits",
                       bmpOf(kIndexed4, {.bitsPerPixel = 8, .compression = kRle4})},
                   Row{"jpegCompression", bmpOf(kColourful, {.compression = 4})},
                   Row{"bitfields24",
                       bitfields(40, 1, {0xFF0000, 0xFF00, 0xFF}, 24, kWhole.last(24))},
                   Row{"bits2", bmpOf(kIndexed4, {.bitsPerPixel = 2})},
                   Row{"header64", bmpOf(kColourful, {.infoSize = 64})},
                   Row{"widthZero", bmpFile({.width = 0, .height = 5})},
                   Row{"widthNegative",
                       bmpFile({.width = -7, .height = 5, .pixels = kWhole.mid(54)})},
                   Row{"heightZero", bmpFile({.width = 7, .height = 0, .pixels = kWhole.mid(54)})},
                   Row{"pixelsInsideTheHeader", bmpOf(kColourful, {.pixelOffset = 20})},
                   // Files made to cost as much as possible, holes included.
                   Row{"largestDimensions",
                       bmpFile({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bitsPerPixel = 32}),
                       {},
                       0,
                       kRead,
                       kHeader},
                   Row{"mostRowsTopDown",
                       bmpFile({.width = 1, .height = INT32_MIN}),
                       {},
                       0,
                       kRead,
                       kHeader},
                   Row{"largerThanItsFile",
                       bmpFile({.width = 100000, .height = 100000}),
                       {},
                       kTwoGigabytes,
                       kRead,
                       kHeader},
                   Row{"pixelsFarAway",
                       bmpFile({.width = 8, .height = 8, .pixelOffset = 0xFFFFFFFF}),
                       {},
                       kTwoGigabytes,
                       kRead,
                       kHeader},
                   Row{"countlessColours",
                       bmpFile({.width = 8,
                                .height = 8,
                                .bitsPerPixel = 8,
                                .colours = 0xFFFFFFFF,
                                .pixelOffset = 0xFFFFFFFF}),
                       {},
                       kTwoGigabytes,
                       kRead,
                       kHeader + 256 * 4},
                   // Zero bytes end row after row, past the budget.
                   Row{"rleThatNeverEnds",
                       rle(8, 0x7FFFFFFF, kRle8, ""),
                       {},
                       kTwoGigabytes,
                       kRead,
                       kDecodeWorkLimit / kWorkPerByte},
                   // Only the shown part of the shown rows is read, at the end of the hole.
                   Row{"wideAndTall", bmpFile({.width = 100000, .height = 7000}),
                       filled(512, 512, 0xFF000000), kHeader + 300000LL * 7000, kRead,
                       kHeader + 512 * 512 * 3}),
    CaseName());

const Png kGrey8 = mixed(PNG_COLOR_TYPE_GRAY, 8);
const QByteArray kGrey8File = pngFile(kGrey8), kEnd = chunk("IEND", "");
// Nine rows of nine grey pixels, each behind its filter byte.
const QByteArray kNineRows = deflated(QByteArray(9 * 10, '\0'));
// A 16-bit grey ramp through the values where rounding and truncation part.
const unsigned kRamp16[] = {0,     127,   128,   129,   255,   256,   257,   32767,
                            32768, 32895, 32896, 65279, 65407, 65408, 65534, 65535};

INSTANTIATE_TEST_SUITE_P(
    Png, Decode,
    ::testing::Values(
        png("grey1", mixed(PNG_COLOR_TYPE_GRAY, 1)), png("grey2", mixed(PNG_COLOR_TYPE_GRAY, 2)),
        png("grey4", mixed(PNG_COLOR_TYPE_GRAY, 4)), png("grey8", kGrey8),
        png("grey16", mixed(PNG_COLOR_TYPE_GRAY, 16)),
        png("grey16Rounded", {.width = 16,
                              .height = 1,
                              .bitDepth = 16,
                              .sample = [](int x, int, int) { return kRamp16[x]; }}),
        png("greyAlpha8", mixed(PNG_COLOR_TYPE_GRAY_ALPHA, 8)),
        png("greyAlpha16", mixed(PNG_COLOR_TYPE_GRAY_ALPHA, 16)),
        png("rgb8", mixed(PNG_COLOR_TYPE_RGB, 8)), png("rgb16", mixed(PNG_COLOR_TYPE_RGB, 16)),
        png("rgba8", alphaSteps(8)), png("rgba16", alphaSteps(16)), png("palette1", palette(1)),
        png("palette2", palette(2)), png("palette4", palette(4)), png("palette8", palette(8)),
        png("paletteTransparency", palette(4, {0, 255, 128, 7})),
        png("greyTransparentColour",
            transparent(mixed(PNG_COLOR_TYPE_GRAY, 4), png_color_16{0, 0, 0, 0, 9})),
        // The colour of pixel (0, 0).
        png("rgbTransparentColour",
            transparent(mixed(PNG_COLOR_TYPE_RGB, 8), png_color_16{0, 0, 189, 122, 0})),
        png("interlacedGrey1", mixed(PNG_COLOR_TYPE_GRAY, 1, true)),
        png("interlacedRgba16", alphaSteps(16, true)),
        png("interlacedPalette4", palette(4, {}, true)),
        png("interlacedOnePixel", mixed(PNG_COLOR_TYPE_RGB, 8, true, 1)),
        // Only the columns and rows on the canvas are drawn; a tall one is read no further.
        png("beyondTheCanvas",
            [] {
                Png picture = mixed(PNG_COLOR_TYPE_RGB, 8);
                picture.width = 600, picture.height = 530;
                return picture;
            }()),
        png("interlacedBeyondTheCanvas", mixed(PNG_COLOR_TYPE_GRAY, 8, true, 520)),
        // The stored values are heights: gamma and colour profiles change nothing, and a broken
        // or surplus metadata chunk is skipped.
        png("gammaAndProfileIgnored", kGrey8,
            afterHeader(kGrey8File, chunk("gAMA", bigEndian(10000)) + chunk("sRGB", "\x01") +
                                        chunk("iCCP", QByteArray("p\0\0garbage", 10)))),
        png("ancillaryChunkWithBadCrc", kGrey8,
            afterHeader(kGrey8File, flipped(chunk("tEXt", QByteArray("a\0b", 3)), 11))),
        png("aThousandAncillaryChunks", kGrey8,
            afterHeader(kGrey8File, chunk("tEXt", QByteArray("k\0v", 3)).repeated(1000))),
        Row{"headerCrc", flipped(kGrey8File, 8 + 21)},
        Row{"imageDataCrc", flipped(kGrey8File, kGrey8File.size() - 12 - 1)},
        Row{"imageDataCut", kGrey8File.first(kGrey8File.size() - 12 - 8)},
        Row{"badZlibStream", pngOfChunks(header(9, 9) + chunk("IDAT", QByteArray(40, 'x')) + kEnd)},
        Row{"noImageData", pngOfChunks(header(9, 9) + kEnd)},
        Row{"tooLittleImageData",
            pngOfChunks(header(9, 9) + chunk("IDAT", deflated(QByteArray(50, '\0'))) + kEnd)},
        Row{"unknownCriticalChunk", afterHeader(kGrey8File, chunk("ABCD", "data"))},
        // Rows dearer than the budget: refused from the header, before the library holds a row.
        Row{"rowsBeyondTheBudget",
            pngOfChunks(header(300000, 512) + chunk("IDAT", kNineRows) + kEnd),
            {},
            0,
            kMemory,
            512 * 512 * 4 + 64 * 1024},
        // Holds the canvas and a few rows, never the picture.
        Row{"declares100000Squared",
            pngOfChunks(header(100000, 100000) + chunk("IDAT", kNineRows) + kEnd),
            {},
            0,
            kMemory,
            4 << 20},
        // Eight megabytes of rows for a picture of nine.
        Row{"zlibBomb",
            pngOfChunks(header(9, 9) + chunk("IDAT", deflated(QByteArray(8 << 20, '\0'))) + kEnd)}),
    CaseName());

// Beyond the bytes read, every block or pixel decoded is charged, and nothing more.
TEST(PictureDecoder, ChargesWhatItDecodes) {
    const std::tuple<const char*, QByteArray, std::int64_t> pictures[] = {
        {"jpegMcusOfSixBlocks", kSmallJpeg, 4 * 3 * 6 * kWorkPerJpegBlock},
        {"gif", gif(indexedBlocks(40, 24)), 40 * 24 * kWorkPerGifPixel},
        {"gifInterlaced", gif(indexedBlocks(40, 24), {0, true}), 40 * 24 * kWorkPerGifPixel},
    };
    for (const auto& [name, file, charged] : pictures) {
        sandbox.write(name, file);
        DecodeCost spent;
        ASSERT_TRUE(decode(name, &spent).has_value()) << name;
        EXPECT_EQ(spent.work - spent.bytesRead * kWorkPerByte, charged) << name;
    }
}

TEST(PictureDecoder, RefusesWhatItCannotRead) {
    ASSERT_TRUE(QDir().mkpath("folder.jpg"));
    EXPECT_EQ(decode("folder.jpg"), std::nullopt);
    EXPECT_EQ(decode("missingFolder/missing.jpg"), std::nullopt);
}

// Inputs that once made the decoder fail: each decodes, or is refused, within the budget.
TEST(PictureDecoder, DecodesFormerFailuresWithinTheBudget) {
    const QDir folder(KESTRANE_TEST_DATA "/decoder_regressions");
    for (const QString& name : folder.entryList(QDir::Files)) {
        DecodeCost spent;
        decode(folder.filePath(name), &spent);
        EXPECT_LE(spent.work, kDecodeWorkLimit) << name.toStdString();
        EXPECT_LE(spent.memory, kDecodeMemoryLimit) << name.toStdString();
    }
}

}  // namespace
}  // namespace kestrane
