#include <QtTest>

#include "dialogs/command_line.h"

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

// What the program does with a command line: status is the exit status, or -1 when the program
// runs and opens `picture`; out and err are what it prints ("usage" stands for kUsage).
struct StartCase {
    QStringList arguments;
    int status;
    QString out, err, picture;
};

class CommandLineTest : public QObject {
    Q_OBJECT

    static QString usage() { return QString(kUsage).arg(QCoreApplication::arguments().front()); }

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName("kestrane");
        QCoreApplication::setApplicationVersion("4.5");
    }

    void start_data() {
        QTest::addColumn<StartCase>("row");
        QTest::newRow("no argument") << StartCase{{}, -1, "", "", ""};
        QTest::newRow("a picture") << StartCase{{"/p/hill.gif"}, -1, "", "", "/p/hill.gif"};
        QTest::newRow("a picture, relative")
            << StartCase{{"p/hill.gif"}, -1, "", "", QDir::currentPath() + "/p/hill.gif"};
        QTest::newRow("--help") << StartCase{{"--help"}, 0, "usage", "", ""};
        QTest::newRow("--version") << StartCase{{"--version"}, 0, "kestrane 4.5\n", "", ""};
        QTest::newRow("an unknown option")
            << StartCase{{"--open", "a.gif"}, 2, "", "Unknown option 'open'.\n\nusage", ""};
        QTest::newRow("two pictures") << StartCase{
            {"a.gif", "b.gif"}, 2, "", "Only one picture can be opened: 'b.gif'.\n\nusage", ""};
    }
    void start() {
        QFETCH(StartCase, row);
        const CommandLine command = parseCommandLine(QStringList{"kestrane"} + row.arguments);
        QCOMPARE(command.exitStatus.value_or(-1), row.status);
        QCOMPARE(command.standardOutput, QString(row.out).replace("usage", usage()));
        QCOMPARE(command.standardError, QString(row.err).replace("usage", usage()));
        QCOMPARE(command.picture, row.picture);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::CommandLineTest)
#include "tst_command_line.moc"
