#pragma once

#include <QString>

namespace kestrane {

class form1;

// Loads the picture file at path into the workspace: shows it on the canvas, captures the canvas
// and resets the graph's angles. A file that cannot be decoded is reported with the refusal box
// and changes nothing. The open dialog, the command line and a drop all load through here; it
// touches neither the settings file nor the working directory. False when refused.
bool openPictureFile(form1& main, const QString& path);

// "読み込み(&O)": shows the open dialog and loads the chosen picture into the workspace. A file
// that cannot be decoded is reported and leaves everything, the dialog included, as it was.
// When no file is chosen the workspace is left alone.
void open1_Click(form1& main);

// Connects the main window's open menu item, and a picture dropped on the window, to loading.
void installOpenCommand(form1& main);

}  // namespace kestrane
