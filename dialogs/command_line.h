#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kestrane {

// What the command line asks for. Either the program runs, loading picture when it is not empty,
// or it ends at once with exitStatus after printing standardOutput and standardError.
struct CommandLine {
    std::optional<int> exitStatus;  // set when the program ends without starting
    QString picture;                // absolute; empty when none was given
    QString standardOutput;
    QString standardError;
};

// Reads "kestrane [options] [PICTURE]" (arguments include the program name first). --help and
// --version print to standard output and end with status 0; an unknown option or a second
// PICTURE prints the error and the usage to standard error and ends with status 2. A relative
// PICTURE is taken against the working directory. Uses the application's name and version.
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace kestrane
