#include "dialogs/settings_file.h"

#include <QByteArrayView>
#include <QFile>
#include <algorithm>

#include "windowing/file_names.h"
#include "workspace/application_folder.h"
#include "workspace/file_replacement.h"

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
    return decodeFileName(field);
}

QByteArray settingsLine(const QString& directory) { return encodeFileName(directory) + "/\r\n"; }

std::optional<QString> readLastDirectory(const QString& settingsPath) {
    QFile file;
    if (!openRegularFile(file, settingsPath)) {
        return std::nullopt;
    }
    return readFirstField(file.read(kSettingsFieldLimit + 1));
}

bool writeLastDirectory(const QString& settingsPath, const QString& directory) {
    return replaceFileContents(settingsPath, settingsLine(directory));
}

bool enterLastDirectory(const QString& settingsPath) {
    const std::optional<QString> directory = readLastDirectory(settingsPath);
    return directory && setCurrentDirectory(*directory);
}

}  // namespace kestrane
