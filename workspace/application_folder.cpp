#include "workspace/application_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrane {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

bool applicationFolderWritable() { return QFileInfo(applicationFolder()).isWritable(); }

// The user's folder is made on first use, so that the file can be written.
QString fileIn(FilePlace place, QStandardPaths::StandardLocation userFolder, const QString& name) {
    if (place == FilePlace::besideProgram) {
        return applicationFolder() + "/" + name;
    }
    const QString folder = QStandardPaths::writableLocation(userFolder);
    QDir().mkpath(folder);
    return folder + "/" + name;
}

}  // namespace

QString applicationFolder() {
    return folderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride();
}

void setApplicationFolder(const QString& folder) { folderOverride() = folder; }

FilePlace settingsPlace(bool folderWritable, bool settingsBeside) {
    return folderWritable || settingsBeside ? FilePlace::besideProgram : FilePlace::userFolder;
}

FilePlace bitmapPlace(bool folderWritable) {
    return folderWritable ? FilePlace::besideProgram : FilePlace::userFolder;
}

UnrememberedFolder unrememberedFolderPlace(bool folderWritable, bool samplesPresent) {
    return !folderWritable && samplesPresent ? UnrememberedFolder::samples
                                             : UnrememberedFolder::application;
}

QString unrememberedFolder() {
    const QString samples = QDir::cleanPath(applicationFolder() + "/../share/kestrane/samples");
    const UnrememberedFolder place =
        unrememberedFolderPlace(applicationFolderWritable(), QFileInfo(samples).isDir());
    return place == UnrememberedFolder::samples ? samples : applicationFolder();
}

QString settingsFileNamed(const QString& name) {
    const bool beside = QFileInfo::exists(applicationFolder() + "/" + name);
    return fileIn(settingsPlace(applicationFolderWritable(), beside),
                  QStandardPaths::AppConfigLocation, name);
}

QString temporaryFileNamed(const QString& name) {
    return fileIn(bitmapPlace(applicationFolderWritable()), QStandardPaths::CacheLocation, name);
}

}  // namespace kestrane
