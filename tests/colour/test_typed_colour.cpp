#include "colour/hue.h"
#include "colour/typed_colour.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace huelinx {
namespace {

using Texts = std::array<std::string, 3>;

void expectRead(const char* text, Notation notation, const Texts& texts,
                std::optional<Notation> hint = {}) {
    const auto read = readTypedColour(text, hint);
    ASSERT_TRUE(read.has_value()) << text;
    EXPECT_EQ(read->notation, notation) << text;
    EXPECT_EQ(read->texts, texts) << text;
    // Written back, it reads as the same colour.
    EXPECT_EQ(readTypedColour(typedColourText(*read)), read) << typedColourText(*read);
}

TEST(TypedColour, MunsellNotationsGiveTheThreeBoxesAsTyped) {
    expectRead("5R 4/14", Notation::Munsell, {"5R", "4", "14"});
    expectRead("5R4/14", Notation::Munsell, {"5R", "4", "14"});
    expectRead("  2.5yr 6/8 ", Notation::Munsell, {"2.5yr", "6", "8"});
    expectRead("10RP 2.5 / 4", Notation::Munsell, {"10RP", "2.5", "4"});
    // A grey: hue N and chroma 0, whether the chroma is written or not.
    expectRead("N 5/", Notation::Munsell, {"N", "5", "0"});
    expectRead("n9.5/0", Notation::Munsell, {"N", "9.5", "0"});
    EXPECT_EQ(typedColourText(*readTypedColour("N 5/0")), "N 5/");
}

TEST(TypedColour, NumbersWithANameOrWithoutOne) {
    expectRead("x,y,Y 0.31 0.32 20", Notation::Chromaticity, {"0.31", "0.32", "20"});
    expectRead("xyY: 0.31, 0.32, 20", Notation::Chromaticity, {"0.31", "0.32", "20"});
    expectRead("L*a*b* 41.2 59.5 30.2", Notation::Lab, {"41.2", "59.5", "30.2"});
    expectRead("lab 41.2;-59.5;30.2", Notation::Lab, {"41.2", "-59.5", "30.2"});
    expectRead("XYZ 22.5 12 4.75", Notation::Xyz, {"22.5", "12", "4.75"});
    expectRead("rgb 186,38,54", Notation::Rgb, {"186", "38", "54"});
    // Without a name: chromaticities with a luminance above 1 are x,y,Y...
    expectRead("0.31 0.32 20", Notation::Chromaticity, {"0.31", "0.32", "20"});
    // ...anything else L*a*b*, unless the box's notation says otherwise.
    expectRead("41.2 59.5 30.2", Notation::Lab, {"41.2", "59.5", "30.2"});
    expectRead("0.31 0.32 0.5", Notation::Lab, {"0.31", "0.32", "0.5"});
    expectRead("41.2 59.5 30.2", Notation::Xyz, {"41.2", "59.5", "30.2"}, Notation::Xyz);
    expectRead("0.31 0.32 20", Notation::Rgb, {"0.31", "0.32", "20"}, Notation::Rgb);
    expectRead("41 59 30", Notation::Lab, {"41", "59", "30"}, Notation::Cmyk);
}

TEST(TypedColour, HexColoursAreDisplayLevels) {
    expectRead("#BA2636", Notation::Rgb, {"186", "38", "54"});
    expectRead("#ba2636", Notation::Rgb, {"186", "38", "54"});
    expectRead("#b23", Notation::Rgb, {"187", "34", "51"});
    expectRead("#000000", Notation::Rgb, {"0", "0", "0"});
}

TEST(TypedColour, AnythingElseIsNoColour) {
    for (const char* text : {"", "5R", "abc", "5R 4/", "5X 4/14", "5R 4/abc", "N 5/2", "N 5 6/",
                             "R 4/14", "#BA263", "#GG0000", "1 2", "1 2 3 4", "Lab 1 2",
                             "xyY 0.3 0.3 abc", "1e39 0 0", "x,y,Y", "5R 4/14 extra", "5R 1e40/2"})
        EXPECT_FALSE(readTypedColour(text).has_value()) << text;
}

TEST(HueText, ShortHueTextWritesTheNotationsHue) {
    const std::pair<float, const char*> cases[] = {
        {5.0f, "5R"},     {12.5f, "2.5YR"},   {94.938f, "4.94RP"}, {0.0f, "10RP"},
        {100.0f, "10RP"}, {10.0f, "10R"},     {40.0f, "10GY"},     {99.999f, "10RP"},
        {10.004f, "10R"}, {10.006f, "0.01YR"}};
    for (const auto& [hue, text] : cases)
        EXPECT_EQ(shortHueText(hue), text) << hue;
    // Every hue the sliders give reads back as itself.
    for (int step = 1; step <= 400; ++step) {
        const float hue = static_cast<float>(step) * 0.25f;
        const HueOfText read = converth(shortHueText(hue));
        EXPECT_NEAR(wrappedHue(read.hue), hue >= 100.0f ? 0.0f : hue, 1e-4f) << hue;
    }
}

} // namespace
} // namespace huelinx
