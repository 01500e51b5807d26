#include "dialogs/range_data.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace kestrane {
namespace {

struct BytesRow {
    std::string name;
    int lastX, lastY;
    int (*height)(int x, int y);
    QByteArray bytes;
};

class RangeDataBytes : public ::testing::TestWithParam<BytesRow> {};

TEST_P(RangeDataBytes, WritesTheHeightsDividedByThree) {
    const BytesRow& row = GetParam();
    HeightMap heights(row.lastX, row.lastY);
    for (int x = 0; x <= row.lastX; ++x) {
        for (int y = 0; y <= row.lastY; ++y) heights(x, y) = std::uint8_t(row.height(x, y));
    }
    EXPECT_EQ(rangeDataBytes(heights, row.lastX, row.lastY), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    , RangeDataBytes,
    ::testing::Values(BytesRow{"region_30_by_0", 30, 0, [](int, int) { return 0; },
                               " 30 0\r\n" + QByteArray(" 0").repeated(31) + "\r\n"},
                      BytesRow{"heights_0_10_47_50_93", 4, 0,
                               [](int x, int) {
                                   return std::array{0, 10, 47, 50, 93}[x];
                               },
                               " 4 0\r\n 0 3 15 16 31\r\n"},
                      BytesRow{"a_line_per_y", 1, 2, [](int x, int y) { return 30 * y + 3 * x; },
                               " 1 2\r\n 0 1\r\n 10 11\r\n 20 21\r\n"}),
    testing::CaseName());

struct PathRow {
    std::string name;
    const char *directory, *typed, *path;
};

class RangeDataPath : public ::testing::TestWithParam<PathRow> {};

TEST_P(RangeDataPath, AppendsTxtUnlessTheFourthLastCharacterIsADot) {
    EXPECT_EQ(rangeDataPath(GetParam().directory, GetParam().typed), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    , RangeDataPath,
    ::testing::Values(PathRow{"data", "/work", "data", "/work/data.txt"},
                      PathRow{"data_txt", "/work", "data.txt", "/work/data.txt"},
                      PathRow{"report_csv", "/work", "report.csv", "/work/report.csv"},
                      PathRow{"a_jpg", "/work", "a.jpg", "/work/a.jpg"},
                      PathRow{"data_c", "/work", "data.c", "/work/data.c.txt"},
                      PathRow{"x_jpeg", "/work", "x.jpeg", "/work/x.jpeg.txt"},
                      PathRow{"japanese", "/work", "データ", "/work/データ.txt"},
                      PathRow{"root", "/", "data", "//data.txt"},
                      PathRow{"path_shorter_than_four", "/", "a", "//a.txt"}),
    testing::CaseName());

}  // namespace
}  // namespace kestrane
