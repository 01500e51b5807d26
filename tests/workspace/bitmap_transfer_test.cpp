#include "workspace/bitmap_transfer.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace kestrane {
namespace {

// Every canvas pixel gets its own colour, so a misplaced pixel cannot go unnoticed.
QImage numberedCanvas(int w, int h) {
    QImage canvas(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            canvas.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 4)));
        }
    }
    return canvas;
}

Pixel canvasPixel(const QImage& canvas, int x, int y) {
    const QRgb rgb = canvas.pixel(x, y);
    return Pixel{std::uint8_t(qBlue(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qRed(rgb)), 0};
}

struct ReadCase {
    const char* name;
    int gridX, gridY;      // the cell looked at
    int canvasX, canvasY;  // the canvas pixel it must hold; -1 for the all-zero record
};

class PictureToGridTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(PictureToGridTest, CellHoldsTheMappedCanvasPixel) {
    const ReadCase& c = GetParam();
    const QImage canvas = numberedCanvas(512, 512);
    PixelGrid grid;
    ASSERT_EQ(pictureToGrid(canvas, grid), 0);
    const Pixel expected = c.canvasX < 0 ? Pixel{} : canvasPixel(canvas, c.canvasX, c.canvasY);
    EXPECT_EQ(grid(c.gridX, c.gridY), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas512, PictureToGridTest,
    ::testing::Values(ReadCase{"rowZeroUntouched", 100, 0, -1, -1},
                      ReadCase{"cornerRowZero", 512, 0, -1, -1}, ReadCase{"topLeft", 0, 1, 0, 0},
                      ReadCase{"bottomRight", 511, 512, 511, 511},
                      ReadCase{"middle", 300, 200, 300, 199},
                      ReadCase{"spareLandsInLastColumnOfFirstRow", 512, 1, -1, -1},
                      ReadCase{"lastColumnTakesPreviousRowsFirstPixel", 512, 2, 0, 0},
                      ReadCase{"lastColumnBottom", 512, 512, 0, 510}),
    testing::CaseName());

TEST(PictureToGrid, DeliversReservedZeroAndLeavesCellsBeyondTheCanvas) {
    QImage canvas(450, 450, QImage::Format_ARGB32);
    canvas.fill(qRgba(10, 20, 30, 77));
    PixelGrid grid;
    grid.fill(Pixel{1, 2, 3, 4});
    ASSERT_EQ(pictureToGrid(canvas, grid), 0);
    EXPECT_EQ(grid(0, 1), (Pixel{30, 20, 10, 0}));
    EXPECT_EQ(grid(449, 450), (Pixel{30, 20, 10, 0}));
    EXPECT_EQ(grid(451, 10), (Pixel{1, 2, 3, 4}));
    EXPECT_EQ(grid(10, 451), (Pixel{1, 2, 3, 4}));
    EXPECT_EQ(grid(10, 0), (Pixel{1, 2, 3, 4}));
}

TEST(PictureToGrid, EmptyBitmapFailsAndLeavesTheGrid) {
    PixelGrid grid;
    grid.fill(Pixel{9, 9, 9, 9});
    const PixelGrid before = grid;
    EXPECT_EQ(pictureToGrid(QImage(), grid), -1);
    EXPECT_EQ(grid, before);
}

TEST(Transfers, GridTooSmallForTheCanvasThrowsBeforeMoving) {
    PixelGrid small(512, 513);
    QImage canvas = numberedCanvas(512, 512);
    const QImage before = canvas;
    EXPECT_THROW(pictureToGrid(canvas, small), std::out_of_range);
    EXPECT_THROW(gridToPicture(small, canvas), std::out_of_range);
    EXPECT_EQ(canvas, before);
}

TEST(GridToPicture, RoundTripReproducesTheShownCellsOnly) {
    PixelGrid source;
    for (int y = 0; y < PixelGrid::kSize; ++y) {
        for (int x = 0; x < PixelGrid::kSize; ++x) {
            source(x, y) = Pixel{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), 0};
        }
    }
    QImage canvas(512, 512, QImage::Format_RGB32);
    ASSERT_EQ(gridToPicture(source, canvas), 0);
    PixelGrid back;
    back.fill(Pixel{5, 5, 5, 5});
    ASSERT_EQ(pictureToGrid(canvas, back), 0);
    for (int y = 1; y <= 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(back(x, y), source(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(back(7, 0), (Pixel{5, 5, 5, 5}));
}

struct HiddenCellCase {
    const char* name;
    int x, y;
};

class GridToPictureHiddenCells : public ::testing::TestWithParam<HiddenCellCase> {};

TEST_P(GridToPictureHiddenCells, ChangingThemChangesNothingOnScreen) {
    PixelGrid grid;
    QImage plain(512, 512, QImage::Format_RGB32);
    gridToPicture(grid, plain);
    grid(GetParam().x, GetParam().y) = Pixel{255, 255, 255, 0};
    QImage changed(512, 512, QImage::Format_RGB32);
    gridToPicture(grid, changed);
    EXPECT_EQ(changed, plain);
}

INSTANTIATE_TEST_SUITE_P(Canvas512, GridToPictureHiddenCells,
                         ::testing::Values(HiddenCellCase{"rowZero", 40, 0},
                                           HiddenCellCase{"lastColumn", 512, 300},
                                           HiddenCellCase{"lastColumnLastRow", 512, 512}),
                         testing::CaseName());

TEST(GridToPicture, GraphCanvasShowsOnlyItsCells) {
    PixelGrid grid;
    grid(449, 450) = Pixel{0, 0, 200, 0};
    grid(450, 450) = Pixel{0, 200, 0, 0};
    grid(0, 451) = Pixel{200, 0, 0, 0};
    QImage canvas(450, 450, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    ASSERT_EQ(gridToPicture(grid, canvas), 0);
    EXPECT_EQ(canvas.pixel(449, 449), qRgb(200, 0, 0));
    EXPECT_EQ(canvas.pixel(0, 449), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(448, 449), qRgb(0, 0, 0));
}

TEST(CopyBaseToView, CopiesEveryByteOfEveryCell) {
    PixelGrid base;
    base(0, 0) = Pixel{1, 2, 3, 4};
    base(512, 512) = Pixel{5, 6, 7, 8};
    PixelGrid view;
    view.fill(Pixel{9, 9, 9, 9});
    copyBaseToView(base, view);
    EXPECT_EQ(view, base);
}

}  // namespace
}  // namespace kestrane
