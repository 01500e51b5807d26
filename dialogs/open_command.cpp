#include "dialogs/open_command.h"

#include <QAction>

#include "dialogs/form2.h"
#include "windowing/file_list_box.h"
#include "windowing/form_slot.h"
#include "windowing/message_box.h"
#include "workspace/form1.h"
#include "workspace/picture_loading.h"

namespace kestrane {

void open1_Click(form1& main) {
    form<Form2>().showModal();
    // A cancelled dialog is gone by now, so this builds a fresh one, whose name is empty.
    const QString fileName = form<Form2>().File1->fileName();
    const bool chosen = !fileName.isEmpty();
    if (chosen && !showPictureFile(main, form<Form2>().File1->path() + "/" + fileName)) {
        MsgBox("ピクチャが不正です。", vbCritical, "警告");
        return;
    }
    FormSlot<Form2>::unload();
    if (chosen) {
        captureCanvas(main);
    }
}

void installOpenCommand(form1& main) {
    QObject::connect(main.open1, &QAction::triggered, &main, [&main] { open1_Click(main); });
}

}  // namespace kestrane
