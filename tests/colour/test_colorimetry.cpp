#include "colour/colorimetry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

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

// The inverse undoes the value polynomial to double precision over the
// whole scale, the dark end included, so that a value found for a luminance
// gives that luminance back.
TEST(ValueFunction, InverseIsExactToDoublePrecision) {
    const auto polynomial = [](double v) {
        return 1.2219 * v - 0.23111 * v * v + 0.23951 * v * v * v - 0.021009 * v * v * v * v +
               0.0008404 * v * v * v * v * v;
    };
    for (bool pwd : {false, true}) {
        const ColourSettings s = withIlluminant(Illuminant::C, pwd);
        for (int i = 1; i <= 1000; ++i) {
            const double v = i / 100.0;
            const double Y = pwd ? polynomial(v) * 0.975 : polynomial(v);
            const ValueOfY back = y2val(Y, s);
            EXPECT_NEAR(back.V, v, 1e-12 * v) << "value " << v << (pwd ? " with PWD" : "");
            EXPECT_EQ(back.Y, Y);
        }
    }
    EXPECT_EQ(y2val(0.0, ColourSettings{}).V, 0.0);
}

// Far beyond the white the value still comes to the polynomial's root, up to
// the largest luminance that has a value; more light has none.
TEST(ValueFunction, VeryBrightLightHasItsValueUpToTheLimit) {
    for (double Y : {150.0, 1e4, 1e10, 1e15}) {
        const double V = y2val(Y, ColourSettings{}).V;
        const double back = 1.2219 * V - 0.23111 * V * V + 0.23951 * V * V * V -
                            0.021009 * V * V * V * V + 0.0008404 * V * V * V * V * V;
        EXPECT_NEAR(back, Y, 1e-12 * Y) << Y;
    }
    EXPECT_TRUE(std::isnan(y2val(1.01e15, ColourSettings{}).V));
    EXPECT_TRUE(std::isnan(y2val(3e38, ColourSettings{}).V));
    EXPECT_TRUE(std::isnan(y2val(NAN, ColourSettings{}).V));
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

// No light is L* 0 and grey; dark colours are on the straight line of the
// CIE 1976 formulas, which meets the cube root at Y/Yn = 216/24389 (L* 8).
TEST(Lab, DarkColoursFollowTheStraightLineFromBlack) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const ColourSettings s = withIlluminant(ill);
        const Tristimulus w = whiteOf(ill);
        const LabOfXyz black = xyzlab(0, 0, 0, s);
        EXPECT_EQ(black.L, 0.0f);
        EXPECT_EQ(black.a, 0.0f);
        EXPECT_EQ(black.b, 0.0f);
        // L* = 903.3 Y/Yn on the line: a hundredth of a percent is L* 0.0903.
        EXPECT_NEAR(xyzlab(w.X / 1e4, 0.01, w.Z / 1e4, s).L, 24389.0 / 27.0 / 1e4, 1e-5);
        const double edge = 216.0 / 24389.0;
        for (double side : {1 - 1e-9, 1 + 1e-9}) {
            const double t = edge * side;
            const LabOfXyz lab = xyzlab(w.X * t, w.Y * t, w.Z * t, s);
            EXPECT_NEAR(lab.L, 8.0, 1e-5) << side;
            EXPECT_NEAR(lab.a, 0.0, 1e-5) << side;
        }
    }
}

// A negative X, Y or Z is taken as it is, along the straight line: it is
// not light, but raising it to a floor would give another colour.
TEST(Lab, NegativeComponentsGoThroughTheStraightLine) {
    const ColourSettings s;
    const Tristimulus w = whiteOf(Illuminant::C);
    const double slope = 24389.0 / 27.0 / 116.0;
    const LabOfXyz atZero = xyzlab(0, 1, 0, s);
    const LabOfXyz below = xyzlab(-0.5, 1, -0.25, s);
    EXPECT_NEAR(below.a - atZero.a, 500.0 * slope * -0.5 / w.X, 1e-4);
    EXPECT_NEAR(below.b - atZero.b, -200.0 * slope * -0.25 / w.Z, 1e-4);
    EXPECT_EQ(below.L, atZero.L);
    EXPECT_EQ(below.raised.X, -0.5f);
    EXPECT_EQ(xyzlab(0, -1, 0, s).L, static_cast<float>(-1.0 / w.Y * 116.0 * slope));
}

TEST(Lab, KnownColourIsRelativeToTheSelectedWhite) {
    // sRGB red: 53.233, 80.423, 66.966 against the D65 10 white and 53.233,
    // 78.304, 62.164 against D5000.
    const struct {
        Illuminant ill;
        float L, a, b;
    } cases[] = {{Illuminant::D65, 53.233f, 80.423f, 66.966f},
                 {Illuminant::D5000, 53.233f, 78.304f, 62.164f}};
    for (const auto& c : cases) {
        const LabOfXyz lab = xyzlab(41.24f, 21.26f, 1.93f, withIlluminant(c.ill));
        EXPECT_NEAR(lab.L, c.L, 0.001f);
        EXPECT_NEAR(lab.a, c.a, 0.001f);
        EXPECT_NEAR(lab.b, c.b, 0.001f);
    }
}

// The L*a*b* an illuminant's colours show give their X, Y, Z back through the
// inverse with the same white, dark and negative components included.
TEST(Lab, InverseWithTheSameWhiteGivesTheColourBack) {
    const float samples[][3] = {
        {98.074f, 100, 118.232f}, {20, 30, 40},        {0.2f, 0.1f, 0.3f}, {0.01f, 0.012f, 0.009f},
        {41.24f, 21.26f, 1.93f},  {-0.3f, 0.5f, 0.4f}, {0, 0, 0}};
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(ill);
        const auto white = labxyz(100, 0, 0, w);
        ASSERT_TRUE(white);
        EXPECT_FLOAT_EQ(white->X, w.X);
        EXPECT_FLOAT_EQ(white->Z, w.Z);
        for (const auto& x : samples) {
            const LabOfXyz lab = xyzlab(x[0], x[1], x[2], withIlluminant(ill));
            const auto back = labxyz(lab.L, lab.a, lab.b, w);
            ASSERT_TRUE(back);
            const float got[3] = {back->X, back->Y, back->Z};
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(got[i], x[i], 2e-5 * std::max(1.0f, std::fabs(x[i])))
                    << x[0] << " " << x[1] << " " << x[2] << " component " << i;
        }
    }
}

TEST(Lab, InverseOfLightnessZeroIsNoLightAndBelowIsRefused) {
    const Tristimulus w = whiteOf(Illuminant::D65);
    const auto black = labxyz(0, 0, 0, w);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->X, 0.0f);
    EXPECT_EQ(black->Y, 0.0f);
    EXPECT_EQ(black->Z, 0.0f);
    // Both sides of L* 8, where the line meets the cube.
    const auto below = labxyz(8 - 1e-7, 0, 0, w), above = labxyz(8 + 1e-7, 0, 0, w);
    ASSERT_TRUE(below && above);
    EXPECT_NEAR(below->Y, 100.0 * 216 / 24389, 1e-6);
    EXPECT_NEAR(above->Y, 100.0 * 216 / 24389, 1e-6);
    // A large a* takes X below 0 along the line, not to a cube of a negative.
    const auto green = labxyz(10, -100, 0, w);
    ASSERT_TRUE(green);
    EXPECT_NEAR(green->X, w.X * ((10 + 16) / 116.0 - 0.2 - 16 / 116.0) * 116 * 27 / 24389, 1e-4);
    EXPECT_FALSE(labxyz(-0.01, 0, 0, w));
    EXPECT_FALSE(labxyz(-20, 0, 0, w));
    EXPECT_FALSE(labxyz(NAN, 0, 0, w));
}

TEST(Bradford, EqualWhitesLeaveTheSampleAndWhitesMapOntoEachOther) {
    const Tristimulus c = whiteOf(Illuminant::C);
    const auto same = xyzconv({30, 40, 50}, c, c);
    ASSERT_TRUE(same);
    EXPECT_FLOAT_EQ(same->X, 30.0f);
    EXPECT_FLOAT_EQ(same->Y, 40.0f);
    EXPECT_FLOAT_EQ(same->Z, 50.0f);
    for (Illuminant to : {Illuminant::D5000, Illuminant::D65}) {
        const Tristimulus w = whiteOf(to);
        const auto white = xyzconv(c, c, w);
        ASSERT_TRUE(white);
        EXPECT_FLOAT_EQ(white->X, w.X);
        EXPECT_FLOAT_EQ(white->Y, w.Y);
        EXPECT_FLOAT_EQ(white->Z, w.Z);
    }
}

// Adapting to an illuminant and back is the identity to single precision:
// X, Y, Z typed back under D50 or D65 are the colour that was shown.
TEST(Bradford, ForwardThenBackwardReturnsTheSample) {
    std::mt19937 rng(25);
    std::uniform_real_distribution<float> share(0.0f, 1.0f);
    for (Illuminant ill : {Illuminant::D5000, Illuminant::D65}) {
        const ColourSettings s = withIlluminant(ill);
        const auto there = xyzconvert(Adaptation::FromC, 35.2f, 27.9f, 12.4f, s);
        ASSERT_TRUE(there);
        const float sum = there->X + there->Y + there->Z;
        EXPECT_NEAR(there->x, there->X / sum, 1e-7f);
        EXPECT_NEAR(there->y, there->Y / sum, 1e-7f);
        EXPECT_GT(std::fabs(there->Z - 12.4f), 0.1f);
        for (int i = 0; i < 2000; ++i) {
            const float Y = 100.0f * share(rng);
            const float X = Y * 1.6f * share(rng), Z = Y * 2.0f * share(rng);
            const auto to = xyzconvert(Adaptation::FromC, X, Y, Z, s);
            ASSERT_TRUE(to);
            const auto back = xyzconvert(Adaptation::ToC, to->X, to->Y, to->Z, s);
            ASSERT_TRUE(back);
            const float scale = std::max({X, Y, Z});
            EXPECT_NEAR(back->X, X, 2e-7f * scale) << X << " " << Y << " " << Z;
            EXPECT_NEAR(back->Y, Y, 2e-7f * scale) << X << " " << Y << " " << Z;
            EXPECT_NEAR(back->Z, Z, 2e-7f * scale) << X << " " << Y << " " << Z;
        }
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
