#pragma once

#include "windowing/form4_design.h"

namespace kestrane {

class form1;

// The settings dialog: shows and edits the selection's start and end points, re-applies them
// through the main window's redraw2, and carries the monochrome switch, which it mirrors into the
// graph window's box. It first appears left of the main window.
class Form4 : public Form4Design {
    Q_OBJECT

public:
    explicit Form4(form1& main);

    void Form_Load() override;
    void Text1_Change(int index);
    void Command2_Click();
    void Command1_Click();
    void Check1_Click();

private:
    form1& main_;
};

// "設定(&E)": shows the settings dialog without waiting, creating it if needed.
void edit1_Click();

// Makes the settings dialog come up with its behaviour and connects the main window's settings
// menu item.
void installSettingsDialog(form1& main);

}  // namespace kestrane
