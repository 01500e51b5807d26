#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

namespace kestrane {

// Paths as the program holds them. A file name is a string of bytes; the bytes that form valid
// UTF-8 decode as such, and every other byte b becomes the lone surrogate U+DC00 + b, so that any
// name the file system holds comes back to its own bytes. (QFile::decodeName turns such bytes into
// U+FFFD and loses them, and QDir leaves those names out.) Every path handed to the file system
// goes through encodeFileName.

// Decodes a name or path; never fails. A NUL byte decodes as U+0000.
QString decodeFileName(QByteArrayView bytes);
// The bytes of a name or path: the inverse of decodeFileName on everything it returns. Any other
// lone surrogate (typed text, say) is written as QString::toUtf8 writes it.
QByteArray encodeFileName(QStringView name);
// name as it is shown, and matched against a pattern: each byte that is not UTF-8 as U+FFFD.
QString displayFileName(QString name);

// The working directory, absolute, of any length. Empty when the system cannot tell it (removed
// from under the program).
QString currentDirectory();
// Makes directory (absolute, or relative to the working directory) the working directory. False,
// with the working directory unchanged, when it cannot be entered.
bool setCurrentDirectory(const QString& directory);
// directory made absolute against the working directory and cleaned of ".", ".." and doubled
// separators; a root stays "/". Empty when it is relative and the working directory is gone.
QString absoluteDirectory(const QString& directory);

// True for a directory the program can move into: it exists, may be entered, and its path is
// within the system's length limit.
bool isEnterableDirectory(const QString& directory);

// Where the file lists start: the working directory when it can be entered, otherwise the root
// "/" (the working directory removed, or longer than the system's path limit).
QString startingDirectory();

// Opens file for reading on the regular file at path (or the one a link leads to). False, with
// file closed, for anything else: missing, a folder, a named pipe, a device or a socket. Never
// blocks, whatever stands at the name.
bool openRegularFile(QFile& file, const QString& path);

enum class EntryKind { Folder, File };

// The names of directory's subfolders or of its regular files, sorted by name ignoring case. A
// symbolic link counts as what it leads to; hidden entries (a name beginning with "."), links
// that lead nowhere, named pipes, sockets and devices are left out. Empty when the directory
// cannot be read.
QStringList directoryEntries(const QString& directory, EntryKind kind);

}  // namespace kestrane
