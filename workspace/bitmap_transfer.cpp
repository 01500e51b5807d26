#include "workspace/bitmap_transfer.h"

#include <cstdint>
#include <cstring>

#include "windowing/picture_box.h"

namespace kestrane {

namespace {

constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;

bool covers(const PixelGrid& grid, const QImage& bitmap) {
    return grid.columns() >= bitmap.width() + 1 && grid.rows() >= bitmap.height() + 1;
}

// Copies count 32-bit pixels, keeping the colour bytes and setting the fourth byte as asked.
void copyPixels(const void* from, void* to, int count, std::uint32_t fourthByte) {
    const auto* in = static_cast<const unsigned char*>(from);
    auto* out = static_cast<unsigned char*>(to);
    for (int i = 0; i < count; ++i) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + 4 * i, 4);
        pixel = (pixel & kColourBytes) | fourthByte;
        std::memcpy(out + 4 * i, &pixel, 4);
    }
}

QImage asRgb32(const QImage& bitmap) {
    return bitmap.format() == QImage::Format_RGB32 ? bitmap
                                                   : bitmap.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int pictureToGrid(const QImage& source, PixelGrid& grid) {
    Q_ASSERT(covers(grid, source));
    if (source.isNull() || source.height() == 0) {
        return -1;
    }
    const QImage bitmap = asRgb32(source);
    const int w = bitmap.width();
    const int h = bitmap.height();
    for (int y = 1; y <= h; ++y) {
        copyPixels(bitmap.constScanLine(y - 1), grid.row(y), w, 0);
        if (y >= 2) {
            copyPixels(bitmap.constScanLine(y - 2), &grid(w, y), 1, 0);
        } else {
            grid(w, y) = Pixel{};
        }
    }
    return 0;
}

int gridToPicture(const PixelGrid& grid, QImage& bitmap) {
    Q_ASSERT(covers(grid, bitmap));
    if (bitmap.isNull() || bitmap.height() == 0) {
        return -1;
    }
    if (bitmap.format() != QImage::Format_RGB32) {
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    }
    const int w = bitmap.width();
    for (int y = 1; y <= bitmap.height(); ++y) {
        copyPixels(grid.row(y), bitmap.scanLine(y - 1), w, kOpaque);
    }
    return 0;
}

int pictureToGrid(const PictureBox& canvas, PixelGrid& grid) {
    return pictureToGrid(canvas.bitmap(), grid);
}

int gridToPicture(PictureBox& canvas, const PixelGrid& grid) {
    const int status = gridToPicture(grid, canvas.bitmap());
    canvas.refresh();
    return status;
}

void copyBaseToView(const PixelGrid& basePix, PixelGrid& viewPix) { viewPix = basePix; }

}  // namespace kestrane
