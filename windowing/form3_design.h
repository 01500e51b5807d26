#pragma once

#include "windowing/form_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kestrane {

class PictureBox;

// The graph window "グラフ" as designed: the 450 x 450 graph canvas, the monochrome switch, the
// JPEG file name and compression value, and the save and close buttons. Behaviour is added by the
// graph library, which installs its window class as this design's factory.
class Form3Design : public FormWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 470;
    static constexpr int kClientHeight = 533;
    static constexpr int kCanvasSize = 450;
    static constexpr int kDefaultCompression = 90;

    Form3Design();

    PictureBox* Picture1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QPushButton* Command1 = nullptr;
};

}  // namespace kestrane
