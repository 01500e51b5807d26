#include "dialogs/open_command.h"

#include <QAction>

#include "dialogs/form2.h"
#include "dialogs/last_directory.h"
#include "windowing/file_list_box.h"
#include "windowing/form_slot.h"
#include "windowing/message_box.h"
#include "workspace/form1.h"
#include "workspace/picture_loading.h"

namespace kestrane {

bool openPictureFile(form1& main, const QString& path) {
    if (!showPictureFile(main, path)) {
        MsgBox("ピクチャが不正です。", vbCritical, "警告");
        return false;
    }
    captureCanvas(main);
    return true;
}

void open1_Click(form1& main) {
    if (FormSlot<Form2>::existing() == nullptr) {
        enterSamplesBeforeFirstDialog();
    }
    form<Form2>().showModal();
    // A cancelled dialog is gone by now, so this builds a fresh one, whose name is empty.
    const QString fileName = form<Form2>().File1->fileName();
    // A refused file keeps the dialog as the user left it.
    if (fileName.isEmpty() || openPictureFile(main, form<Form2>().File1->path() + "/" + fileName)) {
        FormSlot<Form2>::unload();
    }
}

void installOpenCommand(form1& main) {
    QObject::connect(main.open1, &QAction::triggered, &main, [&main] { open1_Click(main); });
    // Queued, so that the drop has ended before a refusal box waits for its answer.
    QObject::connect(
        &main, &form1::pictureDropped, &main,
        [&main](const QString& path) { openPictureFile(main, path); }, Qt::QueuedConnection);
}

}  // namespace kestrane
