#pragma once

#include <QByteArray>
#include <array>

#include "windowing/form_window.h"

class QLabel;
class QPushButton;

namespace kestrane {

class PictureBox;

// The cross-section window "断面図": the horizontal profile above, the vertical one below. Ctrl+C
// copies both charts, stacked, with the profiles' heights.
class Form5 : public FormWindow {
    Q_OBJECT

public:
    static constexpr int kChartWidth = 512;
    static constexpr int kChartHeight = 117;
    // A fresh chart box is black, like the canvas the upper chart is drawn on.
    static constexpr QRgb kChartBackground = 0xFF000000u;

    Form5();

    std::array<QLabel*, 2> Label1{};
    PictureBox* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    QPushButton* Command1 = nullptr;

    void Command1_Click();

    // The heights this window's charts show, as the copy gives them; kept with the window, since
    // a later selection rebuilds the main window's map.
    QByteArray profilesText;
};

}  // namespace kestrane
