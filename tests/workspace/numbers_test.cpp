#include "workspace/numbers.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace kestrane {
namespace {

struct TextCase {
    const char* name;
    const char* text;
    double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(TextCase{"trailingLetters", "12.9abc", 12.9}, TextCase{"empty", "", 0},
                      TextCase{"lettersOnly", "abc", 0}, TextCase{"leadingBlanks", "  \t42", 42},
                      TextCase{"signs", "-3", -3}, TextCase{"plusAndPoint", "+.5", 0.5},
                      TextCase{"signAlone", "-", 0}, TextCase{"exponent", "25E-1x", 2.5},
                      TextCase{"exponentWithoutDigits", "3e", 3},
                      TextCase{"overflow", "1e999", 1.7976931348623157e308},
                      TextCase{"underflow", "1e-999", 0}),
    testing::CaseName());

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(7.5001), 8);
}

}  // namespace
}  // namespace kestrane
