#include "workspace/numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrane {

std::int32_t roundHalfEven(double value) {
    return static_cast<std::int32_t>(std::nearbyint(value));
}

double textValue(const QString& text) { return leadingNumber(text.toStdString()); }

double leadingNumber(std::string_view text) {
    const auto isDigit = [&](std::size_t at) {
        return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
    };
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    bool anyDigit = false;
    while (isDigit(pos)) {
        ++pos;
        anyDigit = true;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (isDigit(pos)) {
            ++pos;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (isDigit(exponent)) {
            pos = exponent;
            while (isDigit(pos)) {
                ++pos;
            }
        }
    }
    std::string_view number = text.substr(start, pos - start);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) {
        number.remove_prefix(1);
    }
    // from_chars ignores the locale, which Qt sets from the environment.
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = number.find("e-") != number.npos || number.find("E-") != number.npos;
        value = tiny ? 0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

}  // namespace kestrane
