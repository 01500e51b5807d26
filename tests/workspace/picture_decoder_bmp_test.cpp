#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <functional>

#include "tests/support/bmp_files.h"
#include "tests/support/case_name.h"
#include "tests/support/sandbox.h"
#include "workspace/picture_decoder.h"

namespace kestrane {
namespace {

using testing::Bmp;
using testing::bmpFile;
using testing::bmpRle;
using testing::bmpRows;

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);
constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitfields = 3;

std::optional<QImage> decodeBytes(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return decodePicture(file, QSize(512, 512), QColor(kBackground));
}

// Indices running diagonally through `colours` distinct colours.
QImage indexed(int width, int height, int colours) {
    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i) table << qRgb(i, 255 - i, i * 7 % 256);
    picture.setColorTable(table);
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

// `picture` over the background from the top-left, cut at the canvas's edges; its transparent
// pixels are those the file leaves open.
QImage canvasWith(const QImage& picture) {
    QImage canvas(512, 512, QImage::Format_RGB32);
    canvas.fill(kBackground);
    for (int y = 0; y < std::min(512, picture.height()); ++y) {
        for (int x = 0; x < std::min(512, picture.width()); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) != 0) canvas.setPixel(x, y, pixel);
        }
    }
    return canvas;
}

// A picture of `pixels` in rows from the top, kOpen where the background shows.
constexpr QRgb kOpen = 0;
QImage rows(int width, std::vector<QRgb> pixels) {
    QImage picture(width, int(pixels.size()) / width, QImage::Format_ARGB32);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        picture.setPixel(int(i) % width, int(i) / width, pixels[i]);
    }
    return picture;
}

Bmp direct(const QImage& picture, int bits, bool topDown = false) {
    return {.width = picture.width(),
            .height = topDown ? -picture.height() : picture.height(),
            .bitsPerPixel = bits,
            .pixels = bmpRows(picture, bits, topDown)};
}

Bmp paletted(const QImage& picture, int bits, bool topDown = false) {
    Bmp bmp = direct(picture, bits, topDown);
    bmp.palette = picture.colorTable();
    bmp.colours = std::uint32_t(bmp.palette.size());
    return bmp;
}

Bmp with(Bmp bmp, const std::function<void(Bmp&)>& change) {
    change(bmp);
    return bmp;
}

// Eight colours, and an RLE picture over them with the given stored rows.
const QList<QRgb> kEight = {qRgb(255, 0, 0),   qRgb(0, 255, 0),    qRgb(0, 0, 255),
                            qRgb(255, 255, 0), qRgb(0, 255, 255),  qRgb(255, 0, 255),
                            qRgb(9, 9, 9),     qRgb(250, 250, 250)};
const QRgb R = kEight[0], G = kEight[1], B = kEight[2], Y = kEight[3], C = kEight[4], M = kEight[5],
           K = kEight[6], W = kEight[7];

Bmp rle(int width, int height, std::uint32_t compression, const QByteArray& stream) {
    return {.width = width,
            .height = height,
            .bitsPerPixel = compression == kRle4 ? 4 : 8,
            .compression = compression,
            .palette = kEight,
            .pixels = stream};
}

// `picture` as Qt writes it, in a BMP writer that is not this test's.
QByteArray written(const QImage& picture) {
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    picture.save(&file, "BMP");
    return bytes;
}

struct OpenRow {
    std::string name;
    QByteArray file;
    QImage picture;
};

class BmpOpens : public ::testing::TestWithParam<OpenRow> {};

TEST_P(BmpOpens, ShowsItsPixelsOnTheBackground) {
    const std::optional<QImage> canvas = decodeBytes(GetParam().file);
    ASSERT_TRUE(canvas.has_value());
    EXPECT_EQ(*canvas, canvasWith(GetParam().picture));
}

const QImage kIndexed1 = indexed(13, 5, 2), kIndexed4 = indexed(7, 5, 16),
             kIndexed8 = indexed(9, 4, 256), kColourful = colourful(7, 5),
             kLarge = colourful(600, 700);

INSTANTIATE_TEST_SUITE_P(
    , BmpOpens,
    ::testing::Values(
        OpenRow{"bits1", bmpFile(paletted(kIndexed1, 1)), kIndexed1},
        OpenRow{"bits4", bmpFile(paletted(kIndexed4, 4)), kIndexed4},
        OpenRow{"bits8", bmpFile(paletted(kIndexed8, 8)), kIndexed8},
        OpenRow{"writtenByQt24", written(kColourful), kColourful},
        OpenRow{"writtenByQt8", written(kIndexed8), kIndexed8},
        OpenRow{"bits16", bmpFile(direct(kColourful, 16)), kColourful},
        OpenRow{"bits24", bmpFile(direct(kColourful, 24)), kColourful},
        OpenRow{"bits32FourthByteZero", bmpFile(direct(kColourful, 32)), kColourful},
        OpenRow{"topDown4", bmpFile(paletted(kIndexed4, 4, true)), kIndexed4},
        OpenRow{"topDown24", bmpFile(direct(kColourful, 24, true)), kColourful},
        OpenRow{"coreHeader8",
                bmpFile(with(paletted(kIndexed8, 8),
                             [](Bmp& b) {
                                 b.infoSize = 12;
                                 b.colours = 0;
                             })),
                kIndexed8},
        OpenRow{"coreHeader1",
                bmpFile(with(paletted(kIndexed1, 1), [](Bmp& b) { b.infoSize = 12; })), kIndexed1},
        OpenRow{"v4Header24",
                bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.infoSize = 108; })),
                kColourful},
        OpenRow{"v5Header8",
                bmpFile(with(paletted(kIndexed8, 8), [](Bmp& b) { b.infoSize = 124; })), kIndexed8},
        // Only the shown corner is read: the bottom-up rows below it come first in the file.
        OpenRow{"large24CutAtTheEdges", bmpFile(direct(kLarge, 24)), kLarge},
        OpenRow{"large24TopDown", bmpFile(direct(kLarge, 24, true)), kLarge},
        OpenRow{"largeBits1", bmpFile(paletted(indexed(600, 530, 2), 1)), indexed(600, 530, 2)},
        OpenRow{"imageSizeLies",
                bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.imageSize = 0xFFFFFFFF; })),
                kColourful},
        OpenRow{"paletteLongerThanTheDepth",
                bmpFile(with(paletted(kIndexed4, 4),
                             [](Bmp& b) {
                                 b.palette.resize(300, qRgb(1, 2, 3));
                                 b.colours = 300;
                             })),
                kIndexed4},
        OpenRow{"paletteShorterThanTheDepth",
                bmpFile(with(paletted(kIndexed1, 8),
                             [](Bmp& b) {
                                 b.colours = 0;  // the palette ends where the pixels start
                             })),
                kIndexed1},
        OpenRow{"gapBeforeThePixels",
                bmpFile(with(direct(kColourful, 32), [](Bmp& b) { b.gap = 246; })), kColourful},
        // Red, green and blue at full and at half: 16 of 31 is 132, 32 of 63 is 130.
        OpenRow{"bitfields565",
                bmpFile({.width = 4,
                         .height = 1,
                         .bitsPerPixel = 16,
                         .compression = kBitfields,
                         .masks = {0xF800, 0x07E0, 0x001F},
                         .pixels = QByteArray("\x00\xF8\xE0\x07\x1F\x00\x10\x84", 8)}),
                rows(4, {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(132, 130, 132)})},
        // Blue, green, red from the top byte down, alpha 0 in the low byte (not read).
        OpenRow{"bitfields32InAV5Header",
                bmpFile({.infoSize = 124,
                         .width = 2,
                         .height = -1,
                         .bitsPerPixel = 32,
                         .compression = kBitfields,
                         .masks = {0x0000FF00, 0x00FF0000, 0xFF000000},
                         .pixels = QByteArray("\x00\x11\x22\x33\x00\xFF\x00\x80", 8)}),
                rows(2, {qRgb(0x11, 0x22, 0x33), qRgb(0xFF, 0x00, 0x80)})},
        // A mask of all 32 bits, and none.
        OpenRow{"bitfieldsWidestAndEmpty",
                bmpFile({.width = 1,
                         .height = 1,
                         .bitsPerPixel = 32,
                         .compression = kBitfields,
                         .masks = {0xFFFFFFFF, 0xFF00, 0},
                         .pixels = QByteArray("\x00\x00\x00\x80", 4)}),
                rows(1, {qRgb(128, 0, 0)})},
        OpenRow{"rle8",
                bmpFile(with(paletted(indexed(300, 6, 5), 8),
                             [](Bmp& b) {
                                 b.compression = kRle8;
                                 b.pixels = bmpRle(indexed(300, 6, 5));
                             })),
                indexed(300, 6, 5)},
        OpenRow{"rle4",
                bmpFile(with(paletted(indexed(21, 6, 16), 4),
                             [](Bmp& b) {
                                 b.compression = kRle4;
                                 b.pixels = bmpRle(indexed(21, 6, 16), true);
                             })),
                indexed(21, 6, 16)},
        // Bottom row first: an absolute run of 3 padded to a word, a run, the end of the row;
        // a move right, a pixel, and the end of the picture before the top row.
        OpenRow{"rle8AbsoluteMoveAndEnd",
                bmpFile(rle(5, 3, kRle8,
                            QByteArray("\x00\x03\x01\x02\x03\x00\x02\x05\x00\x00"
                                       "\x00\x02\x04\x00\x01\x04\x00\x01",
                                       18))),
                rows(5, {kOpen, kOpen, kOpen, kOpen, kOpen,  //
                         kOpen, kOpen, kOpen, kOpen, C,      //
                         G, B, Y, M, M})},
        // A run alternating two nibbles, an absolute run of 5 (3 bytes, padded to 4), the end
        // of a row, a row ended early; the picture ends with its last row.
        OpenRow{"rle4NibblesAndAbsolute",
                bmpFile(rle(8, 3, kRle4,
                            QByteArray("\x03\x12\x00\x05\x34\x56\x70\x00\x00\x00"
                                       "\x02\x77\x00\x00"
                                       "\x08\x60\x00\x00",
                                       18))),
                rows(8, {K, R, K,     R,     K,     R,     K,     R,      //
                         W, W, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen,  //
                         G, B, G,     Y,     C,     M,     K,     W})},
        OpenRow{"rle8TopDown",
                bmpFile(rle(3, -2, kRle8, QByteArray("\x03\x06\x00\x00\x01\x07\x00\x01", 8))),
                rows(3, {K, K, K, W, kOpen, kOpen})},
        // A move, then runs to the right edge of a picture wider than the canvas.
        OpenRow{
            "rle8WiderThanTheCanvas",
            bmpFile(rle(600, 1, kRle8, QByteArray("\x00\x02\xFE\x00\xFF\x03\x5B\x03\x00\x00", 10))),
            [] {
                QImage picture(600, 1, QImage::Format_ARGB32);
                picture.fill(Y);
                for (int x = 0; x < 254; ++x) picture.setPixel(x, 0, kOpen);
                return picture;
            }()}),
    testing::CaseName());

class BmpRefused : public ::testing::TestWithParam<std::pair<std::string, QByteArray>> {};

TEST_P(BmpRefused, AsDamaged) { EXPECT_FALSE(decodeBytes(GetParam().second).has_value()); }

const QByteArray kWhole = bmpFile(direct(kColourful, 24));

INSTANTIATE_TEST_SUITE_P(
    , BmpRefused,
    ::testing::Values(
        std::pair("pixelsEndOneByteEarly", kWhole.chopped(1)),
        std::pair("headerCut", kWhole.first(40)),
        std::pair("paletteCut", bmpFile(paletted(kIndexed8, 8)).first(60)),
        std::pair("topDownCutInItsRows", bmpFile(direct(kColourful, 24, true)).chopped(30)),
        std::pair("largeCutInItsShownRows", bmpFile(direct(kLarge, 24)).chopped(3000)),
        std::pair("indexBeyondThePalette", bmpFile(with(paletted(kIndexed4, 4),
                                                        [](Bmp& b) {
                                                            b.palette.resize(9);
                                                            b.colours = 9;
                                                        }))),
        std::pair("rleRunPastTheEdge",
                  bmpFile(rle(4, 1, kRle8, QByteArray("\x05\x01\x00\x01", 4)))),
        std::pair("rleAbsolutePastTheEdge",
                  bmpFile(rle(4, 1, kRle8, QByteArray("\x00\x05\x01\x01\x01\x01\x01\x00", 8)))),
        std::pair("rleMovePastTheRight",
                  bmpFile(rle(4, 2, kRle8, QByteArray("\x00\x02\x05\x00\x00\x01", 6)))),
        std::pair("rleMovePastTheTop",
                  bmpFile(rle(4, 2, kRle8, QByteArray("\x00\x02\x00\x02\x00\x01", 6)))),
        std::pair("rleEndsEarly", bmpFile(rle(4, 2, kRle8, QByteArray("\x04\x01\x00\x00", 4)))),
        std::pair("rleIndexBeyondThePalette",
                  bmpFile(rle(4, 1, kRle8, QByteArray("\x04\x08\x00\x01", 4)))),
        std::pair("rle4WithEightBits",
                  bmpFile(with(rle(4, 1, kRle4, QByteArray("\x04\x11\x00\x01", 4)),
                               [](Bmp& b) { b.bitsPerPixel = 8; }))),
        std::pair("jpegCompression",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.compression = 4; }))),
        std::pair("bitfields24", bmpFile(with(direct(kColourful, 24),
                                              [](Bmp& b) {
                                                  b.compression = kBitfields;
                                                  b.masks = {0xFF0000, 0xFF00, 0xFF};
                                              }))),
        std::pair("bits2",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.bitsPerPixel = 2; }))),
        std::pair("header64",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.infoSize = 64; }))),
        std::pair("widthZero", bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.width = 0; }))),
        std::pair("widthNegative",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.width = -7; }))),
        std::pair("heightZero",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.height = 0; }))),
        std::pair("pixelsInsideTheHeader",
                  bmpFile(with(direct(kColourful, 24), [](Bmp& b) { b.pixelOffset = 20; })))),
    [](const auto& row) { return row.param.first; });

// Files made to cost as much as possible, written into a sandbox, holes included: each is
// decoded or refused, and the cost named stays under its bound.
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
    const std::optional<QImage> canvas =
        decodePictureForCanvas(sandbox.file("a.bmp"), QSize(512, 512), QColor(kBackground), &spent);
    EXPECT_EQ(canvas.has_value(), opens);
    EXPECT_LE(spent.*cost, bound);
    EXPECT_LE(spent.work, kDecodeWorkLimit);
    EXPECT_LE(spent.memory, kDecodeMemoryLimit);
}

Bmp sized(std::int32_t width, std::int32_t height, int bits = 24) {
    return {.width = width, .height = height, .bitsPerPixel = bits};
}

constexpr qint64 kTwoGigabytes = 2LL << 30;
constexpr std::int64_t kHeader = 54;

INSTANTIATE_TEST_SUITE_P(
    , BmpBudget,
    ::testing::Values(
        BudgetRow{"largestDimensions", bmpFile(sized(0x7FFFFFFF, 0x7FFFFFFF, 32)), 0, false,
                  &DecodeCost::bytesRead, kHeader},
        BudgetRow{"mostRowsTopDown", bmpFile(sized(1, std::numeric_limits<std::int32_t>::min())), 0,
                  false, &DecodeCost::bytesRead, kHeader},
        BudgetRow{"largerThanItsFile", bmpFile(sized(100000, 100000)), kTwoGigabytes, false,
                  &DecodeCost::bytesRead, kHeader},
        BudgetRow{
            "pixelsFarAway",
            bmpFile(with(sized(8, 8), [](Bmp& b) { b.pixelOffset = 0xFFFFFFFF; })).first(kHeader),
            0, false, &DecodeCost::bytesRead, kHeader},
        BudgetRow{"countlessColours",
                  bmpFile(with(sized(8, 8, 8),
                               [](Bmp& b) {
                                   b.colours = 0xFFFFFFFF;
                                   b.pixelOffset = 0xFFFFFFFF;
                               }))
                      .first(kHeader),
                  kTwoGigabytes, false, &DecodeCost::bytesRead, kHeader + 256 * 4},
        // Zero bytes end row after row, past the budget.
        BudgetRow{"rleThatNeverEnds", bmpFile(rle(8, 0x7FFFFFFF, kRle8, {})), kTwoGigabytes, false,
                  &DecodeCost::bytesRead, kDecodeWorkLimit / kWorkPerByte},
        // Only the shown part of the shown rows is read, at the end of the hole.
        BudgetRow{"wideAndTall", bmpFile(sized(100000, 7000)), kHeader + 300000LL * 7000, true,
                  &DecodeCost::bytesRead, kHeader + 512 * 512 * 3}),
    testing::CaseName());

}  // namespace
}  // namespace kestrane
