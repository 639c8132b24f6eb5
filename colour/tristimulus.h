// The spectral grid, the reflectance curve and its integration into X, Y, Z
// for CIE illuminant C and the 1931 2 degree observer (the illuminant and
// observer of the Munsell data).
//
// Grid: 40 wavelengths, 360 to 750 nm in 10 nm steps; index i (1..40) stands
// for 350 + 10 i nm. Index 0 of both tables is never integrated.
#pragma once

#include "colour/settings.h"

#include <array>

namespace huelinx {

// Reflectance factor in percent (0..100, more allowed) at index 1..40.
using Reflectance = std::array<float, 41>;

// Weighting factors for X, Y, Z at each wavelength: illuminant C power,
// colour-matching functions and the 10 nm interval together, scaled so that
// the Y column sums to 100. Row 0 holds the white point 98.074, 100, 118.232.
extern const std::array<std::array<float, 3>, 41> weights;

// X, Y, Z (white Y = 100) of a reflectance curve in percent: the weighted sums
// over indices 1..40 in ascending order, in single precision, divided by 100.
// A curve of 100 at every wavelength gives about 98.07, 100, 118.23; a curve
// of 0 gives 0, 0, 0.
[[nodiscard]] Tristimulus tris(const Reflectance& reflectance);

} // namespace huelinx
