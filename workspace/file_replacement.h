#pragma once

#include <QByteArrayView>
#include <QString>

class QImage;

namespace kestrane {

// Replaces the file at `path` with `bytes` without ever leaving a partial file: the bytes go to a
// new file in the same folder, every write is checked, and only the complete file is renamed over
// the name. Whatever stands at the name, a symbolic link included, is replaced itself and never
// written through; an existing regular file's permission bits are kept, a new file gets the
// usual ones (0666 less the umask).
//
// False when any step fails: a missing or read-only folder, a folder at that name, a full disk or
// file-size limit, a name the file system refuses. The entry at `path` is then exactly as it was
// and nothing is left behind. The path is encoded as windowing/file_names.h encodes file names.
bool replaceFileContents(const QString& path, QByteArrayView bytes);

// Encodes image in format (Qt's name for it: "BMP", "JPEG") at quality (0..100, or -1 for the
// format's default) and replaces the file at path with the result as replaceFileContents does.
// False, with the file as it was, when either step fails.
bool replaceFileWithImage(const QString& path, const QImage& image, const char* format,
                          int quality = -1);

}  // namespace kestrane
