// The formulas every conversion shares: the Munsell value function both ways,
// CIE 1976 L*a*b* from and to X, Y, Z, and the Bradford adaptation between
// illuminant C (the illuminant of the Munsell data) and the selected one.
//
// Units: X, Y, Z on the scale where the white of the value function has
// Y = 100 (102.568 at value 10 without PWD); x, y as fractions. The formulas
// work in double precision; most results are single precision. Inputs are taken by value; each
// result carries the numbers it computed, and where a formula raises an input before using it, the
// raised input too, so that callers can go on with the same numbers.
#pragma once

#include "colour/settings.h"

#include <optional>

namespace huelinx {

// X, Y, Z with their chromaticity x, y, in double precision.
struct CieColour {
    double X = 0, Y = 0, Z = 0;
    double x = 0, y = 0;
};

// Its X, Y, Z in single precision, as the boxes, palettes and files keep them.
[[nodiscard]] inline Tristimulus singleXyz(const CieColour& c) {
    return {static_cast<float>(c.X), static_cast<float>(c.Y), static_cast<float>(c.Z)};
}

// Munsell value V (0..10) to luminance factor Y (0..102.568):
//   Y = 1.2219 V - 0.23111 V^2 + 0.23951 V^3 - 0.021009 V^4 + 0.0008404 V^5
// in double precision, times 0.975 with PWD. val2y(10) = 102.568 (100.0038 with PWD).
[[nodiscard]] double val2y(double V, const ColourSettings& s);

struct ValueOfY {
    double V = 0; // Munsell value
    double Y = 0; // the luminance factor converted: a negative Y raised to 0
};

// The largest luminance factor (without PWD) that has a Munsell value (about
// 4,150): beyond it light is out of range, as the window and the converter
// refuse it.
inline constexpr double maximumValueY = 1e15;

// Luminance factor Y (0 upwards; negatives are raised to 0 first) to Munsell
// value: Newton steps on the same polynomial in double precision, from
// sqrt(Y) up to value 10 and from the fifth root beyond, until a step is
// below 1e-13 of the value (at most 15). val2y of the result gives Y back to
// double precision. Not a number above maximumValueY.
[[nodiscard]] ValueOfY y2val(double Y, const ColourSettings& s);

struct LabOfXyz {
    float L = 0, a = 0, b = 0;
    // X, Y, Z as the formulas used them: the input as given (nothing is
    // raised any more; kept for the callers that go on with these numbers).
    Tristimulus raised{};
};

// CIE 1976 L*, a*, b* relative to the selected illuminant's white, computed
// in double precision: the cube root above Y/Yn = 216/24389, the straight
// line (kappa = 24389/27) below it and for negative X, Y or Z, which are
// taken as they are. The white itself gives 100, 0, 0 and 0, 0, 0 gives
// 0, 0, 0.
[[nodiscard]] LabOfXyz xyzlab(double X, double Y, double Z, const ColourSettings& s);

// The inverse relative to `white` (the selected illuminant's, so that the
// L*a*b* xyzlab shows give its X, Y, Z back): L* 0 gives Y = 0, and the
// straight line is used below f = 6/29 both ways. No value for L* below 0
// (or not a number): that is less light than none.
[[nodiscard]] std::optional<Tristimulus> labxyz(double L, double a, double b,
                                                const Tristimulus& white);

// Which way xyzconvert adapts.
enum class Adaptation {
    FromC, // from illuminant C to the selected illuminant
    ToC,   // from the selected illuminant back to C
};

// Adapts X, Y, Z between illuminant C and the selected illuminant and gives
// the adapted X, Y, Z with their chromaticity x, y; with C selected nothing is
// adapted. Computed in double precision. No value when the sample or its
// adapted X + Y + Z is 0.
[[nodiscard]] std::optional<CieColour> xyzconvert(Adaptation direction, double X, double Y,
                                                  double Z, const ColourSettings& s);

// Linear Bradford transform of `sample` from `white1` to `white2`: whites and
// sample are normalised by their own Y, taken to cone responses, scaled
// channel by channel by white 2 / white 1, scaled back by the sample's Y and
// returned through the exact inverse matrix, in double precision. Equal
// whites give the sample back to single precision; the white of C taken to D65 10 gives 94.811,
// 100, 107.304 within 2e-3. No value when the sample or a white has Y = 0.
[[nodiscard]] std::optional<Tristimulus> xyzconv(Tristimulus sample, Tristimulus white1,
                                                 Tristimulus white2);

} // namespace huelinx
