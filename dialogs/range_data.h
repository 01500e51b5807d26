#pragma once

#include <QByteArray>
#include <QString>

#include "workspace/height_map.h"

namespace kestrane {

// The range-data file of the region 0..lastX x 0..lastY of heights, which must cover it
// (lastX, lastY >= 0). First the header " lastX lastY", then for y = 0..lastY one line of the
// heights x = 0..lastX, each divided by 3 and rounded down (0..93 gives 0..31, 255 gives 85).
// Every number is one space and its digits; every line, the last one included, ends in CR LF.
QByteArray rangeDataBytes(const HeightMap& heights, int lastX, int lastY);

// Where the export writes: directory, "/", name, joined as they stand (the root "/" gives
// "//name"). ".txt" is appended unless the fourth-last character of that whole path is "."
// (data -> data.txt, data.c -> data.c.txt; data.csv and a.jpg stay as they are).
QString rangeDataPath(const QString& directory, const QString& name);

}  // namespace kestrane
