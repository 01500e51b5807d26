#include "workspace/bitmap_transfer.h"

#include <gtest/gtest.h>

namespace kestrane {
namespace {

Pixel pixelOf(QRgb rgb) {
    return {std::uint8_t(qBlue(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qRed(rgb)), 0};
}

// A 450 x 450 canvas with alpha, as a bitmap loaded into the graph box may be, every pixel its own
// colour so that a misplaced one cannot go unnoticed.
TEST(PictureToGrid, FillsTheShownCellsAndTheSpareColumnOnly) {
    QImage canvas(450, 450, QImage::Format_ARGB32);
    for (int y = 0; y < 450; ++y) {
        for (int x = 0; x < 450; ++x) {
            canvas.setPixel(x, y, qRgba(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 4), 77));
        }
    }
    const Pixel untouched{1, 2, 3, 4};
    PixelGrid grid;
    grid.fill(untouched);
    ASSERT_EQ(pictureToGrid(canvas, grid), 0);
    const auto shown = [&](int x, int y) { return pixelOf(canvas.pixel(x, y)); };
    const std::tuple<const char*, QPoint, Pixel> rows[] = {
        {"topLeft", {0, 1}, shown(0, 0)},
        {"bottomRight", {449, 450}, shown(449, 449)},
        {"spareColumnFirstRowZero", {450, 1}, Pixel{}},
        {"spareColumnTakesFirstPixelTwoRowsUp", {450, 2}, shown(0, 0)},
        {"rowZeroLeftAlone", {10, 0}, untouched},
        {"rightOfTheSpareColumnLeftAlone", {451, 10}, untouched},
        {"belowTheCanvasLeftAlone", {10, 451}, untouched},
    };
    for (const auto& [name, cell, expected] : rows) {
        EXPECT_EQ(grid(cell.x(), cell.y()), expected) << name;
    }
    EXPECT_EQ(pictureToGrid(QImage(), grid), -1);
    EXPECT_EQ(grid(449, 450), shown(449, 449));
}

// Cells x = 0..w - 1, y = 1..h come back; row 0 and column w do not take part.
TEST(GridToPicture, RoundTripReproducesTheShownCellsOnly) {
    PixelGrid source;
    for (int y = 0; y < PixelGrid::kSize; ++y) {
        for (int x = 0; x < PixelGrid::kSize; ++x) {
            source(x, y) = Pixel{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), 0};
        }
    }
    QImage canvas(450, 450, QImage::Format_RGB32);
    ASSERT_EQ(gridToPicture(source, canvas), 0);
    PixelGrid back;
    pictureToGrid(canvas, back);
    for (int y = 1; y <= 450; ++y) {
        for (int x = 0; x < 450; ++x) ASSERT_EQ(back(x, y), source(x, y)) << x << ", " << y;
    }
    PixelGrid hidden = source;
    hidden(450, 300) = hidden(40, 0) = Pixel{255, 255, 255, 0};
    QImage again(450, 450, QImage::Format_RGB32);
    gridToPicture(hidden, again);
    EXPECT_EQ(again, canvas);
}

}  // namespace
}  // namespace kestrane
