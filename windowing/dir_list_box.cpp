#include "windowing/dir_list_box.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "windowing/file_names.h"

namespace kestrane {

namespace {

// Draws each entry shifted right by its depth, as a folder tree would, with an open folder for
// the current directory and its ancestors and a closed one for the subfolders. Working from the
// row, it spares the list an icon and a depth stored in every item.
class DepthDelegate : public QStyledItemDelegate {
public:
    explicit DepthDelegate(DirListBox* list)
        : QStyledItemDelegate(list),
          list_(list),
          openIcon_(list->style()->standardIcon(QStyle::SP_DirOpenIcon)),
          closedIcon_(list->style()->standardIcon(QStyle::SP_DirClosedIcon)) {}

    static constexpr int kIndent = 10;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + kIndent * list_->depth(index.row()));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = list_->isOpen(index.row()) ? openIcon_ : closedIcon_;
        option->decorationSize = option->icon.actualSize(option->decorationSize);
    }

private:
    const DirListBox* list_;
    QIcon openIcon_;
    QIcon closedIcon_;
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

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new DepthDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry is one line high, so the view can lay out 100,000 of them at once instead of
    // measuring each; entries are as wide as the list, and a longer name is cut short with "…".
    setUniformItemSizes(true);
    setPath(startingDirectory());
}

bool DirListBox::setPath(const QString& directory) {
    const QString absolute = absoluteDirectory(directory);
    if (!isEnterableDirectory(absolute)) {
        return false;
    }
    const QString previous = path_;
    path_ = absolute;
    refresh();
    if (path_ != previous) {
        emit Change();
    }
    return true;
}

void DirListBox::refresh() {
    paths_ = ancestry(path_);
    ancestors_ = int(paths_.size());
    const QStringList subfolders = directoryEntries(path_, EntryKind::Folder);
    QStringList shown;
    shown.reserve(paths_.size() + subfolders.size());
    for (const QString& directory : std::as_const(paths_)) {
        shown << displayFileName(QDir(directory).isRoot() ? directory
                                                          : QFileInfo(directory).fileName());
    }
    const QString parent = path_.endsWith('/') ? path_ : path_ + '/';
    for (const QString& name : subfolders) {
        paths_ << parent + name;
        shown << displayFileName(name);
    }
    clear();
    // One insertion for the whole list: added one at a time, each entry costs the view a layout,
    // which makes seconds for 100,000 subfolders.
    addItems(shown);
    setCurrentRow(ancestors_ - 1);
}

int DirListBox::depth(int row) const { return std::min(row, ancestors_); }

void DirListBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        setPath(paths_[currentRow()]);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // Opening refills the list, so the item view must not touch the clicked entry afterwards.
    if (event->button() == Qt::LeftButton) {
        if (const QListWidgetItem* entry = itemAt(event->position().toPoint())) {
            setPath(paths_[row(entry)]);
            return;
        }
    }
    QListWidget::mouseDoubleClickEvent(event);
}

}  // namespace kestrane
