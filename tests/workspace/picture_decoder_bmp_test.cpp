#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "tests/support/bmp_files.h"
#include "tests/support/case_name.h"
#include "tests/support/sandbox.h"
#include "workspace/picture_decoder.h"

namespace kestrane {
namespace {

using testing::Bmp;
using testing::bmpFile;
using testing::bmpOf;

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);
constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitfields = 3;

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

// `picture` as Qt writes it, a BMP writer that is not this test's.
QByteArray writtenByQt(const QImage& picture) {
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    picture.save(&file, "BMP");
    return bytes;
}

const QList<QRgb> kEight = {qRgb(255, 0, 0),   qRgb(0, 255, 0),    qRgb(0, 0, 255),
                            qRgb(255, 255, 0), qRgb(0, 255, 255),  qRgb(255, 0, 255),
                            qRgb(9, 9, 9),     qRgb(250, 250, 250)};
const QRgb R = kEight[0], G = kEight[1], B = kEight[2], Y = kEight[3], C = kEight[4], M = kEight[5],
           K = kEight[6], W = kEight[7];

// An RLE picture over the eight colours, its stream written out.
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

std::optional<QImage> decodeBytes(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return decodePicture(file, QSize(512, 512), QColor(kBackground));
}

struct OpenRow {
    std::string name;
    QByteArray file;
    QImage picture;  // shown from the top-left, cut at the canvas's edges
};

class BmpOpens : public ::testing::TestWithParam<OpenRow> {};

TEST_P(BmpOpens, ShowsItsPixelsOnTheBackground) {
    QImage expected(512, 512, QImage::Format_RGB32);
    expected.fill(kBackground);
    const QImage& picture = GetParam().picture;
    for (int y = 0; y < std::min(512, picture.height()); ++y) {
        for (int x = 0; x < std::min(512, picture.width()); ++x) {
            if (qAlpha(picture.pixel(x, y)) != 0) expected.setPixel(x, y, picture.pixel(x, y));
        }
    }
    EXPECT_EQ(decodeBytes(GetParam().file), expected);
}

const QImage kIndexed1 = indexed(13, 5, 2), kIndexed4 = indexed(7, 5, 16),
             kIndexed8 = indexed(9, 4, 256), kColourful = colourful(7, 5),
             kLarge = colourful(600, 700), kRuns = indexed(300, 6, 5);

INSTANTIATE_TEST_SUITE_P(
    , BmpOpens,
    ::testing::
        Values(OpenRow{"bits1", bmpOf(kIndexed1, {.bitsPerPixel = 1}), kIndexed1},
               OpenRow{"bits4", bmpOf(kIndexed4, {.bitsPerPixel = 4}), kIndexed4},
               OpenRow{"bits8", bmpOf(kIndexed8, {.bitsPerPixel = 8}), kIndexed8},
               OpenRow{"bits16", bmpOf(kColourful, {.bitsPerPixel = 16}), kColourful},
               OpenRow{"bits24", bmpOf(kColourful, {.bitsPerPixel = 24}), kColourful},
               OpenRow{"bits32FourthByteZero", bmpOf(kColourful, {.bitsPerPixel = 32}), kColourful},
               OpenRow{"topDown4", bmpOf(kIndexed4, {.height = -1, .bitsPerPixel = 4}), kIndexed4},
               OpenRow{"topDown24", bmpOf(kColourful, {.height = -1}), kColourful},
               OpenRow{"writtenByQt24", writtenByQt(kColourful), kColourful},
               OpenRow{"writtenByQt8", writtenByQt(kIndexed8), kIndexed8},
               OpenRow{"coreHeader8", bmpOf(kIndexed8, {.infoSize = 12, .bitsPerPixel = 8}),
                       kIndexed8},
               OpenRow{"v4Header24", bmpOf(kColourful, {.infoSize = 108}), kColourful},
               OpenRow{"v5Header8", bmpOf(kIndexed8, {.infoSize = 124, .bitsPerPixel = 8}),
                       kIndexed8},
               // The shown rows of a bottom-up picture come last, after those below the canvas.
               OpenRow{"largeCutAtTheEdges", bmpOf(kLarge, {}), kLarge},
               OpenRow{"largeTopDown", bmpOf(kLarge, {.height = -1}), kLarge},
               OpenRow{"imageSizeLies", bmpOf(kColourful, {.imageSize = 0xFFFFFFFF}), kColourful},
               OpenRow{"gapBeforeThePixels", bmpOf(kColourful, {.gap = 99}), kColourful},
               OpenRow{"paletteLongerThanTheDepth",
                       bmpOf(kIndexed4, {.bitsPerPixel = 4,
                                         .palette = kIndexed4.colorTable() + QList<QRgb>(284),
                                         .colours = 300}),
                       kIndexed4},
               // Its palette ends where the pixels start.
               OpenRow{"paletteShorterThanTheDepth", bmpOf(kIndexed1, {.bitsPerPixel = 8}),
                       kIndexed1},
               // Red, green, blue, and each at half: 16 of 31 is 132, 32 of 63 is 130.
               OpenRow{"bitfields565",
                       bitfields(40, 1, {0xF800, 0x07E0, 0x001F}, 16,
                                 QByteArray("\x00\xF8\xE0\x07\x1F\x00\x10\x84", 8)),
                       rows(4, {R, G, B, qRgb(132, 130, 132)})},
               // Blue, green, red from the top byte down; in the low byte an alpha of 0, not read.
               OpenRow{"bitfields32InAV5Header",
                       bitfields(124, -1, {0x0000FF00, 0x00FF0000, 0xFF000000}, 32,
                                 QByteArray("\x00\x11\x22\x33\x00\xFF\x00\x80", 8)),
                       rows(2, {qRgb(0x11, 0x22, 0x33), qRgb(0xFF, 0x00, 0x80)})},
               OpenRow{"bitfieldsWidestAndEmpty",
                       bitfields(40, 1, {0xFFFFFFFF, 0xFF00, 0}, 32, QByteArray("\0\0\0\x80", 4)),
                       rows(1, {qRgb(128, 0, 0)})},
               OpenRow{"rle8", bmpOf(kRuns, {.bitsPerPixel = 8, .compression = kRle8}), kRuns},
               OpenRow{"rle4", bmpOf(kIndexed4, {.bitsPerPixel = 4, .compression = kRle4}),
                       kIndexed4},
               // Bottom row first: an absolute run of 3 padded to a word, a run, the end of the
               // row; a move right, a pixel, and the end of the picture before the top row.
               OpenRow{"rle8AbsoluteMoveAndEnd",
                       rle(5, 3, kRle8, "\0\3\1\2\3\0\2\5\0\0\0\2\4\0\1\4\0\1"),
                       rows(5, {kOpen, kOpen, kOpen, kOpen, kOpen,  //
                                kOpen, kOpen, kOpen, kOpen, C, G, B, Y, M, M})},
               // A run alternating two nibbles, an absolute run of 5 (3 bytes, padded to 4), the
               // end of the row; a row ended early; a last row without the end of the picture.
               OpenRow{"rle4NibblesAndAbsolute",
                       rle(8, 3, kRle4, "\3\x12\0\5\x34\x56\x70\0\0\0\2\x77\0\0\x08\x60\0\0"),
                       rows(8, {K,     R,     K,     R,     K, R, K, R, W, W, kOpen, kOpen,
                                kOpen, kOpen, kOpen, kOpen, G, B, G, Y, C, M, K,     W})},
               OpenRow{"rle8TopDown", rle(3, -2, kRle8, "\3\6\0\0\1\7\0\1"),
                       rows(3, {K, K, K, W, kOpen, kOpen})},
               // A move, then runs to the right edge of a picture wider than the canvas.
               OpenRow{"rle8WiderThanTheCanvas", rle(600, 1, kRle8, "\0\2\xFE\0\xFF\3\x5B\3\0\0"),
                       [] {
                           std::vector<QRgb> line(600, Y);
                           std::fill_n(line.begin(), 254, kOpen);
                           return rows(600, line);
                       }()}),
    testing::CaseName());

struct RefusedRow {
    std::string name;
    QByteArray file;
};

class BmpRefused : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(BmpRefused, AsDamaged) { EXPECT_EQ(decodeBytes(GetParam().file), std::nullopt); }

const QByteArray kWhole = bmpOf(kColourful, {});

INSTANTIATE_TEST_SUITE_P(
    , BmpRefused,
    ::testing::Values(
        RefusedRow{"pixelsEndOneByteEarly", kWhole.chopped(1)},
        RefusedRow{"headerCut", kWhole.first(40)},
        RefusedRow{"paletteCut", bmpOf(kIndexed8, {.bitsPerPixel = 8}).first(60)},
        RefusedRow{"topDownCutInItsRows", bmpOf(kColourful, {.height = -1}).chopped(30)},
        RefusedRow{"largeCutInItsShownRows", bmpOf(kLarge, {}).chopped(3000)},
        RefusedRow{"indexBeyondThePalette",
                   bmpOf(kIndexed4, {.bitsPerPixel = 4, .palette = kEight, .colours = 8})},
        RefusedRow{"rleRunPastTheEdge", rle(4, 1, kRle8, "\5\1\0\1")},
        RefusedRow{"rleAbsolutePastTheEdge", rle(4, 1, kRle8, "\0\5\1\1\1\1\1\0")},
        RefusedRow{"rleMovePastTheRight", rle(4, 2, kRle8, "\0\2\5\0\0\1")},
        RefusedRow{"rleMovePastTheTop", rle(4, 2, kRle8, "\0\2\0\2\0\1")},
        RefusedRow{"rleEndsEarly", rle(4, 2, kRle8, "\4\1\0\0")},
        RefusedRow{"rleIndexBeyondThePalette", rle(4, 1, kRle8, "\4\x08\0\1")},
        RefusedRow{"rle4WithEightBits",
                   bmpOf(kIndexed4, {.bitsPerPixel = 8, .compression = kRle4})},
        RefusedRow{"jpegCompression", bmpOf(kColourful, {.compression = 4})},
        RefusedRow{"bitfields24", bitfields(40, 1, {0xFF0000, 0xFF00, 0xFF}, 24, kWhole.last(24))},
        RefusedRow{"bits2", bmpOf(kIndexed4, {.bitsPerPixel = 2})},
        RefusedRow{"header64", bmpOf(kColourful, {.infoSize = 64})},
        RefusedRow{"widthZero", bmpFile({.width = 0, .height = 5})},
        RefusedRow{"widthNegative", bmpFile({.width = -7, .height = 5, .pixels = kWhole.mid(54)})},
        RefusedRow{"heightZero", bmpFile({.width = 7, .height = 0, .pixels = kWhole.mid(54)})},
        RefusedRow{"pixelsInsideTheHeader", bmpOf(kColourful, {.pixelOffset = 20})}),
    testing::CaseName());

// Files made to cost as much as possible, holes included: each is decoded or refused, and the
// cost named stays under its bound.
struct BudgetRow {
    std::string name;
    QByteArray head;
    qint64 size;  // the file's, a hole after the head
    bool opens;
    std::int64_t DecodeCost::*cost;
    std::int64_t bound;
};

class BmpBudget : public ::testing::TestWithParam<BudgetRow> {};

TEST_P(BmpBudget, HoldsWhateverTheHeaderSays) {
    const auto& [name, head, size, opens, cost, bound] = GetParam();
    const testing::Sandbox sandbox;
    sandbox.write("a.bmp", head);
    ASSERT_TRUE(QFile(sandbox.file("a.bmp")).resize(std::max(size, head.size())));
    DecodeCost spent;
    EXPECT_EQ(
        decodePictureForCanvas(sandbox.file("a.bmp"), QSize(512, 512), QColor(kBackground), &spent)
            .has_value(),
        opens);
    EXPECT_LE(spent.*cost, bound);
    EXPECT_LE(spent.work, kDecodeWorkLimit);
    EXPECT_LE(spent.memory, kDecodeMemoryLimit);
}

constexpr qint64 kTwoGigabytes = 2LL << 30;
constexpr std::int64_t kHeader = 54;
constexpr auto kRead = &DecodeCost::bytesRead;

INSTANTIATE_TEST_SUITE_P(
    , BmpBudget,
    ::testing::Values(
        BudgetRow{"largestDimensions",
                  bmpFile({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bitsPerPixel = 32}), 0,
                  false, kRead, kHeader},
        BudgetRow{"mostRowsTopDown", bmpFile({.width = 1, .height = INT32_MIN}), 0, false, kRead,
                  kHeader},
        BudgetRow{"largerThanItsFile", bmpFile({.width = 100000, .height = 100000}), kTwoGigabytes,
                  false, kRead, kHeader},
        BudgetRow{"pixelsFarAway", bmpFile({.width = 8, .height = 8, .pixelOffset = 0xFFFFFFFF}),
                  kTwoGigabytes, false, kRead, kHeader},
        BudgetRow{"countlessColours",
                  bmpFile({.width = 8,
                           .height = 8,
                           .bitsPerPixel = 8,
                           .colours = 0xFFFFFFFF,
                           .pixelOffset = 0xFFFFFFFF}),
                  kTwoGigabytes, false, kRead, kHeader + 256 * 4},
        // Zero bytes end row after row, past the budget.
        BudgetRow{"rleThatNeverEnds", rle(8, 0x7FFFFFFF, kRle8, ""), kTwoGigabytes, false, kRead,
                  kDecodeWorkLimit / kWorkPerByte},
        // Only the shown part of the shown rows is read, at the end of the hole.
        BudgetRow{"wideAndTall", bmpFile({.width = 100000, .height = 7000}),
                  kHeader + 300000LL * 7000, true, kRead, kHeader + 512 * 512 * 3}),
    testing::CaseName());

}  // namespace
}  // namespace kestrane
