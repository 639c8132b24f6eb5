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

struct LinearRgb {
    float r = 0, g = 0, b = 0;
};

// X, Y, Z (scale 0..100) to display R, G, B. X, Y, Z are left divided by 100
// and rescaled in the caller's variables. Negative (or not-a-number) linear
// values become 0, R, G, B are truncated and clamped into 0..255. Returns
// true (out of range) when a linear value was negative, a channel had to be
// clamped, or a rescaled X, Y or Z is not above 0. `linear` receives the
// linear values after the negatives were raised to 0.
bool xyzrgb(std::int16_t& R, std::int16_t& G, std::int16_t& B, float& X, float& Y, float& Z,
            const ColourSettings& s, LinearRgb* linear = nullptr);

// Linear r, g, b (0..1) to X, Y, Z on the 0..1 scale, rescaled back from the
// D65 white to the selected illuminant.
void rgbxyz(float r, float g, float b, float& X, float& Y, float& Z, const ColourSettings& s);

// Linear r, g, b (negatives and not-a-number raised to 0 in place) to whole
// C, M, Y, K percentages, with black generation from a threshold of 0.2.
void rgbcmyk(float& r, float& g, float& b, int& C, int& M, int& Y, int& K, const ColourSettings& s);

// C, M, Y, K fractions (0..1) to linear r, g, b and display R, G, B (rounded
// half up). Returns true when a display channel had to be clamped into 0..255.
bool cmykrgb(float C, float M, float Y, float K, float& r, float& g, float& b, std::int16_t& R,
             std::int16_t& G, std::int16_t& B, const ColourSettings& s);

} // namespace huelinx
