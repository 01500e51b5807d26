#include "windowing/window_placement.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrane {
namespace {

// A main window at (100, 50) with a 545 x 568 frame on a 1920 x 1040 work area, unless a row
// says otherwise.
TEST(PlaceBeside, PicksTheSideThatLeavesTheAnchorFree) {
    const QRect main(100, 50, 545, 568), screen(0, 0, 1920, 1040), small(0, 0, 1024, 768);
    const std::tuple<const char*, QRect, QSize, int, Side, QRect, QPoint> rows[] = {
        {"right with gap", main, {400, 300}, 0, Side::right, screen, {653, 50}},
        {"below a neighbour", main, {400, 300}, 420, Side::right, screen, {653, 470}},
        {"pushed up into the screen", main, {400, 300}, 900, Side::right, screen, {653, 740}},
        {"left when asked", {700, 50, 545, 568}, {273, 290}, 0, Side::left, screen, {419, 50}},
        {"left has no room so right", main, {273, 290}, 0, Side::left, screen, {653, 50}},
        {"least covered", {0, 0, 700, 568}, {400, 300}, 0, Side::right, small, {624, 0}},
        {"larger than the screen", main, {3000, 2000}, 0, Side::right, screen, {0, 0}},
    };
    for (const auto& [name, anchor, frame, below, side, available, topLeft] : rows) {
        EXPECT_EQ(placeBeside(anchor, frame, below, side, available), topLeft) << name;
    }
}

}  // namespace
}  // namespace kestrane
