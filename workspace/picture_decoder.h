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
// Arithmetic-coded JPEG data: a byte and a block cost this instead (measured like the others).
inline constexpr std::int64_t kWorkPerArithmeticByte = 224;
inline constexpr std::int64_t kWorkPerArithmeticBlock = 288;
// One PNG row, and one byte of it as it comes out of the library (inflated, unfiltered and
// expanded to four channels), charged for every row decoded from the sizes its header declares,
// so that no zlib stream can make the library inflate more than the rows shown need.
inline constexpr std::int64_t kWorkPerPngRow = 128;
inline constexpr std::int64_t kWorkPerPngByte = 2;
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
// The format is recognised by its content, as its library recognises it: JPEG (FF D8, Huffman or
// arithmetic coded), GIF ("GIF"), BMP ("BM") and PNG (89 "PNG"); anything else is refused from
// those first bytes. Only the rows that land on the canvas are decoded, except for interlaced GIFs
// and PNGs and progressive or multi-scan JPEGs, whose earlier passes cover the whole picture.
//
// BMP is read by a decoder of its own: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// RLE8 or RLE4, or with 16- or 32-bit bit fields; rows bottom-up or top-down; 12-, 40-, 108- or
// 124-byte headers. Its pixels are opaque (a 32-bit pixel's 4th byte or alpha mask is not read);
// what an RLE stream skips shows the background. An RLE picture stored bottom-up is decoded from
// its bottom row. Damage counts: pixel data that ends early, a run or move past the picture's
// edge, an index its palette lacks, or another compression.
//
// PNG is read through libpng: every colour type and depth, plain or interlaced. A 16-bit sample
// becomes round(v * 255 / 65535); alpha, and tRNS transparency, blend over the background:
// (c * a + background * (255 - a) + 127) / 255. Gamma, colour-profile and every other ancillary
// chunk but tRNS are skipped, since the stored values are heights, not colours to correct.
// Damage counts: a bad CRC in a critical chunk, a bad zlib stream, image data missing, short or
// in excess, an unknown critical chunk. A palette index beyond the palette shows black, as
// libpng defines it.
//
// std::nullopt when the picture is refused: another format, beyond the limits above, or damaged
// in the part read. Damage counts: a JPEG whose library reports an error, or a warning once the
// scan data begins (a warning from the header, such as stray bytes between its segments or a
// broken metadata segment, leaves the pixels whole), a GIF whose records end early or fail to
// decode, or whose first frame uses a colour its colour table lacks. A picture that lies within
// the canvas rows is read to its end, so damage anywhere in it refuses it; below the canvas's last
// row damage goes unnoticed.
std::optional<QImage> decodePicture(QIODevice& file, QSize canvas, QColor background,
                                    DecodeCost* cost = nullptr);

// decodePicture on the file at `path`, opened by the name's own bytes, so names that are not UTF-8
// open too; std::nullopt also when it is missing or not a regular file (a pipe or device is never
// read, so it cannot block).
std::optional<QImage> decodePictureForCanvas(const QString& path, QSize canvas, QColor background,
                                             DecodeCost* cost = nullptr);

}  // namespace kestrane
