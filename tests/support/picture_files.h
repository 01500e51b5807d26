#pragma once

// Test pictures. JPEGs are encoded row by row, so pictures far too large for a QImage can be
// made; GIFs go through giflib, since Qt cannot write them.

#include <gif_lib.h>

#include <QFile>
#include <QImage>
#include <QString>
#include <cstdio>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kestrane::testing {

// The colour of 16 x 16 blocks; neighbouring blocks differ in every channel.
inline QRgb blockColour(int x, int y) {
    return qRgb(40 + 50 * (x / 16 % 4), 40 + 60 * (y / 16 % 4), (x / 16 + y / 16) % 2 * 180 + 30);
}

// A JPEG of blockColour, chroma at half resolution as cameras store it.
inline bool writeJpeg(const QString& path, int width, int height, int quality) {
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.in_color_space = JCS_EXT_BGRX;  // a QRgb in little-endian memory
    info.input_components = 4;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<QRgb> row(width);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[x] = blockColour(x, static_cast<int>(info.next_scanline));
        }
        JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// One frame covering the whole screen; `picture` is Format_Indexed8.
inline bool writeGif(const QString& path, QImage picture) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (gif == nullptr) {
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(256, nullptr);  // unused entries stay black
    for (int i = 0; i < picture.colorCount(); ++i) {
        const QRgb c = picture.color(i);
        map->Colors[i] = {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    const int width = picture.width();
    const int height = picture.height();
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_ERROR;
    GifFreeMapObject(map);
    for (int y = 0; y < height && ok; ++y) {
        ok = EGifPutLine(gif, picture.scanLine(y), width) != GIF_ERROR;
    }
    return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

}  // namespace kestrane::testing
