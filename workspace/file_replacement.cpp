#include "workspace/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <cerrno>

#include "windowing/file_names.h"

namespace kestrane {

namespace {

// A new file beside the target, open for writing; -1 when the folder takes none.
int createSibling(const QString& path, QByteArray& siblingName) {
    const QString folder = QFileInfo(path).path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Short and hidden, so that a target name near the length limit still gets a sibling.
        siblingName = encodeFileName(
            folder + QStringLiteral("/.kestrane-%1.tmp")
                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        const int fd =
            ::open(siblingName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* next = bytes.data();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool replaceFileContents(const QString& path, QByteArrayView bytes) {
    QByteArray siblingName;
    const int fd = createSibling(path, siblingName);
    if (fd < 0) {
        return false;
    }
    const QByteArray target = encodeFileName(path);
    struct stat previous {};
    bool complete = writeAll(fd, bytes);
    if (complete && ::lstat(target.constData(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        complete = ::fchmod(fd, previous.st_mode & 07777) == 0;
    }
    // close() is where some file systems report a write that could not be stored.
    complete = ::close(fd) == 0 && complete;
    if (complete && ::rename(siblingName.constData(), target.constData()) == 0) {
        return true;
    }
    ::unlink(siblingName.constData());
    return false;
}

bool replaceFileWithImage(const QString& path, const QImage& image, const char* format,
                          int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    // Encoded in memory first: writing to the file itself, the encoder reports success for a
    // file the disk could not hold.
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format, quality) &&
           replaceFileContents(path, bytes);
}

}  // namespace kestrane
