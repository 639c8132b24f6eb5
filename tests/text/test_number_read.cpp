#include "text/number_read.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace huelinx {
namespace {

TEST(LeadingNumber, ReadsTheLeadingNumber) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"5 R", 5},     {"R", 0},       {" 1 2.5x", 12.5},  {"\t- .5", -0.5},
        {"1.2.3", 1.2}, {".", 0},       {"-", 0},           {"+-5", 0},
        {"2E", 2},      {"2E+", 2},     {"1 e - 2", 0.01},  {"&H10", 0},
        // Too large for a double reads as 0, and so does too small.
        {"1e999", 0},   {"1e-999", 0},  {"-1e99999999999999999999", 0}, {"0.0001e312", 1e308},
    };
    // clang-format on
    for (auto [text, expected] : cases)
        EXPECT_EQ(leadingNumber(text), expected) << text;
    EXPECT_FALSE(std::signbit(leadingNumber("-0")));
    EXPECT_EQ(leadingNumberLenient(" 12 5"), 12);
    EXPECT_EQ(leadingNumberLenient("\t-3.5e1x"), -35);
    EXPECT_EQ(leadingNumberLenient("- 5"), 0);
}

TEST(StrictNumber, AcceptsOnlyAWholeNumber) {
    for (const char* bad : {"", " ", "abc", "1.2.3", "12a", "1 2", ".", "-", "1e", "1e+", "1e999",
                            "--1", "1,5", "inf", "nan"})
        EXPECT_FALSE(strictNumber(bad).has_value()) << '"' << bad << '"';
    EXPECT_EQ(strictNumber(" +5\t"), 5.0);
    EXPECT_EQ(strictNumber("-.5"), -0.5);
    EXPECT_EQ(strictNumber("5."), 5.0);
    EXPECT_EQ(strictNumber("1E-2"), 0.01);
    EXPECT_EQ(strictNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
}

TEST(IsNumberText, TellsANumberTooLargeFromNoNumber) {
    for (const char* number : {"1e999", " -1e99999999999999999999 ", "5.", "1e308", "0"})
        EXPECT_TRUE(isNumberText(number)) << '"' << number << '"';
    for (const char* bad : {"", " ", "abc", "1e", "1 2", "1e999x", "inf", "nan", "1,5"})
        EXPECT_FALSE(isNumberText(bad)) << '"' << bad << '"';
}

TEST(RoundHalfEven, RoundsHalvesToEvenInAnyRoundingMode) {
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        EXPECT_EQ(roundHalfEven(2.5), 2);
        EXPECT_EQ(roundHalfEven(-3.5), -4);
        EXPECT_EQ(roundHalfEven(2.4999), 2);
        EXPECT_EQ(roundHalfEven(0.49999999999999994), 0);
        EXPECT_EQ(roundHalfEven(4503599627370495.5), 4503599627370496.0);
        EXPECT_EQ(roundHalfEven(1e300), 1e300);
    }
    std::fesetround(FE_TONEAREST);
    EXPECT_TRUE(std::isnan(roundHalfEven(std::numeric_limits<double>::quiet_NaN())));
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

// Reading must round exactly as the standard library does for every decimal
// text, whichever way the reader takes to the value.
TEST(StrictNumber, RoundsEveryDecimalTextAsTheStandardLibrary) {
    std::mt19937_64 random(11);
    int mismatches = 0;
    for (int i = 0; i < 300000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 45);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (random() % 3 == 0) text += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const auto got = strictNumber(text);
        if ((!got || *got != expected || std::signbit(*got) != std::signbit(expected + 0.0)) &&
            ++mismatches < 10)
            ADD_FAILURE() << text << " reads " << (got ? *got : -1.0) << ", not " << expected;
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace huelinx
