#include "graph3d/surface_renderer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kestrane {

namespace {

// Past this level the monochrome ramp's green and red would run beyond 255.
constexpr int kTopRampLevel = 93;
constexpr double kPerspectiveDistance = 100000;
constexpr int kCentreShiftDown = 20;
// Above every height a picture gives (0..93), so a neighbour always lowers it.
constexpr int kNeighbourMinimumStart = 100;

struct ColourBand {
    int lowestLevel;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Highest band first; the first band whose lowest level is reached gives the colour.
constexpr std::array<ColourBand, 16> kColourBands{{
    {85, 255, 0, 0},
    {79, 255, 0, 123},
    {73, 255, 0, 255},
    {67, 255, 75, 125},
    {61, 255, 153, 0},
    {55, 255, 200, 0},
    {49, 255, 255, 0},
    {43, 125, 255, 0},
    {37, 0, 255, 0},
    {31, 0, 125, 125},
    {25, 0, 0, 255},
    {19, 25, 51, 255},
    {13, 51, 102, 255},
    {7, 101, 152, 255},
    {1, 153, 204, 255},
    {0, 200, 200, 255},
}};

// Runs of up to this many levels are projected together with the other runs of their group of
// rows, a level of each at a time.
constexpr int kGroupedRun = 3;

// A pixel's four bytes as one number. Painting stores these rather than Pixel, whose byte members
// would let a store alias anything and keep the compiler from holding values in registers.
using PixelBits = std::uint32_t;

// A colour per level, and a few more, so that a grouped run may look up all its possible levels.
using LevelColours = std::array<PixelBits, 256 + kGroupedRun>;

LevelColours tabulate(Pixel (*colour)(std::uint8_t)) {
    LevelColours colours;
    for (std::size_t level = 0; level < colours.size(); ++level) {
        colours[level] = std::bit_cast<PixelBits>(
            colour(static_cast<std::uint8_t>(std::min<std::size_t>(level, 255))));
    }
    return colours;
}

const LevelColours kMonochromeColours = tabulate(&monochromeDotColour);
const LevelColours kBandColours = tabulate(&colourBandDotColour);

// Added to a position of 0 up to 2^52 and taken away again, it rounds the position to a whole
// number, half to even.
constexpr double kRoundingShift = 0x1p52;

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

// Vectors of Lanes lanes, each lane computed as a lone number would be, so that the positions
// come out the same to the last bit on every path.
template <int Lanes>
struct Vectors {
    // The alias form of these would drop the attribute.
    typedef double Doubles __attribute__((vector_size(8 * Lanes)));
    typedef std::int64_t Masks __attribute__((vector_size(8 * Lanes)));
    typedef std::int32_t Ints __attribute__((vector_size(4 * Lanes)));
};

// The helpers below pass vectors by value, which GCC warns changes with the vector instructions
// enabled; they all live in this file and are inlined into each path, so no call ever crosses
// from one to the other. (Inline ones are checked at the end of the file.)
#pragma GCC diagnostic ignored "-Wpsabi"

template <class Doubles>
[[gnu::always_inline]] inline Doubles splat(double value) {
    Doubles vector;
    for (std::size_t lane = 0; lane < sizeof vector / sizeof value; ++lane) {
        vector[lane] = value;
    }
    return vector;
}

// 0, 1, 2, ...
template <class Ints>
[[gnu::always_inline]] inline Ints laneNumbers() {
    Ints vector;
    for (std::size_t lane = 0; lane < sizeof vector / sizeof(std::int32_t); ++lane) {
        vector[lane] = static_cast<std::int32_t>(lane);
    }
    return vector;
}

template <class Vector, class T>
[[gnu::always_inline]] inline Vector load(const T* from) {
    Vector vector;
    std::memcpy(&vector, from, sizeof vector);
    return vector;
}

template <class Vector, class T>
[[gnu::always_inline]] inline void store(T* to, const Vector& vector) {
    std::memcpy(to, &vector, sizeof vector);
}

template <class Doubles>
[[gnu::always_inline]] inline Doubles magnitude(const Doubles& values) {
    return values < 0 ? -values : values;
}

// The projection's inputs that one render shares.
struct Projection {
    double sinA, cosA, sinR, cosR;
    double centreX, centreY;
    // The drawable area is 0..lastX x 0..lastY.
    double lastX, lastY;
};

// The terms that all levels of a cell share, for Lanes cells or one cell repeated.
template <int Lanes>
struct Ground {
    typename Vectors<Lanes>::Doubles scaledPx, py, pz;
};

// Where Lanes dots land: the screen position, whether it is drawn, the pixel it rounds to (of use
// only when drawn), and py, whose sign and size the run checks need.
template <int Lanes>
struct Dots {
    using Doubles = typename Vectors<Lanes>::Doubles;
    using Ints = typename Vectors<Lanes>::Ints;

    Doubles screenX, screenY;
    typename Vectors<Lanes>::Masks drawn;
    Doubles roundedX, roundedY;
    Doubles py;

    // The pixel's column and row, 0 for a dot that is dropped.
    Ints x() const { return __builtin_convertvector(drawn ? roundedX : 0, Ints); }
    Ints y() const { return __builtin_convertvector(drawn ? roundedY : 0, Ints); }
    // The pixel's offset in a canvas of the given width, -1 for a dot that is dropped.
    Ints offsets(double stride) const {
        return __builtin_convertvector(drawn ? roundedY * stride + roundedX : -1, Ints);
    }
};

template <int Lanes>
[[gnu::always_inline]] inline Dots<Lanes> project(const Projection& view,
                                                  const Ground<Lanes>& ground,
                                                  const typename Vectors<Lanes>::Doubles& levels) {
    using Doubles = typename Vectors<Lanes>::Doubles;
    const Doubles py = ground.py + levels * view.cosR;
    const Doubles pz = ground.pz + levels * view.sinR;
    const Doubles depth = kPerspectiveDistance - pz;
    const Doubles screenX = view.centreX + ground.scaledPx / depth;
    const Doubles screenY = view.centreY + py * kPerspectiveDistance / depth;
    // Written so that a NaN position (from an infinite angle) is dropped as well.
    return {screenX,
            screenY,
            (screenX >= 0) & (screenX <= view.lastX) & (screenY >= 0) & (screenY <= view.lastY),
            (screenX + kRoundingShift) - kRoundingShift,
            (screenY + kRoundingShift) - kRoundingShift,
            py};
}

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
    bool holdBox(int x0, int y0, int x1, int y1) const {
        const auto [left, right] = std::minmax(x0, x1);
        const auto [top, bottom] =
            std::minmax({static_cast<unsigned>(y0), static_cast<unsigned>(y1)});
        const unsigned firstWord = top / 64;
        const unsigned lastWord = bottom / 64;
        const std::uint64_t firstBits = ~std::uint64_t{0} << (top % 64);
        const std::uint64_t lastBits = ~std::uint64_t{0} >> (63 - bottom % 64);
        for (int x = left; x <= right; ++x) {
            const std::uint64_t* const column = words_ + index(x, 0);
            if (firstWord == lastWord) {
                if ((column[firstWord] & firstBits & lastBits) != (firstBits & lastBits)) {
                    return false;
                }
                continue;
            }
            if ((column[firstWord] & firstBits) != firstBits ||
                (column[lastWord] & lastBits) != lastBits) {
                return false;
            }
            for (unsigned word = firstWord + 1; word < lastWord; ++word) {
                if (column[word] != ~std::uint64_t{0}) {
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

// A dot that will be painted, and where.
struct VisibleDot {
    std::int32_t offset;
    PixelBits colour;
};

// No dot has this colour: dots leave the reserved byte 0.
constexpr PixelBits kUnpainted = 0xff000000;

// The canvas with each row padded, painted on and then copied over. Painting runs down the
// screen's columns; rows close to a power of two of bytes apart, as the graph's 513 pixels are,
// would share a few cache sets and keep evicting each other. With an overlay, two threads paint
// at once: the far part of the surface on the easel, the near part on the overlay, whose painted
// pixels cover the easel's in the copy.
class Easel {
public:
    // Clears the easel; the overlay, if there is to be one, is cleared by clearOverlay().
    void prepare(const PixelGrid& canvas, Pixel background, bool overlaid) {
        columns_ = canvas.columns();
        rows_ = canvas.rows();
        stride_ = columns_ + kRowPadding;
        const auto size = static_cast<std::size_t>(unread()) + 1;
        pixels_.assign(size, std::bit_cast<PixelBits>(background));
        overlaid_ = overlaid;
        if (overlaid) {
            overlay_.resize(size);
        }
    }

    void clearOverlay() { std::fill(overlay_.begin(), overlay_.end(), kUnpainted); }

    PixelBits* data() { return pixels_.data(); }
    PixelBits* overlay() { return overlay_.data(); }
    int rows() const { return rows_; }
    int stride() const { return stride_; }
    // A pixel outside every row, where dots that are dropped may go.
    std::int32_t unread() const { return rows_ * stride_; }

    // Copies rows first..last - 1 into the canvas.
    void copyTo(PixelGrid& canvas, int first, int last) const {
        for (int y = first; y < last; ++y) {
            const PixelBits* const from = pixels_.data() + static_cast<std::size_t>(y) * stride_;
            Pixel* const to =
                canvas.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_);
            if (!overlaid_) {
                std::memcpy(static_cast<void*>(to), from,
                            static_cast<std::size_t>(columns_) * sizeof(PixelBits));
                continue;
            }
            const PixelBits* const over = overlay_.data() + static_cast<std::size_t>(y) * stride_;
            for (int x = 0; x < columns_; ++x) {
                to[x] = std::bit_cast<Pixel>(over[x] == kUnpainted ? from[x] : over[x]);
            }
        }
    }

private:
    static constexpr int kRowPadding = 16;
    int columns_ = 0;
    int rows_ = 0;
    int stride_ = 0;
    bool overlaid_ = false;
    std::vector<PixelBits> pixels_;
    std::vector<PixelBits> overlay_;
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
    // One for each thread that paints.
    std::array<ColumnRuns, 2> columns;
    std::vector<std::uint64_t> claims;
    std::vector<VisibleDot> visible;
    std::vector<std::int32_t> keptCounts;
    Easel easel;
};

// A second thread that takes on part of every render of the thread that owns it.
class RenderHelper {
public:
    RenderHelper() : thread_([this] { serve(); }) {}
    RenderHelper(const RenderHelper&) = delete;
    RenderHelper& operator=(const RenderHelper&) = delete;
    ~RenderHelper() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    // The calling thread's helper, made on first use; none on a single processor, or when no
    // thread can be started.
    static RenderHelper* forThisThread() {
        thread_local const std::unique_ptr<RenderHelper> helper =
            []() -> std::unique_ptr<RenderHelper> {
            if (std::thread::hardware_concurrency() < 2) {
                return nullptr;
            }
            try {
                return std::make_unique<RenderHelper>();
            } catch (const std::exception&) {
                return nullptr;
            }
        }();
        return helper.get();
    }

    // Runs job(context) on the helper's thread; finish() waits for it to return.
    void start(void (*job)(void*), void* context) {
        {
            const std::lock_guard lock(mutex_);
            job_ = job;
            context_ = context;
        }
        wake_.notify_one();
    }

    void finish() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return job_ == nullptr; });
    }

private:
    void serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || job_ != nullptr; });
            if (stopping_) {
                return;
            }
            lock.unlock();
            job_(context_);
            lock.lock();
            job_ = nullptr;
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    void (*job_)(void*) = nullptr;
    void* context_ = nullptr;
    bool stopping_ = false;
    // Last, so that the thread starts once the rest is in place.
    std::thread thread_;
};

// A count one thread raises and another waits on, alone in its cache line.
class alignas(64) Progress {
public:
    explicit Progress(int wakeEvery) : wakeEvery_(wakeEvery) {}

    // Raises the count; a thread asleep waiting on it is woken every wakeEvery counts, and at
    // `last`, each wake costing a call to the system.
    void store(int count, int last) {
        count_.store(count, std::memory_order_release);
        if (count % wakeEvery_ == 0 || count == last) {
            count_.notify_one();
        }
    }

    // Waits until the count, which only ever grows, reaches `count`: for a while on the spot, as
    // the other thread is often about to get there, then asleep, so as not to hold up that thread
    // where the two share a processor.
    void waitFor(int count) const {
        int spins = 0;
        for (int seen = count_.load(std::memory_order_acquire); seen < count;
             seen = count_.load(std::memory_order_acquire)) {
            if (++spins < kSpins) {
#if defined(__x86_64__)
                __builtin_ia32_pause();
#endif
            } else {
                count_.wait(seen, std::memory_order_acquire);
            }
        }
    }

private:
    // Some tens of microseconds.
    static constexpr int kSpins = 1 << 12;
    int wakeEvery_;
    std::atomic<int> count_{0};
};

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
          unread_(scratch.easel.unread()),
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
        for (ColumnRuns& runs : scratch.columns) {
            runs.rowMinima.resize(static_cast<std::size_t>(rows_ + 1));
            for (auto* perRow : {&runs.lowestLevels, &runs.tops, &runs.tallRows, &runs.topX,
                                 &runs.topY, &runs.lowestX, &runs.lowestY, &runs.flags}) {
                perRow->resize(padded);
            }
            runs.groupedOffsets.resize(padded * kGroupedRun);
        }
        // A pixel is claimed once at most, and a cell holds one run.
        scratch.visible.resize(static_cast<std::size_t>(canvas.columns()) *
                               static_cast<std::size_t>(canvas.rows()));
        scratch.keptCounts.resize(static_cast<std::size_t>(2 * halfWidth - 1) *
                                  static_cast<std::size_t>(cells_));
        kept_ = scratch.visible.data();
    }

    // Paints the surface and copies it onto the canvas; returns the number of dots drawn.
    // Without a helper, every column is painted far to near once every claim is made. A helper
    // runs helpWith(this): it paints columns nearest first on the overlay, each as soon as its
    // claims are made, where a pixel keeps the first dot that reaches it. This thread, its claims
    // made, paints the others far to near on the easel. Taken from both ends, the columns are
    // shared out however fast each thread goes.
    [[gnu::always_inline]] inline std::int64_t paint(RenderHelper* helper,
                                                     void (*helpWith)(void*)) {
        unpainted_.store(columns(), std::memory_order_relaxed);
        if (helper != nullptr) {
            helper->start(helpWith, this);
        }
        ColumnRuns& runs = scratch_.columns[0];
        std::int64_t dots = 0;
        for (int column = columns() - 1; column >= 0; --column) {
            const int i = columnAt(column);
            if (findRuns(i + halfWidth_, runs)) {
                const ColumnTerms terms = columnTerms(i);
                projectEnds(terms, runs);
                dots += keepVisibleDots(terms, runs);
            }
            claimed_.store(columns() - column, columns());
        }
        PaintCursor from{static_cast<std::size_t>(kept_ - scratch_.visible.data()), tallRuns_};
        for (int column = 0; takeColumn(); ++column) {
            dots += paintColumn<false>(column, runs, from, pixels_);
        }
        const Easel& easel = scratch_.easel;
        if (helper == nullptr) {
            easel.copyTo(canvas_, 0, easel.rows());
            return dots;
        }
        // Each copies half the rows once both have painted.
        painted_.store(1, 1);
        helperPainted_.waitFor(1);
        easel.copyTo(canvas_, 0, easel.rows() / 2);
        helper->finish();
        return dots + helperDots_;
    }

    // The helper's part of paint().
    [[gnu::always_inline]] inline void help() {
        Easel& easel = scratch_.easel;
        easel.clearOverlay();
        PaintCursor from{0, 0};
        std::int64_t dots = 0;
        for (int taken = 0; takeColumn(); ++taken) {
            claimed_.waitFor(taken + 1);
            dots += paintColumn<true>(columns() - 1 - taken, scratch_.columns[1], from,
                                      easel.overlay());
        }
        helperDots_ = dots;
        helperPainted_.store(1, 1);
        painted_.waitFor(1);
        easel.copyTo(canvas_, easel.rows() / 2, easel.rows());
    }

private:
    // Where the painting of columns takes the dots kept by tall runs, and their counts: far to
    // near from the end backwards, near to far from the start.
    struct PaintCursor {
        std::size_t dot;
        std::size_t run;
    };

    int columns() const { return 2 * halfWidth_ - 1; }

    // The offset i from the centre of a column, counting columns far to near.
    int columnAt(int column) const { return (column - (halfWidth_ - 1)) * di_; }

    // Takes one of the columns left to paint; false when there are none.
    bool takeColumn() { return unpainted_.fetch_sub(1, std::memory_order_relaxed) > 0; }

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
    [[gnu::always_inline]] inline void projectEnds(const ColumnTerms& column, ColumnRuns& s) const {
        std::int32_t* const rows = s.tallRows.data();
        int count = 0;
        for (int y = 1; y <= cells_; ++y) {
            rows[count] = y;
            count +=
                s.tops[static_cast<std::size_t>(y)] - s.lowestLevels[static_cast<std::size_t>(y)] >=
                kTallRun;
        }
        s.tallRunCount = count;
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
                tops[lane] = s.tops[row];
                lowestLevels[lane] = s.lowestLevels[row];
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
            store(&s.topX[n], top.x());
            store(&s.topY[n], top.y());
            store(&s.lowestX[n], lowest.x());
            store(&s.lowestY[n], lowest.y());
            store(&s.flags[n], __builtin_convertvector(flags, Ints));
        }
    }

    // Works out the tall runs of the column nearest dot first, keeps the dots that can be seen
    // and adds how many each run kept to the counts. Returns the number of their dots drawn.
    [[gnu::always_inline]] inline std::int64_t keepVisibleDots(const ColumnTerms& column,
                                                               const ColumnRuns& s) {
        std::int64_t dots = 0;
        // Rows near to far.
        const int count = s.tallRunCount;
        for (int taken = 0; taken < count; ++taken) {
            const auto n = static_cast<std::size_t>(dj_ > 0 ? count - 1 - taken : taken);
            const auto y = static_cast<std::size_t>(s.tallRows[n]);
            const int top = s.tops[y];
            const int lowest = s.lowestLevels[y];
            const int flags = s.flags[n];
            const VisibleDot* const first = kept_;
            const Ground<Lanes> ground = cellAt(column, y);
            const bool topDrawn = (flags & kTopDrawn) != 0;
            const bool lowestDrawn = (flags & kLowestDrawn) != 0;
            if ((flags & kOffCanvas) == 0 && (flags & kMonotone) != 0 &&
                (topDrawn || lowestDrawn)) {
                // The drawn dots are those from `low` to `high`, each in the box their ends span.
                const PlacedDot topDot{top, s.topX[n], s.topY[n]};
                const PlacedDot lowestDot{lowest, s.lowestX[n], s.lowestY[n]};
                const PlacedDot high = topDrawn ? topDot : lastDrawn(ground, lowestDot, top);
                const PlacedDot low = lowestDrawn ? lowestDot : lastDrawn(ground, topDot, lowest);
                dots += high.level - low.level + 1;
                keep(high);
                PlacedDot at = high;
                while (at.level > low.level && !claims_.holdBox(at.x, at.y, low.x, low.y)) {
                    const auto next = project(view_, ground, levels(at.level - 1, -1));
                    const Ints nextX = next.x();
                    const Ints nextY = next.y();
                    for (int lane = 0; lane < Lanes && at.level > low.level; ++lane) {
                        // A dot on the pixel of the one above it is hidden by it.
                        const bool samePixel = nextX[lane] == at.x && nextY[lane] == at.y;
                        at = {at.level - 1, nextX[lane], nextY[lane]};
                        if (!samePixel) {
                            keep(at);
                        }
                    }
                }
            } else if ((flags & kOffCanvas) == 0) {
                for (int level = top; level >= lowest;) {
                    const auto next = project(view_, ground, levels(level, -1));
                    const Ints nextX = next.x();
                    const Ints nextY = next.y();
                    for (int lane = 0; lane < Lanes && level >= lowest; ++lane, --level) {
                        if (next.drawn[lane] != 0) {
                            ++dots;
                            keep({level, nextX[lane], nextY[lane]});
                        }
                    }
                }
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
    // the lowest of row y at y * kGroupedRun + step, the unread pixel's where there is none or it
    // is dropped. Returns the number of dots drawn.
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
                Ints offsets = Ints{} + unread_;
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

    // Paints a column's runs, far to near or, where a pixel keeps the first dot that reaches it,
    // near to far: the grouped ones from their projected offsets, the other short ones a level
    // per lane, each tall one with the dots it kept. Returns the number of dots drawn outside tall
    // runs. A pixel store may alias any member, so the loop works from copies.
    template <bool nearFirst>
    [[gnu::always_inline]] inline std::int64_t paintColumn(int columnNumber, ColumnRuns& runs,
                                                           PaintCursor& from,
                                                           PixelBits* const pixels) const {
        const int i = columnAt(columnNumber);
        findRuns(i + halfWidth_, runs);
        const ColumnTerms column = columnTerms(i);
        std::int64_t dots = projectGroupedRuns(column, runs);
        const auto paintDot = [pixels](std::int32_t offset, PixelBits colour) {
            if constexpr (nearFirst) {
                PixelBits& pixel = pixels[offset];
                pixel = pixel == kUnpainted ? colour : pixel;
            } else {
                pixels[offset] = colour;
            }
        };
        const PixelBits* const colours = colours_.data();
        const double stride = stride_;
        const VisibleDot* const visible = scratch_.visible.data();
        const std::int32_t* const keptCounts = scratch_.keptCounts.data();
        const std::int32_t* const tops = runs.tops.data();
        const std::int32_t* const lowestLevels = runs.lowestLevels.data();
        const std::int32_t* const at = runs.groupedOffsets.data();
        std::size_t keptAt = from.dot;
        std::size_t runAt = from.run;
        const int upward = nearFirst ? -1 : 1;
        const int rowStep = dj_ * upward;
        for (int row = rowStep > 0 ? 1 : cells_, end = rowStep > 0 ? cells_ + 1 : 0; row != end;
             row += rowStep) {
            const auto y = static_cast<std::size_t>(row);
            const int lowest = lowestLevels[y];
            const int top = tops[y];
            if (top - lowest < kGroupedRun) {
                // Run lengths follow no pattern, which makes branches dear: every possible dot
                // is stored, those not drawn in the unread pixel.
                for (std::size_t step = 0; step < kGroupedRun; ++step) {
                    const std::size_t level = nearFirst ? kGroupedRun - 1 - step : step;
                    paintDot(at[y * kGroupedRun + level],
                             colours[static_cast<std::size_t>(lowest) + level]);
                }
            } else if (top - lowest < kTallRun) {
                const Ground<Lanes> cell = cellAt(column, y);
                const int last = nearFirst ? lowest : top;
                for (int level = nearFirst ? top : lowest; (last - level) * upward >= 0;) {
                    const Ints offsets =
                        project(view_, cell, levels(level, upward)).offsets(stride);
                    for (int dot = 0; dot < Lanes && (last - level) * upward >= 0;
                         ++dot, level += upward) {
                        if (offsets[dot] >= 0) {
                            ++dots;
                            paintDot(offsets[dot], colours[level]);
                        }
                    }
                }
            } else {
                const auto kept =
                    static_cast<std::size_t>(keptCounts[nearFirst ? runAt++ : --runAt]);
                const std::size_t first = nearFirst ? keptAt : keptAt - kept;
                for (std::size_t dot = first; dot < first + kept; ++dot) {
                    paintDot(visible[dot].offset, visible[dot].colour);
                }
                keptAt = nearFirst ? first + kept : first;
            }
        }
        from = {keptAt, runAt};
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
    std::int32_t unread_;
    // The run checks' two sides: levelsLead_ > largest |py| * levelsLeadFactor_, and smallest
    // |py| * depthLeadFactor_ > depthLead_.
    double levelsLead_, levelsLeadFactor_, depthLead_, depthLeadFactor_;
    Scratch& scratch_;
    Claims claims_;
    // Where the next kept dot goes, and how many tall runs have their count of kept dots.
    VisibleDot* kept_;
    std::size_t tallRuns_ = 0;
    PixelGrid& canvas_;
    // With a helper: the columns whose pixels this thread has claimed, counted nearest first
    // (the helper is woken every few); the columns neither thread has taken to paint yet; whether
    // this thread and the helper have painted all they took; the dots the helper drew.
    Progress claimed_{8};
    Progress painted_{1};
    Progress helperPainted_{1};
    alignas(64) std::atomic<int> unpainted_{0};
    std::int64_t helperDots_ = 0;
};

Pixel background(bool monochrome) { return monochrome ? Pixel{127, 0, 0, 0} : Pixel{}; }

void helpPlain(void* painter) { static_cast<SurfacePainter<2>*>(painter)->help(); }

std::int64_t paintPlain(SurfacePainter<2>& painter, RenderHelper* helper) {
    return painter.paint(helper, &helpPlain);
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] void helpWide(void* painter) {
    static_cast<SurfacePainter<4>*>(painter)->help();
}

[[gnu::target("avx2")]] std::int64_t paintWide(SurfacePainter<4>& painter, RenderHelper* helper) {
    return painter.paint(helper, &helpWide);
}
#endif

}  // namespace

Pixel monochromeDotColour(std::uint8_t level) {
    const int step = (std::min(static_cast<int>(level), kTopRampLevel) + 2) / 3;
    const auto redGreen = static_cast<std::uint8_t>(8 * step);
    return {static_cast<std::uint8_t>(4 * step + 127), redGreen, redGreen, 0};
}

Pixel colourBandDotColour(std::uint8_t level) {
    const auto band = std::find_if(kColourBands.begin(), kColourBands.end(),
                                   [&](const ColourBand& b) { return level >= b.lowestLevel; });
    return {band->blue, band->green, band->red, 0};
}

void clearGraphCanvas(PixelGrid& canvas, bool monochromeBackground) {
    canvas.fill(background(monochromeBackground));
}

std::vector<SurfacePath> supportedSurfacePaths() {
    std::vector<SurfacePath> paths{SurfacePath::plain};
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(SurfacePath::wide);
    }
#endif
    return paths;
}

std::int64_t renderSurface(const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas) {
    static const SurfacePath fastest = supportedSurfacePaths().back();
    return renderSurface(fastest, SurfaceThreads::two, heights, regionWidth, regionHeight, view,
                         canvas);
}

std::int64_t renderSurface(SurfacePath path, SurfaceThreads threads, const HeightMap& heights,
                           std::int16_t regionWidth, std::int16_t regionHeight,
                           const SurfaceView& view, PixelGrid& canvas) {
    const int halfWidth = roundHalfEven(regionWidth / 2.0);
    const int halfHeight = roundHalfEven(regionHeight / 2.0);
    if (halfWidth <= 0 || halfHeight <= 0 || heights.lastX() < regionWidth ||
        heights.lastY() < regionHeight) {
        clearGraphCanvas(canvas, view.monochromeBackground);
        return 0;
    }

    const int cx = roundHalfEven(view.canvasWidth / 2.0);
    const int cy = roundHalfEven(view.canvasHeight / 2.0 + kCentreShiftDown);
    const Projection projection{
        .sinA = std::sin(view.angleA),
        .cosA = std::cos(view.angleA),
        .sinR = std::sin(view.angleR),
        .cosR = std::cos(view.angleR),
        .centreX = static_cast<double>(cx),
        .centreY = static_cast<double>(cy),
        // A drawing area larger than the grid keeps its centre; what lies beyond the grid is lost.
        .lastX = static_cast<double>(std::min(2 * cx, canvas.columns() - 1)),
        .lastY = static_cast<double>(std::min(2 * (cy - kCentreShiftDown), canvas.rows() - 1)),
    };
    const LevelColours& colours = view.monochromeDots ? kMonochromeColours : kBandColours;
    thread_local Scratch scratch;
    RenderHelper* const helper =
        threads == SurfaceThreads::two ? RenderHelper::forThisThread() : nullptr;
    scratch.easel.prepare(canvas, background(view.monochromeBackground), helper != nullptr);
    Q_ASSERT(std::ranges::count(supportedSurfacePaths(), path) == 1);
#if defined(__x86_64__)
    if (path == SurfacePath::wide) {
        SurfacePainter<4> painter(heights, regionWidth, regionHeight, halfWidth, halfHeight,
                                  projection, colours, canvas, scratch);
        return paintWide(painter, helper);
    }
#endif
    SurfacePainter<2> painter(heights, regionWidth, regionHeight, halfWidth, halfHeight, projection,
                              colours, canvas, scratch);
    return paintPlain(painter, helper);
}

}  // namespace kestrane
