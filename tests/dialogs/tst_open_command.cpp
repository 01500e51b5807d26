#include <QtTest>

#include "dialogs/form2.h"
#include "dialogs/open_command.h"
#include "tests/support/drop.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/file_list_box.h"
#include "windowing/file_names.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/application_folder.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"

namespace kestrane {

// pictures/<name> comes from open_<source>.gif (converted for a PNG; without a source it holds a
// line of text) and is selected; action then befalls it before "読み込む", or ends the dialog.
// outcome: "loaded", "refused", or the folder (below the sandbox) the settings file holds in the
// end.
struct OpenCase {
    QString name, source, action, outcome;
};

class OpenCommandTest : public QObject {
    Q_OBJECT

    // The windows go while the sandbox is still the application folder they write into.
    static auto unloadWindowsAtTheEnd() {
        return qScopeGuard([] {
            FormSlot<Form2>::unload();
            FormSlot<form1>::unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
    }

private slots:
    void initTestCase() {
        setEndProgramAction([] {});
    }
    void open_data() {
        QTest::addColumn<OpenCase>("row");
        QTest::newRow("GIF") << OpenCase{"a.gif", "640x480", "", "loaded"};
        QTest::newRow("PNG under ALL TYPE") << OpenCase{"a.png", "640x480", "", "loaded"};
        QTest::newRow("a name that is not UTF-8")
            << OpenCase{decodeFileName("caf\xE9.gif"), "300x200", "", "loaded"};
        QTest::newRow("キャンセル") << OpenCase{"a.gif", "300x200", "cancel", "."};
        QTest::newRow("close box") << OpenCase{"a.gif", "300x200", "close", "."};
        QTest::newRow("読み込む, nothing selected")
            << OpenCase{"a.gif", "300x200", "none", "pictures"};
        QTest::newRow("text under ALL TYPE") << OpenCase{"a.txt", "", "", "refused"};
        QTest::newRow("file vanished") << OpenCase{"a.gif", "300x200", "vanish", "refused"};
        QTest::newRow("file became a folder") << OpenCase{"a.gif", "300x200", "folder", "refused"};
    }
    void open() {
        QFETCH(OpenCase, row);
        const auto& [name, source, action, outcome] = row;
        const testing::Sandbox sandbox;
        const auto unload = unloadWindowsAtTheEnd();
        const QString folder = sandbox.file("pictures"), path = folder + "/" + name;
        const QString data = KESTRANE_TEST_DATA "/open_" + source + ".gif";
        QDir().mkdir(folder);
        if (source.isEmpty()) {
            sandbox.write("pictures/" + name, "text\r\n");
        } else if (name.endsWith(".png")) {
            QVERIFY(QImage(data).save(path));
        } else {
            QFile in(data);
            QVERIFY(in.open(QIODevice::ReadOnly));
            sandbox.write("pictures/" + name, in.readAll());
        }
        form1& main = form<form1>();
        main.Picture1->bitmap().fill(qRgb(20, 90, 160));
        const auto workspace = [&main] {
            return std::tuple(main.basePix, main.viewPix, main.angleA, main.angleR,
                              main.Picture1->bitmap().copy());
        };
        const auto before = workspace();
        QDir::setCurrent(folder);  // where the dialog starts
        Form2* const dialog = &form<Form2>();
        dialog->Option1_Click(name.endsWith(".gif") ? 0 : 2);
        dialog->File1->setCurrentRow(action == "none" ? -1 : 0);
        if (action == "vanish" || action == "folder") QFile::remove(path);
        if (action == "folder") QDir().mkdir(path);
        const QByteArray settings = sandbox.read("Kestrane.ini");
        QStringList shown;  // the file selected each time a dialog shows
        testing::ModalAnswerer answerer([&](QWidget* modal) {
            auto& answered = *qobject_cast<Form2*>(modal);
            shown << answered.File1->path() + "/" + answered.File1->fileName();
            if (action == "close") return void(answered.close());
            action == "cancel" || shown.size() > 1 ? answered.Command2_Click()
                                                   : answered.Command1_Click();
        });
        open1_Click(main);

        QCOMPARE(answerer.messages().size(), std::size_t(outcome == "refused"));
        if (outcome == "loaded") {
            // Canvas pixel (x, y) lands in grid cell [x, y + 1].
            const QImage picture = QImage(data).convertToFormat(QImage::Format_RGB32);
            for (const QPoint p : {QPoint(0, 0), QPoint(299, 199)}) {
                const Pixel cell = main.basePix(p.x(), p.y() + 1);
                QCOMPARE(qRgb(cell.red, cell.green, cell.blue), picture.pixel(p));
            }
        }
        QVERIFY(outcome == "loaded" ? main.viewPix == main.basePix : workspace() == before);
        QCOMPARE(FormSlot<Form2>::existing(), outcome == "refused" ? dialog : nullptr);
        if (outcome != "refused") {
            // A cancelled or closed dialog is gone, so open1_Click builds another to read the
            // chosen name; that one records where it started, the application folder.
            const QString recorded =
                QDir::cleanPath(sandbox.file(outcome == "loaded" ? "pictures" : outcome));
            QCOMPARE(sandbox.read("Kestrane.ini"), QFile::encodeName(recorded) + "/\r\n");
            return;
        }
        QCOMPARE(answerer.messages().front().text, QString("ピクチャが不正です。"));
        QCOMPARE(answerer.messages().front().title, QString("警告"));
        QCOMPARE(answerer.messages().front().icon, QMessageBox::Critical);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(sandbox.read("Kestrane.ini"), settings);
        open1_Click(main);
        QCOMPARE(shown, QStringList(2, path));
    }

    // Installed where the user cannot write (here: a program folder that does not exist), with
    // its samples beside its bin folder and no folder remembered yet, the first dialog lists the
    // samples; so does the next, once the first has recorded them.
    void firstDialogOfAnInstalledCopyListsTheSamples() {
        QStandardPaths::setTestModeEnabled(true);
        const testing::Sandbox sandbox;
        const auto unload = unloadWindowsAtTheEnd();
        const QString settings =
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/Kestrane.ini";
        QFile::remove(settings);
        const QString samples = sandbox.file("usr/share/kestrane/samples");
        QVERIFY(QDir().mkpath(samples));
        QVERIFY(QFile::copy(KESTRANE_TEST_DATA "/open_300x200.gif", samples + "/hill.gif"));
        setApplicationFolder(sandbox.file("usr/bin"));
        QStringList listed;
        testing::ModalAnswerer answerer([&](QWidget* modal) {
            auto& dialog = *qobject_cast<Form2*>(modal);
            const QListWidgetItem* first = dialog.File1->item(0);
            listed << dialog.File1->path() + ": " + (first ? first->text() : "");
            dialog.Command2_Click();
        });
        form1& main = form<form1>();
        open1_Click(main);
        QCOMPARE(QDir::currentPath(), samples);
        open1_Click(main);
        QCOMPARE(listed, QStringList(2, samples + ": hill.gif"));
        QFile written(settings);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QFile::encodeName(samples) + "/\r\n");
    }

    // A dropped picture loads as a picture named on the command line does, once the drop has
    // ended: at the start angles, with no dialog and so no settings file.
    void dropLoadsThePicture() {
        const testing::Sandbox sandbox;
        const auto unload = unloadWindowsAtTheEnd();
        QVERIFY(QFile::copy(KESTRANE_TEST_DATA "/open_300x200.gif", "hill.gif"));
        form1& main = form<form1>();
        installOpenCommand(main);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(sandbox.file("hill.gif"))});
        testing::dropOn(main, data);
        QVERIFY(!main.Picture1->isEnabled());
        QCoreApplication::sendPostedEvents(&main, QEvent::MetaCall);
        QVERIFY(main.Picture1->isEnabled());
        QCOMPARE(std::pair(main.angleA, main.angleR), std::pair(kStartAngleA, kStartAngleR));
        QVERIFY(!QFile::exists(sandbox.file("Kestrane.ini")));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::OpenCommandTest)
#include "tst_open_command.moc"
