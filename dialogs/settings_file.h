#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kestrane {

// Only the first this many bytes of the settings file are read; a longer field is refused
// (no directory path on Linux is longer).
inline constexpr qsizetype kSettingsFieldLimit = 4096;

// "Kestrane.ini", beside the program or in the user's configuration folder.
QString settingsFilePath();

// The first field of a settings file's content. Leading spaces are skipped; a field that then
// begins with a double quote runs to the next double quote on the same line, any other field up
// to the first comma, CR, LF or the end of the content. Refused: no field at all (empty content,
// only spaces, an empty field), an unclosed quote, a field that does not end within
// kSettingsFieldLimit bytes, and a NUL byte. The field is decoded as windowing/file_names.h
// decodes file names, so any directory's bytes come back.
std::optional<QString> readFirstField(const QByteArray& content);

// The settings file's one line: the directory's bytes, one "/", CR LF.
// The root directory "/" thus gives "//", which reads back as a directory that can be entered.
QByteArray settingsLine(const QString& directory);

// The first field of the file at settingsPath; nullopt when it cannot be read or holds no field,
// and at once when it is not a regular file (a named pipe, say).
std::optional<QString> readLastDirectory(const QString& settingsPath);

// Replaces the file with one holding settingsLine(directory), as replaceFileContents does. False
// when it cannot be written (read-only or missing folder, full disk); the file is then left
// exactly as it was.
bool writeLastDirectory(const QString& settingsPath, const QString& directory);

// Makes the directory the file names the working directory. False, with the working directory
// unchanged, when the file holds no field or the field is not a directory that can be entered.
bool enterLastDirectory(const QString& settingsPath);

}  // namespace kestrane
