#include <sys/fsuid.h>
#include <unistd.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <optional>

#include "dialogs/form6.h"
#include "dialogs/range_export.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/dir_list_box.h"
#include "windowing/file_list_box.h"
#include "windowing/form_slot.h"
#include "workspace/form1.h"

namespace kestrane {

QString seen(const testing::SeenMessage& box) {
    return box.title + ' ' + QString::number(box.icon) + ' ' + box.text;
}
QString warning(const char* text) { return seen({"警告", text, QMessageBox::Critical}); }
const QString kSaved = seen({"確認", "ファイルに保存しました。", QMessageBox::Information});
const QByteArray kOld = "old content\r\n", kBytes = " 1 0\r\n 31 3\r\n";

// out/out.txt holds `before` ("file"; "full": a file, and a file-size limit during the save;
// "locked": a file in a folder the save may not write to); the user browses from the sandbox to
// out/ and `answer`s ("save", "empty": 保存 once with no name first, "pick": the listed file,
// "cancel") with the name typed. Then the boxes seen and what out/out.txt holds, with nothing
// else left in out/. A second export saves "again" each time.
struct ExportCase {
    QString before, answer, typed;
    QStringList messages;
    QByteArray bytes;
};

class RangeExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installRangeExport(form<form1>()); }

    void exportRegion_data() {
        QTest::addColumn<ExportCase>("row");
        QTest::newRow("保存") << ExportCase{"", "save", "out", {kSaved}, kBytes};
        QTest::newRow("empty name, then 保存") << ExportCase{
            "", "empty", "out", {warning("ファイル名を入力してください。"), kSaved}, kBytes};
        QTest::newRow("listed file replaced") << ExportCase{"file", "pick", "", {kSaved}, kBytes};
        const QString noName = warning("ファイル名が入力されていません。");
        QTest::newRow("キャンセル") << ExportCase{"file", "cancel", "out", {noName}, kOld};
        const QString failed = warning("ファイルを保存できませんでした。");
        QTest::newRow("disk full") << ExportCase{"full", "save", "out", {failed}, kOld};
        QTest::newRow("no permission") << ExportCase{"locked", "save", "out", {failed}, kOld};
    }
    void exportRegion() {
        QFETCH(ExportCase, row);
        const testing::Sandbox sandbox;
        // The dialog goes while the sandbox is still the application folder it writes into.
        const auto unload = qScopeGuard([] {
            FormSlot<Form6>::unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        const QString out = sandbox.file("out");
        QDir().mkpath(out);
        if (row.before != "") sandbox.write("out/out.txt", kOld);
        sandbox.write("Kestrane.ini", QFile::encodeName(out) + "/\r\n");
        form1& main = form<form1>();
        main.regionHeights = HeightMap(1, 0);
        main.regionHeights(0, 0) = 93;
        main.regionHeights(1, 0) = 10;
        main.regionWidth = 1;
        main.regionHeight = 0;
        main.save1->setEnabled(true);
        std::optional<testing::FileSizeLimit> diskFull;
        QStringList shown;  // at each showing: the folder, the name box, the listed files
        testing::ModalAnswerer answerer([&](QWidget* modal) {
            auto& dialog = *qobject_cast<Form6*>(modal);
            QStringList listed;
            for (int i = 0; i < dialog.File1->count(); ++i) listed << dialog.File1->item(i)->text();
            shown << dialog.Dir1->path() + '|' + dialog.Text1->text() + '|' + listed.join(',');
            if (shown.size() == 2) return dialog.Text1->setText("again"), dialog.Command1->click();
            dialog.Dir1->setPath(out);
            if (row.answer == "empty") dialog.Command1->click();
            row.answer == "pick" ? dialog.File1->setCurrentRow(0)
                                 : dialog.Text1->setText(row.typed);
            if (row.answer == "cancel") return dialog.Command2->click();
            if (row.before == "full") diskFull.emplace(4);
            if (row.before == "locked") {
                QFile::setPermissions(out, QFile::ReadOwner | QFile::ExeOwner);
                // Root passes every permission check, unless it acts on files as another user.
                if (geteuid() == 0) setfsuid(65534);
            }
            dialog.Command1->click();
        });
        main.save1->trigger();
        diskFull.reset();
        if (row.before == "locked") {
            if (geteuid() == 0) setfsuid(0);
            QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QCOMPARE(sandbox.read("out/out.txt"), row.bytes);
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"out.txt"});

        // The next export comes up in out/ with an empty name box and the files there now.
        main.save1->trigger();
        QStringList messages;
        for (const testing::SeenMessage& box : answerer.messages()) messages << seen(box);
        QCOMPARE(messages, row.messages + QStringList{kSaved});
        QCOMPARE(shown, QStringList({sandbox.path() + "||", out + "||out.txt"}));
        QCOMPARE(sandbox.read("out/again.txt"), kBytes);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::RangeExportTest)
#include "tst_range_export.moc"
