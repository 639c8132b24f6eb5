// X, Y, Z and L*a*b* of a reflectance spectrum under any illuminant of the
// spectral tables and the CIE 1931 2 degree or 1964 10 degree observer, beside
// the notation under illuminant C that the instruments' own weights give
// (colour/tristimulus.h), which this leaves as it is.
//
// Method: plain sums over the 81 wavelengths 380..780 nm at 5 nm,
//   X = k sum S(l) R(l) xbar(l), likewise Y and Z, k = 100 / sum S(l) ybar(l),
// so a perfect white has Y = 100; L*a*b* is taken against that white (the
// illuminant's and observer's own), not adapted to another light.
//
// Readings (Reflectance: percent at 360..750 nm by 10 nm) reach the 5 nm grid
// by straight lines between their 10 nm points (385 nm halfway between 380
// and 390), and the 750 nm value held flat to 780 nm: the instruments read
// nothing beyond 750 nm, holding the end value is how the CGATS reader already
// extends a short curve, and the observers weigh 755..780 nm by less than 0.1 %
// of Y. The 360 and 370 nm points lie below the grid and are not used.
#pragma once

#include "colour/ciede2000.h"
#include "colour/light_tables.h"
#include "colour/tristimulus.h"

#include <optional>
#include <string>
#include <string_view>

namespace huelinx {

// The weights of one illuminant and observer: k S xbar, k S ybar, k S zbar at
// each wavelength, and the white they give (Y = 100).
struct SpectralWeights {
    photo::Spectrum x{}, y{}, z{};
    double whiteX = 0, whiteY = 0, whiteZ = 0;
};

struct SpectralColour {
    double X = 0, Y = 0, Z = 0;
    Lab lab;
};

[[nodiscard]] SpectralWeights spectralWeights(const photo::Spectrum& light,
                                              const ObserverFunctions& observer);

// The weights of the illuminant named (as the file names it, "F11") and the
// observer of 2 or 10 degrees; no value for an unknown name or angle.
[[nodiscard]] std::optional<SpectralWeights>
spectralWeights(const SpectralTables& tables, std::string_view illuminant, int observer);

// X, Y, Z and L*a*b* of a reflectance spectrum given as a fraction.
[[nodiscard]] SpectralColour spectralColour(const photo::Spectrum& reflectance,
                                            const SpectralWeights& weights);

// A reading in percent on the 10 nm grid, as a fraction on the 5 nm grid.
[[nodiscard]] photo::Spectrum fiveNanometreSpectrum(const Reflectance& reading);

// The reading's colour (the two steps above).
[[nodiscard]] SpectralColour spectralColour(const Reflectance& reading,
                                            const SpectralWeights& weights);

// "X 41.23 Y 35.65 Z 28.05  L*a*b* 66.23 12.34 17.80": two decimals, as
// Messages shows a reading under another light.
[[nodiscard]] std::string spectralColourText(const SpectralColour& colour);

} // namespace huelinx
