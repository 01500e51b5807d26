#pragma once

namespace kestrane {

class form1;

// "読み込み(&O)": shows the open dialog and loads the chosen picture into the workspace. A file
// that cannot be decoded is reported and leaves everything, the dialog included, as it was.
// When no file is chosen the workspace is left alone.
void open1_Click(form1& main);

// Connects the main window's open menu item.
void installOpenCommand(form1& main);

}  // namespace kestrane
