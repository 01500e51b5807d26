#include "graph3d/graph_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrane {

namespace {

TEST(JpegFileName, AppendsTheEndingUnlessTheLastThreeCharactersAreJpgOrJPG) {
    const std::pair<QString, QString> rows[] = {
        {"3D", "3D.jpg"},       {"3Djpg", "3Djpg"}, {"shot.JPG", "shot.JPG"},
        {"x.Jpg", "x.Jpg.jpg"}, {"", ".jpg"},
    };
    for (const auto& [typed, expected] : rows) {
        EXPECT_EQ(jpegFileName(typed), expected) << typed.toStdString();
    }
}

// A drag started at (100, 100) on the view of a new region, unless the row starts elsewhere; the
// press position is floored.
const DragAngles kDragging = startDrag({0, 0, 10, 110, 10, 110}, 100.75f, 100.5f);

TEST(MoveDrag, HoldsTheTiltWithinItsLimitsAndTheTurnWithinOneTurn) {
    const std::tuple<DragAngles, float, float, DragAngles> rows[] = {
        {kDragging, 100, 150.75f, {100, 150, 10, 90, 10, 90}},
        {kDragging, 100, 2.25f, {100, 2, 10, 180, 10, 180}},
        {kDragging, 100, 89.5f, {100, 100, 10, 110, 10, 120}},
        {kDragging, 100, 1.0e9f, {100, 32767, 10, 90, 10, 90}},
        {kDragging, 1.0e9f, 100, {100, 100, 10, 110, -170, 110}},
        {{0, 100, 350, 110, 350, 110}, -30, 100, {0, 100, 350, 110, 20, 110}},
        {{0, 100, 300, 110, 300, 110}, -60, 100, {0, 100, 300, 110, 0, 110}},
        {{0, 100, 300, 110, 300, 110}, -59.75f, 100, {0, 100, 300, 110, 360, 110}},
    };
    for (const auto& [before, x, y, after] : rows) {
        EXPECT_EQ(moveDrag(before, x, y), after) << x << ", " << y;
    }
}

}  // namespace
}  // namespace kestrane
