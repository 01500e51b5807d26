#include "workspace/numbers.h"

#include <gtest/gtest.h>

namespace kestrane {
namespace {

// The coordinate and compression boxes' tests cover the texts they can show; these are the
// remaining forms of a number.
TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    const std::pair<const char*, double> rows[] = {
        {"  \t42", 42}, {"+.5", 0.5}, {"25E-1x", 2.5}, {"3e", 3}, {"1e-999", 0},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(7.5001), 8);
}

}  // namespace
}  // namespace kestrane
