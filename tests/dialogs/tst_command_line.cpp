#include <QtTest>

#include "dialogs/command_line.h"
#include "dialogs/open_command.h"
#include "tests/support/drop.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"

namespace kestrane {

// The usage that --help prints and errors end with; %1 is the program.
constexpr const char* kUsage = R"(Usage: %1 [options] [PICTURE]
See a picture as a height field: a 3D surface and height profiles.

Options:
  -h, --help     Displays this help.
  -v, --version  Displays version information.

Arguments:
  PICTURE        The picture to open.
)";

// A start of the program in the sandbox, whose pictures/ holds hill.gif (a picture), notes.gif
// (text) and nothing.gif (missing). status: the exit status, or -1 when the program runs; out and
// err: what it prints ("usage" stands for kUsage); outcome: "loaded", "refused" or "empty".
struct StartCase {
    QStringList arguments;
    int status;
    QString out, err, outcome;
};

class CommandLineTest : public QObject {
    Q_OBJECT

    static QString usage() { return QString(kUsage).arg(QCoreApplication::arguments().front()); }

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName("kestrane");
        QCoreApplication::setApplicationVersion("4.5");
    }
    void cleanup() {
        setEndProgramAction([] {});
        FormSlot<form1>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void start_data() {
        QTest::addColumn<StartCase>("row");
        QTest::newRow("no argument") << StartCase{{}, -1, "", "", "empty"};
        QTest::newRow("a picture") << StartCase{{"PICTURES/hill.gif"}, -1, "", "", "loaded"};
        QTest::newRow("a picture, relative")
            << StartCase{{"pictures/hill.gif"}, -1, "", "", "loaded"};
        QTest::newRow("a refused file") << StartCase{{"pictures/notes.gif"}, -1, "", "", "refused"};
        QTest::newRow("a missing file")
            << StartCase{{"pictures/nothing.gif"}, -1, "", "", "refused"};
        QTest::newRow("--help") << StartCase{{"--help"}, 0, "usage", "", ""};
        QTest::newRow("--version") << StartCase{{"--version"}, 0, "kestrane 4.5\n", "", ""};
        QTest::newRow("an unknown option") << StartCase{
            {"--open", "pictures/hill.gif"}, 2, "", "Unknown option 'open'.\n\nusage", ""};
        QTest::newRow("two pictures") << StartCase{
            {"a.gif", "b.gif"}, 2, "", "Only one picture can be opened: 'b.gif'.\n\nusage", ""};
    }
    // As the program starts: the command line is read, then the main window comes up and loads
    // the picture.
    void start() {
        QFETCH(StartCase, row);
        const testing::Sandbox sandbox;
        QDir().mkdir("pictures");
        QVERIFY(QFile::copy(KESTRANE_TEST_DATA "/open_300x200.gif", "pictures/hill.gif"));
        sandbox.write("pictures/notes.gif", "notes\r\n");
        QStringList arguments = row.arguments;
        arguments.replaceInStrings("PICTURES", sandbox.file("pictures"));
        const CommandLine command = parseCommandLine(QStringList{"kestrane"} + arguments);

        QCOMPARE(command.exitStatus.value_or(-1), row.status);
        QCOMPARE(command.standardOutput, QString(row.out).replace("usage", usage()));
        QCOMPARE(command.standardError, QString(row.err).replace("usage", usage()));
        if (command.exitStatus) return;
        const QString picture = row.arguments.isEmpty()
                                    ? ""
                                    : sandbox.file("pictures/" + row.arguments[0].section('/', -1));
        QCOMPARE(command.picture, picture);

        form1& main = form<form1>();
        const QImage blank = main.Picture1->bitmap().copy();
        testing::ModalAnswerer answerer;
        if (!command.picture.isEmpty()) {
            QCOMPARE(openPictureFile(main, command.picture), row.outcome == "loaded");
        }
        QCOMPARE(answerer.messages().size(), std::size_t(row.outcome == "refused"));
        const bool loaded = row.outcome == "loaded";
        QCOMPARE(main.Picture1->isEnabled(), loaded);
        QCOMPARE(main.Picture1->bitmap() == blank, !loaded);
        if (loaded) {
            const QImage hill(picture);
            QCOMPARE(main.Picture1->bitmap().copy(hill.rect()), hill);
        }
        QCOMPARE(std::pair(main.angleA, main.angleR),
                 loaded ? std::pair(kStartAngleA, kStartAngleR) : std::pair(0.0, 0.0));
        // No dialog was used: no settings file, and the working directory stays.
        QVERIFY(!QFile::exists(sandbox.file("Kestrane.ini")));
        QCOMPARE(QDir::currentPath(), sandbox.path());
    }

    // A picture dropped on the main window loads once the drop has ended.
    void dropLoadsThePicture() {
        const testing::Sandbox sandbox;
        QVERIFY(QFile::copy(KESTRANE_TEST_DATA "/open_300x200.gif", "hill.gif"));
        form1& main = form<form1>();
        installOpenCommand(main);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(sandbox.file("hill.gif"))});
        testing::dropOn(main, data);
        QVERIFY(!main.Picture1->isEnabled());
        QCoreApplication::sendPostedEvents(&main, QEvent::MetaCall);
        QVERIFY(main.Picture1->isEnabled());
        QVERIFY(!QFile::exists(sandbox.file("Kestrane.ini")));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::CommandLineTest)
#include "tst_command_line.moc"
