#pragma once

#include <array>

#include "dialogs/file_dialog.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kestrane {

// The open dialog "読み込み": the user browses to a picture file and picks it. "読み込む" only
// hides the dialog; the caller reads File1's directory and selected name and then unloads it.
class Form2 : public FileDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 480;
    static constexpr int kClientHeight = 289;

    Form2();

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> Option1{};  // GIF, JPG, ALL TYPE
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    void Option1_Click(int index);
    void Command1_Click();
    void Command2_Click();
};

}  // namespace kestrane
