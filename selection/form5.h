#pragma once

#include <array>

#include "windowing/form_window.h"

class QLabel;
class QPushButton;

namespace kestrane {

class PictureBox;

// The cross-section window "断面図": the horizontal profile above, the vertical one below.
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
};

}  // namespace kestrane
