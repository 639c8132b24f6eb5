#include "colour/hue.h"
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

TEST(HueText, ReadsEveryFamilyAndUpperCasesTheCallersText) {
    const struct {
        const char* text;
        float hue;
        const char* upper;
    } cases[] = {
        {"5R", 5, "5R"},      {"5yr", 15, "5YR"},      {"5Y", 25, "5Y"},
        {"10gy", 40, "10GY"}, {"2.5G", 42.5f, "2.5G"}, {"7.5bg", 57.5f, "7.5BG"},
        {"5B", 65, "5B"},     {"5PB", 75, "5PB"},      {"5P", 85, "5P"},
        {"5RP", 95, "5RP"},   {"10RP", 100, "10RP"},   {"YR", 10, "YR"},
        {"5 R", 5, "5 R"},    {"R", 0, "R"},           {"6.4Y", 26.4f, "6.4Y"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        bool formatError = true;
        EXPECT_FLOAT_EQ(converth(text, &formatError), c.hue) << c.text;
        EXPECT_FALSE(formatError) << c.text;
        EXPECT_EQ(text, c.upper);
    }
}

TEST(HueText, TextWithoutFamilyIsAFormatErrorReadAsHundredPlusItsNumber) {
    std::string text = "5x";
    bool formatError = false;
    EXPECT_FLOAT_EQ(converth(text, &formatError), 105);
    EXPECT_TRUE(formatError);
    EXPECT_EQ(text, "5X");
    text = "N";
    EXPECT_FLOAT_EQ(converth(text, &formatError), 100);
    EXPECT_TRUE(formatError);
    text = "";
    EXPECT_FLOAT_EQ(converth(text, &formatError), 100);
    EXPECT_TRUE(formatError);
}

TEST(HueText, WritesNumbersWithTheLowerFamilyAtBoundaries) {
    const struct {
        float hue;
        const char* text;
    } cases[] = {
        {15, "5.00YR"},       {40, "10.00GY"},  {0.004f, ".00R"}, {10, "10.00R"},
        {12.5f, "2.50YR"},    {100, "10.00RP"}, {0, ".00R"},      {0.5f, ".50R"},
        {10.0005f, "10.00R"}, {26.4f, "6.40Y"}, {105, "5.00"},    {-3, "-3.00R"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hconvert(c.hue), c.text) << c.hue;
}

TEST(HueText, RoundTripGivesTheHueToTwoDecimalsOverTheWholeCircle) {
    for (int i = 0; i <= 100001; ++i) {
        const float hue = static_cast<float>(i / 1000.0);
        std::string text = hconvert(hue);
        bool formatError = false;
        const float back = converth(text, &formatError);
        // The hue comes back to two decimals: a multiple of 0.01 within 0.005.
        ASSERT_LE(std::fabs(back - hue), 0.005f + 1e-4f) << hue << " -> " << text;
        ASSERT_NEAR(back * 100.0f, std::round(back * 100.0f), 2e-3f) << text;
        ASSERT_FALSE(formatError) << text;
    }
}

} // namespace
} // namespace huelinx
