#include "windowing/dir_list_box.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace kestrane {

namespace {

// Shifts each entry right by its depth, as a folder tree would.
class DepthDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kIndent = 10;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + kIndent * depth(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(kIndent * depth(index), 0);
    }

private:
    static int depth(const QModelIndex& index) {
        return index.data(DirListBox::kDepthRole).toInt();
    }
};

// The directory and its ancestors, root first.
QStringList ancestry(const QString& directory) {
    QStringList chain{directory};
    while (!QDir(chain.front()).isRoot()) {
        const QString parent = QFileInfo(chain.front()).path();
        if (parent == chain.front()) {
            break;
        }
        chain.prepend(parent);
    }
    return chain;
}

}  // namespace

bool isEnterableDirectory(const QString& directory) {
    const QFileInfo target(directory);
    return !directory.isEmpty() && target.isDir() && target.isExecutable();
}

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new DepthDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    if (!setPath(QDir::currentPath())) {
        setPath(QDir::rootPath());
    }
}

bool DirListBox::setPath(const QString& directory) {
    if (!isEnterableDirectory(directory)) {
        return false;
    }
    const QString previous = path_;
    path_ = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
    refresh();
    if (path_ != previous) {
        emit Change();
    }
    return true;
}

void DirListBox::refresh() {
    clear();
    const QStringList chain = ancestry(path_);
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString& directory = chain[depth];
        addEntry(directory,
                 QDir(directory).isRoot() ? QDir::toNativeSeparators(directory)
                                          : QFileInfo(directory).fileName(),
                 depth, true);
    }
    setCurrentRow(count() - 1);
    const QFileInfoList subfolders =
        QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& subfolder : subfolders) {
        addEntry(subfolder.absoluteFilePath(), subfolder.fileName(), int(chain.size()), false);
    }
}

void DirListBox::addEntry(const QString& directory, const QString& name, int depth, bool open) {
    auto* entry = new QListWidgetItem(
        style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon), name,
        this);
    entry->setData(kPathRole, directory);
    entry->setData(kDepthRole, depth);
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        setPath(currentItem()->data(kPathRole).toString());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // Opening refills the list, so the item view must not touch the clicked entry afterwards.
    if (event->button() == Qt::LeftButton) {
        if (const QListWidgetItem* entry = itemAt(event->position().toPoint())) {
            setPath(entry->data(kPathRole).toString());
            return;
        }
    }
    QListWidget::mouseDoubleClickEvent(event);
}

}  // namespace kestrane
