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
    Pixel expected;
    if (c.canvasX >= 0) {
        const QRgb rgb = canvas.pixel(c.canvasX, c.canvasY);
        expected =
            Pixel{std::uint8_t(qBlue(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qRed(rgb)), 0};
    }
    EXPECT_EQ(grid(c.gridX, c.gridY), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas512, PictureToGridTest,
    ::testing::Values(ReadCase{"rowZeroUntouched", 100, 0, -1, -1}, ReadCase{"topLeft", 0, 1, 0, 0},
                      ReadCase{"bottomRight", 511, 512, 511, 511},
                      ReadCase{"middle", 300, 200, 300, 199},
                      ReadCase{"spareLandsInLastColumnOfFirstRow", 512, 1, -1, -1},
                      ReadCase{"lastColumnTakesFirstPixelTwoRowsUp", 512, 2, 0, 0},
                      ReadCase{"lastColumnBottom", 512, 512, 0, 510}),
    testing::CaseName());

TEST(PictureToGrid, DeliversReservedZeroAndLeavesCellsBeyondTheCanvas) {
    QImage canvas(450, 450, QImage::Format_ARGB32);
    canvas.fill(qRgba(10, 20, 30, 77));
    PixelGrid grid;
    grid.fill(Pixel{1, 2, 3, 4});
    ASSERT_EQ(pictureToGrid(canvas, grid), 0);
    EXPECT_EQ(grid(449, 450), (Pixel{30, 20, 10, 0}));
    EXPECT_EQ(grid(451, 10), (Pixel{1, 2, 3, 4}));
    EXPECT_EQ(grid(10, 451), (Pixel{1, 2, 3, 4}));
    EXPECT_EQ(grid(10, 0), (Pixel{1, 2, 3, 4}));
    EXPECT_EQ(pictureToGrid(QImage(), grid), -1);
    EXPECT_EQ(grid(449, 450), (Pixel{30, 20, 10, 0}));
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
    pictureToGrid(canvas, back);
    // Cells x = 0..511, y = 1..512 come back; row 0 and column 512 do not take part.
    for (int x = 0; x < 512; x += 7) {
        for (int y = 1; y <= 512; y += 3) {
            ASSERT_EQ(back(x, y), source(x, y)) << x << "," << y;
        }
        EXPECT_EQ(back(x, 0), (Pixel{5, 5, 5, 5}));
    }
    source(512, 300) = source(40, 0) = Pixel{255, 255, 255, 0};
    QImage again(512, 512, QImage::Format_RGB32);
    gridToPicture(source, again);
    EXPECT_EQ(again, canvas);
}

TEST(GridToPicture, GraphCanvasShowsOnlyItsCells) {
    PixelGrid grid;
    grid(449, 450) = Pixel{0, 0, 200, 0};
    grid(450, 450) = Pixel{0, 200, 0, 0};
    QImage canvas(450, 450, QImage::Format_RGB32);
    gridToPicture(grid, canvas);
    EXPECT_EQ(canvas.pixel(449, 449), qRgb(200, 0, 0));
    EXPECT_EQ(canvas.pixel(0, 449), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace kestrane
