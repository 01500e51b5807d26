#pragma once

// The projection of a surface's dots onto the canvas, a vector of Lanes dots at a time. Each lane
// is computed as a lone number would be, so every path lands every dot on the same pixel.

#include <cstdint>

namespace kestrane {

// Each path includes this into its own code, compiled for its own instructions. GCC warns that a
// vector passed by value travels differently with AVX enabled; every function here is always
// inlined, so no vector ever crosses a call between code of the two paths.
#pragma GCC diagnostic ignored "-Wpsabi"

constexpr double kPerspectiveDistance = 100000;

// Added to a position of 0 up to 2^52 and taken away again, it rounds the position to a whole
// number, half to even.
constexpr double kRoundingShift = 0x1p52;

template <int Lanes>
struct Vectors {
    // The alias form of these would drop the attribute.
    typedef double Doubles __attribute__((vector_size(8 * Lanes)));
    typedef std::int64_t Masks __attribute__((vector_size(8 * Lanes)));
    typedef std::int32_t Ints __attribute__((vector_size(4 * Lanes)));
};

// 0, 1, 2, ...
template <class Ints>
[[gnu::always_inline]] inline Ints laneNumbers() {
    Ints vector;
    for (std::size_t lane = 0; lane < sizeof vector / sizeof(std::int32_t); ++lane) {
        vector[lane] = static_cast<std::int32_t>(lane);
    }
    return vector;
}

// The projection's inputs that one render shares.
struct Projection {
    double sinA, cosA, sinR, cosR, centreX, centreY;
    // The drawable area is 0..lastX x 0..lastY.
    double lastX, lastY;
};

// The terms that all levels of a cell share, for Lanes cells or one cell repeated.
template <int Lanes>
struct Ground {
    typename Vectors<Lanes>::Doubles scaledPx, py, pz;
};

// Where Lanes dots land: the screen position, whether it is drawn, the pixel it rounds to (of use
// only when drawn), and py, whose sign and size the run checks need. Each use inlines the
// projection and keeps only what it reads.
template <int Lanes>
struct Dots {
    using Doubles = typename Vectors<Lanes>::Doubles;
    using Ints = typename Vectors<Lanes>::Ints;

    Doubles screenX, screenY;
    typename Vectors<Lanes>::Masks drawn;
    Doubles roundedX, roundedY, py;
    // The pixel's column and row, 0 for a dot that is dropped.
    Ints x = __builtin_convertvector(drawn ? roundedX : 0, Ints);
    Ints y = __builtin_convertvector(drawn ? roundedY : 0, Ints);
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

}  // namespace kestrane
