#include "dialogs/last_directory.h"

#include <QDir>

#include "dialogs/settings_file.h"
#include "workspace/application_folder.h"

namespace kestrane {

void restoreLastDirectory(const QString& dialogDirectory) {
    if (enterLastDirectory(settingsFilePath())) {
        return;
    }
    storeLastDirectory(dialogDirectory);
    QDir::setCurrent(applicationFolder());
}

void storeLastDirectory(const QString& dialogDirectory) {
    writeLastDirectory(settingsFilePath(), dialogDirectory);
}

}  // namespace kestrane
