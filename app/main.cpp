#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

#include "app/subsystems.h"
#include "dialogs/command_line.h"
#include "dialogs/open_command.h"
#include "windowing/file_names.h"
#include "windowing/form_slot.h"
#include "workspace/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name picks the user's folders for an installed copy and ties the windows to the
    // desktop entry.
    QApplication::setApplicationName("kestrane");
    QApplication::setApplicationVersion(KESTRANE_VERSION);
    QApplication::setDesktopFileName("kestrane");
    QApplication::setWindowIcon(QIcon(":/kestrane.svg"));

    // Qt has taken its own options out of argv; a picture's name keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << kestrane::decodeFileName(argv[i]);
    }
    const kestrane::CommandLine command = kestrane::parseCommandLine(arguments);
    if (command.exitStatus) {
        std::fputs(command.standardOutput.toLocal8Bit().constData(), stdout);
        std::fputs(command.standardError.toLocal8Bit().constData(), stderr);
        return *command.exitStatus;
    }

    kestrane::form1& main = kestrane::form<kestrane::form1>();
    kestrane::installSubsystems(main);
    if (!command.picture.isEmpty()) {
        // Once the main window is up, so that a refusal box stands over it.
        QTimer::singleShot(0, &main,
                           [&main, &command] { kestrane::openPictureFile(main, command.picture); });
    }
    return QApplication::exec();
}
