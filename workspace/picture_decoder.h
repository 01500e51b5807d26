#pragma once

#include <QColor>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace kestrane {

// What one decode may cost, whatever the file holds. A picture that needs more is refused, so
// that no file can freeze the window or exhaust memory.
//
// Work is counted in units of about a nanosecond of a common desktop's CPU, charged from the
// sizes the file declares before the work is done (bytes as they are read). The weights are the
// dearest cases measured (bench_picture_load decodes files at the limit in under a second).
inline constexpr std::int64_t kDecodeWorkLimit = 1'000'000'000;
// A byte of the file, read and entropy-decoded (progressive JPEG data is the dearest).
inline constexpr std::int64_t kWorkPerByte = 32;
// One 8 x 8 JPEG block in one scan, however little data it carries (a refinement scan still
// visits every coefficient of its band).
inline constexpr std::int64_t kWorkPerJpegBlock = 128;
// One GIF pixel (palette index) decoded, whether or not it lands on the canvas.
inline constexpr std::int64_t kWorkPerGifPixel = 8;
// Moving through the file to a part it reads, skipping what lies between (BMP rows below the
// canvas, or the rest of a row beyond its right edge): 6 to 12 microseconds measured, the file's
// buffer being filled again after each move. BMP pixel data is otherwise charged by the byte read,
// which bounds its RLE too (a stream of one-pixel runs, the dearest, decodes in under 1.5 ns a
// byte).
inline constexpr std::int64_t kWorkPerSeek = 20'000;
// Scans in one JPEG. Encoders write about ten; each scan has a setup cost that no block count
// covers, so absurd counts are refused.
inline constexpr int kJpegScanLimit = 256;
// Bytes held at once by the decoder and the JPEG library, the canvas included (giflib holds a
// fixed few tens of kilobytes besides).
inline constexpr std::int64_t kDecodeMemoryLimit = 96L * 1024 * 1024;

// What a decode cost, refused or not.
struct DecodeCost {
    std::int64_t bytesRead = 0;
    std::int64_t work = 0;    // never more than kDecodeWorkLimit
    std::int64_t memory = 0;  // bytes held, never more than kDecodeMemoryLimit
};

// Decodes the picture in `file` (open for reading, at its start) the way the canvas shows it: a
// `canvas`-sized Format_RGB32 image filled with `background`, with the picture drawn at its
// natural size from the top-left corner, cut at the canvas's right and bottom edges. Transparent
// pixels, and for a GIF the parts of its screen its first frame leaves open, show the background.
//
// The format is recognised by its content, as its library recognises it: JPEG (FF D8, Huffman
// coded), GIF ("GIF") and BMP ("BM"); anything else is refused from those first bytes. Only the
// rows that land on the canvas are decoded, except for interlaced GIFs and progressive or
// multi-scan JPEGs, whose earlier passes cover the whole picture.
//
// BMP is read by a decoder of its own: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// RLE8 or RLE4, or with 16- or 32-bit bit fields; rows bottom-up or top-down; 12-, 40-, 108- or
// 124-byte headers. Its pixels are opaque (a 32-bit pixel's 4th byte or alpha mask is not read);
// what an RLE stream skips shows the background. An RLE picture stored bottom-up is decoded from
// its bottom row. Damage counts: pixel data that ends early, a run or move past the picture's
// edge, an index its palette lacks, or another compression.
//
// std::nullopt when the picture is refused: another format, beyond the limits above, or damaged
// in the part read. Damage counts: a JPEG whose library reports any error or warning, a GIF whose
// records end early or fail to decode, or whose first frame uses a colour its colour table lacks.
// A picture that lies within the canvas rows is read to its end, so damage anywhere in it refuses
// it; below the canvas's last row damage goes unnoticed.
std::optional<QImage> decodePicture(QIODevice& file, QSize canvas, QColor background,
                                    DecodeCost* cost = nullptr);

// decodePicture on the file at `path`, opened by the name's own bytes, so names that are not UTF-8
// open too; std::nullopt also when it is missing or not a regular file (a pipe or device is never
// read, so it cannot block).
std::optional<QImage> decodePictureForCanvas(const QString& path, QSize canvas, QColor background,
                                             DecodeCost* cost = nullptr);

}  // namespace kestrane
