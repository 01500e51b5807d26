#pragma once

// Test PNGs: whole pictures written by libpng at any colour type and depth, and files put
// together chunk by chunk, with their CRCs, for the damage a writer would never produce.

#include <png.h>
#include <zlib.h>

#include <QByteArray>
#include <QtEndian>
#include <functional>
#include <vector>

namespace kestrane::testing {

struct Png {
    int width = 9;
    int height = 9;
    int colourType = PNG_COLOR_TYPE_GRAY;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette = {};
    std::vector<png_byte> paletteAlpha = {};  // of each palette entry
    // Channel c of pixel (x, y), within the depth.
    std::function<unsigned(int x, int y, int c)> sample = {};
};

inline QByteArray pngFile(const Png& picture) {
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, std::size_t size) {
            static_cast<QByteArray*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<const char*>(data), qsizetype(size));
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height),
                 picture.bitDepth, picture.colourType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), int(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()),
                     nullptr);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const std::size_t rowBytes = (std::size_t(picture.width) * channels * picture.bitDepth + 7) / 8;
    // One block, so that pictures of millions of rows stay cheap to make.
    std::vector<png_byte> pixels(rowBytes * picture.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height; ++y) {
        rows.push_back(pixels.data() + rowBytes * y);
        std::size_t bit = 0;
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < channels; ++c, bit += picture.bitDepth) {
                const unsigned value = picture.sample(x, y, c);
                if (picture.bitDepth == 16) {
                    rows[y][bit / 8] = png_byte(value >> 8);
                    rows[y][bit / 8 + 1] = png_byte(value);
                } else {
                    rows[y][bit / 8] |= png_byte(value << (8 - picture.bitDepth - int(bit % 8)));
                }
            }
        }
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

inline QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// One chunk: length, type, data and CRC.
inline QByteArray chunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    const auto crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size())));
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc);
}

// A zlib stream of `data`: qCompress's, after the length it puts first.
inline QByteArray deflated(const QByteArray& data) { return qCompress(data, 9).mid(4); }

// An 8-bit grey PNG of the size its header states, whatever `imageData` holds.
inline QByteArray greyPng(quint32 width, quint32 height, const QByteArray& imageData) {
    return QByteArray("\x89PNG\r\n\x1a\n") +
           chunk("IHDR", bigEndian(width) + bigEndian(height) + QByteArray("\x08\0\0\0\0", 5)) +
           chunk("IDAT", imageData) + chunk("IEND", "");
}

}  // namespace kestrane::testing
