#pragma once

namespace kestrane {

class form1;

// "指定範囲データ保存(&S)": asks for a file name in the save dialog and writes the heights of the
// selected region (regionHeights over 0..regionWidth x 0..regionHeight) there as text, replacing
// any file of that name whole. A cancelled dialog writes nothing; a file that cannot be written
// is reported and leaves an old file of that name as it was.
void save1_Click(form1& main);

// Connects the main window's range-data menu item.
void installRangeExport(form1& main);

}  // namespace kestrane
