#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "workspace/picture_decoder_formats.h"

namespace kestrane {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
constexpr int kFileHeaderSize = 14;
constexpr int kLargestInfoSize = 124;
constexpr std::int64_t kRleBufferSize = 64 * 1024;

std::uint16_t le16(const uchar* bytes) { return qFromLittleEndian<std::uint16_t>(bytes); }
std::uint32_t le32(const uchar* bytes) { return qFromLittleEndian<std::uint32_t>(bytes); }

// One colour channel of a 16- or 32-bit pixel: the bits of its mask, scaled to 0..255 rounding to
// nearest.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const std::uint64_t largest = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + largest / 2) / largest);
}

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, whichever way they run
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::int64_t pixelOffset = 0;          // from the start of the file
    std::array<std::uint32_t, 3> masks{};  // red, green, blue of a 16- or 32-bit pixel
    std::array<QRgb, 256> palette{};
    int colours = 0;  // palette entries the file holds
};

bool readExactly(DecodeBudget& budget, uchar* buffer, std::int64_t size) {
    while (size > 0) {
        const std::int64_t got = budget.read(buffer, size);
        if (got == 0) {
            return false;
        }
        buffer += got;
        size -= got;
    }
    return true;
}

bool depthFits(std::uint32_t compression, int bits) {
    switch (compression) {
        case kRgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRle8:
            return bits == 8;
        case kRle4:
            return bits == 4;
        case kBitfields:
            return bits == 16 || bits == 32;
        default:
            return false;
    }
}

// The headers and the palette, read up to where they end; std::nullopt for a header version,
// depth or compression this decoder does not know, or pixels said to start inside the headers.
std::optional<BmpLayout> readLayout(DecodeBudget& budget) {
    // The masks that follow a 40-byte header land where the later headers hold theirs.
    std::array<uchar, kFileHeaderSize + kLargestInfoSize> header{};
    uchar* const info = header.data() + kFileHeaderSize;
    if (!readExactly(budget, header.data(), kFileHeaderSize + 4)) {
        return std::nullopt;
    }
    const std::uint32_t infoSize = le32(info);
    if ((infoSize != 12 && infoSize != 40 && infoSize != 108 && infoSize != 124) ||
        !readExactly(budget, info + 4, infoSize - 4)) {
        return std::nullopt;
    }
    BmpLayout bmp;
    bmp.pixelOffset = le32(header.data() + 10);
    std::uint32_t declaredColours = 0;
    int entrySize = 4;
    if (infoSize == 12) {
        bmp.width = le16(info + 4);
        bmp.height = le16(info + 6);
        bmp.bitsPerPixel = le16(info + 10);
        entrySize = 3;
    } else {
        bmp.width = static_cast<std::int32_t>(le32(info + 4));
        const std::int64_t height = static_cast<std::int32_t>(le32(info + 8));
        bmp.topDown = height < 0;
        bmp.height = std::abs(height);
        bmp.bitsPerPixel = le16(info + 14);
        bmp.compression = le32(info + 16);
        declaredColours = le32(info + 32);
    }
    if (bmp.width <= 0 || bmp.height == 0 || !depthFits(bmp.compression, bmp.bitsPerPixel)) {
        return std::nullopt;
    }
    std::int64_t headersEnd = kFileHeaderSize + infoSize;
    if (bmp.compression == kBitfields) {
        if (infoSize == 40) {
            if (!readExactly(budget, info + 40, 12)) {
                return std::nullopt;
            }
            headersEnd += 12;
        }
        bmp.masks = {le32(info + 40), le32(info + 44), le32(info + 48)};
    } else if (bmp.bitsPerPixel == 16) {
        bmp.masks = {0x7C00, 0x03E0, 0x001F};
    } else {
        bmp.masks = {0xFF0000, 0x00FF00, 0x0000FF};  // the 4th byte of a 32-bit pixel is unused
    }
    if (bmp.pixelOffset < headersEnd) {
        return std::nullopt;
    }
    if (bmp.bitsPerPixel <= 8) {
        // Entries past those a depth can index, or past the start of the pixels, are never read.
        const std::int64_t indexable = std::int64_t{1} << bmp.bitsPerPixel;
        const std::int64_t declared = declaredColours == 0 ? indexable : declaredColours;
        bmp.colours = static_cast<int>(
            std::min({declared, indexable, (bmp.pixelOffset - headersEnd) / entrySize}));
        std::array<uchar, 256 * 4> entries{};
        if (!readExactly(budget, entries.data(), std::int64_t{bmp.colours} * entrySize)) {
            return std::nullopt;
        }
        for (int i = 0; i < bmp.colours; ++i) {
            const uchar* entry = entries.data() + i * entrySize;
            bmp.palette[i] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
    return bmp;
}

// False when the palette has no colour for `index`.
bool paint(const BmpLayout& bmp, int index, QRgb& out) {
    if (index >= bmp.colours) {
        return false;
    }
    out = bmp.palette[index];
    return true;
}

// Draws the first `count` pixels of a stored row; false when one names a colour the palette lacks.
bool drawRow(const BmpLayout& bmp, const uchar* in, int count, QRgb* out) {
    const int bits = bmp.bitsPerPixel;
    const auto& [red, green, blue] = bmp.masks;
    for (int x = 0; x < count; ++x) {
        if (bits == 24) {
            out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
        } else if (bits > 8) {
            const std::uint32_t pixel = bits == 16 ? le16(in + 2 * x) : le32(in + 4 * x);
            out[x] = qRgb(channel(pixel, red), channel(pixel, green), channel(pixel, blue));
        } else {
            const int at = x * bits;
            if (!paint(bmp, in[at / 8] >> (8 - bits - at % 8) & ((1 << bits) - 1), out[x])) {
                return false;
            }
        }
    }
    return true;
}

// Reads only the part of each row that lands on the canvas, seeking past the rest.
bool drawUncompressed(DecodeBudget& budget, const BmpLayout& bmp, QImage& canvas) {
    const std::int64_t stride = (bmp.width * bmp.bitsPerPixel + 31) / 32 * 4;
    std::int64_t end = 0;
    if (__builtin_mul_overflow(stride, bmp.height, &end) ||
        __builtin_add_overflow(end, bmp.pixelOffset, &end)) {
        return false;
    }
    const int shownWidth = static_cast<int>(std::min<std::int64_t>(bmp.width, canvas.width()));
    const int shownRows = static_cast<int>(std::min<std::int64_t>(bmp.height, canvas.height()));
    const std::int64_t rowBytes = (std::int64_t{shownWidth} * bmp.bitsPerPixel + 7) / 8;
    if (!budget.hold(rowBytes)) {
        return false;
    }
    std::vector<uchar> row(static_cast<std::size_t>(rowBytes));
    // A bottom-up picture stores its top rows last, after the rows below the canvas.
    const std::int64_t first = bmp.topDown ? 0 : bmp.height - shownRows;
    for (std::int64_t stored = first; stored < first + shownRows; ++stored) {
        const auto y = static_cast<int>(bmp.topDown ? stored : bmp.height - 1 - stored);
        if (!budget.seek(bmp.pixelOffset + stored * stride) ||
            !readExactly(budget, row.data(), rowBytes) ||
            !drawRow(bmp, row.data(), shownWidth, reinterpret_cast<QRgb*>(canvas.scanLine(y)))) {
            return false;
        }
    }
    // A picture within the canvas rows must be there to its last byte.
    return bmp.height > canvas.height() || budget.seek(end);
}

// The bytes of the pixel data, read through the budget a buffer at a time.
class RleStream {
public:
    explicit RleStream(DecodeBudget& budget)
        : budget_(budget), buffer_(static_cast<std::size_t>(kRleBufferSize)) {}

    // False at the end of the file.
    bool next(int& byte) {
        if (at_ == end_) {
            at_ = 0;
            end_ = budget_.read(buffer_.data(), kRleBufferSize);
            if (end_ == 0) {
                return false;
            }
        }
        byte = buffer_[static_cast<std::size_t>(at_++)];
        return true;
    }

private:
    DecodeBudget& budget_;
    std::vector<uchar> buffer_;
    std::int64_t at_ = 0;
    std::int64_t end_ = 0;
};

// The index of a byte's `pixel`th pixel (counted along the row): RLE4 packs two in a byte, the
// first in the high nibble.
int indexIn(int byte, int pixel, bool four) {
    return four ? byte >> (pixel % 2 == 0 ? 4 : 0) & 0x0F : byte;
}

// Decodes the stream from its first stored row, drawing the pixels that land on the canvas. A
// bottom-up picture reaches the canvas only with its last rows; a top-down one is read down to
// the canvas's last row. What the stream skips keeps the background.
bool drawRle(DecodeBudget& budget, const BmpLayout& bmp, QImage& canvas) {
    if (!budget.hold(kRleBufferSize) || !budget.seek(bmp.pixelOffset)) {
        return false;
    }
    RleStream in(budget);
    const bool four = bmp.compression == kRle4;
    const std::int64_t shownWidth = std::min<std::int64_t>(bmp.width, canvas.width());
    const std::int64_t rows =
        bmp.topDown ? std::min<std::int64_t>(bmp.height, canvas.height()) : bmp.height;
    std::int64_t x = 0;
    std::int64_t row = 0;
    QRgb* line = nullptr;  // the canvas row of `row`; null when it is not shown
    const auto enterRow = [&] {
        const std::int64_t y = bmp.topDown ? row : bmp.height - 1 - row;
        line = row < bmp.height && y < canvas.height()
                   ? reinterpret_cast<QRgb*>(canvas.scanLine(static_cast<int>(y)))
                   : nullptr;
    };
    // The pixels from x on that are shown, of the `count` that follow.
    const auto shown = [&](int count) {
        return line == nullptr
                   ? 0
                   : static_cast<int>(std::clamp<std::int64_t>(shownWidth - x, 0, count));
    };
    enterRow();
    while (row < rows) {
        int count = 0;
        int code = 0;
        if (!in.next(count) || !in.next(code)) {
            return false;
        }
        if (count > 0) {
            // `count` pixels of the code's index, or in RLE4 of its two alternately.
            if (x + count > bmp.width) {
                return false;
            }
            for (int i = 0, end = shown(count); i < end; ++i) {
                if (!paint(bmp, indexIn(code, i, four), line[x + i])) {
                    return false;
                }
            }
            x += count;
        } else if (code == 0) {  // end of the row
            x = 0;
            ++row;
            enterRow();
        } else if (code == 1) {  // end of the picture
            return true;
        } else if (code == 2) {  // a move right and on to later rows
            int right = 0;
            int down = 0;
            if (!in.next(right) || !in.next(down)) {
                return false;
            }
            x += right;
            row += down;
            if (x > bmp.width || row >= bmp.height) {
                return false;
            }
            enterRow();
        } else {
            // `code` pixels stored as they are, padded to a whole number of 16-bit words.
            if (x + code > bmp.width) {
                return false;
            }
            const int visible = shown(code);
            const int perByte = four ? 2 : 1;
            const int bytes = (code + perByte - 1) / perByte;
            for (int i = 0; i < bytes + bytes % 2; ++i) {
                int byte = 0;
                if (!in.next(byte)) {
                    return false;
                }
                for (int pixel = i * perByte; pixel < std::min((i + 1) * perByte, visible);
                     ++pixel) {
                    if (!paint(bmp, indexIn(byte, pixel, four), line[x + pixel])) {
                        return false;
                    }
                }
            }
            x += code;
        }
    }
    return true;
}

}  // namespace

bool decodeBmp(DecodeBudget& budget, QImage& canvas) {
    const std::optional<BmpLayout> bmp = readLayout(budget);
    if (!bmp) {
        return false;
    }
    return bmp->compression == kRle8 || bmp->compression == kRle4
               ? drawRle(budget, *bmp, canvas)
               : drawUncompressed(budget, *bmp, canvas);
}

}  // namespace kestrane
