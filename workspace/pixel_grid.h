#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrane {

// One pixel as a 32-bit bitmap stores it: read as a little-endian word it is 0x00RRGGBB.
struct Pixel {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    friend bool operator==(const Pixel&, const Pixel&) = default;
};
static_assert(sizeof(Pixel) == 4);

// A grid of pixels indexed [x, y], both from 0, x varying fastest in memory.
// The workspace grids are 513 x 513 (indices 0..512); the profile canvas is 513 x 121.
class PixelGrid {
public:
    static constexpr int kSize = 513;
    static constexpr int kProfileRows = 121;

    explicit PixelGrid(int columns = kSize, int rows = kSize)
        : columns_(columns), rows_(rows), cells_(static_cast<std::size_t>(columns) * rows) {}

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    Pixel& operator()(int x, int y) { return cells_[index(x, y)]; }
    const Pixel& operator()(int x, int y) const { return cells_[index(x, y)]; }

    Pixel* row(int y) { return cells_.data() + index(0, y); }
    const Pixel* row(int y) const { return cells_.data() + index(0, y); }
    Pixel* data() { return cells_.data(); }
    const Pixel* data() const { return cells_.data(); }
    std::size_t size() const { return cells_.size(); }

    void fill(Pixel pixel) { std::fill(cells_.begin(), cells_.end(), pixel); }

    friend bool operator==(const PixelGrid&, const PixelGrid&) = default;

private:
    std::size_t index(int x, int y) const {
        Q_ASSERT(x >= 0 && y >= 0 && x < columns_ && y < rows_);
        return static_cast<std::size_t>(y) * columns_ + static_cast<std::size_t>(x);
    }

    int columns_;
    int rows_;
    std::vector<Pixel> cells_;
};

}  // namespace kestrane
