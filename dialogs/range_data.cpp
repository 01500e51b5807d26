#include "dialogs/range_data.h"

#include <QtGlobal>
#include <array>
#include <cstring>

namespace kestrane {

namespace {

// A height's number as it stands in the file: a space and one or two digits, padded to four
// bytes so that each can be copied with one fixed-size store.
struct Number {
    std::array<char, 4> text{};
    int size = 0;
};

constexpr std::array<Number, 256> kNumbers = [] {
    std::array<Number, 256> numbers{};
    for (int h = 0; h < 256; ++h) {
        // Whole-number division rounds down exactly as h / 3.0 truncated does.
        const int value = h / 3;
        Number& number = numbers[h];
        number.text[number.size++] = ' ';
        if (value >= 10) {
            number.text[number.size++] = static_cast<char>('0' + value / 10);
        }
        number.text[number.size++] = static_cast<char>('0' + value % 10);
    }
    return numbers;
}();

constexpr qsizetype kWidestNumber = 3;

}  // namespace

QByteArray rangeDataBytes(const HeightMap& heights, int lastX, int lastY) {
    Q_ASSERT(lastX >= 0 && lastY >= 0);
    Q_ASSERT(lastX <= heights.lastX() && lastY <= heights.lastY());
    QByteArray bytes = ' ' + QByteArray::number(lastX) + ' ' + QByteArray::number(lastY) + "\r\n";
    const qsizetype header = bytes.size();
    // Room for the widest numbers, and for the padding the last number's store writes.
    const qsizetype line = (lastX + 1) * kWidestNumber + 2;
    bytes.resize(header + (lastY + 1) * line + 1);
    char* out = bytes.data() + header;
    for (int y = 0; y <= lastY; ++y) {
        for (int x = 0; x <= lastX; ++x) {
            const Number& number = kNumbers[heights(x, y)];
            std::memcpy(out, number.text.data(), number.text.size());
            out += number.size;
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.resize(out - bytes.constData());
    return bytes;
}

QString rangeDataPath(const QString& directory, const QString& name) {
    QString path = directory + '/' + name;
    // right() gives the whole path when it is shorter than four characters.
    if (!path.right(4).startsWith('.')) {
        path += ".txt";
    }
    return path;
}

}  // namespace kestrane
