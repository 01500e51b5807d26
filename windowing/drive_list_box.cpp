#include "windowing/drive_list_box.h"

#include <QDir>
#include <QSignalBlocker>
#include <algorithm>

#include "windowing/file_names.h"

namespace kestrane {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    setDrive(currentDirectory());
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::Change);
}

void DriveListBox::setDrive(const QString& path) {
    // The longest root that starts the path, so that nested roots win over "/".
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        if (path.startsWith(itemText(i)) &&
            (best < 0 || itemText(i).size() > itemText(best).size())) {
            best = i;
        }
    }
    if (best >= 0) {
        setCurrentIndex(best);
    }
}

void DriveListBox::refresh() {
    const QString chosen = drive();
    {
        const QSignalBlocker quiet(this);
        clear();
        for (const QFileInfo& root : QDir::drives()) {
            addItem(root.absoluteFilePath());
        }
        setCurrentIndex(std::max(0, findText(chosen)));
    }
    if (!chosen.isEmpty() && drive() != chosen) {
        emit Change();
    }
}

QString currentDirectoryOnDrive(const QString& drive) {
    const QString current = currentDirectory();
    return current.startsWith(drive) ? current : drive;
}

}  // namespace kestrane
