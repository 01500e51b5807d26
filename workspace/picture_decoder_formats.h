#pragma once

// The format decoders behind decodePicture. Each reads its picture through `budget` from the start
// of the file and draws it onto `canvas` (already filled with the background), charging the
// budget before it decodes or allocates; false when the picture is refused.

#include <QIODevice>
#include <QImage>
#include <cstdint>

#include "workspace/picture_decoder.h"

namespace kestrane {

// The running cost of one decode against the limits in picture_decoder.h, and the file it reads.
class DecodeBudget {
public:
    explicit DecodeBudget(QIODevice& file) : file_(file) {}

    // Copies up to `size` bytes of the file into `buffer` and charges them. 0 at the end of the
    // file, on a read error and once the work limit is reached, which the decoders all take for a
    // file that ends there.
    std::int64_t read(void* buffer, std::int64_t size);
    // False, charging nothing, when the units would take the work past kDecodeWorkLimit.
    bool work(std::int64_t units);
    // False, holding nothing, when the bytes would take what is held past kDecodeMemoryLimit.
    // What a decode holds is held until it ends.
    bool hold(std::int64_t bytes);
    // Moves to `position` in the file without reading what lies between, charging kWorkPerSeek
    // unless the file is there already. False when the position lies past the file's end, the
    // file cannot seek (a pipe) or the work limit is reached; the decoders take that for a file
    // that ends early.
    bool seek(std::int64_t position);

    const DecodeCost& cost() const { return cost_; }

private:
    QIODevice& file_;
    DecodeCost cost_;
};

bool decodeJpeg(DecodeBudget& budget, QImage& canvas);
bool decodeGif(DecodeBudget& budget, QImage& canvas);
bool decodeBmp(DecodeBudget& budget, QImage& canvas);
bool decodePng(DecodeBudget& budget, QImage& canvas);

}  // namespace kestrane
