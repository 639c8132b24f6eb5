// The formulas every conversion shares: the Munsell value function both ways,
// CIE 1976 L*a*b* from and to X, Y, Z, and the Bradford adaptation between
// illuminant C (the illuminant of the Munsell data) and the selected one.
//
// Units: X, Y, Z on the scale where the white of the value function has
// Y = 100 (102.568 at value 10 without PWD); x, y as fractions. All numbers
// are single precision and passed by reference where a procedure changes them.
#pragma once

#include "colour/settings.h"

#include <string_view>

namespace huelinx {

// Munsell value V (0..10) to luminance factor Y:
//   Y = 1.2219 V - 0.23111 V^2 + 0.23951 V^3 - 0.021009 V^4 + 0.0008404 V^5
// in double precision, times 0.975 with PWD. val2y(10) = 102.568 (100.0038 with PWD).
void val2y(float V, float& Y, const ColourSettings& s);

// Luminance factor Y to Munsell value: exactly 15 Newton steps on the same
// polynomial in single precision, starting from sqrt(Y). A negative Y is
// raised to 0 in the caller's variable first.
void y2val(float& Y, float& V, const ColourSettings& s);

// CIE 1976 L*, a*, b* relative to the selected illuminant's white. Each of
// X, Y, Z below 0.01 is raised to 0.01 in the caller's variables. The cube root
// is the power 0.333333 (this constant), with the linear segment below 0.008856.
// The white itself gives exactly 100, 0, 0.
void xyzlab(float& X, float& Y, float& Z, float& L, float& a, float& b, const ColourSettings& s);

// The inverse, with no linear segment and the fixed white 98.04, 100, 118.1
// whatever illuminant is selected. Returns false (outputs untouched) for
// L* below -16, where the power would need a negative base.
bool labxyz(float& X, float& Y, float& Z, float L, float a, float b);

// Adapts X, Y, Z between illuminant C and the selected illuminant and gives
// their chromaticity x, y. Direction "F" goes from C to the selected
// illuminant, any other text back to C; with C selected nothing is adapted.
// Returns false (nothing changed) when the sample or its X + Y + Z is 0.
bool xyzconvert(std::string_view direction, float& X, float& Y, float& Z, float& x, float& y,
                const ColourSettings& s);

// Linear Bradford transform of the sample X, Y, Z from white 1 to white 2:
// whites and sample are normalised by their own Y, taken to cone responses,
// scaled channel by channel by white 2 / white 1, scaled back by the sample's
// Y and returned through the inverse matrix. Returns false (outputs untouched)
// when the sample or a white has Y = 0.
bool xyzconv(float X, float Y, float Z, float Xw1, float Yw1, float Zw1, float& Xo, float& Yo,
             float& Zo, float Xw2, float Yw2, float Zw2);

} // namespace huelinx
