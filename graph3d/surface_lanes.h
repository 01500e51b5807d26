#pragma once

// Dots projected onto the screen a vector lane each: the arithmetic every part of the render
// shares. The painter is compiled once for each path (plain, and AVX2 where the processor has it)
// with all of this inlined into it, so that no vector instruction reaches the plain path.

#include <cstdint>
#include <cstring>

namespace kestrane::surface {

constexpr double kPerspectiveDistance = 100000;

// Added to a position of 0 up to 2^52 and taken away again, it rounds the position to a whole
// number, half to even.
constexpr double kRoundingShift = 0x1p52;

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

}  // namespace kestrane::surface
