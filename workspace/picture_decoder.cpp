#include "workspace/picture_decoder.h"

#include <QFile>
#include <algorithm>

#include "windowing/file_names.h"
#include "workspace/picture_decoder_formats.h"

namespace kestrane {

std::int64_t DecodeBudget::read(void* buffer, std::int64_t size) {
    const std::int64_t granted = std::min(size, (kDecodeWorkLimit - cost_.work) / kWorkPerByte);
    const qint64 got = granted > 0 ? file_.read(static_cast<char*>(buffer), granted) : 0;
    if (got <= 0) {
        return 0;
    }
    cost_.bytesRead += got;
    cost_.work += got * kWorkPerByte;
    return got;
}

bool DecodeBudget::work(std::int64_t units) {
    if (units > kDecodeWorkLimit - cost_.work) {
        return false;
    }
    cost_.work += units;
    return true;
}

bool DecodeBudget::hold(std::int64_t bytes) {
    if (bytes > kDecodeMemoryLimit - cost_.memory) {
        return false;
    }
    cost_.memory += bytes;
    return true;
}

bool DecodeBudget::seek(std::int64_t position) {
    if (position == file_.pos()) {
        return true;
    }
    return !file_.isSequential() && position >= 0 && position <= file_.size() &&
           work(kWorkPerSeek) && file_.seek(position);
}

namespace {

using Decoder = bool (*)(DecodeBudget&, QImage&);

// The decoder the file's first bytes call for, recognised as each library recognises its
// format; null for anything else.
Decoder decoderFor(QIODevice& file) {
    const QByteArray magic = file.peek(4);
    if (magic.startsWith("\xFF\xD8")) {
        return decodeJpeg;
    }
    if (magic.startsWith("GIF")) {
        return decodeGif;
    }
    if (magic.startsWith("BM")) {
        return decodeBmp;
    }
    if (magic == "\x89PNG") {
        return decodePng;
    }
    return nullptr;
}

std::optional<QImage> decodeWithin(DecodeBudget& budget, QIODevice& file, QSize canvas,
                                   QColor background) {
    const Decoder decode = decoderFor(file);
    if (decode == nullptr) {
        return std::nullopt;
    }
    QImage image(canvas, QImage::Format_RGB32);
    if (image.isNull() || !budget.hold(image.sizeInBytes())) {
        return std::nullopt;
    }
    image.fill(background);
    if (!decode(budget, image)) {
        return std::nullopt;
    }
    return image;
}

}  // namespace

std::optional<QImage> decodePicture(QIODevice& file, QSize canvas, QColor background,
                                    DecodeCost* cost) {
    DecodeBudget budget(file);
    std::optional<QImage> image = decodeWithin(budget, file, canvas, background);
    if (cost != nullptr) {
        *cost = budget.cost();
    }
    return image;
}

std::optional<QImage> decodePictureForCanvas(const QString& path, QSize canvas, QColor background,
                                             DecodeCost* cost) {
    if (cost != nullptr) {
        *cost = {};
    }
    QFile file;
    if (!openRegularFile(file, path)) {
        return std::nullopt;
    }
    return decodePicture(file, canvas, background, cost);
}

}  // namespace kestrane
