#include "dialogs/form6.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "windowing/dir_list_box.h"
#include "windowing/drive_list_box.h"
#include "windowing/file_list_box.h"
#include "windowing/message_box.h"

namespace kestrane {

Form6::Form6() : FileDialog("指定範囲データ保存", kClientWidth, kClientHeight, "*.txt") {
    Drive1->setGeometry(8, 8, 145, 20);
    Dir1->setGeometry(8, 32, 145, 174);
    File1->setGeometry(160, 8, 233, 198);
    Text1 = new QLineEdit(this);
    Text1->setGeometry(80, 216, 313, 18);
    Command1 = new QPushButton("保存", this);
    Command1->setGeometry(192, 240, 97, 25);
    Command2 = new QPushButton("キャンセル", this);
    Command2->setGeometry(296, 240, 97, 25);
    Label1 = new QLabel("ファイル名", this);
    Label1->setGeometry(8, 216, 65, 17);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, File1);
    setTabOrder(File1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);

    connect(File1, &FileListBox::Click, this, &Form6::File1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form6::Command2_Click);
}

// Files may have come and gone since the dialog was last shown, and a name typed then is stale.
void Form6::Form_Activate() {
    Drive1->refresh();
    Dir1->refresh();
    File1->refresh();
    Text1->setText(QString());
}

void Form6::File1_Click() { Text1->setText(File1->fileName()); }

void Form6::Command1_Click() {
    if (Text1->text().isEmpty()) {
        MsgBox("ファイル名を入力してください。", vbCritical, "警告");
        return;
    }
    hide();
}

void Form6::Command2_Click() { unload(); }

// Showing from code activates; the window system restoring a minimised dialog does not.
void Form6::showEvent(QShowEvent* event) {
    FileDialog::showEvent(event);
    if (!event->spontaneous()) {
        Form_Activate();
    }
}

}  // namespace kestrane
