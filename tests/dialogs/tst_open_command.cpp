#include <QtTest>

#include "dialogs/form2.h"
#include "dialogs/open_command.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/file_list_box.h"
#include "windowing/file_names.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/application_folder.h"
#include "workspace/form1.h"

namespace kestrane {

// pictures/a.<type> comes from open_<source>.gif (converted for "jpg", "bmp", "png"; without a
// source it holds a line of text, or nothing for a GIF) and is selected; action then befalls it
// before "読み込む", or ends the dialog. outcome: "loaded", "refused", or the folder (below the
// sandbox) the settings file holds in the end.
struct OpenCase {
    QString type, source, action, outcome;
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
    void open_data() {
        QTest::addColumn<OpenCase>("row");
        QTest::newRow("GIF 640x480") << OpenCase{"gif", "640x480", "", "loaded"};
        QTest::newRow("GIF 1024x1024") << OpenCase{"GIF", "1024x1024", "", "loaded"};
        QTest::newRow("JPEG 300x200") << OpenCase{"jpg", "300x200", "", "loaded"};
        QTest::newRow("キャンセル") << OpenCase{"gif", "300x200", "cancel", "."};
        QTest::newRow("close box") << OpenCase{"gif", "300x200", "close", "."};
        QTest::newRow("読み込む, nothing selected")
            << OpenCase{"gif", "300x200", "none", "pictures"};
        QTest::newRow("BMP under ALL TYPE") << OpenCase{"bmp", "640x480", "", "loaded"};
        QTest::newRow("PNG under ALL TYPE") << OpenCase{"png", "640x480", "", "loaded"};
        QTest::newRow("text under ALL TYPE") << OpenCase{"txt", "", "", "refused"};
        QTest::newRow("zero-byte GIF") << OpenCase{"gif", "", "", "refused"};
        QTest::newRow("truncated GIF") << OpenCase{"gif", "640x480", "cut", "refused"};
        QTest::newRow("file vanished") << OpenCase{"gif", "300x200", "vanish", "refused"};
        QTest::newRow("file became a folder") << OpenCase{"gif", "300x200", "folder", "refused"};
    }
    void open() {
        QFETCH(OpenCase, row);
        const auto& [type, source, action, outcome] = row;
        setEndProgramAction([] {});
        const testing::Sandbox sandbox;
        const auto unload = unloadWindowsAtTheEnd();
        const QString folder = sandbox.file("pictures"), path = folder + "/a." + type;
        const QString data = KESTRANE_TEST_DATA "/open_" + source + ".gif";
        QDir().mkdir(folder);
        const bool converted = type == "jpg" || type == "bmp" || type == "png";
        if (!(converted ? QImage(data).save(path) : QFile::copy(data, path))) {
            sandbox.write("pictures/a." + type, type == "txt" ? "text\r\n" : "");
        }
        if (action == "cut") QFile::resize(path, QFileInfo(path).size() / 2);
        form1& main = form<form1>();
        main.Picture1->bitmap().fill(qRgb(20, 90, 160));
        const auto workspace = [&main] {
            return std::tuple(main.basePix, main.viewPix, main.angleA, main.angleR,
                              main.Picture1->bitmap().copy());
        };
        const auto before = workspace();
        QDir::setCurrent(folder);  // where the dialog starts
        Form2* const dialog = &form<Form2>();
        dialog->Option1_Click(type == "gif" || type == "GIF" ? 0 : type == "jpg" ? 1 : 2);
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
            // Canvas pixel (x, y) lands in grid cell [x, y + 1]; row 0 stays empty like the black
            // background.
            const QImage picture(path);
            for (int x : {0, 299, 300, 511}) {
                for (int y : {-1, 0, 1, 199, 200, 479, 480, 511}) {
                    const Pixel cell = main.basePix(x, y + 1);
                    QCOMPARE(qRgb(cell.red, cell.green, cell.blue),
                             picture.rect().contains(x, y) ? picture.pixel(x, y) : qRgb(0, 0, 0));
                }
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
        setEndProgramAction([] {});
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

    // A picture whose name is not UTF-8 is listed and opened by its bytes.
    void opensANameThatIsNotUtf8() {
        setEndProgramAction([] {});
        const testing::Sandbox sandbox;
        const auto unload = unloadWindowsAtTheEnd();
        QFile data(KESTRANE_TEST_DATA "/open_300x200.gif");
        QVERIFY(data.open(QIODevice::ReadOnly));
        sandbox.write(decodeFileName("caf\xE9.gif"), data.readAll());
        testing::ModalAnswerer answerer([](QWidget* modal) {
            Form2& dialog = *qobject_cast<Form2*>(modal);
            dialog.File1->setCurrentRow(0);
            dialog.Command1_Click();
        });
        form1& main = form<form1>();
        open1_Click(main);
        QCOMPARE(answerer.messages().size(), 0u);
        const QRgb corner = QImage(data.fileName()).pixel(0, 0);
        QCOMPARE(qRgb(main.basePix(0, 1).red, main.basePix(0, 1).green, main.basePix(0, 1).blue),
                 corner);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::OpenCommandTest)
#include "tst_open_command.moc"
