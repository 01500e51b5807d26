#pragma once

#include <QListWidget>

namespace kestrane {

// A directory list: the current directory's ancestors from the root down, the current directory
// (selected), then its subfolders, each indented by its depth. The arrow keys move the cursor; a
// double click or Enter opens the directory under it, which makes that the path and raises
// Change. Any other change of the path, by code too, raises Change as well. Paths are held as
// windowing/file_names.h decodes them, so folders of any name are listed and entered.
class DirListBox : public QListWidget {
    Q_OBJECT

public:
    // Starts in startingDirectory(), as the file list does.
    explicit DirListBox(QWidget* parent);

    // Absolute, without a trailing separator except for a root ("/").
    QString path() const { return path_; }
    // Moves to directory (relative to the working directory unless absolute). False, with the
    // list where it was, when it is not a directory that can be entered.
    bool setPath(const QString& directory);
    // Reads the subfolders again.
    void refresh();

    // How far the entry in row is indented: an ancestor by its depth below the root, a subfolder
    // one deeper than the current directory.
    int depth(int row) const;
    // True for the current directory and its ancestors, which show as open folders.
    bool isOpen(int row) const { return row < ancestors_; }

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString path_;
    QStringList paths_;  // the entries' directories, row by row
    int ancestors_ = 0;  // entries from the root down to the current directory
};

}  // namespace kestrane
