#include "windowing/form4_design.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrane {

namespace {

QLabel* makeLabel(const QString& caption, QWidget* frame, int x, int y, int width) {
    auto* label = new QLabel(caption, frame);
    label->setGeometry(x, y, width, 17);
    return label;
}

}  // namespace

// Controls are created in tab order; those inside a frame are placed relative to it.
Form4Design::Form4Design() : FormWindow("設定", kClientWidth, kClientHeight) {
    Frame1 = new QGroupBox("表示", this);
    Frame1->setGeometry(8, 8, 241, 57);

    Check1 = new QCheckBox("モノクロ表示", Frame1);
    Check1->setGeometry(16, 24, 97, 17);
    Check1->setChecked(true);

    Command1 = new QPushButton("OK", this);
    Command1->setGeometry(16, 224, 97, 25);

    Frame2 = new QGroupBox("座標", this);
    Frame2->setGeometry(8, 72, 241, 145);

    constexpr std::array<int, 4> kBoxTops{32, 56, 96, 120};
    for (std::size_t index = 0; index < Text1.size(); ++index) {
        Text1[index] = new QLineEdit(Frame2);
        Text1[index]->setGeometry(24, kBoxTops[index], 105, 18);
    }

    Label1 = makeLabel("X", Frame2, 8, kBoxTops[0], 17);
    Label2 = makeLabel("Y", Frame2, 8, kBoxTops[1], 17);
    Label3 = makeLabel("X", Frame2, 8, kBoxTops[2], 17);
    Label4 = makeLabel("Y", Frame2, 8, kBoxTops[3], 17);
    Label5 = makeLabel("始点", Frame2, 8, 16, 49);
    Label6 = makeLabel("終点", Frame2, 8, 80, 49);

    Command2 = new QPushButton("適用", this);
    Command2->setGeometry(144, 224, 97, 25);
    Command2->setEnabled(false);
}

}  // namespace kestrane
