#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "table_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

using testing::renotationPoints;
using testing::renotationTable;

struct Cie {
    MunsellToCie status;
    float X = -1, Y = -1, Z = -1, x = -1, y = -1;
};

Cie convert(float hue, float value, float chroma, const ColourSettings& s = {}) {
    Cie c;
    c.status = mun2xyz(hue, value, chroma, c.X, c.Y, c.Z, c.x, c.y, renotationTable(), s);
    return c;
}

TEST(MunsellToCie, GridPointsReproduceTheRenotationDataExactly) {
    int converted = 0;
    for (const auto& p : renotationPoints()) {
        if (p.value < 1 || p.value > 9 || p.value != std::floor(p.value) || p.chroma > 30) continue;
        float hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        const Cie c = convert(hue, p.value, p.chroma);
        // Where a neighbour of the cell has no data the point is outside.
        if (c.status != MunsellToCie::Ok) continue;
        ++converted;
        ASSERT_EQ(c.x, MunTable::fraction(static_cast<std::int16_t>(p.x)))
            << p.hue << " " << p.value;
        ASSERT_EQ(c.y, MunTable::fraction(static_cast<std::int16_t>(p.y)))
            << p.hue << " " << p.value;
        const float Y = val2y(p.value, ColourSettings{});
        ASSERT_EQ(c.Y, Y);
        ASSERT_NEAR(c.X, Y * c.x / c.y, 1e-3f);
    }
    EXPECT_GT(converted, 2500);
}

TEST(MunsellToCie, ChromaZeroIsTheWhiteWhateverTheHue) {
    for (float hue : {0.0f, 5.0f, 37.3f, 75.0f, 99.9f}) {
        const Cie c = convert(hue, 5, 0);
        ASSERT_EQ(c.status, MunsellToCie::Ok);
        EXPECT_EQ(c.x, 0.3101f);
        EXPECT_EQ(c.y, 0.3163f);
    }
}

TEST(MunsellToCie, ValueAboveNineAndAHalfIsClampedInPlace) {
    float value = 10, X, Y, Z, x, y, X2, Y2, Z2, x2, y2;
    ASSERT_EQ(mun2xyz(25, value, 4, X, Y, Z, x, y, renotationTable(), {}), MunsellToCie::Ok);
    EXPECT_EQ(value, 9.5f);
    float nineHalf = 9.5f;
    mun2xyz(25, nineHalf, 4, X2, Y2, Z2, x2, y2, renotationTable(), {});
    EXPECT_EQ(X, X2);
    EXPECT_EQ(Y, Y2);
    EXPECT_EQ(Z, Z2);
}

TEST(MunsellToCie, OutsideTheDataGivesZerosAndOutsideTheTableIsRefused) {
    // Chroma 40 at value 9, and hue 100 itself (its upper neighbour is the
    // empty hue index 41), lie beyond the data: all five outputs are 0.
    for (const Cie& c : {convert(25, 9, 40), convert(100, 5, 4)}) {
        EXPECT_EQ(c.status, MunsellToCie::OutsideData);
        EXPECT_EQ(c.X, 0.0f);
        EXPECT_EQ(c.Y, 0.0f);
        EXPECT_EQ(c.Z, 0.0f);
        EXPECT_EQ(c.x, 0.0f);
        EXPECT_EQ(c.y, 0.0f);
    }
    EXPECT_EQ(convert(0, 5, 4).status, MunsellToCie::Ok);
    // Indices outside the table leave the outputs alone.
    for (const Cie& c : {convert(5, -0.5f, 2), convert(5, 5, 60), convert(103, 5, 2),
                         convert(-1, 5, 2), convert(NAN, 5, 2), convert(5, 5, NAN)}) {
        EXPECT_EQ(c.status, MunsellToCie::OutOfTable);
        EXPECT_EQ(c.X, -1.0f);
    }
}

TEST(MunsellToCie, DarkColoursBelowValueOneStillConvert) {
    for (float hue : {5.0f, 25.0f, 45.0f, 75.0f, 95.0f}) {
        const Cie c = convert(hue, 0.5f, 1);
        EXPECT_EQ(c.status, MunsellToCie::Ok) << hue;
        EXPECT_EQ(c.Y, val2y(0.5f, ColourSettings{}));
    }
}

TEST(MunsellToCie, OtherIlluminantsGiveTheBradfordAdaptedValues) {
    const Cie underC = convert(5, 5, 10);
    for (Illuminant ill : {Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Cie adapted = convert(5, 5, 10, s);
        ASSERT_EQ(adapted.status, MunsellToCie::Ok);
        const auto expected = xyzconvert(Adaptation::FromC, underC.X, underC.Y, underC.Z, s);
        ASSERT_TRUE(expected);
        EXPECT_EQ(adapted.X, expected->X);
        EXPECT_EQ(adapted.Y, expected->Y);
        EXPECT_EQ(adapted.Z, expected->Z);
        EXPECT_EQ(adapted.x, expected->x);
        EXPECT_EQ(adapted.y, expected->y);
        EXPECT_NEAR(adapted.x, adapted.X / (adapted.X + adapted.Y + adapted.Z), 1e-7f);
        EXPECT_NE(adapted.x, underC.x);
    }
    // Black has no luminance to adapt: value 0 under D65 is still black.
    ColourSettings d65;
    d65.illuminant = Illuminant::D65;
    const Cie black = convert(5, 0, 0, d65);
    EXPECT_EQ(black.status, MunsellToCie::Ok);
    EXPECT_EQ(black.Y, 0.0f);
}

TEST(MunsellToCie, PwdScalesTheLuminance) {
    ColourSettings pwd;
    pwd.pwd = true;
    const Cie plain = convert(5, 5, 10), scaled = convert(5, 5, 10, pwd);
    EXPECT_NEAR(scaled.Y, plain.Y * 0.975f, 1e-4f);
    EXPECT_EQ(scaled.x, plain.x);
}

} // namespace
} // namespace huelinx
