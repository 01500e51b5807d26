#pragma once

#include <array>

#include "windowing/form_window.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrane {

// The settings dialog "設定" as designed: the monochrome switch in the frame "表示", the start and
// end point boxes Text1(0..3) (start x, start y, end x, end y) in the frame "座標", and the
// buttons "OK" and "適用". Behaviour is added by the dialogs library through this design's factory.
class Form4Design : public FormWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 257;
    static constexpr int kClientHeight = 256;

    Form4Design();

    QGroupBox* Frame1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QLineEdit*, 4> Text1{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Command2 = nullptr;
};

}  // namespace kestrane
