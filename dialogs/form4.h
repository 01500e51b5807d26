#pragma once

#include "windowing/form4_design.h"

namespace kestrane {

// The settings dialog: shows and edits the selection's start and end points and carries the
// monochrome switch, which it mirrors into the graph window's box.
class Form4 : public Form4Design {
    Q_OBJECT

public:
    Form4();

    void Form_Load() override;
    void Check1_Click();
};

// Makes the settings dialog's design come up with its behaviour.
void installSettingsDialog();

}  // namespace kestrane
