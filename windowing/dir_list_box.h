#pragma once

#include <QListWidget>

namespace kestrane {

// A directory list: the current directory's ancestors from the root down, the current directory
// (selected), then its subfolders, each indented by its depth. The arrow keys move the cursor; a
// double click or Enter opens the directory under it, which makes that the path and raises
// Change. Any other change of the path, by code too, raises Change as well.
// True for a directory the lists can move into: it exists and may be entered.
bool isEnterableDirectory(const QString& directory);

class DirListBox : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kPathRole = Qt::UserRole;
    static constexpr int kDepthRole = Qt::UserRole + 1;

    // Starts in the working directory, or at the root when that is gone.
    explicit DirListBox(QWidget* parent);

    // Absolute, without a trailing separator except for a root ("/").
    QString path() const { return path_; }
    // Moves to directory (relative to the working directory unless absolute). False, with the
    // list where it was, when it is not a directory that can be entered.
    bool setPath(const QString& directory);
    // Reads the subfolders again.
    void refresh();

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void addEntry(const QString& directory, const QString& name, int depth, bool open);

    QString path_;
};

}  // namespace kestrane
