#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace kestrane {

// Libjpeg's working memory for one picture. Only progressive JPEGs need more than a few rows:
// they hold the whole picture's coefficients, about 3 bytes a pixel, so ones beyond roughly
// 85 megapixels are refused rather than allowed to claim gigabytes.
inline constexpr long kJpegMemoryLimit = 256L * 1024 * 1024;

// Decodes the picture file at `path` the way the canvas shows it: a `canvas`-sized
// Format_RGB32 image filled with `background`, with the picture drawn at its natural size from
// the top-left corner, cut at the canvas's right and bottom edges. Transparent pixels, and for a
// GIF the parts of its screen its first frame leaves open, show the background.
//
// JPEG and GIF files, recognised by their content, are decoded here; anything else goes to Qt's
// image reader (PNG, BMP, ...). Only the part that lands on the canvas is decoded, so a picture
// far larger than the canvas costs no more than a canvas-sized one (a progressive JPEG is the
// exception, see kJpegMemoryLimit).
//
// std::nullopt when the file is missing, not a regular file, empty, not a picture, or damaged in
// the part read: a JPEG whose decoder reports any error or warning (truncation, corrupt data,
// unsupported features), a GIF whose records end early or fail to decode, or whose first frame
// uses a colour its colour table lacks. Data below the canvas's last row is not read, so damage
// there goes unnoticed.
std::optional<QImage> decodePictureForCanvas(const QString& path, QSize canvas, QColor background);

}  // namespace kestrane
