#include "colour/rgbcmyk.h"

#include "colour/matrix3.h"

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

struct Rescale {
    double x, z;
};

// Factors that take X and Z of each illuminant to the D65 white.
constexpr Rescale rescaleOf(Illuminant ill) {
    switch (ill) {
    case Illuminant::D5000:
        return {0.98574, 1.319458};
    case Illuminant::D65:
        return {1.002489, 1.014715};
    case Illuminant::C:
        break;
    }
    return {0.969136, 0.920927};
}

// Linear r, g, b to X, Y, Z at the D65 white.
constexpr Matrix3 linearToXyz{
    {{0.412453, 0.35758, 0.180423}, {0.212671, 0.71516, 0.072169}, {0.019334, 0.119193, 0.950227}}};

// The way back is the exact inverse: display levels come back only when it
// undoes the way there to double precision, not to the six digits a
// separately rounded matrix would carry.
constexpr Matrix3 xyzToLinear = inverseOf(linearToXyz);

// Clamps into 0..1; not-a-number gives 0.
float unit(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

// Clamps a display channel into 0..255, noting any change; NaN gives 0.
std::int16_t channel(double value, bool& clamped) {
    if (!(value >= 0.0)) {
        clamped = true;
        return 0;
    }
    if (value > 255.0) {
        clamped = true;
        return 255;
    }
    return static_cast<std::int16_t>(value);
}

// Linear values to display levels, each shaped by its channel's gamma and
// white level and rounded to the nearest level; scaled X, Y, Z are those the
// linear values came from. Works on the unrounded linear values, so that a
// level converted to X, Y, Z and back is the same level.
RgbOfXyz shape(double lin[3], double X, double Y, double Z, const ColourSettings& s) {
    // A channel the display can show lies within -0.5 .. 255.5 before it is
    // rounded to a whole level: a linear value a rounding error below 0 is
    // level 0, not a colour outside the display's range.
    bool outOfRange = false;
    RgbOfXyz rgb;
    std::int16_t* out[3] = {&rgb.R, &rgb.G, &rgb.B};
    for (int i = 0; i < 3; ++i) {
        const double level = s.channelScale[i + 1] * 255.0;
        const double gamma = s.gammaInv[i + 1];
        // A negative linear value has no gamma-shaped level: it is measured in
        // levels of linear light, where half a level below 0 is still black.
        const double scaled = lin[i] >= 0.0 ? level * std::pow(lin[i], gamma) : level * lin[i];
        if (!(scaled >= -0.5 && scaled < 255.5)) outOfRange = true;
        bool clamped = false;
        *out[i] = channel(std::floor(scaled + 0.5), clamped);
        if (!(lin[i] >= 0.0)) lin[i] = 0.0;
    }
    rgb.outOfRange = outOfRange;
    rgb.linear = {static_cast<float>(lin[0]), static_cast<float>(lin[1]),
                  static_cast<float>(lin[2])};
    rgb.scaled = {static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z)};
    return rgb;
}

} // namespace

RgbOfXyz xyzrgb(float X, float Y, float Z, const ColourSettings& s) {
    const Rescale f = rescaleOf(s.illuminant);
    const Vector3 in{X / 100.0 * f.x, Y / 100.0, Z / 100.0 * f.z};
    const Vector3 linear = xyzToLinear * in;
    double lin[3] = {linear[0], linear[1], linear[2]};
    RgbOfXyz rgb = shape(lin, in[0], in[1], in[2], s);
    if (!(X > 0.0f) || !(Y > 0.0f) || !(Z > 0.0f)) rgb.outOfRange = true;
    return rgb;
}

RgbOfXyz greyrgb(float Y, const ColourSettings& s) {
    const double level = Y > 0.0f ? Y / 100.0 : 0.0;
    double lin[3] = {level, level, level};
    const Rescale f = rescaleOf(s.illuminant);
    const Tristimulus w = whiteOf(s.illuminant);
    return shape(lin, level * w.X / w.Y * f.x, level, level * w.Z / w.Y * f.z, s);
}

Tristimulus rgbxyz(float r, float g, float b, const ColourSettings& s) {
    const Rescale f = rescaleOf(s.illuminant);
    const Vector3 out = linearToXyz * Vector3{r, g, b};
    return {static_cast<float>(out[0] / f.x), static_cast<float>(out[1]),
            static_cast<float>(out[2] / f.z)};
}

CmykOfRgb rgbcmyk(float r, float g, float b, const ColourSettings& s) {
    CmykOfRgb cmyk;
    cmyk.linear = {r, g, b};
    float* lin[3] = {&cmyk.linear.r, &cmyk.linear.g, &cmyk.linear.b};
    float ink[3];
    for (int i = 0; i < 3; ++i) {
        if (!(*lin[i] >= 0.0f)) *lin[i] = 0.0f;
        ink[i] = static_cast<float>(1.0 - std::pow(double{*lin[i]}, double{s.cmyExponent[i + 1]}));
    }
    float black = std::min({1.0f, ink[0], ink[1], ink[2]});
    if (black < 0.2) {
        black = 0.0f;
    } else {
        black = static_cast<float>(black - 0.2);
        for (float& v : ink)
            v -= black;
    }
    int* out[4] = {&cmyk.C, &cmyk.M, &cmyk.Y, &cmyk.K};
    const float values[4] = {ink[0], ink[1], ink[2], black};
    for (int i = 0; i < 4; ++i)
        *out[i] = static_cast<int>(std::floor(100.0 * unit(values[i])));
    return cmyk;
}

RgbOfCmyk cmykrgb(float C, float M, float Y, float K, const ColourSettings& s) {
    const float ink[3] = {C, M, Y};
    RgbOfCmyk rgb;
    float* lin[3] = {&rgb.linear.r, &rgb.linear.g, &rgb.linear.b};
    std::int16_t* out[3] = {&rgb.R, &rgb.G, &rgb.B};
    bool clamped = false;
    for (int i = 0; i < 3; ++i) {
        float v = unit(1.0f - ink[i] - K);
        v = unit(static_cast<float>(std::pow(double{v}, 1.0 / s.cmyExponent[i + 1])));
        *lin[i] = v;
        const double shaped =
            std::pow(double{v}, double{s.gammaInv[i + 1]}) * s.channelScale[i + 1] * 255.0 + 0.5;
        *out[i] = channel(std::floor(shaped), clamped);
    }
    rgb.clamped = clamped;
    return rgb;
}

} // namespace huelinx
