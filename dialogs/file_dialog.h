#pragma once

#include "windowing/form_window.h"

namespace kestrane {

class DirListBox;
class DriveListBox;
class FileListBox;

// What the open and the save dialog share: a drive, a directory and a file list that follow one
// another, and the directory the user last left a dialog in, kept in the settings file. A new
// dialog takes it up when it is loaded and records its own when it is unloaded. The dialog places
// the lists itself.
class FileDialog : public FormWindow {
    Q_OBJECT

public:
    FileDialog(const QString& caption, int clientWidth, int clientHeight, const QString& pattern);

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;

    void Form_Load() override;
    void Form_Unload() override;
    void Drive1_Change();
    void Dir1_Change();
};

}  // namespace kestrane
