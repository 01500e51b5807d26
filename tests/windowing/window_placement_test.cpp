#include "windowing/window_placement.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace kestrane {
namespace {

// A main window at (100, 50) with a 545 x 568 frame on a 1920 x 1040 work area.
const QRect kMain(100, 50, 545, 568);
const QRect kScreen(0, 0, 1920, 1040);

struct PlacementRow {
    const char* name;
    QRect anchor;
    QSize frame;
    int below;
    Side side;
    QRect available;
    QPoint topLeft;
};

class PlaceBeside : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(PlaceBeside, PicksTheSideThatLeavesTheAnchorFree) {
    const PlacementRow& row = GetParam();
    EXPECT_EQ(placeBeside(row.anchor, row.frame, row.below, row.side, row.available), row.topLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaceBeside,
    ::testing::Values(
        PlacementRow{"right_with_gap", kMain, {400, 300}, 0, Side::right, kScreen, {653, 50}},
        PlacementRow{"below_a_neighbour", kMain, {400, 300}, 420, Side::right, kScreen, {653, 470}},
        PlacementRow{
            "pushed_up_into_the_screen", kMain, {400, 300}, 900, Side::right, kScreen, {653, 740}},
        PlacementRow{"left_when_asked",
                     QRect(700, 50, 545, 568),
                     {273, 290},
                     0,
                     Side::left,
                     kScreen,
                     {419, 50}},
        PlacementRow{
            "left_has_no_room_so_right", kMain, {273, 290}, 0, Side::left, kScreen, {653, 50}},
        PlacementRow{"no_room_anywhere_covers_less",
                     QRect(0, 0, 700, 568),
                     {400, 300},
                     0,
                     Side::right,
                     QRect(0, 0, 1024, 768),
                     {624, 0}},
        PlacementRow{
            "larger_than_the_screen", kMain, {3000, 2000}, 0, Side::right, kScreen, {0, 0}}),
    testing::CaseName());

}  // namespace
}  // namespace kestrane
