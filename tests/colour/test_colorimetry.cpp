#include "colour/colorimetry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

ColourSettings withIlluminant(Illuminant ill, bool pwd = false) {
    ColourSettings s;
    s.illuminant = ill;
    s.pwd = pwd;
    return s;
}

TEST(ValueFunction, ValueTenAndInverseWithAndWithoutPwd) {
    for (bool pwd : {false, true}) {
        const ColourSettings s = withIlluminant(Illuminant::C, pwd);
        float Y = 0, V = 0;
        val2y(10.0f, Y, s);
        EXPECT_NEAR(Y, pwd ? 100.0038f : 102.568f, 0.0005f);
        y2val(Y, V, s);
        EXPECT_NEAR(V, 10.0f, 2e-6f);
        // The inverse holds over the whole scale, not just at its end.
        for (float v = 0.5f; v <= 10.0f; v += 0.25f) {
            val2y(v, Y, s);
            y2val(Y, V, s);
            EXPECT_NEAR(V, v, 1e-5f) << "value " << v << (pwd ? " with PWD" : "");
        }
    }
}

TEST(ValueFunction, NegativeLuminanceIsRaisedToZeroInPlace) {
    float Y = -5.0f, V = 7.0f;
    y2val(Y, V, ColourSettings{});
    EXPECT_EQ(Y, 0.0f);
    EXPECT_EQ(V, 0.0f);
}

TEST(ValueFunction, PwdGivesAHigherValueForTheSameLuminance) {
    float Y = 50.0f, plain = 0, pwd = 0;
    y2val(Y, plain, withIlluminant(Illuminant::C, false));
    y2val(Y, pwd, withIlluminant(Illuminant::C, true));
    EXPECT_GT(pwd, plain);
}

TEST(Lab, EachIlluminantsWhiteIsExactlyLightnessHundred) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(ill);
        float X = w.X, Y = w.Y, Z = w.Z, L, a, b;
        xyzlab(X, Y, Z, L, a, b, withIlluminant(ill));
        EXPECT_EQ(L, 100.0f);
        EXPECT_EQ(a, 0.0f);
        EXPECT_EQ(b, 0.0f);
    }
}

TEST(Lab, BlackIsFlooredAtOneHundredthInPlace) {
    float X = 0, Y = -3, Z = 0.005f, L, a, b;
    xyzlab(X, Y, Z, L, a, b, ColourSettings{});
    EXPECT_EQ(X, 0.01f);
    EXPECT_EQ(Y, 0.01f);
    EXPECT_EQ(Z, 0.01f);
    EXPECT_NEAR(L, 0.0903f, 0.0005f);
}

TEST(Lab, KnownColourIsRelativeToTheSelectedWhite) {
    // sRGB red; the values with an exact cube root are 53.233, 80.423, 66.966
    // against the D65 10 white and 53.233, 78.304, 62.164 against D5000. The
    // power 0.333333 moves them by a few thousandths.
    const struct {
        Illuminant ill;
        float L, a, b;
    } cases[] = {{Illuminant::D65, 53.233f, 80.423f, 66.966f},
                 {Illuminant::D5000, 53.233f, 78.304f, 62.164f}};
    for (const auto& c : cases) {
        float X = 41.24f, Y = 21.26f, Z = 1.93f, L, a, b;
        xyzlab(X, Y, Z, L, a, b, withIlluminant(c.ill));
        EXPECT_NEAR(L, c.L, 0.01f);
        EXPECT_NEAR(a, c.a, 0.02f);
        EXPECT_NEAR(b, c.b, 0.02f);
    }
}

TEST(Lab, InverseUsesItsOwnFixedWhite) {
    float X, Y, Z;
    ASSERT_TRUE(labxyz(X, Y, Z, 100, 0, 0));
    EXPECT_NEAR(X, 98.04f, 1e-4f);
    EXPECT_NEAR(Y, 100.0f, 1e-4f);
    EXPECT_NEAR(Z, 118.1f, 1e-4f);
    // So a round trip under illuminant C does not give back X and Z exactly...
    X = 98.074f, Y = 100, Z = 118.232f;
    float L, a, b;
    xyzlab(X, Y, Z, L, a, b, ColourSettings{});
    float X2, Y2, Z2;
    ASSERT_TRUE(labxyz(X2, Y2, Z2, L, a, b));
    EXPECT_NEAR(Y2, 100.0f, 1e-3f);
    EXPECT_GT(std::fabs(X2 - 98.074f), 0.03f);
    // ...but Y, which has no white of its own, comes back for any colour.
    X = 20, Y = 30, Z = 40;
    xyzlab(X, Y, Z, L, a, b, ColourSettings{});
    ASSERT_TRUE(labxyz(X2, Y2, Z2, L, a, b));
    EXPECT_NEAR(Y2, 30.0f, 1e-3f);
}

TEST(Lab, InverseRefusesLightnessBelowMinusSixteen) {
    float X = 1, Y = 2, Z = 3;
    EXPECT_FALSE(labxyz(X, Y, Z, -20, 0, 0));
    EXPECT_EQ(X, 1.0f);
    EXPECT_TRUE(labxyz(X, Y, Z, -16, 0, 0));
    EXPECT_EQ(Y, 0.0f);
}

TEST(Bradford, EqualWhitesLeaveTheSampleAndWhitesMapOntoEachOther) {
    const Tristimulus c = whiteOf(Illuminant::C);
    float X, Y, Z;
    ASSERT_TRUE(xyzconv(30, 40, 50, c.X, c.Y, c.Z, X, Y, Z, c.X, c.Y, c.Z));
    EXPECT_NEAR(X, 30.0f, 1e-4f);
    EXPECT_NEAR(Y, 40.0f, 1e-4f);
    EXPECT_NEAR(Z, 50.0f, 1e-4f);
    for (Illuminant to : {Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(to);
        ASSERT_TRUE(xyzconv(c.X, c.Y, c.Z, c.X, c.Y, c.Z, X, Y, Z, w.X, w.Y, w.Z));
        EXPECT_NEAR(X, w.X, 2e-3f);
        EXPECT_NEAR(Y, w.Y, 2e-3f);
        EXPECT_NEAR(Z, w.Z, 2e-3f);
    }
}

TEST(Bradford, ForwardThenBackwardReturnsTheSample) {
    for (Illuminant ill : {Illuminant::D5000, Illuminant::D65}) {
        const ColourSettings s = withIlluminant(ill);
        float X = 35.2f, Y = 27.9f, Z = 12.4f, x, y;
        ASSERT_TRUE(xyzconvert("F", X, Y, Z, x, y, s));
        EXPECT_NEAR(x, X / (X + Y + Z), 1e-7f);
        EXPECT_NEAR(y, Y / (X + Y + Z), 1e-7f);
        EXPECT_GT(std::fabs(Z - 12.4f), 0.1f);
        ASSERT_TRUE(xyzconvert("B", X, Y, Z, x, y, s));
        EXPECT_NEAR(X, 35.2f, 1e-3f);
        EXPECT_NEAR(Y, 27.9f, 1e-3f);
        EXPECT_NEAR(Z, 12.4f, 1e-3f);
    }
}

TEST(Bradford, ZeroLuminanceIsRefusedWithoutChange) {
    const ColourSettings s = withIlluminant(Illuminant::D65);
    float X = 0, Y = 0, Z = 0, x = 0.5f, y = 0.5f;
    EXPECT_FALSE(xyzconvert("F", X, Y, Z, x, y, s));
    EXPECT_EQ(x, 0.5f);
    float Xo = 7, Yo = 7, Zo = 7;
    EXPECT_FALSE(xyzconv(1, 1, 1, 98, 0, 118, Xo, Yo, Zo, 95, 100, 108));
    EXPECT_EQ(Xo, 7.0f);
}

} // namespace
} // namespace huelinx
