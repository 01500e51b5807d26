#include "windowing/form3_design.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "windowing/picture_box.h"

namespace kestrane {

// Controls are created in tab order.
Form3Design::Form3Design() : FormWindow("グラフ", kClientWidth, kClientHeight) {
    Picture1 = new PictureBox(this, 8, 8, kCanvasSize, kCanvasSize, Qt::black);

    Check1 = new QCheckBox("モノクロ表示", this);
    Check1->setGeometry(16, 472, 89, 17);
    Check1->setChecked(true);
    // The caption must fit the designed width whatever font the desktop gives it.
    QFont captionFont = Check1->font();
    while (Check1->sizeHint().width() > Check1->width() && captionFont.pointSizeF() > 6) {
        captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
        Check1->setFont(captionFont);
    }

    Label1 = new QLabel("ファイル名", this);
    Label1->setGeometry(136, 472, 73, 25);

    Text1 = new QLineEdit("3D", this);
    Text1->setGeometry(208, 472, 113, 18);

    Command2 = new QPushButton("保存", this);
    Command2->setGeometry(344, 472, 105, 25);

    Label2 = new QLabel("圧縮率", this);
    Label2->setGeometry(8, 504, 49, 17);

    Text2 = new QLineEdit(QString::number(kDefaultCompression), this);
    Text2->setGeometry(56, 504, 25, 18);
    Text2->setMaxLength(3);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setGeometry(88, 504, 249, 17);
    HScroll1->setRange(0, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setValue(kDefaultCompression);

    Command1 = new QPushButton("閉じる", this);
    Command1->setGeometry(344, 504, 105, 25);
}

}  // namespace kestrane
