#include "workspace/imgctl.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <limits>
#include <map>
#include <mutex>

#include "windowing/file_names.h"
#include "workspace/file_replacement.h"

namespace kestrane {
namespace {

class BitmapTable {
public:
    std::int32_t add(QImage image) {
        const std::lock_guard lock(mutex_);
        do {
            lastHandle_ =
                lastHandle_ == std::numeric_limits<std::int32_t>::max() ? 1 : lastHandle_ + 1;
        } while (bitmaps_.contains(lastHandle_));
        bitmaps_.emplace(lastHandle_, std::move(image));
        return lastHandle_;
    }

    // A shallow copy, so that the lock is not held while encoding.
    QImage find(std::int32_t handle) const {
        const std::lock_guard lock(mutex_);
        const auto found = bitmaps_.find(handle);
        return found == bitmaps_.end() ? QImage() : found->second;
    }

    bool remove(std::int32_t handle) {
        const std::lock_guard lock(mutex_);
        return bitmaps_.erase(handle) > 0;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::int32_t, QImage> bitmaps_;
    std::int32_t lastHandle_ = 0;
};

BitmapTable& bitmaps() {
    static BitmapTable table;
    return table;
}

}  // namespace

std::int32_t BMPtoDIB(const char* bmpFileName) {
    if (bmpFileName == nullptr) {
        return 0;
    }
    QFile file;
    if (!openRegularFile(file, decodeFileName(bmpFileName))) {
        return 0;
    }
    QImage image = QImageReader(&file, "BMP").read();
    return image.isNull() ? 0 : bitmaps().add(std::move(image));
}

std::int32_t DIBtoJPG(const char* jpgFileName, std::int32_t handle, std::int32_t compression,
                      std::int32_t /*option*/) {
    const QImage image = bitmaps().find(handle);
    if (jpgFileName == nullptr || image.isNull()) {
        return 0;
    }
    return replaceFileWithImage(decodeFileName(jpgFileName), image, "JPEG",
                                std::clamp(compression, 0, 100))
               ? 1
               : 0;
}

std::int32_t DeleteDIB(std::int32_t handle) { return bitmaps().remove(handle) ? 1 : 0; }

}  // namespace kestrane
