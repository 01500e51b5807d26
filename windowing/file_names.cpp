#include "windowing/file_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace kestrane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) is held as kEscapeBase + b

// Calls found(at) for every escaped byte of name; the low half of a surrogate pair belongs to a
// character and is never one.
template <typename Found>
void forEachEscapedByte(QStringView name, Found&& found) {
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char16_t unit = name[at].unicode();
        if (QChar::isHighSurrogate(unit) && at + 1 < name.size() && name[at + 1].isLowSurrogate()) {
            ++at;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            found(at);
        }
    }
}

// The code point of the strict UTF-8 sequence starting at bytes[at] and its length in bytes;
// length 0 when the bytes there are no such sequence (overlong forms and surrogates included).
std::pair<char32_t, int> utf8Sequence(QByteArrayView bytes, qsizetype at) {
    const auto byte = [&](qsizetype offset) {
        return static_cast<unsigned char>(bytes[at + offset]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    int length = 0;
    char32_t smallest = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, smallest = 0x80, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, smallest = 0x800, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, smallest = 0x10000, code = lead & 0x07u;
    } else {
        return {0, 0};
    }
    if (at + length > bytes.size()) {
        return {0, 0};
    }
    for (int offset = 1; offset < length; ++offset) {
        if ((byte(offset) & 0xC0) != 0x80) {
            return {0, 0};
        }
        code = code << 6 | (byte(offset) & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {0, 0};
    }
    return {code, length};
}

using FolderCloser = decltype([](DIR* folder) { ::closedir(folder); });

}  // namespace

QString decodeFileName(QByteArrayView bytes) {
    // Most names are valid UTF-8, which Qt decodes far faster; it marks any other byte with
    // U+FFFD, and then (or for a name that holds U+FFFD itself) the bytes are decoded one by one.
    QString name = QString::fromUtf8(bytes);
    if (!name.contains(QChar::ReplacementCharacter)) {
        return name;
    }
    name.clear();
    for (qsizetype at = 0; at < bytes.size();) {
        const auto [code, length] = utf8Sequence(bytes, at);
        if (length == 0) {
            name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
        } else {
            name += QChar::fromUcs4(code);
            at += length;
        }
    }
    return name;
}

QByteArray encodeFileName(QStringView name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype plainFrom = 0;  // start of the text not yet written
    forEachEscapedByte(name, [&](qsizetype at) {
        bytes += name.sliced(plainFrom, at - plainFrom).toUtf8();
        bytes += char(name[at].unicode() - kEscapeBase);
        plainFrom = at + 1;
    });
    bytes += name.sliced(plainFrom).toUtf8();
    return bytes;
}

QString displayFileName(QString name) {
    forEachEscapedByte(name, [&name](qsizetype at) { name[at] = QChar::ReplacementCharacter; });
    return name;
}

QString currentDirectory() {
    // Unlike a fixed buffer, this takes a working directory of any length.
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path && path.get()[0] == '/' ? decodeFileName(path.get()) : QString();
}

bool setCurrentDirectory(const QString& directory) {
    return !directory.isEmpty() && ::chdir(encodeFileName(directory).constData()) == 0;
}

QString absoluteDirectory(const QString& directory) {
    if (QDir::isAbsolutePath(directory)) {
        return QDir::cleanPath(directory);
    }
    const QString current = currentDirectory();
    return current.isEmpty() ? QString() : QDir::cleanPath(current + '/' + directory);
}

bool isEnterableDirectory(const QString& directory) {
    const QByteArray path = encodeFileName(directory);
    struct stat status {};
    return !path.isEmpty() && ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(path.constData(), X_OK) == 0;
}

QString startingDirectory() {
    const QString current = currentDirectory();
    return isEnterableDirectory(current) ? current : QDir::rootPath();
}

bool openRegularFile(QFile& file, const QString& path) {
    file.close();
    const QByteArray name = encodeFileName(path);
    struct stat status {};
    // Looked at before opening, since opening some devices already does something; opened
    // non-blocking, so that a named pipe put there since cannot hold the program; and looked at
    // again on the open descriptor.
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

QStringList directoryEntries(const QString& directory, EntryKind kind) {
    const std::unique_ptr<DIR, FolderCloser> folder(
        ::opendir(encodeFileName(directory).constData()));
    if (!folder) {
        return {};
    }
    std::vector<std::pair<QString, QString>> found;  // lower-case sort key, name
    while (const dirent* entry = ::readdir(folder.get())) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat status {};
            type = ::fstatat(::dirfd(folder.get()), entry->d_name, &status, 0) != 0 ? DT_UNKNOWN
                   : S_ISDIR(status.st_mode)                                        ? DT_DIR
                   : S_ISREG(status.st_mode)                                        ? DT_REG
                                                                                    : DT_UNKNOWN;
        }
        if (type == (kind == EntryKind::Folder ? DT_DIR : DT_REG)) {
            QString name = decodeFileName(entry->d_name);
            found.emplace_back(name.toLower(), std::move(name));
        }
    }
    std::sort(found.begin(), found.end());
    QStringList names;
    names.reserve(qsizetype(found.size()));
    for (auto& [key, name] : found) {
        names << std::move(name);
    }
    return names;
}

}  // namespace kestrane
