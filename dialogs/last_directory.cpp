#include "dialogs/last_directory.h"

#include <QDir>
#include <QFileInfo>

#include "dialogs/settings_file.h"
#include "workspace/application_folder.h"

namespace kestrane {

void restoreLastDirectory(const QString& dialogDirectory) {
    if (enterLastDirectory(settingsFilePath())) {
        return;
    }
    storeLastDirectory(dialogDirectory);
    QDir::setCurrent(unrememberedFolder());
}

void enterSamplesBeforeFirstDialog() {
    if (!QFileInfo::exists(settingsFilePath()) && unrememberedFolder() != applicationFolder()) {
        QDir::setCurrent(unrememberedFolder());
    }
}

void storeLastDirectory(const QString& dialogDirectory) {
    writeLastDirectory(settingsFilePath(), dialogDirectory);
}

}  // namespace kestrane
