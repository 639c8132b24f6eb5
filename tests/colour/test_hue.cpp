#include "colour/hue.h"
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace huelinx {
namespace {

TEST(HueText, ReadsEveryFamilyInEitherCase) {
    const struct {
        const char* text;
        float hue;
    } cases[] = {
        {"5R", 5},  {"5yr", 15}, {"5Y", 25},      {"10gy", 40}, {"2.5G", 42.5f}, {"7.5bg", 57.5f},
        {"5B", 65}, {"5PB", 75}, {"5P", 85},      {"5RP", 95},  {"10RP", 100},   {"YR", 10},
        {"5 R", 5}, {"R", 0},    {"6.4Y", 26.4f}, {"5Yr", 15},  {"5yR", 15},
    };
    for (const auto& c : cases) {
        const HueOfText read = converth(c.text);
        EXPECT_FLOAT_EQ(read.hue, c.hue) << c.text;
        EXPECT_EQ(read.family, HueFamily::Named) << c.text;
    }
}

TEST(HueText, TextWithoutFamilyIsAFormatErrorReadAsHundredPlusItsNumber) {
    for (const auto& [text, hue] :
         {std::pair{"5x", 105.0f}, {"5X", 105.0f}, {"NX", 100.0f}, {"", 100.0f}, {"5", 105.0f}}) {
        const HueOfText read = converth(text);
        EXPECT_FLOAT_EQ(read.hue, hue) << text;
        EXPECT_EQ(read.family, HueFamily::Missing) << text;
    }
}

TEST(HueText, NIsTheNeutralHueWithOrWithoutValueAndChroma) {
    for (const char* text : {"N", "n", " N ", "N 5", "N5/", "N 5/0", "N9.5/", "N10/0.0"}) {
        EXPECT_TRUE(isNeutralHue(text)) << text;
        const HueOfText read = converth(text);
        EXPECT_EQ(read.family, HueFamily::Neutral) << text;
        EXPECT_EQ(read.hue, 0.0f) << text;
    }
    for (const char* text : {"", "5N", "N5R", "NR", "N 5/2/", "N..5", "RN"})
        EXPECT_FALSE(isNeutralHue(text)) << text;
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
        const std::string text = hconvert(hue);
        const HueOfText read = converth(text);
        const float back = read.hue;
        // The hue comes back to two decimals: a multiple of 0.01 within 0.005.
        ASSERT_LE(std::fabs(back - hue), 0.005f + 1e-4f) << hue << " -> " << text;
        ASSERT_NEAR(back * 100.0f, std::round(back * 100.0f), 2e-3f) << text;
        ASSERT_EQ(read.family, HueFamily::Named) << text;
    }
}

TEST(HueText, ReadHuesComeBackOntoTheCircleOnce) {
    // 10RP reads as 100 and is hue 0; a text without family reads as 100
    // plus its number and lands on that number; everything below 100 stays.
    for (const auto& [text, hue] : {std::pair{"10RP", 0.0f},
                                    {"5X", 5.0f},
                                    {"", 0.0f},
                                    {"9.99RP", 99.99f},
                                    {"5R", 5.0f},
                                    {"N", 0.0f}}) {
        EXPECT_FLOAT_EQ(wrappedHue(converth(text).hue), hue) << text;
    }
    EXPECT_EQ(wrappedHue(std::nextafter(100.0f, 0.0f)), std::nextafter(100.0f, 0.0f));
    EXPECT_TRUE(std::isnan(wrappedHue(std::nanf(""))));
}

TEST(HueText, NotationsFromTheirPartsAndGreysWithoutChroma) {
    EXPECT_EQ(notationText("5R", "4", "14"), "5R 4/14");
    EXPECT_EQ(notationText("2.50YR", "6.00", "8.00"), "2.50YR 6.00/8.00");
    EXPECT_EQ(notationText("N", "5", "0"), "N 5/");
    EXPECT_EQ(notationText("n", "9.5", ""), "N 9.5/");
    // Only the neutral hue itself drops the chroma: a family starting with N
    // is no such thing.
    EXPECT_EQ(notationText("NX", "5", "2"), "NX 5/2");
}

} // namespace
} // namespace huelinx
