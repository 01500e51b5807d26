#include "windowing/file_list_box.h"

#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "windowing/file_names.h"

namespace kestrane {

namespace {

std::vector<QRegularExpression> nameFilters(const QString& pattern) {
    std::vector<QRegularExpression> filters;
    for (const QString& part : pattern.split(';', Qt::SkipEmptyParts)) {
        const QString wildcard = part.trimmed();
        // "*.*" has always meant every file, also one whose name has no dot.
        filters.push_back(QRegularExpression::fromWildcard(
            wildcard == QLatin1String("*.*") ? QStringLiteral("*") : wildcard,
            Qt::CaseInsensitive));
    }
    return filters;
}

}  // namespace

FileListBox::FileListBox(QWidget* parent, const QString& pattern)
    : QListWidget(parent), path_(startingDirectory()), pattern_(pattern) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // As in the directory list: one line per entry, laid out at once however many there are.
    setUniformItemSizes(true);
    refresh();
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty()) {
            emit Click();
        }
    });
}

bool FileListBox::setPath(const QString& directory) {
    const QString absolute = absoluteDirectory(directory);
    if (!isEnterableDirectory(absolute)) {
        return false;
    }
    path_ = absolute;
    refresh();
    return true;
}

void FileListBox::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

QString FileListBox::fileName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : names_[row(selected.front())];
}

void FileListBox::refresh() {
    const std::vector<QRegularExpression> filters = nameFilters(pattern_);
    names_.clear();
    QStringList shown;
    for (QString& name : directoryEntries(path_, EntryKind::File)) {
        QString display = displayFileName(name);
        if (std::any_of(filters.begin(), filters.end(),
                        [&display](const QRegularExpression& filter) {
                            return filter.match(display).hasMatch();
                        })) {
            names_ << std::move(name);
            shown << std::move(display);
        }
    }
    clear();
    addItems(shown);  // in one insertion, as the directory list does
}

}  // namespace kestrane
