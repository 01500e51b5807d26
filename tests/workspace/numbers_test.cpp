#include "workspace/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrane {
namespace {

// The coordinate and compression boxes' tests cover the texts they can show; these are the
// remaining forms of a number.
TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    // The last row's text ends where its digits go on.
    const std::pair<std::string_view, double> rows[] = {
        {"  \t42", 42},
        {"+.5", 0.5},
        {"25E-1x", 2.5},
        {"3e", 3},
        {"1e-999", 0},
        {{"12345", 2}, 12},
        {" 1e999e-1", std::numeric_limits<double>::max()},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int> rows[] = {{2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {7.5001, 8}};
    for (const auto& [value, rounded] : rows) EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

}  // namespace
}  // namespace kestrane
