#include "workspace/application_folder.h"

#include <QCoreApplication>

namespace kestrane {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

}  // namespace

QString applicationFolder() {
    return folderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride();
}

void setApplicationFolder(const QString& folder) { folderOverride() = folder; }

QString applicationFile(const QString& name) { return applicationFolder() + "/" + name; }

}  // namespace kestrane
