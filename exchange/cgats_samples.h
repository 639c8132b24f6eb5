// Colour samples of a CGATS table (exchange/cgats.h): each data set becomes one
// sample with its id, name and colour.
//
// Which colour: XYZ_X, XYZ_Y, XYZ_Z when all three are fields; otherwise
// LAB_L, LAB_A, LAB_B; otherwise the spectral fields. A table with more than
// one kind is read by the first of that order, and the note says which fields
// were passed over. Field names ignore case.
//
// - Every value of the fields read must be a number from -1e6 to 1e6.
// - XYZ are made relative to a white of Y = 100. A keyword whose name ends in
//   _WHITE or WHITE_POINT (MEDIA_WHITE, ILLUMINANT_WHITE_POINT, ...) and holds
//   three numbers decides by its second: up to 2 means white Y = 1. Without
//   one, the largest Y of the samples decides the same way. Y = 1 data are
//   multiplied by 100.
// - XYZ and L*a*b* are relative to the illuminant that ILLUMINATION_NAME, or
//   else `Illumination=` in MEASUREMENT_SOURCE, names: C, D50 (or D5000) or
//   D65, in any case; D50 when neither says. Another illuminant is an error.
// - Spectral fields are SPECTRAL_NM380, SPECTRAL_380 or SPECTRAL_NM_380 (any
//   number of wavelength digits). Their wavelengths must be multiples of 10 nm
//   stepping by exactly 10 nm, and at least 2 of them must lie within 360-750
//   nm; the others are left out. The curve is extended flat to 360 and 750 nm
//   from its end values. A largest value over 2 means percent; otherwise the
//   values are fractions and multiplied by 100. Spectra are weighted with
//   illuminant C (colour/tristimulus.h), so their illuminant is always C and
//   the file's illuminant keywords are not read.
// - The sample id is the SAMPLE_ID value, or the set number from 1; the name
//   is the SAMPLE_NAME value, else the SAMPLE_LABEL value, else empty.
//
// Example: the table
//   BEGIN_DATA_FORMAT
//   SAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z
//   END_DATA_FORMAT
//   BEGIN_DATA
//   A1 "Paper white" 0.9642 1.0 0.8249
//   A2 Grey 0.1852 0.1921 0.1585
//   END_DATA
// gives two Xyz samples relative to D50, A1 "Paper white" at 96.42, 100, 82.49
// and A2 "Grey" at 18.52, 19.21, 15.85, with the note
// "XYZ with white Y = 1 (largest Y of the data 1), scaled to 100; D50 (no illuminant stated)".
#pragma once

#include "colour/ciede2000.h"
#include "colour/settings.h"
#include "colour/tristimulus.h"
#include "exchange/cgats.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

enum class CgatsData { Xyz, Lab, Spectral };

struct CgatsSample {
    std::string id;   // SAMPLE_ID value, or the 1-based set number when the file has no SAMPLE_ID
    std::string name; // SAMPLE_NAME (or SAMPLE_LABEL) value; empty when none
    std::size_t line = 0;
    Tristimulus xyz{};         // Xyz: scaled so white Y = 100
    Lab lab{};                 // Lab data
    Reflectance reflectance{}; // Spectral: percent at index 1..40 (360..750 nm)
};

struct CgatsSamples {
    bool ok = false;
    std::string message; // when !ok: file, line, what was expected
    CgatsData data = CgatsData::Xyz;
    Illuminant illuminant = Illuminant::D5000; // what the XYZ or L*a*b* are relative to
    std::string note;                          // one line saying how the data were read
    std::vector<CgatsSample> samples;
};

[[nodiscard]] CgatsSamples cgatsSamples(const CgatsTable& table, const std::string& fileName);
// Both steps at once.
[[nodiscard]] CgatsSamples readCgatsSamples(std::string_view text, const std::string& fileName);

} // namespace huelinx
