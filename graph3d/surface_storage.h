#pragma once

// The render's working storage: the padded canvas it paints on, and the arrays of one column's
// runs, kept from one render to the next.

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "workspace/pixel_grid.h"

namespace kestrane::surface {

// A pixel's four bytes as one number. Painting stores these rather than Pixel, whose byte members
// would let a store alias anything and keep the compiler from holding values in registers.
using PixelBits = std::uint32_t;

// A dot that will be painted, and where.
struct VisibleDot {
    std::int32_t offset;
    PixelBits colour;
};

// The canvas with each row padded, painted on and then copied over. Painting runs down the
// screen's columns; rows close to a power of two of bytes apart, as the graph's 513 pixels are,
// would share a few cache sets and keep evicting each other.
class Easel {
public:
    void prepare(const PixelGrid& canvas, Pixel background) {
        columns_ = canvas.columns();
        rows_ = canvas.rows();
        stride_ = columns_ + kRowPadding;
        pixels_.assign(static_cast<std::size_t>(droppedDotOffset()) + 1,
                       std::bit_cast<PixelBits>(background));
    }

    PixelBits* data() { return pixels_.data(); }
    int stride() const { return stride_; }
    // A pixel outside every row, where dots that are dropped may go.
    std::int32_t droppedDotOffset() const { return rows_ * stride_; }

    void copyTo(PixelGrid& canvas) const {
        for (int y = 0; y < rows_; ++y) {
            std::memcpy(static_cast<void*>(canvas.data() + static_cast<std::size_t>(y) *
                                                               static_cast<std::size_t>(columns_)),
                        pixels_.data() + static_cast<std::size_t>(y) * stride_,
                        static_cast<std::size_t>(columns_) * sizeof(PixelBits));
        }
    }

private:
    static constexpr int kRowPadding = 16;
    int columns_ = 0;
    int rows_ = 0;
    int stride_ = 0;
    std::vector<PixelBits> pixels_;
};

// The runs of a column's cells and the projections worked out for them, row by row.
struct ColumnRuns {
    std::vector<std::int16_t> rowMinima;
    std::vector<std::int32_t> lowestLevels, tops;
    // The rows of the tall runs, and their ends' pixels and flags in the same order.
    std::vector<std::int32_t> tallRows, topX, topY, lowestX, lowestY, flags;
    int tallRunCount = 0;
    std::vector<std::int32_t> groupedOffsets;
};

// The working storage of a render, kept from one render to the next so that, once the first has
// run, a render neither allocates nor faults in fresh memory.
struct Scratch {
    std::vector<double> rowSinA, rowCosASinR, rowCosACosR;
    ColumnRuns column;
    std::vector<std::uint64_t> claims;
    std::vector<VisibleDot> visible;
    std::vector<std::int32_t> keptCounts;
    Easel easel;
};

}  // namespace kestrane::surface
