#pragma once

#include <QComboBox>

namespace kestrane {

// A drop-down list of the file-system roots ("/" on Linux). Choosing another root, by the user
// or by code, raises Change.
class DriveListBox : public QComboBox {
    Q_OBJECT

public:
    // Starts on the root that holds the working directory.
    explicit DriveListBox(QWidget* parent);

    QString drive() const { return currentText(); }
    // Chooses the root that holds path (a root itself or any path below one).
    void setDrive(const QString& path);
    // Reads the roots again, keeping the chosen one while it is still there.
    void refresh();

signals:
    void Change();
};

// Where a directory list goes when drive is chosen: the working directory when it lies on that
// drive, otherwise the drive's root.
QString currentDirectoryOnDrive(const QString& drive);

}  // namespace kestrane
