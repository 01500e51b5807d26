#pragma once

// Paints the surface from the heights: finds each column's runs, keeps the visible dots of its
// tall runs, and paints every run far to near onto a padded copy of the canvas.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "graph3d/surface_lanes.h"
#include "graph3d/surface_storage.h"
#include "graph3d/surface_visibility.h"
#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane::surface {

// Above every height a picture gives (0..93), so a neighbour always lowers it.
constexpr int kNeighbourMinimumStart = 100;

// Runs of up to this many levels are projected together with the other runs of their group of
// rows, a level of each at a time.
constexpr int kGroupedRun = 3;

// A colour per level, and a few more, so that a grouped run may look up all its possible levels.
using LevelColours = std::array<PixelBits, 256 + kGroupedRun>;

// Paints the surface in two sweeps, projecting Lanes dots at a time. The first works out the tall
// runs nearest dot first: a dot whose pixel a nearer dot of a tall run (painted later) already
// claimed is left out, and so is the rest of a run once every pixel it could still reach is
// claimed. The second paints every run far to near and up each run, the tall ones with the dots
// they kept. Every pixel ends with the colour of the last dot that reaches it, as if every dot
// were painted.
template <int Lanes>
class SurfacePainter {
    using Doubles = typename Vectors<Lanes>::Doubles;
    using Masks = typename Vectors<Lanes>::Masks;
    using Ints = typename Vectors<Lanes>::Ints;
    using DotsOfLanes = Dots<Lanes>;

public:
    SurfacePainter(const HeightMap& heights, int regionWidth, int regionHeight, int halfWidth,
                   int halfHeight, const Projection& view, const LevelColours& colours,
                   PixelGrid& canvas, Scratch& scratch)
        : heights_(heights),
          regionWidth_(regionWidth),
          rows_(regionHeight + 1),
          cells_(2 * halfHeight - 1),
          halfWidth_(halfWidth),
          halfHeight_(halfHeight),
          // Depth grows with i when sinA >= 0 and with j when cosA >= 0: painted far to near.
          di_(view.sinA >= 0 ? 1 : -1),
          dj_(view.cosA >= 0 ? 1 : -1),
          view_(view),
          colours_(colours),
          pixels_(scratch.easel.data()),
          stride_(scratch.easel.stride()),
          droppedDot_(scratch.easel.droppedDotOffset()),
          scratch_(scratch),
          claims_(canvas.columns(), canvas.rows(), scratch.claims),
          canvas_(canvas) {
        // Every |py| and |pz| stays below `extent`; 16-bit region sizes keep it far below 100000,
        // and so the depth 100000 - pz above 0.
        const double extent = halfWidth + halfHeight + 256;
        const double absSinR = std::abs(view.sinR);
        const double absCosR = std::abs(view.cosR);
        levelsLead_ = (absCosR - kSlack) * (kPerspectiveDistance - extent - 1);
        levelsLeadFactor_ = 2 * (absSinR + kSlack);
        depthLead_ = 2 * (absCosR + kSlack) * (kPerspectiveDistance + extent + 1);
        depthLeadFactor_ = absSinR - kSlack;

        // The row terms repeat the projection's products operand for operand, so that taking
        // them out of the inner loops leaves every rounding as it was; they are the same for
        // every column. Each per-row array has a vector's worth of padding.
        const auto padded = static_cast<std::size_t>(rows_ + Lanes);
        for (auto* terms : {&scratch.rowSinA, &scratch.rowCosASinR, &scratch.rowCosACosR}) {
            terms->resize(padded);
        }
        for (std::size_t y = 0; y < static_cast<std::size_t>(rows_); ++y) {
            const int j = static_cast<int>(y) - halfHeight;
            scratch.rowSinA[y] = j * view.sinA;
            scratch.rowCosASinR[y] = j * view.cosA * view.sinR;
            scratch.rowCosACosR[y] = j * view.cosA * view.cosR;
        }
        ColumnRuns& runs = scratch.column;
        runs.rowMinima.resize(static_cast<std::size_t>(rows_ + 1));
        for (auto* perRow : {&runs.lowestLevels, &runs.tops, &runs.tallRows, &runs.topX, &runs.topY,
                             &runs.lowestX, &runs.lowestY, &runs.flags}) {
            perRow->resize(padded);
        }
        runs.groupedOffsets.resize(padded * kGroupedRun);
        // A pixel is claimed once at most, and a cell holds one run.
        scratch.visible.resize(static_cast<std::size_t>(canvas.columns()) *
                               static_cast<std::size_t>(canvas.rows()));
        scratch.keptCounts.resize(static_cast<std::size_t>(2 * halfWidth - 1) *
                                  static_cast<std::size_t>(cells_));
        kept_ = scratch.visible.data();
    }

    // Paints the surface and copies it onto the canvas; returns the number of dots drawn. Every
    // claim is made, nearest column first, before any column is painted far to near.
    [[gnu::always_inline]] inline std::int64_t paint() {
        ColumnRuns& runs = scratch_.column;
        std::int64_t dots = 0;
        for (int column = columns() - 1; column >= 0; --column) {
            const int i = columnAt(column);
            if (findRuns(i + halfWidth_, runs)) {
                const ColumnTerms terms = columnTerms(i);
                projectEnds(terms, runs);
                dots += keepVisibleDots(terms, runs);
            }
        }
        // The kept dots are taken from the end backwards, the farthest column's last.
        std::size_t keptEnd = static_cast<std::size_t>(kept_ - scratch_.visible.data());
        std::size_t runsLeft = tallRuns_;
        for (int column = 0; column < columns(); ++column) {
            dots += paintColumn(column, runs, keptEnd, runsLeft);
        }
        scratch_.easel.copyTo(canvas_);
        return dots;
    }

private:
    int columns() const { return 2 * halfWidth_ - 1; }

    // The offset i from the centre of a column, counting columns far to near.
    int columnAt(int column) const { return (column - (halfWidth_ - 1)) * di_; }

    // The terms of column i that all its cells share.
    struct ColumnTerms {
        double iCosA, iSinASinR, iDepth;
    };

    ColumnTerms columnTerms(int i) const {
        return {i * view_.cosA, i * view_.sinA * view_.sinR, -i * view_.sinA * view_.cosR};
    }

    // Levels first, first + step, first + 2 * step, ..., one per lane.
    static Doubles levels(int first, int step) {
        return __builtin_convertvector(first + step * laneNumbers<Ints>(), Doubles);
    }

    // Calls visit(level, dots, lane) for the levels of a cell from `first` to `last` by `step`,
    // projected Lanes at a time, for as long as more() holds before each projection.
    template <class More, class Visit>
    [[gnu::always_inline]] inline void walkLevels(const Ground<Lanes>& cell, int first, int last,
                                                  int step, More more, Visit visit) const {
        for (int level = first; (last - level) * step >= 0 && more();) {
            const DotsOfLanes dots = project(view_, cell, levels(level, step));
            for (int lane = 0; lane < Lanes && (last - level) * step >= 0; ++lane, level += step) {
                visit(level, dots, lane);
            }
        }
    }

    // The ground terms of the cells of rows `row` on, one per lane.
    [[gnu::always_inline]] inline Ground<Lanes> cellsFrom(const ColumnTerms& column,
                                                          std::size_t row) const {
        return {(column.iCosA - load<Doubles>(&scratch_.rowSinA[row])) * kPerspectiveDistance,
                load<Doubles>(&scratch_.rowCosASinR[row]) + column.iSinASinR,
                column.iDepth - load<Doubles>(&scratch_.rowCosACosR[row])};
    }

    // The ground terms of the cell of row `row`, in every lane.
    [[gnu::always_inline]] inline Ground<Lanes> cellAt(const ColumnTerms& column,
                                                       std::size_t row) const {
        return {splat<Doubles>((column.iCosA - scratch_.rowSinA[row]) * kPerspectiveDistance),
                splat<Doubles>(scratch_.rowCosASinR[row] + column.iSinASinR),
                splat<Doubles>(column.iDepth - scratch_.rowCosACosR[row])};
    }

    // Each row's minimum over columns x - 1..x + 1, a missing last row stood in for by the one
    // before it; then each cell's lowest level, one below the least of the minima of rows
    // y - 1..y + 1, and its height. Returns whether the column has a tall run.
    [[gnu::always_inline]] inline bool findRuns(int x, ColumnRuns& runs) const {
        // Row and column 0 always exist; a missing last column is stood in for by the cell's
        // own, which changes no minimum.
        const std::uint8_t* const left = heights_.column(x - 1);
        const std::uint8_t* const here = heights_.column(x);
        const std::uint8_t* const right = heights_.column(std::min(x + 1, regionWidth_));
        std::int32_t* const tops = runs.tops.data();
        std::int16_t* const minima = runs.rowMinima.data();
        std::int32_t* const lowestLevels = runs.lowestLevels.data();
        const int rows = rows_;
        for (int y = 0; y < rows; ++y) {
            tops[y] = here[y];
            minima[y] = std::min(std::min(left[y], here[y]), right[y]);
        }
        minima[rows] = minima[rows - 1];
        int longest = 0;
        for (int y = 1; y < rows; ++y) {
            const int lowest = std::min(std::min(kNeighbourMinimumStart, int{minima[y - 1]}),
                                        std::min(int{minima[y]}, int{minima[y + 1]}));
            lowestLevels[y] = lowest - (lowest > 0 ? 1 : 0);
            longest = std::max(longest, tops[y] - lowestLevels[y]);
        }
        return longest >= kTallRun;
    }

    // Lists the rows of the column's tall runs, projects both ends of each and checks how the dots
    // between move. Along a run only the level changes. x moves one way, as the depth does.
    // y is N / depth with N = py * 100000, both moving: in exact arithmetic a step changes it by
    // (dN * depth - N * dDepth) / (depth * depth'), where dN = 100000 * cosR and dDepth = -sinR
    // up to errors far below kSlack. When one product outweighs the other twice over at every
    // step of the run, every step moves y the same way.
    [[gnu::always_inline]] inline void projectEnds(const ColumnTerms& column,
                                                   ColumnRuns& runs) const {
        std::int32_t* const rows = runs.tallRows.data();
        int count = 0;
        for (int y = 1; y <= cells_; ++y) {
            rows[count] = y;
            count += runs.tops[static_cast<std::size_t>(y)] -
                         runs.lowestLevels[static_cast<std::size_t>(y)] >=
                     kTallRun;
        }
        runs.tallRunCount = count;
        // Tall runs may lie only in rows that are neighbours and no cells.
        if (count == 0) {
            return;
        }
        // The last group's lanes past the last tall run repeat it.
        for (int lane = 0; lane < Lanes; ++lane) {
            rows[count + lane] = rows[count - 1];
        }
        for (std::size_t n = 0; n < static_cast<std::size_t>(count); n += Lanes) {
            Doubles sinA, cosASinR, cosACosR, tops, lowestLevels;
            for (std::size_t lane = 0; lane < Lanes; ++lane) {
                const auto row = static_cast<std::size_t>(rows[n + lane]);
                sinA[lane] = scratch_.rowSinA[row];
                cosASinR[lane] = scratch_.rowCosASinR[row];
                cosACosR[lane] = scratch_.rowCosACosR[row];
                tops[lane] = runs.tops[row];
                lowestLevels[lane] = runs.lowestLevels[row];
            }
            const Ground<Lanes> cells{(column.iCosA - sinA) * kPerspectiveDistance,
                                      cosASinR + column.iSinASinR, column.iDepth - cosACosR};
            const auto top = project(view_, cells, tops);
            const auto lowest = project(view_, cells, lowestLevels);
            const Doubles topPy = magnitude(top.py);
            const Doubles lowestPy = magnitude(lowest.py);
            const Masks levelsLead =
                levelsLead_ > (topPy > lowestPy ? topPy : lowestPy) * levelsLeadFactor_;
            const Masks depthLead =
                (((top.py > 0) & (lowest.py > 0)) | ((top.py < 0) & (lowest.py < 0))) &
                ((topPy < lowestPy ? topPy : lowestPy) * depthLeadFactor_ > depthLead_);
            const Masks monotone = levelsLead | depthLead;
            const Masks offX = ((top.screenX < 0) & (lowest.screenX < 0)) |
                               ((top.screenX > view_.lastX) & (lowest.screenX > view_.lastX));
            const Masks offY = ((top.screenY < 0) & (lowest.screenY < 0)) |
                               ((top.screenY > view_.lastY) & (lowest.screenY > view_.lastY));
            const Masks flags = (top.drawn & kTopDrawn) | (lowest.drawn & kLowestDrawn) |
                                (monotone & kMonotone) | ((offX | (monotone & offY)) & kOffCanvas);
            store(&runs.topX[n], top.x());
            store(&runs.topY[n], top.y());
            store(&runs.lowestX[n], lowest.x());
            store(&runs.lowestY[n], lowest.y());
            store(&runs.flags[n], __builtin_convertvector(flags, Ints));
        }
    }

    // Works out the tall runs of the column nearest dot first, keeps the dots that can be seen
    // and adds how many each run kept to the counts. Returns the number of their dots drawn.
    [[gnu::always_inline]] inline std::int64_t keepVisibleDots(const ColumnTerms& column,
                                                               const ColumnRuns& runs) {
        std::int64_t dots = 0;
        // Rows near to far.
        const int count = runs.tallRunCount;
        for (int taken = 0; taken < count; ++taken) {
            const auto n = static_cast<std::size_t>(dj_ > 0 ? count - 1 - taken : taken);
            const auto y = static_cast<std::size_t>(runs.tallRows[n]);
            const int top = runs.tops[y];
            const int lowest = runs.lowestLevels[y];
            const int flags = runs.flags[n];
            const VisibleDot* const first = kept_;
            const Ground<Lanes> ground = cellAt(column, y);
            const bool topDrawn = (flags & kTopDrawn) != 0;
            const bool lowestDrawn = (flags & kLowestDrawn) != 0;
            if ((flags & kOffCanvas) == 0 && (flags & kMonotone) != 0 &&
                (topDrawn || lowestDrawn)) {
                // The drawn dots are those from `low` to `high`, each in the box their ends span.
                const PlacedDot topDot{top, runs.topX[n], runs.topY[n]};
                const PlacedDot lowestDot{lowest, runs.lowestX[n], runs.lowestY[n]};
                const PlacedDot high = topDrawn ? topDot : lastDrawn(ground, lowestDot, top);
                const PlacedDot low = lowestDrawn ? lowestDot : lastDrawn(ground, topDot, lowest);
                dots += high.level - low.level + 1;
                keep(high);
                PlacedDot above = high;
                walkLevels(
                    ground, high.level - 1, low.level, -1,
                    [&] { return !claims_.allClaimed(above.x, above.y, low.x, low.y); },
                    [&](int level, const DotsOfLanes& next, int lane) {
                        // A dot on the pixel of the one above it is hidden by it.
                        const PlacedDot dot{level, next.x()[lane], next.y()[lane]};
                        if (dot.x != above.x || dot.y != above.y) {
                            keep(dot);
                        }
                        above = dot;
                    });
            } else if ((flags & kOffCanvas) == 0) {
                walkLevels(
                    ground, top, lowest, -1, [] { return true; },
                    [&](int level, const DotsOfLanes& next, int lane) {
                        if (next.drawn[lane] != 0) {
                            ++dots;
                            keep({level, next.x()[lane], next.y()[lane]});
                        }
                    });
            }
            scratch_.keptCounts[tallRuns_++] = static_cast<std::int32_t>(kept_ - first);
        }
        return dots;
    }

    // In a run whose drawn dots are one unbroken stretch, the drawn dot farthest from `drawn`
    // towards level `end`, which is not drawn: found by projecting, each time, up to Lanes levels
    // spread evenly over those still in doubt.
    [[gnu::always_inline]] inline PlacedDot lastDrawn(const Ground<Lanes>& cell, PlacedDot drawn,
                                                      int end) const {
        while (std::abs(end - drawn.level) > 1) {
            const int gap = std::abs(end - drawn.level);
            const int direction = end > drawn.level ? 1 : -1;
            const int probes = std::min(Lanes, gap - 1);
            Ints levels;
            for (int lane = 0; lane < Lanes; ++lane) {
                levels[lane] =
                    drawn.level + direction * (std::min(lane + 1, probes) * gap / (probes + 1));
            }
            const auto next = project(view_, cell, __builtin_convertvector(levels, Doubles));
            const Ints nextX = next.x();
            const Ints nextY = next.y();
            int lane = 0;
            for (; lane < probes && next.drawn[lane] != 0; ++lane) {
                drawn = {levels[lane], nextX[lane], nextY[lane]};
            }
            if (lane < probes) {
                end = levels[lane];
            }
        }
        return drawn;
    }

    // Keeps a drawn dot of a tall run unless a nearer one holds its pixel.
    [[gnu::always_inline]] inline void keep(const PlacedDot& dot) {
        if (claims_.claim(dot.x, dot.y)) {
            *kept_++ = {dot.y * stride_ + dot.x, colours_[static_cast<std::size_t>(dot.level)]};
        }
    }

    // Projects the levels of the column's grouped runs, Lanes rows at a time from row 1 up, a
    // level of each at a time, into `groupedOffsets`: the offset of the dot `step` levels above
    // the lowest of row y at y * kGroupedRun + step, the dropped dots' pixel where there is none or
    // it is dropped. Returns the number of dots drawn.
    [[gnu::always_inline]] inline std::int64_t projectGroupedRuns(const ColumnTerms& column,
                                                                  ColumnRuns& runs) const {
        const double stride = stride_;
        const std::int32_t* const tops = runs.tops.data();
        const std::int32_t* const lowestLevels = runs.lowestLevels.data();
        std::int32_t* const at = runs.groupedOffsets.data();
        Ints drawnDots{};
        for (std::size_t y = 1; y <= static_cast<std::size_t>(cells_); y += Lanes) {
            const Ground<Lanes> cells = cellsFrom(column, y);
            const Ints lowest = load<Ints>(&lowestLevels[y]);
            const Ints lengths = load<Ints>(&tops[y]) - lowest + 1;
            // The last group may reach past the last cell.
            const Ints grouped =
                (lengths <= kGroupedRun) & (static_cast<int>(y) + laneNumbers<Ints>() <= cells_);
            int longest = 0;
            for (int lane = 0; lane < Lanes; ++lane) {
                longest = std::max(longest, lengths[lane] & grouped[lane]);
            }
            for (int step = 0; step < kGroupedRun; ++step) {
                Ints offsets = Ints{} + droppedDot_;
                if (step < longest) {
                    const Ints projected =
                        project(view_, cells, __builtin_convertvector(lowest + step, Doubles))
                            .offsets(stride);
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

    // Paints a column's runs far to near: the grouped ones from their projected offsets, the other
    // short ones a level per lane, each tall one with the dots it kept, taken from before
    // `keptEnd` (the counts of the `runsLeft` runs not yet painted). Returns the number of dots
    // drawn outside tall runs. A pixel store may alias any member, so the loop works from copies.
    [[gnu::always_inline]] inline std::int64_t paintColumn(int columnNumber, ColumnRuns& runs,
                                                           std::size_t& keptEnd,
                                                           std::size_t& runsLeft) const {
        const int i = columnAt(columnNumber);
        findRuns(i + halfWidth_, runs);
        const ColumnTerms column = columnTerms(i);
        std::int64_t dots = projectGroupedRuns(column, runs);
        PixelBits* const pixels = pixels_;
        const PixelBits* const colours = colours_.data();
        const double stride = stride_;
        const VisibleDot* const visible = scratch_.visible.data();
        const std::int32_t* const keptCounts = scratch_.keptCounts.data();
        const std::int32_t* const tops = runs.tops.data();
        const std::int32_t* const lowestLevels = runs.lowestLevels.data();
        const std::int32_t* const at = runs.groupedOffsets.data();
        for (int row = dj_ > 0 ? 1 : cells_, end = dj_ > 0 ? cells_ + 1 : 0; row != end;
             row += dj_) {
            const auto y = static_cast<std::size_t>(row);
            const int lowest = lowestLevels[y];
            const int top = tops[y];
            if (top - lowest < kGroupedRun) {
                // Run lengths follow no pattern, which makes branches dear: every possible dot
                // is stored, those not drawn in the dropped dots' pixel.
                for (std::size_t level = 0; level < kGroupedRun; ++level) {
                    pixels[at[y * kGroupedRun + level]] =
                        colours[static_cast<std::size_t>(lowest) + level];
                }
            } else if (top - lowest < kTallRun) {
                walkLevels(
                    cellAt(column, y), lowest, top, 1, [] { return true; },
                    [&](int level, const DotsOfLanes& next, int lane) {
                        const std::int32_t offset = next.offsets(stride)[lane];
                        if (offset >= 0) {
                            ++dots;
                            pixels[offset] = colours[level];
                        }
                    });
            } else {
                const auto kept = static_cast<std::size_t>(keptCounts[--runsLeft]);
                keptEnd -= kept;
                for (std::size_t dot = keptEnd; dot < keptEnd + kept; ++dot) {
                    pixels[visible[dot].offset] = visible[dot].colour;
                }
            }
        }
        return dots;
    }

    const HeightMap& heights_;
    int regionWidth_;
    int rows_;
    // Cells are rows 1..cells_ of each column.
    int cells_;
    int halfWidth_;
    int halfHeight_;
    int di_;
    int dj_;
    Projection view_;
    const LevelColours& colours_;
    PixelBits* pixels_;
    int stride_;
    std::int32_t droppedDot_;
    // The run checks' two sides: levelsLead_ > largest |py| * levelsLeadFactor_, and smallest
    // |py| * depthLeadFactor_ > depthLead_.
    double levelsLead_, levelsLeadFactor_, depthLead_, depthLeadFactor_;
    Scratch& scratch_;
    Claims claims_;
    // Where the next kept dot goes, and how many tall runs have their count of kept dots.
    VisibleDot* kept_;
    std::size_t tallRuns_ = 0;
    PixelGrid& canvas_;
};

}  // namespace kestrane::surface
