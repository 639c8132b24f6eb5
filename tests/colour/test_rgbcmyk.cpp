#include "colour/rgbcmyk.h"

#include "colour/colour_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

RgbOfXyz toDisplay(float X, float Y, float Z, const ColourSettings& s = {}) {
    return xyzrgb(X, Y, Z, s);
}

TEST(DisplayRgb, EachIlluminantsWhiteIsFullChannels) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Tristimulus w = whiteOf(ill);
        const RgbOfXyz d = toDisplay(w.X, w.Y, w.Z, s);
        for (float v : {d.linear.r, d.linear.g, d.linear.b})
            EXPECT_NEAR(v, 1.0f, 4e-4f);
        for (int c : {d.R, d.G, d.B})
            EXPECT_EQ(c, 255);
    }
}

TEST(DisplayRgb, GivesTheScaledAndRescaledTristimulusItUsed) {
    const struct {
        Illuminant ill;
        float x, z;
    } cases[] = {{Illuminant::C, 0.969136f, 0.920927f},
                 {Illuminant::D5000, 0.98574f, 1.319458f},
                 {Illuminant::D65, 1.002489f, 1.014715f}};
    for (const auto& c : cases) {
        ColourSettings s;
        s.illuminant = c.ill;
        const RgbOfXyz d = toDisplay(50, 40, 30, s);
        EXPECT_FLOAT_EQ(d.scaled.X, 0.5f * c.x);
        EXPECT_FLOAT_EQ(d.scaled.Y, 0.4f);
        EXPECT_FLOAT_EQ(d.scaled.Z, 0.3f * c.z);
    }
}

TEST(DisplayRgb, ColoursOutsideTheGamutAreClampedAndFlagged) {
    const RgbOfXyz black = toDisplay(0, 0, 0);
    EXPECT_TRUE(black.outOfRange);
    EXPECT_EQ(black.R, 0);
    // A saturated green has a negative linear red: clamped to 0, others kept.
    const RgbOfXyz green = toDisplay(20, 60, 5);
    EXPECT_TRUE(green.outOfRange);
    EXPECT_EQ(green.linear.r, 0.0f);
    EXPECT_EQ(green.R, 0);
    EXPECT_GT(green.G, 200);
    // Too bright: channels clamp at 255.
    const RgbOfXyz bright = toDisplay(200, 210, 230);
    EXPECT_TRUE(bright.outOfRange);
    EXPECT_EQ(bright.G, 255);
    const RgbOfXyz grey = toDisplay(19.0f, 20.0f, 23.0f);
    EXPECT_FALSE(grey.outOfRange);
    EXPECT_EQ(toDisplay(NAN, 20, 20).outOfRange, true);
}

TEST(DisplayRgb, GammaAndWhiteLevelShapeEachChannel) {
    ColourSettings s;
    s.gammaInv = {1, 1, 1, 1};
    s.channelScale = {1, 1, 0.5f, 0.5f};
    const RgbOfXyz d = toDisplay(19.0f, 20.0f, 23.0f, s);
    EXPECT_EQ(d.R, static_cast<int>(std::lround(255.0 * d.linear.r)));
    EXPECT_EQ(d.B, static_cast<int>(std::lround(0.5 * 255.0 * d.linear.b)));
}

TEST(DisplayRgb, ForwardAndBackMatricesAreInverse) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        const Tristimulus t = rgbxyz(0.2f, 0.5f, 0.7f, s);
        const RgbOfXyz d = toDisplay(t.X * 100, t.Y * 100, t.Z * 100, s);
        EXPECT_NEAR(d.linear.r, 0.2f, 2e-7f);
        EXPECT_NEAR(d.linear.g, 0.5f, 2e-7f);
        EXPECT_NEAR(d.linear.b, 0.7f, 2e-7f);
        // A channel with no light stays within a hundredth of a level of 0
        // however bright the others are.
        const Tristimulus c = rgbxyz(0.0f, 1.0f, 1.0f, s);
        EXPECT_LT(toDisplay(c.X * 100, c.Y * 100, c.Z * 100, s).linear.r, 1e-8f);
    }
}

// Every display colour converted to X, Y, Z (as the R, G, B entry does) and
// back is the same colour: each channel through all its levels, against the
// others at their ends and at levels where rounding half a level is closest.
TEST(DisplayRgb, LevelsComeBackThroughXyz) {
    const int others[] = {0, 1, 2, 3, 17, 128, 200, 253, 254, 255};
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = ill;
        int wrong = 0;
        for (int channel = 0; channel < 3; ++channel)
            for (int level = 0; level < 256; ++level)
                for (int p : others)
                    for (int q : others) {
                        int rgb[3] = {p, q, p};
                        rgb[channel] = level;
                        rgb[(channel + 1) % 3] = q;
                        float linear[3];
                        for (int i = 0; i < 3; ++i)
                            linear[i] = linearChannel(static_cast<std::int16_t>(rgb[i]), s, i + 1);
                        const Tristimulus t = xyzOfLinear(linear[0], linear[1], linear[2], s);
                        const RgbOfXyz d = toDisplay(t.X, t.Y, t.Z, s);
                        const bool same = d.R == rgb[0] && d.G == rgb[1] && d.B == rgb[2];
                        if (!same && ++wrong <= 5)
                            ADD_FAILURE() << rgb[0] << " " << rgb[1] << " " << rgb[2] << " -> "
                                          << d.R << " " << d.G << " " << d.B;
                    }
        EXPECT_EQ(wrong, 0) << "illuminant " << static_cast<int>(ill);
    }
}

TEST(Cmyk, BlackGenerationAboveTheThreshold) {
    ColourSettings s;
    s.cmyExponent = {1, 1, 1, 1};
    // Grey with ink 0.6 on every channel: black 0.4, each colour 0.2.
    const CmykOfRgb grey = rgbcmyk(0.4f, 0.4f, 0.4f, s);
    EXPECT_EQ(grey.K, 40);
    EXPECT_GE(grey.C, 19);
    EXPECT_LE(grey.C, 20);
    EXPECT_EQ(grey.C, grey.M);
    EXPECT_EQ(grey.M, grey.Y);
    EXPECT_EQ(grey.linear.r, 0.4f);
    // Ink below 0.2 makes no black.
    const CmykOfRgb light = rgbcmyk(0.9f, 0.9f, 0.9f, s);
    EXPECT_EQ(light.K, 0);
    EXPECT_EQ(light.C, 10);
    // Negative linear values are raised to 0: full ink, K = 80.
    const CmykOfRgb raised = rgbcmyk(-0.5f, NAN, 0, s);
    EXPECT_EQ(raised.linear.r, 0.0f);
    EXPECT_EQ(raised.linear.g, 0.0f);
    EXPECT_EQ(raised.linear.b, 0.0f);
    EXPECT_EQ(raised.K, 80);
    EXPECT_GE(raised.C, 19);
    EXPECT_LE(raised.C, 20);
}

TEST(Cmyk, NoInkIsWhiteAndInkRoundsHalfUp) {
    ColourSettings s;
    const RgbOfCmyk white = cmykrgb(0, 0, 0, 0, s);
    EXPECT_FALSE(white.clamped);
    EXPECT_EQ(white.R, 255);
    EXPECT_EQ(white.G, 255);
    EXPECT_EQ(white.B, 255);
    EXPECT_EQ(white.linear.r, 1.0f);
    EXPECT_EQ(white.linear.g, 1.0f);
    EXPECT_EQ(white.linear.b, 1.0f);
    const RgbOfCmyk inked = cmykrgb(1, 0.5f, 0, 0, s);
    EXPECT_FALSE(inked.clamped);
    EXPECT_EQ(inked.R, 0);
    EXPECT_EQ(inked.linear.r, 0.0f);
    EXPECT_EQ(inked.B, 255);
    // g = 0.5^(1/0.4545), shaped back by the gamma: 255 x 0.5^(0.4545 x 2.2) + 0.5.
    EXPECT_NEAR(inked.linear.g, std::pow(0.5, 1.0 / 0.4545), 1e-6);
    EXPECT_EQ(inked.G,
              static_cast<int>(std::floor(255.0 * std::pow(0.5, 1.0 / 0.4545 / 2.2) + 0.5)));
    // A white level above 1 pushes a channel past 255: clamped and reported.
    s.channelScale = {1, 1.5f, 1, 1};
    const RgbOfCmyk clamped = cmykrgb(0, 0, 0, 0, s);
    EXPECT_TRUE(clamped.clamped);
    EXPECT_EQ(clamped.R, 255);
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

// A channel is displayable from -0.5 to 255.5 before it is cut to a whole
// level: the primaries, whose other channels come back a rounding error below
// 0, are shown, and a white a little brighter than full is not.
TEST(DisplayRange, ChannelsWithinHalfALevelOfTheEndsAreShown) {
    const ColourSettings s;
    const float corners[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
    for (const auto& c : corners) {
        const Tristimulus t = rgbxyz(c[0], c[1], c[2], s);
        const RgbOfXyz rgb = xyzrgb(t.X * 100, t.Y * 100, t.Z * 100, s);
        EXPECT_FALSE(rgb.outOfRange) << c[0] << " " << c[1] << " " << c[2];
        const int got[3] = {rgb.R, rgb.G, rgb.B};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], 255 * c[i], 1);
    }
    // Full white times 1.002 shapes to about 255.2, times 1.006 to 255.7.
    const Tristimulus bright = rgbxyz(1.002f, 1.002f, 1.002f, s);
    const Tristimulus brighter = rgbxyz(1.006f, 1.006f, 1.006f, s);
    const RgbOfXyz shown = xyzrgb(bright.X * 100, bright.Y * 100, bright.Z * 100, s);
    EXPECT_FALSE(shown.outOfRange);
    EXPECT_EQ(shown.R, 255);
    EXPECT_TRUE(xyzrgb(brighter.X * 100, brighter.Y * 100, brighter.Z * 100, s).outOfRange);
    // A linear value well below 0 is still outside.
    EXPECT_TRUE(xyzrgb(20, 60, 5, s).outOfRange);
}

} // namespace
} // namespace huelinx
