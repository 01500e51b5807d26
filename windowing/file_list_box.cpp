#include "windowing/file_list_box.h"

#include <QDir>

#include "windowing/dir_list_box.h"

namespace kestrane {

namespace {

QStringList nameFilters(const QString& pattern) {
    QStringList filters;
    for (const QString& part : pattern.split(';', Qt::SkipEmptyParts)) {
        const QString wildcard = part.trimmed();
        // "*.*" has always meant every file, also one whose name has no dot.
        filters << (wildcard == QLatin1String("*.*") ? QStringLiteral("*") : wildcard);
    }
    return filters;
}

}  // namespace

FileListBox::FileListBox(QWidget* parent, const QString& pattern)
    : QListWidget(parent), path_(QDir::currentPath()), pattern_(pattern) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    refresh();
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty()) {
            emit Click();
        }
    });
}

bool FileListBox::setPath(const QString& directory) {
    if (!isEnterableDirectory(directory)) {
        return false;
    }
    path_ = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
    refresh();
    return true;
}

void FileListBox::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

QString FileListBox::fileName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void FileListBox::refresh() {
    clear();
    // Without QDir::CaseSensitive the name filters ignore case.
    addItems(
        QDir(path_).entryList(nameFilters(pattern_), QDir::Files, QDir::Name | QDir::IgnoreCase));
}

}  // namespace kestrane
