#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "workspace/picture_decoder.h"

// Any bytes as a picture file: decoded or refused, within the budget (libFuzzer's time and
// allocation limits catch a decode that is not), with nothing the sanitizers object to.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    kestrane::decodePicture(file, QSize(512, 512), QColor(Qt::black));
    return 0;
}
