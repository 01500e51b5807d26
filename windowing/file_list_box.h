#pragma once

#include <QListWidget>

namespace kestrane {

// The files of one directory whose names match a pattern, sorted by name. Names are matched
// case-insensitively; a pattern may hold several wildcards separated by ";", and "*.*" matches
// every name, with or without a dot. Hidden files and folders are not listed. Selecting a file,
// by mouse or keys, raises Click; a double click only selects. Names are held as
// windowing/file_names.h decodes them, so a file of any name is listed and can be opened.
class FileListBox : public QListWidget {
    Q_OBJECT

public:
    // Starts in startingDirectory(), as the directory list does.
    FileListBox(QWidget* parent, const QString& pattern);

    QString path() const { return path_; }
    // Lists directory's files. False, with the list where it was, when it is not a directory
    // that can be entered.
    bool setPath(const QString& directory);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    // The selected file's name without its directory; empty when no file is selected.
    QString fileName() const;
    // Reads the directory again; the selection is dropped.
    void refresh();

signals:
    void Click();

private:
    QString path_;
    QString pattern_;
    QStringList names_;  // row by row; the items show them as displayFileName does
};

}  // namespace kestrane
