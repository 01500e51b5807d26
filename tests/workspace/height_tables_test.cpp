#include "workspace/height_tables.h"

#include <gtest/gtest.h>

#include <QList>
#include <vector>

namespace kestrane {
namespace {

TEST(HeightTables, RegionHeightsAsTheyAreHeldOneRowPerY) {
    // The heights are given row by row; the map is one cell larger than the region each way.
    const std::tuple<const char*, int, int, std::vector<int>, QByteArray> rows[] = {
        {"oneCell", 0, 0, {93}, "\t0\r\n0\t93\r\n"},
        {"notDividedBy3", 4, 0, {0, 10, 47, 50, 93}, "\t0\t1\t2\t3\t4\r\n0\t0\t10\t47\t50\t93\r\n"},
        {"byY", 1, 2, {0, 3, 30, 33, 60, 63}, "\t0\t1\r\n0\t0\t3\r\n1\t30\t33\r\n2\t60\t63\r\n"},
    };
    for (const auto& [name, lastX, lastY, cells, bytes] : rows) {
        HeightMap heights(lastX + 1, lastY + 1);
        for (int i = 0; i < int(cells.size()); ++i) {
            heights(i % (lastX + 1), i / (lastX + 1)) = std::uint8_t(cells[i]);
        }
        heights(lastX + 1, lastY + 1) = 77;  // beyond the region: never written
        EXPECT_EQ(regionHeightsTable(heights, lastX, lastY), bytes) << name;
    }
}

TEST(HeightTables, ProfilesAlongTheRowAndTheColumnThroughThePoint) {
    // Height (x + 2y) % 94 at [x, y].
    HeightMap heights(512, 512);
    for (int x = 0; x <= 512; ++x) {
        for (int y = 0; y <= 512; ++y) heights(x, y) = std::uint8_t((x + 2 * y) % 94);
    }
    const QList<QByteArray> lines = pointProfilesTable(heights, 100, 200).split('\n');
    ASSERT_EQ(lines.size(), 515);  // the header, 513 positions, and nothing after the last CR LF
    const std::tuple<const char*, int, QByteArray> rows[] = {
        {"header", 0, "position\thorizontal\tvertical\r"},
        {"first", 1, "0\t24\t6\r"},
        {"thePoint", 201, "200\t36\t30\r"},
        {"pastThePoint", 202, "201\t37\t32\r"},
        {"last", 513, "512\t66\t90\r"},
        {"end", 514, ""},
    };
    for (const auto& [name, line, bytes] : rows) EXPECT_EQ(lines[line], bytes) << name;
}

}  // namespace
}  // namespace kestrane
