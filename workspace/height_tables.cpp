#include "workspace/height_tables.h"

#include "workspace/pixel_grid.h"

namespace kestrane {

namespace {

void addCell(QByteArray& table, int value) {
    table += '\t';
    table += QByteArray::number(value);
}

}  // namespace

QByteArray regionHeightsTable(const HeightMap& heights, int lastX, int lastY) {
    Q_ASSERT(lastX >= 0 && lastY >= 0);
    Q_ASSERT(lastX <= heights.lastX() && lastY <= heights.lastY());
    QByteArray table;
    // Up to four bytes a cell: a tab and at most three digits.
    table.reserve(qsizetype(lastX + 2) * (lastY + 2) * 4 + (lastY + 2) * 2);
    for (int x = 0; x <= lastX; ++x) {
        addCell(table, x);
    }
    table += "\r\n";
    for (int y = 0; y <= lastY; ++y) {
        table += QByteArray::number(y);
        for (int x = 0; x <= lastX; ++x) {
            addCell(table, heights(x, y));
        }
        table += "\r\n";
    }
    return table;
}

QByteArray pointProfilesTable(const HeightMap& heights, int x, int y) {
    constexpr int kLast = PixelGrid::kSize - 1;
    Q_ASSERT(heights.lastX() == kLast && heights.lastY() == kLast);
    Q_ASSERT(x >= 0 && y >= 0 && x <= kLast && y <= kLast);
    QByteArray table = "position\thorizontal\tvertical\r\n";
    for (int d = 0; d <= kLast; ++d) {
        table += QByteArray::number(d);
        addCell(table, heights(d, y));
        addCell(table, heights(x, d));
        table += "\r\n";
    }
    return table;
}

}  // namespace kestrane
