#include <gtest/gtest.h>

#include <QBuffer>

#include "tests/support/case_name.h"
#include "tests/support/png_files.h"
#include "workspace/picture_decoder.h"

namespace kestrane {
namespace {

using testing::chunk;
using testing::deflated;
using testing::header;
using testing::Png;
using testing::pngFile;
using testing::pngOfChunks;

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);

std::optional<QImage> decodeBytes(QByteArray bytes, DecodeCost* cost = nullptr) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return decodePicture(file, QSize(512, 512), QColor(kBackground), cost);
}

int eightBits(unsigned value, int depth) {
    return depth == 16 ? int((value * 255 + 32767) / 65535)
                       : int(value * 255 / ((1u << depth) - 1));
}

int over(int colour, int alpha, int under) {
    return (colour * alpha + under * (255 - alpha) + 127) / 255;
}

// The canvas a picture should give: its samples scaled to 8 bits, blended over the background.
QImage expectedCanvas(const Png& picture) {
    QImage canvas(512, 512, QImage::Format_RGB32);
    canvas.fill(kBackground);
    const int depth = picture.bitDepth;
    for (int y = 0; y < std::min(picture.height, 512); ++y) {
        for (int x = 0; x < std::min(picture.width, 512); ++x) {
            const auto s = [&](int c) { return picture.sample(x, y, c); };
            int red, green, blue, alpha = 255;
            if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
                const png_color colour = picture.palette[s(0)];
                red = colour.red, green = colour.green, blue = colour.blue;
                if (s(0) < picture.paletteAlpha.size()) alpha = picture.paletteAlpha[s(0)];
            } else if (picture.colourType & PNG_COLOR_MASK_COLOR) {
                red = eightBits(s(0), depth), green = eightBits(s(1), depth);
                blue = eightBits(s(2), depth);
                if (picture.colourType & PNG_COLOR_MASK_ALPHA) alpha = eightBits(s(3), depth);
                const auto& t = picture.transparentColour;
                if (t && t->red == s(0) && t->green == s(1) && t->blue == s(2)) alpha = 0;
            } else {
                red = green = blue = eightBits(s(0), depth);
                if (picture.colourType & PNG_COLOR_MASK_ALPHA) alpha = eightBits(s(1), depth);
                if (picture.transparentColour && picture.transparentColour->gray == s(0)) alpha = 0;
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
Png mixed(int colourType, int depth, bool interlaced = false) {
    const unsigned top = (1u << depth) - 1;
    return {.colourType = colourType,
            .bitDepth = depth,
            .interlaced = interlaced,
            .sample = [top](int x, int y, int c) {
                return unsigned(x * 40503 + y * 7919 + c * 2749 + x * y * 31) % (top + 1);
            }};
}

Png palette(int depth, std::vector<png_byte> alpha = {}) {
    std::vector<png_color> colours;
    for (int i = 0; i < (1 << depth); ++i) {
        colours.push_back({png_byte(i * 37), png_byte(255 - i * 11), png_byte(i * 5 + 3)});
    }
    const unsigned count = unsigned(colours.size());
    return {.colourType = PNG_COLOR_TYPE_PALETTE,
            .bitDepth = depth,
            .palette = colours,
            .paletteAlpha = alpha,
            .sample = [count](int x, int y, int) { return unsigned(x * 3 + y * 5) % count; }};
}

// A 16-bit grey ramp through the values where rounding and truncation part.
Png greyRamp16() {
    static const unsigned kValues[] = {0,     127,   128,   129,   255,   256,   257,   32767,
                                       32768, 32895, 32896, 65279, 65407, 65408, 65534, 65535};
    return {.width = 16, .height = 1, .bitDepth = 16, .sample = [](int x, int, int) {
                return kValues[x];
            }};
}

Png alphaSteps(int depth) {
    Png picture = mixed(PNG_COLOR_TYPE_RGB_ALPHA, depth);
    const auto colour = picture.sample;
    const unsigned top = (1u << depth) - 1;
    // Fully transparent, fully opaque and between, by column.
    picture.sample = [colour, top](int x, int y, int c) {
        return c < 3 ? colour(x, y, c) : x % 3 == 0 ? 0 : x % 3 == 1 ? top : top / 3 + y;
    };
    return picture;
}

template <class Change>
Png with(Png picture, Change change) {
    change(picture);
    return picture;
}

// `chunks` placed after the header chunk of `file`.
QByteArray afterHeader(const QByteArray& file, const QByteArray& chunks) {
    return QByteArray(file).insert(8 + 25, chunks);
}

QByteArray repeated(const QByteArray& chunk, int times) {
    QByteArray all;
    for (int i = 0; i < times; ++i) all += chunk;
    return all;
}

struct OpenRow {
    std::string name;
    Png picture;
    QByteArray file = {};  // pngFile(picture) when empty
};

class PngOpens : public ::testing::TestWithParam<OpenRow> {};

TEST_P(PngOpens, ShowsItsPixelsOnTheBackground) {
    const OpenRow& row = GetParam();
    EXPECT_EQ(decodeBytes(row.file.isEmpty() ? pngFile(row.picture) : row.file),
              expectedCanvas(row.picture));
}

const Png kGrey8 = mixed(PNG_COLOR_TYPE_GRAY, 8);

INSTANTIATE_TEST_SUITE_P(
    , PngOpens,
    ::testing::Values(
        OpenRow{"grey1", mixed(PNG_COLOR_TYPE_GRAY, 1)},
        OpenRow{"grey2", mixed(PNG_COLOR_TYPE_GRAY, 2)},
        OpenRow{"grey4", mixed(PNG_COLOR_TYPE_GRAY, 4)}, OpenRow{"grey8", kGrey8},
        OpenRow{"grey16", mixed(PNG_COLOR_TYPE_GRAY, 16)}, OpenRow{"grey16Rounded", greyRamp16()},
        OpenRow{"greyAlpha8", mixed(PNG_COLOR_TYPE_GRAY_ALPHA, 8)},
        OpenRow{"greyAlpha16", mixed(PNG_COLOR_TYPE_GRAY_ALPHA, 16)},
        OpenRow{"rgb8", mixed(PNG_COLOR_TYPE_RGB, 8)},
        OpenRow{"rgb16", mixed(PNG_COLOR_TYPE_RGB, 16)}, OpenRow{"rgba8", alphaSteps(8)},
        OpenRow{"rgba16", alphaSteps(16)}, OpenRow{"palette1", palette(1)},
        OpenRow{"palette2", palette(2)}, OpenRow{"palette4", palette(4)},
        OpenRow{"palette8", palette(8)},
        OpenRow{"paletteTransparency", palette(4, {0, 255, 128, 7})},
        OpenRow{"greyTransparentColour", with(mixed(PNG_COLOR_TYPE_GRAY, 4),
                                              [](Png& p) {
                                                  p.transparentColour = png_color_16{0, 0, 0, 0, 9};
                                              })},
        OpenRow{"rgbTransparentColour",
                with(mixed(PNG_COLOR_TYPE_RGB, 8),
                     [](Png& p) {
                         p.transparentColour = png_color_16{0, 0, 189, 122, 0};  // pixel (0, 0)
                     })},
        OpenRow{"interlacedGrey1", mixed(PNG_COLOR_TYPE_GRAY, 1, true)},
        OpenRow{"interlacedRgba16", with(alphaSteps(16), [](Png& p) { p.interlaced = true; })},
        OpenRow{"interlacedPalette4", with(palette(4), [](Png& p) { p.interlaced = true; })},
        OpenRow{"interlacedOnePixel",
                with(mixed(PNG_COLOR_TYPE_RGB, 8, true), [](Png& p) { p.width = p.height = 1; })},
        // Only the columns and rows on the canvas are drawn; a tall one is read no further.
        OpenRow{"beyondTheCanvas",
                with(mixed(PNG_COLOR_TYPE_RGB, 8), [](Png& p) { p.width = 600, p.height = 530; })},
        OpenRow{"interlacedBeyondTheCanvas", with(mixed(PNG_COLOR_TYPE_GRAY, 8, true),
                                                  [](Png& p) { p.width = p.height = 520; })},
        // The stored values are heights: gamma and colour profiles change nothing, and a broken
        // or surplus metadata chunk is skipped.
        OpenRow{"gammaAndProfileIgnored", kGrey8,
                afterHeader(pngFile(kGrey8), chunk("gAMA", testing::bigEndian(10000)) +
                                                 chunk("sRGB", "\x01") +
                                                 chunk("iCCP", QByteArray("p\0\0garbage", 10)))},
        OpenRow{"ancillaryChunkWithBadCrc", kGrey8,
                afterHeader(pngFile(kGrey8),
                            chunk("tEXt", QByteArray("a\0b", 3)).replace(11, 1, "\x99"))},
        OpenRow{
            "aThousandAncillaryChunks", kGrey8,
            afterHeader(pngFile(kGrey8), repeated(chunk("tEXt", QByteArray("k\0v", 3)), 1000))}),
    testing::CaseName());

struct RefusedRow {
    std::string name;
    QByteArray file;
    std::int64_t DecodeCost::*cost = &DecodeCost::work;
    std::int64_t bound = kDecodeWorkLimit;
};

class PngRefused : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(PngRefused, IsRefusedWithinTheBudget) {
    const RefusedRow& row = GetParam();
    DecodeCost spent;
    EXPECT_FALSE(decodeBytes(row.file, &spent).has_value());
    EXPECT_LE(spent.*row.cost, row.bound);
    EXPECT_LE(spent.work, kDecodeWorkLimit);
    EXPECT_LE(spent.memory, kDecodeMemoryLimit);
}

const QByteArray kGrey8File = pngFile(kGrey8);
const QByteArray kEnd = chunk("IEND", "");
// Nine rows of nine grey pixels, each behind its filter byte.
const QByteArray kNineRows = deflated(QByteArray(9 * 10, '\0'));

QByteArray flipped(QByteArray file, qsizetype at) {
    file[at] = char(file[at] ^ 1);
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    , PngRefused,
    ::testing::Values(
        RefusedRow{"headerCrc", flipped(kGrey8File, 8 + 21)},
        RefusedRow{"imageDataCrc", flipped(kGrey8File, kGrey8File.size() - 12 - 1)},
        RefusedRow{"imageDataCut", kGrey8File.first(kGrey8File.size() - 12 - 8)},
        RefusedRow{"badZlibStream",
                   pngOfChunks(header(9, 9) + chunk("IDAT", QByteArray(40, 'x')) + kEnd)},
        RefusedRow{"noImageData", pngOfChunks(header(9, 9) + kEnd)},
        RefusedRow{
            "tooLittleImageData",
            pngOfChunks(header(9, 9) + chunk("IDAT", deflated(QByteArray(50, '\0'))) + kEnd)},
        RefusedRow{"unknownCriticalChunk", afterHeader(kGrey8File, chunk("ABCD", "data"))},
        // Rows dearer than the budget: refused from the header, before the library holds a row.
        RefusedRow{"rowsBeyondTheBudget",
                   pngOfChunks(header(300000, 512) + chunk("IDAT", kNineRows) + kEnd),
                   &DecodeCost::memory, 512 * 512 * 4 + 64 * 1024},
        // Holds the canvas and a few rows, never the picture.
        RefusedRow{"declares100000Squared",
                   pngOfChunks(header(100000, 100000) + chunk("IDAT", kNineRows) + kEnd),
                   &DecodeCost::memory, 4 << 20},
        // Eight megabytes of rows for a picture of nine.
        RefusedRow{
            "zlibBomb",
            pngOfChunks(header(9, 9) + chunk("IDAT", deflated(QByteArray(8 << 20, '\0'))) + kEnd)}),
    testing::CaseName());

}  // namespace
}  // namespace kestrane
