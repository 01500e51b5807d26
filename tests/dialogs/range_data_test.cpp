#include "dialogs/range_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrane {
namespace {

// The export window's test saves a one-line region; these are the other shapes of the file.
TEST(RangeData, WritesEachRowsHeightsDividedByThreeAndRoundedDown) {
    // The heights are given row by row, as the file lists them.
    const std::tuple<const char*, int, int, std::vector<int>, QByteArray> rows[] = {
        {"roundedDown", 4, 0, {0, 10, 47, 50, 93}, " 4 0\r\n 0 3 15 16 31\r\n"},
        {"aLinePerY", 1, 2, {0, 3, 30, 33, 60, 63}, " 1 2\r\n 0 1\r\n 10 11\r\n 20 21\r\n"},
    };
    for (const auto& [name, lastX, lastY, cells, bytes] : rows) {
        HeightMap heights(lastX, lastY);
        for (int i = 0; i < int(cells.size()); ++i) {
            heights(i % (lastX + 1), i / (lastX + 1)) = std::uint8_t(cells[i]);
        }
        EXPECT_EQ(rangeDataBytes(heights, lastX, lastY), bytes) << name;
    }
}

// The export window's test covers "out" and "out.txt".
TEST(RangeData, PathGetsTxtUnlessTheFourthLastCharacterIsADot) {
    const std::tuple<QString, QString, QString> rows[] = {
        {"/work", "report.csv", "/work/report.csv"},
        {"/work", "data.c", "/work/data.c.txt"},
        {"/work", "x.jpeg", "/work/x.jpeg.txt"},
        {"/", "data", "//data.txt"},
        {"/", "a", "//a.txt"},
    };
    for (const auto& [directory, typed, path] : rows) {
        EXPECT_EQ(rangeDataPath(directory, typed), path) << typed.toStdString();
    }
}

}  // namespace
}  // namespace kestrane
