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
        const float Y = val2y(10.0f, s);
        EXPECT_NEAR(Y, pwd ? 100.0038f : 102.568f, 0.0005f);
        EXPECT_NEAR(y2val(Y, s).V, 10.0f, 2e-6f);
        EXPECT_EQ(y2val(Y, s).Y, Y);
        // The inverse holds over the whole scale, not just at its end.
        for (float v = 0.5f; v <= 10.0f; v += 0.25f)
            EXPECT_NEAR(y2val(val2y(v, s), s).V, v, 1e-5f)
                << "value " << v << (pwd ? " with PWD" : "");
    }
}

TEST(ValueFunction, NegativeLuminanceIsRaisedToZero) {
    const ValueOfY value = y2val(-5.0f, ColourSettings{});
    EXPECT_EQ(value.Y, 0.0f);
    EXPECT_EQ(value.V, 0.0f);
}

TEST(ValueFunction, PwdGivesAHigherValueForTheSameLuminance) {
    EXPECT_GT(y2val(50.0f, withIlluminant(Illuminant::C, true)).V,
              y2val(50.0f, withIlluminant(Illuminant::C, false)).V);
}

TEST(Lab, EachIlluminantsWhiteIsExactlyLightnessHundred) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(ill);
        const LabOfXyz lab = xyzlab(w.X, w.Y, w.Z, withIlluminant(ill));
        EXPECT_EQ(lab.L, 100.0f);
        EXPECT_EQ(lab.a, 0.0f);
        EXPECT_EQ(lab.b, 0.0f);
        EXPECT_EQ(lab.raised.X, w.X);
        EXPECT_EQ(lab.raised.Y, w.Y);
        EXPECT_EQ(lab.raised.Z, w.Z);
    }
}

TEST(Lab, BlackIsFlooredAtOneHundredthOfTheWhiteAndIsGrey) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Tristimulus w = whiteOf(ill);
        const LabOfXyz lab = xyzlab(0, -3, 0.005f, s);
        EXPECT_FLOAT_EQ(lab.raised.X, w.X / 10000.0f);
        EXPECT_EQ(lab.raised.Y, 0.01f);
        EXPECT_FLOAT_EQ(lab.raised.Z, w.Z / 10000.0f);
        EXPECT_NEAR(lab.L, 0.0903f, 0.0005f);
        EXPECT_NEAR(lab.a, 0.0f, 1e-4f);
        EXPECT_NEAR(lab.b, 0.0f, 1e-4f);
    }
    // Values at or above the floor are used as they are.
    const LabOfXyz dark = xyzlab(0.01f, 0.02f, 0.0118233f, ColourSettings{});
    EXPECT_EQ(dark.raised.X, 0.01f);
    EXPECT_EQ(dark.raised.Y, 0.02f);
    EXPECT_EQ(dark.raised.Z, 0.0118233f);
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
        const LabOfXyz lab = xyzlab(41.24f, 21.26f, 1.93f, withIlluminant(c.ill));
        EXPECT_NEAR(lab.L, c.L, 0.01f);
        EXPECT_NEAR(lab.a, c.a, 0.02f);
        EXPECT_NEAR(lab.b, c.b, 0.02f);
    }
}

TEST(Lab, InverseUsesItsOwnFixedWhite) {
    const auto white = labxyz(100, 0, 0);
    ASSERT_TRUE(white);
    EXPECT_NEAR(white->X, 98.04f, 1e-4f);
    EXPECT_NEAR(white->Y, 100.0f, 1e-4f);
    EXPECT_NEAR(white->Z, 118.1f, 1e-4f);
    // So a round trip under illuminant C does not give back X and Z exactly...
    LabOfXyz lab = xyzlab(98.074f, 100, 118.232f, ColourSettings{});
    auto back = labxyz(lab.L, lab.a, lab.b);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->Y, 100.0f, 1e-3f);
    EXPECT_GT(std::fabs(back->X - 98.074f), 0.03f);
    // ...but Y, which has no white of its own, comes back for any colour.
    lab = xyzlab(20, 30, 40, ColourSettings{});
    back = labxyz(lab.L, lab.a, lab.b);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->Y, 30.0f, 1e-3f);
}

TEST(Lab, InverseRefusesLightnessBelowMinusSixteen) {
    EXPECT_FALSE(labxyz(-20, 0, 0));
    EXPECT_FALSE(labxyz(NAN, 0, 0));
    const auto black = labxyz(-16, 0, 0);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->Y, 0.0f);
}

TEST(Bradford, EqualWhitesLeaveTheSampleAndWhitesMapOntoEachOther) {
    const Tristimulus c = whiteOf(Illuminant::C);
    const auto same = xyzconv({30, 40, 50}, c, c);
    ASSERT_TRUE(same);
    EXPECT_NEAR(same->X, 30.0f, 1e-4f);
    EXPECT_NEAR(same->Y, 40.0f, 1e-4f);
    EXPECT_NEAR(same->Z, 50.0f, 1e-4f);
    for (Illuminant to : {Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(to);
        const auto white = xyzconv(c, c, w);
        ASSERT_TRUE(white);
        EXPECT_NEAR(white->X, w.X, 2e-3f);
        EXPECT_NEAR(white->Y, w.Y, 2e-3f);
        EXPECT_NEAR(white->Z, w.Z, 2e-3f);
    }
}

TEST(Bradford, ForwardThenBackwardReturnsTheSample) {
    for (Illuminant ill : {Illuminant::D5000, Illuminant::D65}) {
        const ColourSettings s = withIlluminant(ill);
        const auto there = xyzconvert(Adaptation::FromC, 35.2f, 27.9f, 12.4f, s);
        ASSERT_TRUE(there);
        const float sum = there->X + there->Y + there->Z;
        EXPECT_NEAR(there->x, there->X / sum, 1e-7f);
        EXPECT_NEAR(there->y, there->Y / sum, 1e-7f);
        EXPECT_GT(std::fabs(there->Z - 12.4f), 0.1f);
        const auto back = xyzconvert(Adaptation::ToC, there->X, there->Y, there->Z, s);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->X, 35.2f, 1e-3f);
        EXPECT_NEAR(back->Y, 27.9f, 1e-3f);
        EXPECT_NEAR(back->Z, 12.4f, 1e-3f);
    }
}

TEST(Bradford, WithIlluminantCSelectedNothingIsAdapted) {
    const ColourSettings s = withIlluminant(Illuminant::C);
    for (Adaptation direction : {Adaptation::FromC, Adaptation::ToC}) {
        const auto same = xyzconvert(direction, 35.2f, 27.9f, 12.4f, s);
        ASSERT_TRUE(same);
        EXPECT_NEAR(same->X, 35.2f, 1e-4f);
        EXPECT_NEAR(same->Z, 12.4f, 1e-4f);
    }
}

TEST(Bradford, ZeroLuminanceIsRefused) {
    const ColourSettings s = withIlluminant(Illuminant::D65);
    EXPECT_FALSE(xyzconvert(Adaptation::FromC, 0, 0, 0, s));
    EXPECT_FALSE(xyzconvert(Adaptation::ToC, 5, 0, 5, s));
    EXPECT_FALSE(xyzconv({1, 1, 1}, {98, 0, 118}, {95, 100, 108}));
    EXPECT_FALSE(xyzconv({1, 1, 1}, {98, 100, 118}, {95, 0, 108}));
}

} // namespace
} // namespace huelinx
