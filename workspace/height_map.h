#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace kestrane {

// Heights of a region indexed [x, y] with x in 0..lastX and y in 0..lastY.
// An empty map (the state before any selection) has lastX = lastY = -1.
class HeightMap {
public:
    HeightMap() = default;
    HeightMap(int lastX, int lastY)
        : lastX_(lastX),
          lastY_(lastY),
          cells_(static_cast<std::size_t>(lastX + 1) * static_cast<std::size_t>(lastY + 1)) {}

    int lastX() const { return lastX_; }
    int lastY() const { return lastY_; }

    // y varies fastest: the builders, the filler and the renderer all walk x outer, y inner.
    std::uint8_t& operator()(int x, int y) { return cells_[index(x, y)]; }
    std::uint8_t operator()(int x, int y) const { return cells_[index(x, y)]; }
    // Heights (x, 0..lastY), one after the other.
    const std::uint8_t* column(int x) const { return &cells_[index(x, 0)]; }

    friend bool operator==(const HeightMap&, const HeightMap&) = default;

private:
    std::size_t index(int x, int y) const {
        Q_ASSERT(x >= 0 && y >= 0 && x <= lastX_ && y <= lastY_);
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(lastY_ + 1) +
               static_cast<std::size_t>(y);
    }

    int lastX_ = -1;
    int lastY_ = -1;
    std::vector<std::uint8_t> cells_;
};

}  // namespace kestrane
