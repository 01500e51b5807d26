#pragma once

// Test pictures. JPEGs are encoded row by row, so pictures far too large for a QImage can be
// made; GIFs go through giflib, since Qt cannot write them. Either can stop after its first rows,
// leaving out the rest of a picture too large to write whole.

#include <gif_lib.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kestrane::testing {

struct JpegOptions {
    bool progressive = false;
    bool arithmetic = false;
    bool noise = false;   // random pixels, every channel at full resolution: the densest data
    int writtenRows = 0;  // the rows encoded before the file is cut off; 0 for all
    bool grey = false;
    bool cmyk = false;  // a pixel's bytes from the lowest up taken for C, M, Y and K
};

// A JPEG of 16 x 16 blocks, neighbours differing in every channel, chroma at half resolution as
// cameras store it.
inline bool writeJpeg(const QString& path, int width, int height, int quality,
                      JpegOptions options = {}) {
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.in_color_space = options.cmyk ? JCS_CMYK : JCS_EXT_BGRX;  // a QRgb in little-endian memory
    info.input_components = 4;
    jpeg_set_defaults(&info);
    if (options.grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_set_quality(&info, quality, TRUE);
    info.arith_code = options.arithmetic;
    for (int c = 0; options.noise && c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    }
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const auto rowsToWrite =
        static_cast<JDIMENSION>(options.writtenRows > 0 ? options.writtenRows : height);
    std::vector<QRgb> row(width);
    std::minstd_rand random;
    while (info.next_scanline < rowsToWrite) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            row[x] = options.noise ? QRgb(random())
                                   : qRgb(40 + 50 * (x / 16 % 4), 40 + 60 * (y / 16 % 4),
                                          (x / 16 + y / 16) % 2 * 180 + 30);
        }
        JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_write_scanlines(&info, rows, 1);
    }
    if (rowsToWrite == info.image_height) {
        jpeg_finish_compress(&info);
    } else {
        info.dest->term_destination(&info);  // writes out what is encoded so far
    }
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// A grey progressive JPEG whose scans carry no detail: a DC scan, then `acScans` scans of the
// whole AC band made of end-of-band runs only. Plain scans are the cheapest to decode; with
// `refine` they cycle through a first scan and its thirteen refinements, the dearest.
inline QByteArray progressiveJpeg(int width, int height, int acScans, bool refine = false) {
    QByteArray bytes("\xFF\xD8");
    const auto segment = [&](char marker, const QByteArray& body) {
        const auto length = static_cast<int>(body.size() + 2);
        bytes += QByteArray("\xFF") + marker + char(length >> 8) + char(length & 0xFF) + body;
    };
    const auto scan = [&](int first, int last, int high, int low) {
        segment('\xDA',
                QByteArray("\x01\x01\x00", 3) + char(first) + char(last) + char(high << 4 | low));
    };
    segment('\xDB', QByteArray(1, '\0') + QByteArray(64, '\1'));
    segment('\xC2', QByteArray("\x08", 1) + char(height >> 8) + char(height & 0xFF) +
                        char(width >> 8) + char(width & 0xFF) + QByteArray("\x01\x01\x11\x00", 4));
    // DC table: difference 0 is the code "0". AC table: the end-of-band runs EOB0..EOB14 are the
    // 4-bit codes 0..14.
    segment('\xC4', QByteArray("\x00\x01", 2) + QByteArray(15, '\0') + QByteArray(1, '\0'));
    QByteArray runs("\x10\x00\x00\x00\x0F", 5);
    runs += QByteArray(12, '\0');
    for (int r = 0; r < 15; ++r) runs += char(r << 4);
    segment('\xC4', runs);

    const long blocks = long((width + 7) / 8) * ((height + 7) / 8);
    scan(0, 0, 0, 0);
    bytes += QByteArray((blocks + 7) / 8, '\0');
    for (int i = 0; i < acScans; ++i) {
        const int step = refine ? i % 14 : 0;
        scan(1, 63, step == 0 ? 0 : 14 - step, step == 0 ? (refine ? 13 : 0) : 13 - step);
        // Each run covers up to 32767 blocks: a code r, then r bits for the run minus 2^r.
        std::uint64_t bits = 0;
        int count = 0;
        const auto put = [&](long value, int length) {
            bits = bits << length | std::uint64_t(value);
            for (count += length; count >= 8; count -= 8) {
                bytes += char(bits >> (count - 8));
                if (bytes.back() == '\xFF') bytes += '\0';
            }
        };
        for (long left = blocks; left > 0;) {
            const long run = std::min(left, 32767L);
            const int r = static_cast<int>(std::bit_width(static_cast<unsigned long>(run))) - 1;
            put(r, 4);
            put(run - (1L << r), r);
            left -= run;
        }
        const int pad = (8 - count) % 8;
        put((1L << pad) - 1, pad);  // one-bits
    }
    bytes += "\xFF\xD9";
    return bytes;
}

// Four colours in 16 x 16 blocks, in Format_Indexed8 for a GIF.
inline QImage indexedBlocks(int width, int height) {
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(90, 90, 90)});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.scanLine(y)[x] = uchar((x / 16 + y / 16) % 4);
    }
    return picture;
}

struct GifFrame {
    int height = 0;  // the frame's and the screen's; 0 for the picture's
    bool interlaced = false;
    int writtenRows = 0;  // rows encoded, in file order, before the file is cut off; 0 for all
};

// One frame covering the whole screen; `picture` is Format_Indexed8, its rows repeated down a
// frame taller than the picture.
inline bool writeGif(const QString& path, QImage picture, GifFrame frame = {}) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (gif == nullptr) return false;
    ColorMapObject* map = GifMakeMapObject(256, nullptr);  // unused entries stay black
    for (int i = 0; i < picture.colorCount(); ++i) {
        const QRgb c = picture.color(i);
        map->Colors[i] = {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    const int width = picture.width();
    const int height = frame.height > 0 ? frame.height : picture.height();
    const int rows = frame.writtenRows > 0 ? frame.writtenRows : height;
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, width, height, frame.interlaced, nullptr) != GIF_ERROR;
    GifFreeMapObject(map);
    for (int y = 0; y < rows && ok; ++y) {
        ok = EGifPutLine(gif, picture.scanLine(y % picture.height()), width) != GIF_ERROR;
    }
    return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

}  // namespace kestrane::testing
