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
    ::testing::Values(TextCase{"whole", "120", 120}, TextCase{"trailingLetters", "12.9abc", 12.9},
                      TextCase{"empty", "", 0}, TextCase{"lettersOnly", "abc", 0},
                      TextCase{"leadingBlanks", "  \t42", 42}, TextCase{"negative", "-3", -3},
                      TextCase{"plusSign", "+7.5", 7.5}, TextCase{"pointFirst", ".5", 0.5},
                      TextCase{"signAlone", "-", 0}, TextCase{"pointAlone", ".", 0},
                      TextCase{"exponent", "1e2", 100}, TextCase{"exponentWithoutDigits", "3e", 3},
                      TextCase{"exponentSign", "25E-1x", 2.5},
                      TextCase{"hugeExponent", "1e999", 1.7976931348623157e308},
                      TextCase{"tinyExponent", "1e-999", 0}, TextCase{"innerBlankEnds", "1 2", 1}),
    testing::CaseName());

struct RoundCase {
    const char* name;
    double value;
    int rounded;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, RoundsHalvesToEven) {
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    ::testing::Values(RoundCase{"twoAndAHalf", 2.5, 2}, RoundCase{"threeAndAHalf", 3.5, 4},
                      RoundCase{"minusHalf", -0.5, 0}, RoundCase{"minusOneAndAHalf", -1.5, -2},
                      RoundCase{"belowHalf", 7.4999, 7}, RoundCase{"aboveHalf", 7.5001, 8}),
    testing::CaseName());

TEST(Angles, StartingViewIsTenAndHundredTenDegrees) {
    EXPECT_NEAR(kStartAngleA, 0.174532925222, 1e-12);
    EXPECT_NEAR(kStartAngleR, 1.919862177444, 1e-12);
    EXPECT_EQ(kStartAngleA, 31.41592654 / 180);
}

}  // namespace
}  // namespace kestrane
