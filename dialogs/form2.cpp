#include "dialogs/form2.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "windowing/dir_list_box.h"
#include "windowing/drive_list_box.h"
#include "windowing/file_list_box.h"

namespace kestrane {

namespace {

constexpr std::array<const char*, 3> kOptionCaptions{"GIF", "JPG", "ALL TYPE"};
constexpr std::array<const char*, 3> kOptionPatterns{"*.gif", "*.jpg", "*.*"};

}  // namespace

Form2::Form2() : FileDialog("読み込み", kClientWidth, kClientHeight, kOptionPatterns[0]) {
    Drive1->setGeometry(8, 8, 145, 20);
    Dir1->setGeometry(8, 40, 145, 160);
    File1->setGeometry(160, 8, 217, 270);
    Frame1 = new QGroupBox("FileType", this);
    Frame1->setGeometry(8, 208, 145, 73);
    for (int i = 0; i < int(Option1.size()); ++i) {
        Option1[i] = new QRadioButton(kOptionCaptions[i], Frame1);
        Option1[i]->setGeometry(8, 16 + 16 * i, 129, 17);
    }
    Option1[0]->setChecked(true);
    Command1 = new QPushButton("読み込む", this);
    Command1->setGeometry(384, 16, 89, 33);
    Command2 = new QPushButton("キャンセル", this);
    Command2->setGeometry(384, 64, 89, 33);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, File1);
    setTabOrder(File1, Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Option1[2]);
    setTabOrder(Option1[2], Command1);
    setTabOrder(Command1, Command2);

    for (int i = 0; i < int(Option1.size()); ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) {
                Option1_Click(i);
            }
        });
    }
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

void Form2::Option1_Click(int index) {
    if (index >= 0 && index < int(kOptionPatterns.size())) {
        File1->setPattern(kOptionPatterns[index]);
    }
}

void Form2::Command1_Click() { hide(); }

void Form2::Command2_Click() { unload(); }

}  // namespace kestrane
