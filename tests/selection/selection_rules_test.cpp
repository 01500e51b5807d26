#include "selection/selection_rules.h"

#include <gtest/gtest.h>

namespace kestrane {
namespace {

// The settings dialog's tests cover the texts; these are the values it cannot show.
TEST(TypedCoordinate, RoundsDownAndHoldsFarValuesAtWholePixels) {
    constexpr float kFar = 1 << 24;
    EXPECT_EQ(typedCoordinate("-2.5"), -3);
    EXPECT_EQ(typedCoordinate("1e999"), kFar);
    EXPECT_EQ(typedCoordinate("-1e999"), -kFar);
}

// The cells the band should paint, and the count of white cells found everywhere else.
int strayCells(const PixelGrid& base, const PixelGrid& view, int left, int top, int right,
               int bottom) {
    int stray = 0;
    for (int y = 0; y < PixelGrid::kSize; ++y) {
        for (int x = 0; x < PixelGrid::kSize; ++x) {
            const bool onBand = (x == left || x == right) && y >= top && y <= bottom;
            const bool onRows = (y == top || y == bottom) && x >= left && x <= right;
            const Pixel expected = onBand || onRows ? Pixel{255, 255, 255, 7} : base(x, y);
            stray += !(view(x, y) == expected);
        }
    }
    return stray;
}

// On a grid whose every pixel differs, so any stray write shows; coinciding corners paint one
// pixel.
TEST(DrawRubberBand, PaintsExactlyTheFourEdgesFromTheCleanPicture) {
    PixelGrid base, view;
    for (int y = 0; y < PixelGrid::kSize; ++y) {
        for (int x = 0; x < PixelGrid::kSize; ++x)
            base(x, y) = {std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), 7};
    }
    drawRubberBand(base, {300, 50}, {10, 20}, view);
    drawRubberBand(base, {300, 400.5f}, {9.5f, 20}, view);
    EXPECT_EQ(strayCells(base, view, 10, 20, 300, 400), 0);
    drawRubberBand(base, {509, 510}, {509, 510}, view);
    EXPECT_EQ(strayCells(base, view, 509, 510, 509, 510), 0);
}

}  // namespace
}  // namespace kestrane
