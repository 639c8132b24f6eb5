#include "colour/rgbcmyk.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

struct Display {
    bool outOfRange;
    std::int16_t R = -1, G = -1, B = -1;
    LinearRgb linear;
};

Display toDisplay(float X, float Y, float Z, const ColourSettings& s = {}) {
    Display d;
    d.outOfRange = xyzrgb(d.R, d.G, d.B, X, Y, Z, s, &d.linear);
    return d;
}

TEST(DisplayRgb, EachIlluminantsWhiteIsTruncatedToNearlyFullChannels) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Tristimulus w = whiteOf(ill);
        const Display d = toDisplay(w.X, w.Y, w.Z, s);
        for (float v : {d.linear.r, d.linear.g, d.linear.b})
            EXPECT_NEAR(v, 1.0f, 4e-4f);
        for (int c : {d.R, d.G, d.B}) {
            EXPECT_GE(c, 254);
            EXPECT_LE(c, 255);
        }
    }
}

TEST(DisplayRgb, CallersValuesAreLeftScaledAndRescaled) {
    float X = 50, Y = 40, Z = 30;
    std::int16_t R, G, B;
    xyzrgb(R, G, B, X, Y, Z, ColourSettings{});
    EXPECT_FLOAT_EQ(X, 0.5f * 0.969136f);
    EXPECT_FLOAT_EQ(Y, 0.4f);
    EXPECT_FLOAT_EQ(Z, 0.3f * 0.920927f);
}

TEST(DisplayRgb, ColoursOutsideTheGamutAreClampedAndFlagged) {
    const Display black = toDisplay(0, 0, 0);
    EXPECT_TRUE(black.outOfRange);
    EXPECT_EQ(black.R, 0);
    // A saturated green has a negative linear red: clamped to 0, others kept.
    const Display green = toDisplay(20, 60, 5);
    EXPECT_TRUE(green.outOfRange);
    EXPECT_EQ(green.linear.r, 0.0f);
    EXPECT_EQ(green.R, 0);
    EXPECT_GT(green.G, 200);
    // Too bright: channels clamp at 255.
    const Display bright = toDisplay(200, 210, 230);
    EXPECT_TRUE(bright.outOfRange);
    EXPECT_EQ(bright.G, 255);
    const Display grey = toDisplay(19.0f, 20.0f, 23.0f);
    EXPECT_FALSE(grey.outOfRange);
    EXPECT_EQ(toDisplay(NAN, 20, 20).outOfRange, true);
}

TEST(DisplayRgb, GammaAndWhiteLevelShapeEachChannel) {
    ColourSettings s;
    s.gammaInv = {1, 1, 1, 1};
    s.channelScale = {1, 1, 0.5f, 0.5f};
    const Display d = toDisplay(19.0f, 20.0f, 23.0f, s);
    EXPECT_EQ(d.R, static_cast<int>(std::floor(255.0 * d.linear.r)));
    EXPECT_EQ(d.B, static_cast<int>(std::floor(0.5 * 255.0 * d.linear.b)));
}

TEST(DisplayRgb, ForwardAndBackMatricesAreInverse) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        float X, Y, Z;
        rgbxyz(0.2f, 0.5f, 0.7f, X, Y, Z, s);
        X *= 100, Y *= 100, Z *= 100;
        const Display d = toDisplay(X, Y, Z, s);
        EXPECT_NEAR(d.linear.r, 0.2f, 1e-5f);
        EXPECT_NEAR(d.linear.g, 0.5f, 1e-5f);
        EXPECT_NEAR(d.linear.b, 0.7f, 1e-5f);
    }
}

TEST(Cmyk, BlackGenerationAboveTheThreshold) {
    ColourSettings s;
    s.cmyExponent = {1, 1, 1, 1};
    int C, M, Y, K;
    // Grey with ink 0.6 on every channel: black 0.4, each colour 0.2.
    float r = 0.4f, g = 0.4f, b = 0.4f;
    rgbcmyk(r, g, b, C, M, Y, K, s);
    EXPECT_EQ(K, 40);
    EXPECT_GE(C, 19);
    EXPECT_LE(C, 20);
    EXPECT_EQ(C, M);
    EXPECT_EQ(M, Y);
    // Ink below 0.2 makes no black.
    r = g = b = 0.9f;
    rgbcmyk(r, g, b, C, M, Y, K, s);
    EXPECT_EQ(K, 0);
    EXPECT_EQ(C, 10);
    // Negative linear values are raised to 0 in place: full ink, K = 80.
    r = -0.5f, g = NAN, b = 0;
    rgbcmyk(r, g, b, C, M, Y, K, s);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(g, 0.0f);
    EXPECT_EQ(K, 80);
    EXPECT_GE(C, 19);
    EXPECT_LE(C, 20);
}

TEST(Cmyk, NoInkIsWhiteAndInkRoundsHalfUp) {
    ColourSettings s;
    float r, g, b;
    std::int16_t R, G, B;
    EXPECT_FALSE(cmykrgb(0, 0, 0, 0, r, g, b, R, G, B, s));
    EXPECT_EQ(R, 255);
    EXPECT_EQ(G, 255);
    EXPECT_EQ(B, 255);
    EXPECT_EQ(r, 1.0f);
    EXPECT_FALSE(cmykrgb(1, 0.5f, 0, 0, r, g, b, R, G, B, s));
    EXPECT_EQ(R, 0);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(B, 255);
    // r = 0.5^(1/0.4545), shaped back by the gamma: 255 x 0.5^(0.4545 x 2.2) + 0.5.
    EXPECT_EQ(G, static_cast<int>(std::floor(255.0 * std::pow(0.5, 1.0 / 0.4545 / 2.2) + 0.5)));
    // A white level above 1 pushes a channel past 255: clamped and reported.
    s.channelScale = {1, 1.5f, 1, 1};
    EXPECT_TRUE(cmykrgb(0, 0, 0, 0, r, g, b, R, G, B, s));
    EXPECT_EQ(R, 255);
}

} // namespace
} // namespace huelinx
