#include "dialogs/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "windowing/file_names.h"

namespace kestrane {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "See a picture as a height field: a 3D surface and height profiles.");
    const QCommandLineOption help({"h", "help"}, "Displays this help.");
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("PICTURE", "The picture to open.", "[PICTURE]");

    CommandLine command;
    const bool parsed = parser.parse(arguments);
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString error = parsed ? QString("Only one picture can be opened: '%1'.")
                                           .arg(parser.positionalArguments().at(1))
                                     : parser.errorText();
        command.exitStatus = 2;
        command.standardError = error + "\n\n" + parser.helpText();
        return command;
    }
    if (parser.isSet(help)) {
        command.exitStatus = 0;
        command.standardOutput = parser.helpText();
    } else if (parser.isSet(version)) {
        command.exitStatus = 0;
        command.standardOutput = QCoreApplication::applicationName() + " " +
                                 QCoreApplication::applicationVersion() + "\n";
    } else if (!parser.positionalArguments().isEmpty()) {
        const QString picture = parser.positionalArguments().front();
        command.picture = picture.startsWith('/') ? picture : currentDirectory() + "/" + picture;
    }
    return command;
}

}  // namespace kestrane
