#include "selection/form5.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "windowing/copy_shortcut.h"
#include "windowing/picture_box.h"

namespace kestrane {

Form5::Form5() : FormWindow("断面図", 529, 353) {
    Label1[0] = new QLabel("横方向", this);
    Label1[0]->setGeometry(8, 8, 137, 25);
    Picture1 = new PictureBox(this, 8, 32, kChartWidth, kChartHeight, QColor(kChartBackground));
    Label1[1] = new QLabel("縦方向", this);
    Label1[1]->setGeometry(8, 160, 137, 25);
    Picture2 = new PictureBox(this, 8, 184, kChartWidth, kChartHeight, QColor(kChartBackground));
    Command1 = new QPushButton("閉じる", this);
    Command1->setGeometry(432, 312, 89, 33);

    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    installCopyShortcut(*this, [this] {
        QImage charts(kChartWidth, 2 * kChartHeight, QImage::Format_RGB32);
        QPainter painter(&charts);
        painter.drawImage(0, 0, Picture1->bitmap());
        painter.drawImage(0, kChartHeight, Picture2->bitmap());
        painter.end();
        return CopiedContent{charts, profilesText};
    });
}

void Form5::Command1_Click() { unload(); }

}  // namespace kestrane
