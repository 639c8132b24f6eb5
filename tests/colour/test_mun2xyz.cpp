#include "colour/ciede2000.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "table_fixture.h"
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

using testing::renotationPoints;
using testing::renotationTable;

CieOfMunsell convert(float hue, float value, float chroma, const ColourSettings& s = {}) {
    return mun2xyz(hue, value, chroma, renotationTable(), s);
}

TEST(MunsellToCie, GridPointsReproduceTheRenotationDataExactly) {
    int converted = 0;
    for (const auto& p : renotationPoints()) {
        if (p.value < 1 || p.value > 9 || p.value != std::floor(p.value) || p.chroma > 30) continue;
        float hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        const CieOfMunsell c = convert(hue, p.value, p.chroma);
        // Where a neighbour of the cell has no data the point is outside.
        if (c.status != MunsellToCie::Ok) continue;
        ++converted;
        // In double precision: the data's four decimals exactly.
        ASSERT_EQ(c.x, p.x / 10000.0) << p.hue << " " << p.value;
        ASSERT_EQ(c.y, p.y / 10000.0) << p.hue << " " << p.value;
        const double Y = val2y(p.value, ColourSettings{});
        ASSERT_EQ(c.Y, Y);
        ASSERT_NEAR(c.X, Y * c.x / c.y, 1e-12);
    }
    EXPECT_GT(converted, 2500);
}

TEST(MunsellToCie, TheInitialNotationGivesItsKnownTristimulus) {
    // 6.4Y 8.6/10.4, the notation the window starts with.
    const CieOfMunsell c = convert(26.4f, 8.6f, 10.4f);
    ASSERT_EQ(c.status, MunsellToCie::Ok);
    EXPECT_EQ(c.value, 8.6f);
    EXPECT_EQ(formatNumber(c.X, "##0.00"), "65.10");
    EXPECT_EQ(formatNumber(c.Y, "##0.00"), "70.37");
    EXPECT_EQ(formatNumber(c.Z, "##0.00"), "15.75");
    EXPECT_EQ(formatNumber(c.x, "0.0000"), "0.4305");
    EXPECT_EQ(formatNumber(c.y, "0.0000"), "0.4654");
}

TEST(MunsellToCie, ChromaZeroIsTheIlluminantsOwnWhiteWhateverTheHue) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Tristimulus w = whiteOf(ill);
        for (float hue : {0.0f, 5.0f, 37.3f, 75.0f, 99.9f})
            for (float value : {0.0f, 5.0f, 10.0f}) {
                const CieOfMunsell c = mun2xyz(hue, value, 0, renotationTable(), s);
                ASSERT_EQ(c.status, MunsellToCie::Ok);
                EXPECT_FLOAT_EQ(c.X, c.Y * w.X / 100.0f);
                EXPECT_FLOAT_EQ(c.Z, c.Y * w.Z / 100.0f);
                EXPECT_FLOAT_EQ(c.x, w.X / (w.X + w.Y + w.Z));
                // L*a*b* of a grey has no a* or b*.
                const LabOfXyz lab = xyzlab(c.X, c.Y, c.Z, s);
                EXPECT_NEAR(lab.a, 0.0f, 1e-3f);
                EXPECT_NEAR(lab.b, 0.0f, 1e-3f);
            }
    }
    // Under C the grey is where the interpolation starts: chroma 0.0001 lies
    // next to it.
    const CieOfMunsell near = convert(12.5f, 5, 0.0001f);
    EXPECT_NEAR(near.x, whiteX, 1e-5f);
    EXPECT_NEAR(near.y, whiteY, 1e-5f);
}

TEST(MunsellToCie, ValueTenIsTheTopLevelOfTheData) {
    // 5Y 10/4 is a point of the data: its own x, y and Y = 102.568.
    const CieOfMunsell ten = convert(25, 10, 4);
    ASSERT_EQ(ten.status, MunsellToCie::Ok);
    EXPECT_EQ(ten.value, 10.0f);
    EXPECT_EQ(ten.x, renotationTable().exactX(MunTable::wholeLevel(10), 10, 2));
    EXPECT_EQ(ten.y, renotationTable().exactY(MunTable::wholeLevel(10), 10, 2));
    EXPECT_NEAR(ten.Y, 102.568f, 0.001f);
    // Between 9 and 10 the two levels are blended, above 10 the top level stands.
    const CieOfMunsell nineHalf = convert(25, 9.5f, 4), above = convert(25, 12, 4);
    EXPECT_GT(nineHalf.Y, convert(25, 9, 4).Y);
    EXPECT_LT(nineHalf.Y, ten.Y);
    EXPECT_EQ(above.value, 10.0f);
    EXPECT_EQ(above.X, ten.X);
    EXPECT_EQ(above.Z, ten.Z);
    // Values up to 10 are converted as they are, and reported so, whatever the status.
    EXPECT_EQ(convert(25, 7.25f, 4).value, 7.25f);
    EXPECT_EQ(convert(25, -0.5f, 4).value, -0.5f);
    EXPECT_EQ(convert(25, 12, 60).value, 10.0f);
}

TEST(MunsellToCie, OutsideTheDataGivesZerosAndOutsideTheTableIsRefused) {
    // Chroma 40 at value 9 lies beyond the data: all five outputs are 0.
    for (const CieOfMunsell& c : {convert(25, 9, 40), convert(27.5f, 8, 30)}) {
        EXPECT_EQ(c.status, MunsellToCie::OutsideData);
        EXPECT_EQ(c.X, 0.0f);
        EXPECT_EQ(c.Y, 0.0f);
        EXPECT_EQ(c.Z, 0.0f);
        EXPECT_EQ(c.x, 0.0f);
        EXPECT_EQ(c.y, 0.0f);
    }
    EXPECT_EQ(convert(0, 5, 4).status, MunsellToCie::Ok);
    // Hue 100 is hue 0 (10RP): the empty hue index above it has no weight.
    const CieOfMunsell hundred = convert(100, 5, 4), zero = convert(0, 5, 4);
    EXPECT_EQ(hundred.status, MunsellToCie::Ok);
    EXPECT_EQ(hundred.X, zero.X);
    EXPECT_EQ(hundred.Z, zero.Z);
    // Indices outside the table give zeros too.
    for (const CieOfMunsell& c : {convert(5, -0.5f, 2), convert(5, 5, 60), convert(103, 5, 2),
                                  convert(-1, 5, 2), convert(NAN, 5, 2), convert(5, 5, NAN)}) {
        EXPECT_EQ(c.status, MunsellToCie::OutOfTable);
        EXPECT_EQ(c.X, 0.0f);
        EXPECT_EQ(c.Y, 0.0f);
        EXPECT_EQ(c.Z, 0.0f);
        EXPECT_EQ(c.x, 0.0f);
        EXPECT_EQ(c.y, 0.0f);
    }
}

TEST(MunsellToCie, DarkColoursBelowValueOneStillConvert) {
    for (float hue : {5.0f, 25.0f, 45.0f, 75.0f, 95.0f}) {
        const CieOfMunsell c = convert(hue, 0.5f, 1);
        EXPECT_EQ(c.status, MunsellToCie::Ok) << hue;
        EXPECT_EQ(c.Y, val2y(0.5f, ColourSettings{}));
    }
}

// CIE 1976 L*a*b* relative to the illuminant-C white, with its linear part.
Lab cieLab(double X, double Y, double Z) {
    const auto f = [](double t) {
        return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
    };
    const double fx = f(X / 98.074), fy = f(Y / 100.0), fz = f(Z / 118.232);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

TEST(MunsellToCie, DataPointsBelowValueOneConvertToThemselves) {
    // Values 0.2 to 0.8 are levels of the table: each point of the data there
    // gives its own chromaticity, not a blend of value 0 and value 1.
    int converted = 0, noChromaticity = 0;
    for (const auto& p : renotationPoints()) {
        if (p.value >= 1) continue;
        float hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        const CieOfMunsell c = convert(hue, p.value, p.chroma);
        // 7.5PB 0.2/20 (y = 0) and 7.5PB 0.8/34, 0.8/36 (y below 0) are no colours.
        if (p.y <= 0) {
            EXPECT_NE(c.status, MunsellToCie::Ok) << p.hue << " " << p.value << "/" << p.chroma;
            ++noChromaticity;
            continue;
        }
        ASSERT_EQ(c.status, MunsellToCie::Ok) << p.hue << " " << p.value << "/" << p.chroma;
        const double Y = c.Y, x = p.x / 10000.0, y = p.y / 10000.0;
        const double dE =
            ciede2000(cieLab(Y * x / y, Y, Y * (1 - x - y) / y), cieLab(c.X, c.Y, c.Z));
        EXPECT_LE(dE, 0.02) << p.hue << " " << p.value << "/" << p.chroma;
        ++converted;
    }
    EXPECT_EQ(converted, 762);
    EXPECT_EQ(noChromaticity, 3);
}

TEST(MunsellToCie, BetweenTheDarkLevelsTheTwoAroundTheValueAreBlended) {
    // 5R 0.5/4 lies half way between 5R 0.4/4 and 5R 0.6/4 of the data.
    const CieOfMunsell c = convert(5, 0.5f, 4), low = convert(5, 0.4f, 4),
                       high = convert(5, 0.6f, 4);
    ASSERT_EQ(c.status, MunsellToCie::Ok);
    EXPECT_NEAR(c.x, (low.x + high.x) / 2, 1e-6f);
    EXPECT_NEAR(c.y, (low.y + high.y) / 2, 1e-6f);
    // 5R 0.1/2 between value 0 (the value-0.2 points) and 0.2 is the 0.2 chromaticity.
    EXPECT_NEAR(convert(5, 0.1f, 2).x, convert(5, 0.2f, 2).x, 1e-6f);
    EXPECT_EQ(convert(5, 0.95f, 4).status, MunsellToCie::Ok);
}

TEST(MunsellToCie, OtherIlluminantsGiveTheBradfordAdaptedValues) {
    const CieOfMunsell underC = convert(5, 5, 10);
    for (Illuminant ill : {Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const CieOfMunsell adapted = convert(5, 5, 10, s);
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
    const CieOfMunsell black = convert(5, 0, 0, d65);
    EXPECT_EQ(black.status, MunsellToCie::Ok);
    EXPECT_EQ(black.Y, 0.0f);
}

TEST(MunsellToCie, PwdScalesTheLuminance) {
    ColourSettings pwd;
    pwd.pwd = true;
    const CieOfMunsell plain = convert(5, 5, 10), scaled = convert(5, 5, 10, pwd);
    EXPECT_NEAR(scaled.Y, plain.Y * 0.975f, 1e-4f);
    EXPECT_EQ(scaled.x, plain.x);
}

} // namespace
} // namespace huelinx
