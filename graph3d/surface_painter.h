#pragma once

// Paints a surface, far to near and up each run, as if every dot were painted, on one path. The
// tall runs are worked out first, nearest dot first, so that a dot that a nearer one hides is
// left out, and so is the rest of a run once every pixel it could still reach is hidden.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "graph3d/surface_lanes.h"
#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane {

// Above every height a picture gives (0..93), so a neighbour always lowers it.
constexpr int kNeighbourMinimumStart = 100;

// Runs of up to this many levels are grouped: projected together with the other runs of their
// group of rows, a level of each at a time. Longer ones are tall, worked out nearest dot first.
constexpr int kGroupedRun = 3;

// Far above the rounding error of any difference the run checks bound, and far below any slope
// they could matter for.
constexpr double kSlack = 1e-9;

// A pixel's four bytes as one number. Painting stores these rather than Pixel, whose byte members
// would let a store alias anything and keep the compiler from holding values in registers.
using PixelBits = std::uint32_t;

// A colour per level, and a few more, so that a grouped run may look up all its possible levels.
using LevelColours = std::array<PixelBits, 256 + kGroupedRun>;

// Canvas pixels claimed by the dots of tall runs, a bit each, column by column. Rows are taken as
// unsigned, as those of drawn dots are never negative: that spares the sign corrections of
// dividing them.
struct Claims {
    int wordsPerColumn = 0;
    std::vector<std::uint64_t> words;

    // Claims pixel (x, y); false when it was claimed before.
    bool claim(int x, int y) {
        const auto row = static_cast<unsigned>(y);
        std::uint64_t& word = words[static_cast<std::size_t>(x * wordsPerColumn) + row / 64];
        const std::uint64_t bit = std::uint64_t{1} << (row % 64), before = word;
        word |= bit;
        return (before & bit) == 0;
    }

    // Whether every pixel of the box with corners (x0, y0) and (x1, y1), in any order, is claimed.
    bool allClaimed(int x0, int y0, int x1, int y1) const {
        const auto [left, right] = std::minmax(x0, x1);
        const auto [top, bottom] =
            std::minmax({static_cast<unsigned>(y0), static_cast<unsigned>(y1)});
        const unsigned first = top / 64, last = bottom / 64;
        const std::uint64_t all = ~std::uint64_t{0}, firstBits = all << (top % 64),
                            lastBits = all >> (63 - bottom % 64);
        for (int x = left; x <= right; ++x) {
            const std::uint64_t* const column =
                &words[static_cast<std::size_t>(x * wordsPerColumn)];
            // Most boxes lie within one word of each column.
            if (first == last) {
                if ((column[first] & firstBits & lastBits) != (firstBits & lastBits)) {
                    return false;
                }
                continue;
            }
            if ((column[first] & firstBits) != firstBits || (column[last] & lastBits) != lastBits) {
                return false;
            }
            for (unsigned word = first + 1; word < last; ++word) {
                if (column[word] != all) {
                    return false;
                }
            }
        }
        return true;
    }
};

// A dot of a tall run that will be painted, and where.
struct VisibleDot {
    std::int32_t offset;
    PixelBits colour;
};

// The working storage of a render, kept from one render to the next so that, once the first has
// run, a render neither allocates nor faults in fresh memory.
struct Scratch {
    // The column's cells' lowest levels and tops, the rows of its tall runs near to far, and the
    // minima its rows' heights share with the neighbouring columns.
    std::vector<std::int32_t> lowestLevels, tops, tallRows, rowMinima;
    // Each row's terms of the ground: j * sinA, j * cosA * sinR and j * cosA * cosR.
    std::vector<double> rowSinA, rowCosASinR, rowCosACosR;
    Claims claims;
    std::vector<VisibleDot> visible;
    // How many dots each tall run kept; the grouped runs' projected offsets.
    std::vector<std::int32_t> keptCounts, groupedOffsets;
    // The canvas with each row padded: painting runs down the screen's columns, and rows close to
    // a power of two of bytes apart, as the graph's 513 pixels are, would share a few cache sets.
    // Its last pixel lies outside every row, where dots that are dropped go.
    std::vector<PixelBits> easel;
};

// A level of a run and the pixel it lands on.
struct PlacedDot {
    int level, x, y;
};

template <int Lanes>
class SurfacePainter {
    using Doubles = typename Vectors<Lanes>::Doubles;
    using Ints = typename Vectors<Lanes>::Ints;
    using Masks = typename Vectors<Lanes>::Masks;

public:
    SurfacePainter(const HeightMap& heights, int regionWidth, int regionHeight,
                   const Projection& view, const LevelColours& colours, PixelBits background,
                   Scratch& scratch, PixelGrid& canvas)
        : heights_(heights),
          regionWidth_(regionWidth),
          halfWidth_(roundHalfEven(regionWidth / 2.0)),
          cells_(2 * roundHalfEven(regionHeight / 2.0) - 1),
          rows_(regionHeight + 1),
          // Depth grows with i when sinA >= 0 and with j when cosA >= 0: painted far to near.
          di_(view.sinA >= 0 ? 1 : -1),
          dj_(view.cosA >= 0 ? 1 : -1),
          stride_(canvas.columns() + 16),
          sink_(canvas.rows() * stride_),
          view_(view),
          colours_(colours),
          scratch_(scratch),
          canvas_(canvas) {
        scratch.easel.assign(static_cast<std::size_t>(sink_ + 1), background);
        // Every |py| and |pz| stays below `extent`; 16-bit region sizes keep it far below 100000,
        // and so the depth 100000 - pz above 0.
        const double extent = halfWidth_ + (cells_ + 1) / 2 + 256;
        const double absSinR = std::abs(view.sinR), absCosR = std::abs(view.cosR);
        levelsLead_ = (absCosR - kSlack) * (kPerspectiveDistance - extent - 1);
        levelsLeadFactor_ = 2 * (absSinR + kSlack);
        depthLead_ = 2 * (absCosR + kSlack) * (kPerspectiveDistance + extent + 1);
        depthLeadFactor_ = absSinR - kSlack;
        // Rows have a vector's worth of padding. A cell holds one run, and a pixel is claimed once
        // at most.
        const auto rowsPadded = static_cast<std::size_t>(rows_ + Lanes);
        for (auto* perRow :
             {&scratch.lowestLevels, &scratch.tops, &scratch.tallRows, &scratch.rowMinima}) {
            perRow->resize(rowsPadded);
        }
        // j counts rows from the centre.
        for (auto* terms : {&scratch.rowSinA, &scratch.rowCosASinR, &scratch.rowCosACosR}) {
            terms->resize(rowsPadded);
        }
        for (std::size_t y = 0; y < rowsPadded; ++y) {
            const int j = static_cast<int>(y) - (cells_ + 1) / 2;
            scratch.rowSinA[y] = j * view.sinA;
            scratch.rowCosASinR[y] = j * view.cosA * view.sinR;
            scratch.rowCosACosR[y] = j * view.cosA * view.cosR;
        }
        scratch.groupedOffsets.resize(rowsPadded * kGroupedRun);
        scratch.keptCounts.resize(static_cast<std::size_t>(columns() * cells_));
        // No pixel is claimed yet.
        scratch.claims.wordsPerColumn = (canvas.rows() + 63) / 64;
        scratch.claims.words.assign(canvas.columns() * scratch.claims.wordsPerColumn, 0);
        scratch.visible.resize(static_cast<std::size_t>(canvas.columns() * canvas.rows()));
    }

    // Paints the surface and copies it onto the canvas; returns the number of dots drawn.
    [[gnu::always_inline]] inline std::int64_t paint() {
        std::int64_t dots = 0;
        VisibleDot* kept = scratch_.visible.data();
        std::int32_t* keptCount = scratch_.keptCounts.data();
        for (int column = columns() - 1; column >= 0; --column) {
            dots += keepVisibleDots(column, kept, keptCount);
        }
        for (int column = 0; column < columns(); ++column) {
            dots += paintColumn(column, kept, keptCount);
        }
        for (int y = 0; y < canvas_.rows(); ++y) {
            std::memcpy(static_cast<void*>(canvas_.row(y)),
                        &scratch_.easel[static_cast<std::size_t>(y * stride_)],
                        static_cast<std::size_t>(canvas_.columns()) * sizeof(PixelBits));
        }
        return dots;
    }

private:
    int columns() const { return 2 * halfWidth_ - 1; }

    // The column's cells' tops and lowest levels, as findRuns left them.
    std::int32_t* tops() { return scratch_.tops.data(); }
    std::int32_t* lowestLevels() { return scratch_.lowestLevels.data(); }

    // Offset i from the centre of a column, counting columns far to near.
    int columnAt(int column) const { return (column - (halfWidth_ - 1)) * di_; }

    // The values stored from `from` on, one per lane.
    template <class Vector = Ints, class T>
    [[gnu::always_inline]] static inline Vector load(const T* from) {
        Vector values;
        std::memcpy(&values, from, sizeof values);
        return values;
    }

    // The ground terms of the cells of a column whose rows' terms are given, one per lane. They
    // repeat the projection's products operand for operand, so that taking them out of the loops
    // over levels leaves every rounding as it was.
    [[gnu::always_inline]] inline Ground<Lanes> ground(int column, const Doubles& sinA,
                                                       const Doubles& cosASinR,
                                                       const Doubles& cosACosR) const {
        const int i = columnAt(column);
        return {(i * view_.cosA - sinA) * kPerspectiveDistance,
                cosASinR + i * view_.sinA * view_.sinR, -i * view_.sinA * view_.cosR - cosACosR};
    }

    // Each row's minimum over map columns x - 1..x + 1, a missing last row stood in for by the one
    // before it; then each cell's lowest level, one below the least of the minima of rows
    // y - 1..y + 1, and its top, its own height. Returns whether the column has a tall run.
    [[gnu::always_inline]] inline bool findRuns(int column) {
        // Row and column 0 always exist; a missing last column is stood in for by the cell's own,
        // which changes no minimum.
        const int x = columnAt(column) + halfWidth_;
        const std::uint8_t* const left = heights_.column(x - 1);
        const std::uint8_t* const here = heights_.column(x);
        const std::uint8_t* const right = heights_.column(std::min(x + 1, regionWidth_));
        std::int32_t* const minima = scratch_.rowMinima.data();
        // Stores may alias int members: the loops work from copies.
        const int rows = rows_, cells = cells_;
        for (int y = 0; y < rows; ++y) {
            tops()[y] = here[y];
            minima[y] = std::min(std::min(left[y], here[y]), right[y]);
        }
        minima[rows] = minima[rows - 1];
        int longest = 0;
        for (int y = 1; y <= cells; ++y) {
            const int lowest = std::min(std::min(kNeighbourMinimumStart, minima[y - 1]),
                                        std::min(minima[y], minima[y + 1]));
            lowestLevels()[y] = lowest - (lowest > 0 ? 1 : 0);
            longest = std::max(longest, tops()[y] - lowestLevels()[y]);
        }
        return longest >= kGroupedRun;
    }

    // Finds the column's runs, works out its tall ones near to far, keeps their dots that can be
    // seen and counts how many each kept. Returns the number of their dots drawn. The ends of
    // Lanes runs are projected together.
    [[gnu::always_inline]] inline std::int64_t keepVisibleDots(int column, VisibleDot*& kept,
                                                               std::int32_t*& keptCount) {
        if (!findRuns(column)) {
            return 0;
        }
        std::int32_t* const rows = scratch_.tallRows.data();
        int count = 0;
        const int rowStep = -dj_, end = rowStep > 0 ? cells_ + 1 : 0;
        for (int row = rowStep > 0 ? 1 : cells_; row != end; row += rowStep) {
            rows[count] = row;
            count += tops()[row] - lowestLevels()[row] >= kGroupedRun;
        }
        std::int64_t dots = 0;
        // The last group's lanes past the last tall run take rows the list held before; unused.
        for (int n = 0; n < count; n += Lanes) {
            Ints top, lowest;
            Doubles sinA, cosASinR, cosACosR;
            for (int lane = 0; lane < Lanes; ++lane) {
                const auto row = static_cast<std::size_t>(rows[n + lane]);
                top[lane] = tops()[row];
                lowest[lane] = lowestLevels()[row];
                sinA[lane] = scratch_.rowSinA[row];
                cosASinR[lane] = scratch_.rowCosASinR[row];
                cosACosR[lane] = scratch_.rowCosACosR[row];
            }
            const Ground<Lanes> cells = ground(column, sinA, cosASinR, cosACosR);
            const Dots<Lanes> topDots =
                project(view_, cells, __builtin_convertvector(top, Doubles));
            const Dots<Lanes> lowestDots =
                project(view_, cells, __builtin_convertvector(lowest, Doubles));
            const auto [monotone, hidden] = checkEnds(topDots, lowestDots);
            for (int lane = 0; lane < Lanes && n + lane < count; ++lane) {
                const VisibleDot* const first = kept;
                if (hidden[lane] == 0) {
                    const Ground<Lanes> cell{cells.scaledPx[lane] - Doubles{},
                                             cells.py[lane] - Doubles{},
                                             cells.pz[lane] - Doubles{}};
                    dots += keepVisibleRun(cell, {top[lane], topDots.x[lane], topDots.y[lane]},
                                           {lowest[lane], lowestDots.x[lane], lowestDots.y[lane]},
                                           topDots.drawn[lane] != 0, lowestDots.drawn[lane] != 0,
                                           monotone[lane] != 0, kept);
                }
                *keptCount++ = static_cast<std::int32_t>(kept - first);
            }
        }
        return dots;
    }

    // Whether the dots of each of Lanes tall runs, from the projections of their ends, move one
    // way in y, and whether they all lie beyond one edge of the drawable area. Along a run only
    // the level changes. x moves one way, as the depth does. y is N / depth with N = py * 100000,
    // both moving: in exact arithmetic a step changes it by (dN * depth - N * dDepth) / (depth *
    // depth'), where dN = 100000 * cosR and dDepth = -sinR up to errors far below kSlack. When
    // one product outweighs the other twice over at every step of the run, every step moves y the
    // same way: levelsLead_ > largest |py| * levelsLeadFactor_, or smallest |py| *
    // depthLeadFactor_ > depthLead_ with py of one sign. Then every dot lies in the box of pixels
    // its two ends span, and between any two of its dots, the others do.
    [[gnu::always_inline]] inline std::array<Masks, 2> checkEnds(const Dots<Lanes>& top,
                                                                 const Dots<Lanes>& lowest) const {
        const Doubles topSize = top.py < 0 ? -top.py : top.py;
        const Doubles lowestSize = lowest.py < 0 ? -lowest.py : lowest.py;
        const Masks monotone =
            (levelsLead_ > (topSize > lowestSize ? topSize : lowestSize) * levelsLeadFactor_) |
            ((((top.py > 0) & (lowest.py > 0)) | ((top.py < 0) & (lowest.py < 0))) &
             ((topSize < lowestSize ? topSize : lowestSize) * depthLeadFactor_ > depthLead_));
        const auto beyond = [](const Doubles& a, const Doubles& b, double last) {
            return ((a < 0) & (b < 0)) | ((a > last) & (b > last));
        };
        // Both ends beyond the same edge of the drawable area, and so every dot between.
        return {monotone, beyond(top.screenX, lowest.screenX, view_.lastX) |
                              (monotone & beyond(top.screenY, lowest.screenY, view_.lastY))};
    }

    // Keeps the drawn dots of a tall run that no nearer dot hides; returns the number drawn.
    // Its ends are `high` and `low`; `monotone` as checkEnds found.
    [[gnu::always_inline]] inline std::int64_t keepVisibleRun(const Ground<Lanes>& cell,
                                                              PlacedDot high, PlacedDot low,
                                                              bool topDrawn, bool lowestDrawn,
                                                              bool monotone, VisibleDot*& kept) {
        // Boxed, the drawn dots are those from `high` to `low`, each in the box their ends span.
        if (monotone && (topDrawn || lowestDrawn)) {
            // One end at least is drawn, and stays as it is.
            high = topDrawn ? high : lastDrawn(cell, low, high.level);
            low = lowestDrawn ? low : lastDrawn(cell, high, low.level);
            keep(high, kept);
            for (PlacedDot at = high;
                 at.level > low.level && !scratch_.claims.allClaimed(at.x, at.y, low.x, low.y);) {
                const Dots<Lanes> next =
                    project(view_, cell,
                            __builtin_convertvector(at.level - 1 - laneNumbers<Ints>(), Doubles));
                for (int lane = 0; lane < Lanes && at.level > low.level; ++lane) {
                    // Many dots in a row land on one pixel, which the first of them claimed.
                    const bool samePixel = next.x[lane] == at.x && next.y[lane] == at.y;
                    at = {at.level - 1, next.x[lane], next.y[lane]};
                    if (!samePixel) {
                        keep(at, kept);
                    }
                }
            }
            return high.level - low.level + 1;
        }
        std::int64_t dots = 0;
        for (int level = high.level; level >= low.level;) {
            const Dots<Lanes> next =
                project(view_, cell, __builtin_convertvector(level - laneNumbers<Ints>(), Doubles));
            for (int lane = 0; lane < Lanes && level >= low.level; ++lane, --level) {
                if (next.drawn[lane] != 0) {
                    ++dots;
                    keep({level, next.x[lane], next.y[lane]}, kept);
                }
            }
        }
        return dots;
    }

    // In a run whose drawn dots are one unbroken stretch, the drawn dot farthest from `drawn`
    // towards level `end`, which is not drawn: found by projecting, each time, up to Lanes levels
    // spread evenly over those still in doubt.
    [[gnu::always_inline]] inline PlacedDot lastDrawn(const Ground<Lanes>& cell, PlacedDot drawn,
                                                      int end) const {
        for (int gap; (gap = std::abs(end - drawn.level)) > 1;) {
            const int direction = end > drawn.level ? 1 : -1, probes = std::min(Lanes, gap - 1);
            Ints levels;
            for (int lane = 0; lane < Lanes; ++lane) {
                levels[lane] =
                    drawn.level + direction * (std::min(lane + 1, probes) * gap / (probes + 1));
            }
            const auto next = project(view_, cell, __builtin_convertvector(levels, Doubles));
            int lane = 0;
            for (; lane < probes && next.drawn[lane] != 0; ++lane) {
                drawn = {levels[lane], next.x[lane], next.y[lane]};
            }
            end = lane < probes ? levels[lane] : end;
        }
        return drawn;
    }

    // Keeps a drawn dot of a tall run unless a nearer one claimed its pixel.
    [[gnu::always_inline]] inline void keep(const PlacedDot& dot, VisibleDot*& kept) {
        if (scratch_.claims.claim(dot.x, dot.y)) {
            *kept++ = {dot.y * stride_ + dot.x, colours_[static_cast<std::size_t>(dot.level)]};
        }
    }

    // Projects the levels of the column's grouped runs, Lanes rows at a time from row 1 up, a
    // level of each at a time, into `groupedOffsets`: the offset of the dot `step` levels above
    // the lowest of row y at y * kGroupedRun + step, the sink's where there is none or it is
    // dropped. Returns the number of dots drawn.
    [[gnu::always_inline]] inline std::int64_t projectGroupedRuns(int column) {
        std::int32_t* const at = scratch_.groupedOffsets.data();
        // Offset stores may alias any int member: the loop works from copies.
        const int lastCell = cells_;
        const double stride = stride_;
        const Ints sink = Ints{} + sink_;
        Ints drawnDots{};
        for (std::size_t y = 1; y <= static_cast<std::size_t>(lastCell); y += Lanes) {
            const Ground<Lanes> cells = ground(column, load<Doubles>(&scratch_.rowSinA[y]),
                                               load<Doubles>(&scratch_.rowCosASinR[y]),
                                               load<Doubles>(&scratch_.rowCosACosR[y]));
            const Ints lowest = load(&lowestLevels()[y]);
            const Ints lengths = load(&tops()[y]) - lowest + 1;
            // The last group may reach past the last cell.
            const Ints grouped =
                (lengths <= kGroupedRun) & (static_cast<int>(y) + laneNumbers<Ints>() <= lastCell);
            int longest = 0;
            for (int lane = 0; lane < Lanes; ++lane) {
                longest = std::max(longest, lengths[lane] & grouped[lane]);
            }
            for (int step = 0; step < kGroupedRun; ++step) {
                Ints offsets = sink;
                if (step < longest) {
                    const Dots<Lanes> next =
                        project(view_, cells, __builtin_convertvector(lowest + step, Doubles));
                    // The pixels' offsets, -1 for a dot that is dropped.
                    const Ints projected = __builtin_convertvector(
                        next.drawn ? next.roundedY * stride + next.roundedX : -1, Ints);
                    const Ints drawn = (step < lengths) & grouped & (projected >= 0);
                    drawnDots -= drawn;
                    offsets = drawn ? projected : offsets;
                }
                for (std::size_t lane = 0; lane < Lanes; ++lane) {
                    at[(y + lane) * kGroupedRun + static_cast<std::size_t>(step)] = offsets[lane];
                }
            }
        }
        std::int64_t dots = 0;
        for (int lane = 0; lane < Lanes; ++lane) {
            dots += drawnDots[lane];
        }
        return dots;
    }

    // Finds a column's runs again rather than keeping every column's, and paints them far to
    // near: the grouped ones from their projected offsets, each tall one with the dots it
    // kept, taken from the end of those kept backwards. Returns the number of grouped dots drawn.
    // A pixel store may alias any int member, so the loop works from copies.
    [[gnu::always_inline]] inline std::int64_t paintColumn(int column, VisibleDot*& kept,
                                                           std::int32_t*& keptCount) {
        findRuns(column);
        const std::int64_t dots = projectGroupedRuns(column);
        PixelBits* const pixels = scratch_.easel.data();
        const PixelBits* const colours = colours_.data();
        const std::int32_t* const at = scratch_.groupedOffsets.data();
        const int rowStep = dj_, end = rowStep > 0 ? cells_ + 1 : 0;
        for (int row = rowStep > 0 ? 1 : cells_; row != end; row += rowStep) {
            const auto y = static_cast<std::size_t>(row);
            const int lowest = lowestLevels()[y];
            if (tops()[y] - lowest < kGroupedRun) {
                // Run lengths follow no pattern, which makes branches dear: every possible dot
                // is stored, those not drawn in the sink.
                for (std::size_t step = 0; step < kGroupedRun; ++step) {
                    pixels[at[y * kGroupedRun + step]] =
                        colours[static_cast<std::size_t>(lowest) + step];
                }
            } else {
                const VisibleDot* const last = kept;
                kept -= *--keptCount;
                for (const VisibleDot* visible = kept; visible < last; ++visible) {
                    pixels[visible->offset] = visible->colour;
                }
            }
        }
        return dots;
    }

    const HeightMap& heights_;
    int regionWidth_, halfWidth_;
    // Cells are rows 1..cells_ of each column, of rows_ rows of heights.
    int cells_, rows_;
    // The steps of the offsets i and j from far to near.
    int di_, dj_;
    int stride_, sink_;
    Projection view_;
    const LevelColours& colours_;
    Scratch& scratch_;
    PixelGrid& canvas_;
    // The run checks' constants: a run's dots move one way in y when levelsLead_ > largest |py| *
    // levelsLeadFactor_, or when smallest |py| * depthLeadFactor_ > depthLead_ with py of one sign.
    double levelsLead_, levelsLeadFactor_, depthLead_, depthLeadFactor_;
};

}  // namespace kestrane
