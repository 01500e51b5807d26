#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

namespace kestrane {

// The program's value of pi for every angle conversion.
inline constexpr double kPi = 3.141592654;

// Starting view of the 3D graph: 10 and 110 degrees, written as the program has always computed
// them.
inline constexpr double kStartAngleA = 31.41592654 / 180;
inline constexpr double kStartAngleR = 345.57519194 / 180;
inline constexpr std::int16_t kStartTurnDegrees = 10;
inline constexpr std::int16_t kStartTiltDegrees = 110;

inline double degreesToRadians(double degrees) { return degrees * kPi / 180; }

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
std::int32_t roundHalfEven(double value);

// The number at the start of a text: leading blanks skipped, an optional sign, digits with an
// optional decimal point and an optional exponent. 0 when the text does not begin with a number.
double leadingNumber(std::string_view text);

// The number a text box holds: the number at the start of its text, 0 when there is none.
double textValue(const QString& text);

}  // namespace kestrane
