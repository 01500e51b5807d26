#pragma once

#include <array>

#include "windowing/form_window.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kestrane {

class DirListBox;
class DriveListBox;
class FileListBox;

// The open dialog "読み込み": the user browses to a picture file and picks it. "読み込む" only
// hides the dialog; the caller reads File1's directory and selected name and then unloads it.
class Form2 : public FormWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 480;
    static constexpr int kClientHeight = 289;

    Form2();

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> Option1{};  // GIF, JPG, ALL TYPE
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    void Form_Load() override;
    void Form_Unload() override;
    void Option1_Click(int index);
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click();
    void Command2_Click();
};

}  // namespace kestrane
