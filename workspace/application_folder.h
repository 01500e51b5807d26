#pragma once

#include <QString>

namespace kestrane {

// The folder of the program file: home of the settings file and the temporary bitmaps.
QString applicationFolder();
// Points the program at another folder; tests use a sandbox.
void setApplicationFolder(const QString& folder);

// The file of that name in the application folder.
QString applicationFile(const QString& name);

}  // namespace kestrane
