#pragma once

#include "dialogs/file_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrane {

// The range-data save dialog "指定範囲データ保存": the user picks a folder and types or clicks a
// file name. "保存" only hides the dialog, which lives on for the next export in the folder the
// user left it in; the caller reads Dir1's directory and Text1's name.
class Form6 : public FileDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 401;
    static constexpr int kClientHeight = 273;

    Form6();

    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label1 = nullptr;

    void Form_Activate();
    void File1_Click();
    void Command1_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace kestrane
