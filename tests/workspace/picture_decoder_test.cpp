#include "workspace/picture_decoder.h"

#include <gtest/gtest.h>

#include <QDir>

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

std::optional<QImage> decode(const QString& path, DecodeCost* cost = nullptr) {
    return decodePictureForCanvas(path, QSize(512, 512), QColor(kBackground), cost);
}

QByteArray jpeg(int width, int height, JpegOptions options = {}) {
    writeJpeg("made.jpg", width, height, 95, options);
    return sandbox.read("made.jpg");
}

QByteArray gif(const QImage& picture, GifFrame frame = {}) {
    writeGif("made.gif", picture, frame);
    return sandbox.read("made.gif");
}

QImage filled(int width, int height, QRgb colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Indices running diagonally through `colours` distinct colours, each channel of 5 significant
// bits so that 16-bit pixels hold them too: v * 255 / 31, rounded.
QImage indexed(int width, int height, int colours = 256) {
    const auto level = [](int v) { return (v % 32 * 255 + 15) / 31; };
    QImage picture(width, height, QImage::Format_Indexed8);
    for (int i = 0; i < colours; ++i)
        picture.setColor(i, qRgb(level(i), level(i / 8), level(i * 7)));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, uint((x * 37 + y * 11) % colours));
    }
    return picture;
}

// A picture of `pixels` in rows from the top, kOpen where the file leaves the background.
constexpr QRgb kOpen = 0;
QImage rows(int width, const QList<QRgb>& pixels) {
    QImage picture(width, int(pixels.size()) / width, QImage::Format_ARGB32);
    for (int i = 0; i < pixels.size(); ++i) picture.setPixel(i % width, i / width, pixels[i]);
    return picture;
}

constexpr QRgb R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255), Y = qRgb(255, 255, 0),
               C = qRgb(0, 255, 255), M = qRgb(255, 0, 255), K = qRgb(9, 9, 9),
               W = qRgb(250, 250, 250);
const QList<QRgb> kEight = {R, G, B, Y, C, M, K, W};

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

// Samples that differ from pixel to pixel and from channel to channel, over the whole depth; a
// palette has a colour for each index, the first four of them partly transparent.
QByteArray mixedPng(int colourType, int depth, bool interlaced = false, int width = 9,
                    int height = 0) {
    const unsigned top = (1u << depth) - 1;
    Png picture{.width = width,
                .height = height > 0 ? height : width,
                .colourType = colourType,
                .bitDepth = depth,
                .interlaced = interlaced,
                .sample = [top](int x, int y, int c) {
                    return unsigned(x * 40503 + y * 7919 + c * 2749 + x * y * 31) % (top + 1);
                }};
    for (unsigned i = 0; colourType == PNG_COLOR_TYPE_PALETTE && i <= top; ++i) {
        picture.palette.push_back({png_byte(i * 37), png_byte(255 - i * 11), png_byte(i * 5 + 3)});
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) picture.paletteAlpha = {0, 255, 128, 7};
    return pngFile(picture);
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

// Refused, the cost named kept under `bound`.
Row costly(std::string name, const QByteArray& file, std::int64_t DecodeCost::*cost,
           std::int64_t bound, qint64 size = 0) {
    return {std::move(name), file, {}, size, cost, bound};
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
        // Blended over the background as the decoder blends, rounding to nearest.
        const QImage picture = row.picture->convertToFormat(QImage::Format_ARGB32);
        canvas = filled(512, 512, kBackground);
        for (int y = 0; y < std::min(512, picture.height()); ++y) {
            for (int x = 0; x < std::min(512, picture.width()); ++x) {
                const QRgb top = picture.pixel(x, y), alpha = qAlpha(top);
                const auto over = [&](int (*of)(QRgb)) {
                    return (of(top) * alpha + of(kBackground) * (255 - alpha) + 127) / 255;
                };
                canvas->setPixel(x, y, qRgb(over(qRed), over(qGreen), over(qBlue)));
            }
        }
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

// A frame 65535 rows tall of which only the rows the canvas needs are written.
QByteArray tallGif(int width, bool interlaced) {
    return gif(indexedBlocks(width, 512), {65535, interlaced, 600});
}

const Row kJpegAndGif[] = {
    qt("baseline", kJpeg),
    qt("progressive", jpeg(640, 480, {.progressive = true})),
    qt("arithmetic", jpeg(640, 480, {.arithmetic = true})),
    qt("grey", jpeg(64, 48, {.grey = true})),
    qt("cmyk", jpeg(64, 48, {.cmyk = true})),
    // Its first 600 rows start with the same blocks as the 1024 x 1024 one.
    {"hugeCut", jpeg(20000, 20000, {.writtenRows = 600}), QImage::fromData(kLargeJpeg)},
    {"scanLimit", progressiveJpeg(16, 16, kJpegScanLimit - 1), filled(16, 16, 0xFF808080)},
    // Damage outside the scan data leaves the pixels whole.
    {"strayBytesBeforeTables",
     QByteArray(kSmallJpeg).insert(kSmallJpeg.indexOf("\xFF\xDB"), "\x01\x02\x03"),
     QImage::fromData(kSmallJpeg)},
    {"zeroBytes", ""},
    {"jpegWithoutItsEnd", kJpeg.chopped(2)},
    {"jpegStrayEndInScan", QByteArray(kJpeg).replace(kJpeg.size() / 2, 2, "\xFF\xD9")},
    // Files made to cost as much as possible.
    {"scanBomb", progressiveJpeg(2048, 2048, 200)},
    {"tooManyScans", progressiveJpeg(16, 16, kJpegScanLimit)},
    costly("coefficientsBeyondMemory", progressiveJpeg(8192, 8192, 0), kMemory, kDecodeMemoryLimit),
    costly("xpmThatNeverEnds", "/* XPM */\nstatic char* p[] = {\n\"60000 60000 1 1\",\n", kRead, 0,
           kTwoGigabytes),
    // Fits the canvas rows, so it is read on to its end marker.
    costly("jpegBeforeAHole", jpeg(64, 64).chopped(2), kRead, kDecodeWorkLimit / kWorkPerByte,
           kTwoGigabytes),
    {"gif", kGif, kGifPicture},
    {"gifTall", tallGif(640, false), indexedBlocks(640, 512)},
    // Its rows all alike, as rows in file order land in the passes' places.
    {"gifInterlacedTallerThanTheCanvas", gif(indexedBlocks(40, 1), {520, true}),
     indexedBlocks(40, 1).scaled(40, 520)},
    // A screen one row tall, or one column wide, shows no more of the frame than that.
    {"gifScreenOneRowTall", QByteArray(kGif).replace(8, 2, "\1\0", 2),
     kGifPicture.copy(0, 0, 640, 1)},
    {"gifScreenOneColumnWide", QByteArray(kGif).replace(6, 2, "\1\0", 2),
     kGifPicture.copy(0, 0, 1, 480)},
    {"gifCut", kGif.first(kGif.size() / 2)},
    {"gifEndsBeforeItsFrame", kGif.first(6 + 7 + 256 * 3)},
    {"gifWithoutAFrame", kGif.first(6 + 7 + 256 * 3) + ';'},
    // A graphics control block one byte short, the frame straight after it.
    {"gifBrokenControlBlock", QByteArray(kGif).insert(6 + 7 + 256 * 3, "!\xF9\3\0\0\0", 6)},
    // Refused from its header, before a row is decoded.
    costly("gifInterlacedTall", tallGif(8192, true), kRead, 1024)};

INSTANTIATE_TEST_SUITE_P(JpegAndGif, Decode, ::testing::ValuesIn(kJpegAndGif), CaseName());

const QImage kIndexed1 = indexed(13, 5, 2), kIndexed4 = indexed(7, 5, 16),
             kIndexed8 = indexed(9, 4), kColourful = indexed(7, 5), kLarge = indexed(600, 700);
const QByteArray kWhole = bmpOf(kColourful, {});
constexpr std::int64_t kHeader = 54;

const Row kBmp[] = {
    {"bits1", bmpOf(kIndexed1, {.bitsPerPixel = 1}), kIndexed1},
    {"bits4", bmpOf(kIndexed4, {.bitsPerPixel = 4}), kIndexed4},
    {"bits16", bmpOf(kColourful, {.bitsPerPixel = 16}), kColourful},
    {"bits24", kWhole, kColourful},
    {"bits32FourthByteZero", bmpOf(kColourful, {.bitsPerPixel = 32}), kColourful},
    {"coreHeader8", bmpOf(kIndexed8, {.infoSize = 12, .bitsPerPixel = 8}), kIndexed8},
    {"v4Header24", bmpOf(kColourful, {.infoSize = 108}), kColourful},
    // The shown rows of a bottom-up picture come last, after those below the canvas.
    {"largeCutAtTheEdges", bmpOf(kLarge, {}), kLarge},
    {"largeTopDown", bmpOf(kLarge, {.height = -1}), kLarge},
    {"paletteLongerThanTheDepth",
     bmpOf(
         kIndexed4,
         {.bitsPerPixel = 4, .palette = kIndexed4.colorTable() + QList<QRgb>(284), .colours = 300}),
     kIndexed4},
    // Its palette ends where the pixels start.
    {"paletteShorterThanTheDepth", bmpOf(kIndexed1, {.bitsPerPixel = 8}), kIndexed1},
    // Red, green, blue, and each at half: 16 of 31 is 132, 32 of 63 is 130.
    {"bitfields565",
     bitfields(40, 1, {0xF800, 0x07E0, 0x001F}, 16,
               QByteArray("\x00\xF8\xE0\x07\x1F\x00\x10\x84", 8)),
     rows(4, {R, G, B, qRgb(132, 130, 132)})},
    // Blue, green, red from the top byte down; in the low byte an alpha of 0, not read.
    {"bitfields32InAV5Header",
     bitfields(124, -1, {0x0000FF00, 0x00FF0000, 0xFF000000}, 32,
               QByteArray("\x00\x11\x22\x33\x00\xFF\x00\x80", 8)),
     rows(2, {qRgb(0x11, 0x22, 0x33), qRgb(0xFF, 0x00, 0x80)})},
    {"bitfieldsWidestAndEmpty",
     bitfields(40, 1, {0xFFFFFFFF, 0xFF00, 0}, 32, QByteArray("\0\0\0\x80", 4)),
     rows(1, {qRgb(128, 0, 0)})},
    // Bottom row first: an absolute run of 3 padded to a word, a run, the end of the row; a move
    // right, a pixel, and the end of the picture before the top row.
    {"rle8AbsoluteMoveAndEnd", rle(5, 3, kRle8, "\0\3\1\2\3\0\2\5\0\0\0\2\4\0\1\4\0\1"),
     rows(5, {kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, C, G, B, Y, M, M})},
    {"rle8AbsoluteOfFour", rle(4, 1, kRle8, "\0\4\1\2\3\4\0\1"), rows(4, {G, B, Y, C})},
    // A run alternating two nibbles, an absolute run of 5 (3 bytes, padded to 4), the end of the
    // row; a row ended early; a last row without the end of the picture.
    {"rle4NibblesAndAbsolute",
     rle(8, 3, kRle4, "\3\x12\0\5\x34\x56\x70\0\0\0\2\x77\0\0\x08\x60\0\0"),
     rows(8, {K,     R,     K,     R,     K, R, K, R, W, W, kOpen, kOpen,
              kOpen, kOpen, kOpen, kOpen, G, B, G, Y, C, M, K,     W})},
    {"rle8TopDown", rle(3, -2, kRle8, "\3\6\0\0\1\7\0\1"), rows(3, {K, K, K, W, kOpen, kOpen})},
    // The bottom row, below the canvas, holds the only run.
    {"rle8TallerThanTheCanvas", rle(2, 513, kRle8, "\2\1\0\0\0\1"),
     rows(2, QList<QRgb>(2 * 513, kOpen))},
    // A move, then runs to the right edge of a picture wider than the canvas.
    {"rle8WiderThanTheCanvas", rle(600, 1, kRle8, "\0\2\xFE\0\xFF\3\x5B\3\0\0"),
     rows(600, QList<QRgb>(254, kOpen) + QList<QRgb>(346, Y))},
    {"pixelsEndOneByteEarly", kWhole.chopped(1)},
    {"asTallAsTheCanvasWithoutItsLastByte", bmpOf(indexed(7, 512), {}).chopped(1)},
    {"headerCut", kWhole.first(40)},
    {"paletteCut", bmpOf(kIndexed8, {.bitsPerPixel = 8}).first(60)},
    {"largeCutInItsShownRows", bmpOf(kLarge, {}).chopped(3000)},
    {"indexBeyondThePalette",
     bmpOf(kIndexed4, {.bitsPerPixel = 4, .palette = kEight, .colours = 8})},
    {"rleRunPastTheEdge", rle(4, 1, kRle8, "\5\1\0\1")},
    {"rleAbsolutePastTheEdge", rle(4, 1, kRle8, "\0\5\1\1\1\1\1\0")},
    {"rleMovePastTheRight", rle(4, 2, kRle8, "\0\2\5\0\0\1")},
    {"rleMovePastTheTop", rle(4, 2, kRle8, "\0\2\0\2\0\1")},
    {"rleEndsEarly", rle(4, 2, kRle8, "\4\1\0\0")},
    {"rleIndexBeyondThePalette", rle(4, 1, kRle8, "\4\x08\0\1")},
    {"rle4WithEightBits", bmpOf(kIndexed4, {.bitsPerPixel = 8, .compression = kRle4})},
    {"jpegCompression", bmpOf(kColourful, {.compression = 4})},
    {"bitfields24", bitfields(40, 1, {0xFF0000, 0xFF00, 0xFF}, 24, kWhole.last(24))},
    {"bits2", bmpOf(kIndexed4, {.bitsPerPixel = 2})},
    {"header64", bmpOf(kColourful, {.infoSize = 64})},
    {"widthZero", bmpFile({.width = 0, .height = 5})},
    {"widthNegative", bmpFile({.width = -7, .height = 5, .pixels = kWhole.mid(54)})},
    {"heightZero", bmpFile({.width = 7, .height = 0, .pixels = kWhole.mid(54)})},
    {"pixelsInsideTheHeader", bmpOf(kColourful, {.pixelOffset = 20})},
    // Files made to cost as much as possible, holes included.
    costly("largestDimensions",
           bmpFile({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bitsPerPixel = 32}), kRead,
           kHeader),
    costly("mostRowsTopDown", bmpFile({.width = 1, .height = INT32_MIN}), kRead, kHeader),
    costly("largerThanItsFile", bmpFile({.width = 100000, .height = 100000}), kRead, kHeader,
           kTwoGigabytes),
    costly("pixelsFarAway", bmpFile({.width = 8, .height = 8, .pixelOffset = 0xFFFFFFFF}), kRead,
           kHeader, kTwoGigabytes),
    costly("countlessColours",
           bmpFile({.width = 8,
                    .height = 8,
                    .bitsPerPixel = 8,
                    .colours = 0xFFFFFFFF,
                    .pixelOffset = 0xFFFFFFFF}),
           kRead, kHeader + 256 * 4, kTwoGigabytes),
    // Zero bytes end row after row, past the budget.
    costly("rleThatNeverEnds", rle(8, 0x7FFFFFFF, kRle8, ""), kRead,
           kDecodeWorkLimit / kWorkPerByte, kTwoGigabytes),
    // Only the shown part of the shown rows is read, at the end of the hole.
    {"wideAndTall", bmpFile({.width = 100000, .height = 7000}), filled(512, 512, 0xFF000000),
     kHeader + 300000LL * 7000, kRead, kHeader + 512 * 512 * 3}};

INSTANTIATE_TEST_SUITE_P(Bmp, Decode, ::testing::ValuesIn(kBmp), CaseName());

const QByteArray kGrey8File = mixedPng(PNG_COLOR_TYPE_GRAY, 8);
// Nine rows of nine grey pixels, each behind its filter byte.
const QByteArray kNineRows = deflated(QByteArray(9 * 10, '\0'));
// `chunks` placed after the header chunk.
const auto kGrey8With = [](const QByteArray& chunks) {
    return QByteArray(kGrey8File).insert(8 + 25, chunks);
};

const Row kPng[] = {
    qt("grey1", mixedPng(PNG_COLOR_TYPE_GRAY, 1)),
    qt("grey16", mixedPng(PNG_COLOR_TYPE_GRAY, 16)),
    qt("rgba16", mixedPng(PNG_COLOR_TYPE_RGB_ALPHA, 16)),
    qt("paletteTransparency", mixedPng(PNG_COLOR_TYPE_PALETTE, 4)),
    qt("interlacedRgba16", mixedPng(PNG_COLOR_TYPE_RGB_ALPHA, 16, true)),
    qt("interlacedOnePixel", mixedPng(PNG_COLOR_TYPE_RGB, 8, true, 1)),
    // Only the columns and rows on the canvas are drawn; a tall one is read no further.
    qt("beyondTheCanvas", mixedPng(PNG_COLOR_TYPE_RGB, 8, false, 600, 530)),
    qt("interlacedBeyondTheCanvas", mixedPng(PNG_COLOR_TYPE_GRAY, 8, true, 520)),
    // A broken or surplus metadata chunk is skipped.
    {"ancillaryChunkWithBadCrc", kGrey8With(flipped(chunk("tEXt", QByteArray("a\0b", 3)), 11)),
     QImage::fromData(kGrey8File)},
    {"aThousandAncillaryChunks", kGrey8With(chunk("tEXt", QByteArray("k\0v", 3)).repeated(1000)),
     QImage::fromData(kGrey8File)},
    // Found only by reading on past the rows.
    {"endCrc", flipped(kGrey8File, kGrey8File.size() - 1)},
    {"imageDataCut", kGrey8File.first(kGrey8File.size() - 12 - 8)},
    // Rows dearer than the budget: refused from the header, before the library holds a row.
    costly("rowsBeyondTheBudget", greyPng(300000, 512, kNineRows), kMemory,
           512 * 512 * 4 + 64 * 1024),
    // Holds the canvas and a few rows, never the picture.
    costly("declares100000Squared", greyPng(100000, 100000, kNineRows), kMemory, 4 << 20),
    // Eight megabytes of rows for a picture of nine.
    {"zlibBomb", greyPng(9, 9, deflated(QByteArray(8 << 20, '\0')))}};

INSTANTIATE_TEST_SUITE_P(Png, Decode, ::testing::ValuesIn(kPng), CaseName());

// Beyond the bytes read, every block or pixel decoded is charged, and nothing more.
TEST(PictureDecoder, ChargesWhatItDecodes) {
    // Arithmetic-coded scan data, from the end of the scan header on, costs more than plain bytes.
    const QByteArray arithmetic = jpeg(64, 48, {.arithmetic = true});
    const qsizetype scan = arithmetic.indexOf("\xFF\xDA") + 2;
    const qsizetype scanData =
        arithmetic.size() - scan - (uchar(arithmetic[scan]) << 8 | uchar(arithmetic[scan + 1]));
    const std::tuple<const char*, QByteArray, std::int64_t> pictures[] = {
        {"jpegMcusOfSixBlocks", kSmallJpeg, 4 * 3 * 6 * kWorkPerJpegBlock},
        // Only the MCU rows down to the canvas's last row, and the one decoded ahead.
        {"jpegTallerThanTheCanvas", jpeg(64, 1024), 4 * (512 / 16 + 2) * 6 * kWorkPerJpegBlock},
        {"arithmeticJpeg", arithmetic,
         4 * 3 * 6 * kWorkPerArithmeticBlock + scanData * (kWorkPerArithmeticByte - kWorkPerByte)},
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
        EXPECT_GT(spent.bytesRead, 0) << name.toStdString();
        EXPECT_LE(spent.work, kDecodeWorkLimit) << name.toStdString();
        EXPECT_LE(spent.memory, kDecodeMemoryLimit) << name.toStdString();
    }
}

}  // namespace
}  // namespace kestrane
