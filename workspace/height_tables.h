#pragma once

#include <QByteArray>

#include "workspace/height_map.h"

namespace kestrane {

// Heights as tab-separated text with a header row, for pasting into a spreadsheet. Heights are
// written as they are held (0..93, not divided); every line, the last one included, ends in
// CR LF, as spreadsheets themselves put rows on the clipboard.

// The region 0..lastX x 0..lastY of heights, which must cover it (lastX, lastY >= 0): a header
// row of an empty cell and the x indices 0..lastX, then for y = 0..lastY a row of y and the
// heights x = 0..lastX.
QByteArray regionHeightsTable(const HeightMap& heights, int lastX, int lastY);

// The profiles through the point (x, y) of a whole-picture map (0..512 x 0..512): the header
// "position", "horizontal", "vertical", then for d = 0..512 a row of d, heights[d, y] and
// heights[x, d]. x and y must lie in 0..512.
QByteArray pointProfilesTable(const HeightMap& heights, int x, int y);

}  // namespace kestrane
