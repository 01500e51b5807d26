#pragma once

// Test BMPs, written byte by byte, so that any header the format allows can be made, true or
// lying, over pixel data given as stored.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <cstdint>
#include <vector>

namespace kestrane::testing {

struct Bmp {
    int infoSize = 40;  // 12, 40, 108 or 124
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for rows stored top-down
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;  // 1 RLE8, 2 RLE4, 3 bit fields
    QList<QRgb> palette{};
    std::uint32_t colours = 0;           // the count the header declares; 0 for the depth's
    std::vector<std::uint32_t> masks{};  // red, green, blue: after a 40-byte header, else in it
    QByteArray pixels{};                 // as stored
    std::int64_t pixelOffset = -1;       // the offset the header states; -1 for the true one
};

inline void appendLe(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += char(value >> (8 * i) & 0xFF);
}

inline QByteArray bmpFile(const Bmp& bmp) {
    QByteArray info;
    const int field = bmp.infoSize == 12 ? 2 : 4;
    for (std::int32_t value : {bmp.infoSize, bmp.width, bmp.height}) {
        appendLe(info, std::uint32_t(value), info.isEmpty() ? 4 : field);
    }
    appendLe(info, 1, 2);
    appendLe(info, std::uint32_t(bmp.bitsPerPixel), 2);
    if (bmp.infoSize != 12) {
        for (std::uint32_t value : {bmp.compression, 0u, 2835u, 2835u, bmp.colours, 0u}) {
            appendLe(info, value, 4);
        }
        for (std::uint32_t mask : bmp.masks) appendLe(info, mask, 4);
        if (bmp.infoSize > 40) info += QByteArray(bmp.infoSize - info.size(), '\0');
    }
    for (QRgb colour : bmp.palette) appendLe(info, colour & 0xFFFFFF, bmp.infoSize == 12 ? 3 : 4);
    QByteArray bytes("BM");
    appendLe(bytes, std::uint32_t(14 + info.size() + bmp.pixels.size()), 4);
    appendLe(bytes, 0, 4);
    appendLe(bytes, std::uint32_t(bmp.pixelOffset >= 0 ? bmp.pixelOffset : 14 + info.size()), 4);
    return bytes + info + bmp.pixels;
}

// The rows of `picture` as stored uncompressed, each padded to 4 bytes. Up to 8 bits a pixel is
// its index in a Format_Indexed8 picture; 16 bits are 5 per channel; a 32-bit pixel's 4th byte
// is 0, which as alpha would be transparent.
inline QByteArray bmpRows(const QImage& picture, int bitsPerPixel, bool topDown = false) {
    QByteArray bytes;
    for (int row = 0; row < picture.height(); ++row) {
        const int y = topDown ? row : picture.height() - 1 - row;
        QByteArray line;
        std::uint32_t bits = 0;
        int count = 0;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            if (bitsPerPixel <= 8) {
                bits = bits << bitsPerPixel | std::uint32_t(picture.pixelIndex(x, y));
                for (count += bitsPerPixel; count >= 8; count -= 8)
                    line += char(bits >> (count - 8));
            } else if (bitsPerPixel == 16) {
                appendLe(line,
                         std::uint32_t(qRed(c) >> 3 << 10 | qGreen(c) >> 3 << 5 | qBlue(c) >> 3),
                         2);
            } else {
                appendLe(line, c & 0xFFFFFF, bitsPerPixel / 8);
            }
        }
        if (count > 0) line += char(bits << (8 - count));
        bytes += line + QByteArray((4 - line.size() % 4) % 4, '\0');
    }
    return bytes;
}

// The rows of a Format_Indexed8 `picture` in RLE8, or RLE4 with `four`, bottom-up: runs of equal
// pixels, each row ended and the picture too.
inline QByteArray bmpRle(const QImage& picture, bool four = false) {
    QByteArray bytes;
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width();) {
            const int index = picture.pixelIndex(x, y);
            int run = 1;
            while (x + run < picture.width() && run < 255 &&
                   picture.pixelIndex(x + run, y) == index) {
                ++run;
            }
            bytes += char(run);
            bytes += char(four ? index << 4 | index : index);
            x += run;
        }
        bytes += QByteArray("\0\0", 2);
    }
    return bytes + QByteArray("\0\1", 2);
}

// `picture` under `header`, which gives the depth, the compression (RLE bottom-up only) and the
// row order by the sign of its height; the size, the palette (unless the header has one) and the
// pixels come from the picture.
inline QByteArray bmpOf(const QImage& picture, Bmp header) {
    header.width = picture.width();
    header.height = header.height < 0 ? -picture.height() : picture.height();
    if (header.palette.isEmpty() && header.bitsPerPixel <= 8) header.palette = picture.colorTable();
    header.pixels = header.compression == 1 || header.compression == 2
                        ? bmpRle(picture, header.compression == 2)
                        : bmpRows(picture, header.bitsPerPixel, header.height < 0);
    return bmpFile(header);
}

}  // namespace kestrane::testing
