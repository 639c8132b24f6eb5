// The display side: CIE X, Y, Z to 8-bit display R, G, B and back, and linear
// R, G, B to and from C, M, Y, K percentages.
//
// Primaries and white are those of the sRGB (ITU-R BT.709, D65) space. X and Z
// are first rescaled to the D65 white by a fixed factor per illuminant
// (C: 0.969136, 0.920927; D5000: 0.98574, 1.319458; D65 10: 1.002489,
// 1.014715). Each channel is then shaped by its gamma (gammaInv) and white
// level (channelScale). The illuminant-C white 98.074, 100, 118.232 gives
// linear values within 0.0004 of 1 and R, G, B of 254 or 255.
#pragma once

#include "colour/settings.h"

#include <cstdint>

namespace huelinx {

// Linear display values, 0..1 for colours the display can show.
struct LinearRgb {
    float r = 0, g = 0, b = 0;
};

struct RgbOfXyz {
    std::int16_t R = 0, G = 0, B = 0; // display levels 0..255
    // A linear value was negative, a channel had to be clamped, or a rescaled
    // X, Y or Z is not above 0.
    bool outOfRange = false;
    // The linear values after the negatives (and not-a-number) were raised to 0.
    LinearRgb linear;
    // X, Y, Z as the matrix used them: divided by 100, X and Z rescaled to the
    // D65 white.
    Tristimulus scaled{};
};

// X, Y, Z (white Y = 100) to display R, G, B, computed in double precision
// with the exact inverse of rgbxyz's matrix. Negative (or not-a-number)
// linear values become 0, R, G, B are rounded to the nearest level and
// clamped into 0..255, so that the X, Y, Z of a display colour give that
// colour back. Out of range: a channel outside -0.5 .. 255.5 before it is
// rounded to a whole level (negative linear values shaped by the gamma with their sign), or an
// X, Y or Z not above 0.
// Under illuminant C with gamma 2.2, X, Y, Z = 19, 20, 23 is inside the range.
[[nodiscard]] RgbOfXyz xyzrgb(float X, float Y, float Z, const ColourSettings& s);

// A grey of luminance Y (white Y = 100; below 0 taken as 0) on the display:
// equal linear values Y / 100, shaped like xyzrgb's. Black (Y = 0) gives 0,
// 0, 0 inside the range; with gamma and white balance alike on every
// channel, R = G = B.
[[nodiscard]] RgbOfXyz greyrgb(float Y, const ColourSettings& s);

// Linear r, g, b (0..1) to X, Y, Z on the 0..1 scale, rescaled back from the
// D65 white to the selected illuminant. xyzrgb of these values times 100
// gives r, g, b back within the single precision of the result.
[[nodiscard]] Tristimulus rgbxyz(float r, float g, float b, const ColourSettings& s);

struct CmykOfRgb {
    int C = 0, M = 0, Y = 0, K = 0; // whole percentages 0..100
    // r, g, b as converted: negatives and not-a-number raised to 0.
    LinearRgb linear;
};

// Linear r, g, b (0..1; below 0 taken as 0) to whole C, M, Y, K percentages,
// with black generation from a threshold of 0.2. With the exponent 1, grey
// 0.4 gives K = 40 and about 20 of each ink.
[[nodiscard]] CmykOfRgb rgbcmyk(float r, float g, float b, const ColourSettings& s);

struct RgbOfCmyk {
    LinearRgb linear;                 // 0..1
    std::int16_t R = 0, G = 0, B = 0; // display levels 0..255
    // A display channel had to be clamped into 0..255.
    bool clamped = false;
};

// C, M, Y, K fractions (0..1) to linear r, g, b and display R, G, B (rounded
// half up). No ink gives linear 1, 1, 1 and 255, 255, 255.
[[nodiscard]] RgbOfCmyk cmykrgb(float C, float M, float Y, float K, const ColourSettings& s);

} // namespace huelinx
