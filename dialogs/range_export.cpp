#include "dialogs/range_export.h"

#include <QAction>
#include <QLineEdit>

#include "dialogs/form6.h"
#include "dialogs/range_data.h"
#include "windowing/dir_list_box.h"
#include "windowing/form_slot.h"
#include "windowing/message_box.h"
#include "workspace/file_replacement.h"
#include "workspace/form1.h"

namespace kestrane {

void save1_Click(form1& main) {
    form<Form6>().showModal();
    // A cancelled or closed dialog is gone by now, so this builds a fresh one, whose name is empty.
    const Form6& dialog = form<Form6>();
    const QString name = dialog.Text1->text();
    if (name.isEmpty()) {
        MsgBox("ファイル名が入力されていません。", vbCritical, "警告");
        return;
    }
    const QByteArray bytes =
        rangeDataBytes(main.regionHeights, main.regionWidth, main.regionHeight);
    if (!replaceFileContents(rangeDataPath(dialog.Dir1->path(), name), bytes)) {
        MsgBox("ファイルを保存できませんでした。", vbCritical, "警告");
        return;
    }
    MsgBox("ファイルに保存しました。", vbInformation, "確認");
}

void installRangeExport(form1& main) {
    QObject::connect(main.save1, &QAction::triggered, &main, [&main] { save1_Click(main); });
}

}  // namespace kestrane
