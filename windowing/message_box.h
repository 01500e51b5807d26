#pragma once

#include <QString>

namespace kestrane {

// Message-box styles the program uses; each box has one OK button.
enum MsgBoxStyle : int {
    vbCritical = 16,     // refusals and errors, stop icon
    vbInformation = 64,  // confirmations, information icon
};

// Shows a modal message box and returns when the user closes it.
void MsgBox(const QString& text, MsgBoxStyle style, const QString& title);

}  // namespace kestrane
