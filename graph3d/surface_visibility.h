#pragma once

// Which dots of the tall runs can be seen: a nearer dot's pixel is claimed, and a run is given up
// once every pixel it could still reach is claimed.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrane::surface {

// Far above the rounding error of any difference the run checks below bound, and far below any
// slope they could matter for.
constexpr double kSlack = 1e-9;

// Runs of more levels than this are worked out nearest dot first, and only as far as they can
// still be seen; shorter ones are painted whole.
constexpr int kTallRun = 8;

// What the projection of a run's two ends shows about the run.
constexpr int kTopDrawn = 1;
constexpr int kLowestDrawn = 2;
// Its dots move monotonically in y with the level (in x they always do), so every dot lies in the
// box of pixels its two ends span, and between any two of its dots, the others do.
constexpr int kMonotone = 4;
// Both ends lie beyond the same edge of the drawable area, and so does every dot between.
constexpr int kOffCanvas = 8;

// Canvas pixels claimed by the dots of tall runs, a bit each, column by column, in storage that
// it clears. Rows are taken as unsigned, as those of drawn dots are never negative: that spares
// the sign corrections of dividing them.
class Claims {
public:
    Claims(int columns, int rows, std::vector<std::uint64_t>& storage)
        : wordsPerColumn_((rows + 63) / 64) {
        storage.assign(
            static_cast<std::size_t>(columns) * static_cast<std::size_t>(wordsPerColumn_), 0);
        words_ = storage.data();
    }

    // Claims pixel (x, y); false when it was claimed before.
    bool claim(int x, int y) {
        const auto row = static_cast<unsigned>(y);
        std::uint64_t& word = words_[index(x, row / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (row % 64);
        const bool fresh = (word & bit) == 0;
        word |= bit;
        return fresh;
    }

    // Whether every pixel of the box with corners (x0, y0) and (x1, y1), in any order, is claimed.
    bool allClaimed(int x0, int y0, int x1, int y1) const {
        const auto [left, right] = std::minmax(x0, x1);
        const auto [top, bottom] =
            std::minmax({static_cast<unsigned>(y0), static_cast<unsigned>(y1)});
        for (int x = left; x <= right; ++x) {
            for (unsigned word = top / 64; word <= bottom / 64; ++word) {
                std::uint64_t wanted = ~std::uint64_t{0};
                if (word == top / 64) {
                    wanted &= ~std::uint64_t{0} << (top % 64);
                }
                if (word == bottom / 64) {
                    wanted &= ~std::uint64_t{0} >> (63 - bottom % 64);
                }
                if ((words_[index(x, word)] & wanted) != wanted) {
                    return false;
                }
            }
        }
        return true;
    }

private:
    std::size_t index(int x, unsigned word) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(wordsPerColumn_) +
               static_cast<std::size_t>(word);
    }

    int wordsPerColumn_;
    std::uint64_t* words_;
};

// A level of a run and the pixel it lands on.
struct PlacedDot {
    int level;
    int x, y;
};

}  // namespace kestrane::surface
