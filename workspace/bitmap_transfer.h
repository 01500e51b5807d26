#pragma once

#include <QImage>

#include "workspace/pixel_grid.h"

namespace kestrane {

class PictureBox;

// Transfers between a canvas bitmap of w x h pixels and a grid. Grid cell [x, y] shows as bitmap
// pixel (x, y - 1): grid row 0 is never transferred, and grid column w is never shown. Reading a
// bitmap fills cell [w, y] with the first pixel of bitmap row y - 2 and leaves [w, 1] all zero,
// as a bottom-up scan-line copy of w + 1 records per line does. Cells beyond x = w or y = h are
// left alone. A read delivers reserved bytes of 0.
//
// Both return 0, or -1 when the bitmap has no scan lines (the target is then left unchanged).
// The grid must be at least (w + 1) x (h + 1).
int pictureToGrid(const QImage& bitmap, PixelGrid& grid);
int gridToPicture(const PixelGrid& grid, QImage& bitmap);

// The same on a canvas's persistent bitmap; writing also repaints the canvas.
int pictureToGrid(const PictureBox& canvas, PixelGrid& grid);
int gridToPicture(PictureBox& canvas, const PixelGrid& grid);

// viewPix becomes a copy of basePix, all four bytes of every cell.
void copyBaseToView(const PixelGrid& basePix, PixelGrid& viewPix);

}  // namespace kestrane
