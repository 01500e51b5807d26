#include "dialogs/settings_file.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "workspace/application_folder.h"

namespace kestrane {

QString settingsFilePath() { return settingsFileNamed(QStringLiteral("Kestrane.ini")); }

std::optional<QString> readFirstField(const QByteArray& content) {
    const QByteArrayView head(content.constData(),
                              std::min(content.size(), kSettingsFieldLimit + 1));
    qsizetype begin = 0;
    while (begin < head.size() && head[begin] == ' ') {
        ++begin;
    }
    QByteArrayView field;
    qsizetype fieldEnd = 0;  // one past the field's last byte, closing quote included
    if (begin < head.size() && head[begin] == '"') {
        const qsizetype close = head.indexOf('"', begin + 1);
        if (close < 0) {
            return std::nullopt;
        }
        field = head.sliced(begin + 1, close - begin - 1);
        if (field.contains('\r') || field.contains('\n')) {
            return std::nullopt;
        }
        fieldEnd = close + 1;
    } else {
        fieldEnd = begin;
        while (fieldEnd < head.size() && head[fieldEnd] != ',' && head[fieldEnd] != '\r' &&
               head[fieldEnd] != '\n') {
            ++fieldEnd;
        }
        field = head.sliced(begin, fieldEnd - begin);
    }
    if (fieldEnd > kSettingsFieldLimit || field.isEmpty() || field.contains('\0')) {
        return std::nullopt;
    }
    QString name = QFile::decodeName(field.toByteArray());
    if (QFile::encodeName(name) != field) {
        return std::nullopt;
    }
    return name;
}

QByteArray settingsLine(const QString& directory) { return QFile::encodeName(directory) + "/\r\n"; }

std::optional<QString> readLastDirectory(const QString& settingsPath) {
    QFile file(settingsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return readFirstField(file.read(kSettingsFieldLimit + 1));
}

bool writeLastDirectory(const QString& settingsPath, const QString& directory) {
    QSaveFile file(settingsPath);
    // A folder that is read-only but holds a writable file still gets the file rewritten.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray line = settingsLine(directory);
    return file.write(line) == line.size() && file.commit();
}

bool enterLastDirectory(const QString& settingsPath) {
    const std::optional<QString> directory = readLastDirectory(settingsPath);
    return directory && QDir::setCurrent(*directory);
}

}  // namespace kestrane
