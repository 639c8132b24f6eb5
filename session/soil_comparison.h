// Two colours compared as soil colours, said the same way in every window:
// the contrast class, CIEDE2000 and the steps in one line, and the chip a
// notation was taken to when it is not a soil chip itself.
#pragma once

#include "colour/soil_contrast.h"

#include <optional>
#include <string>
#include <string_view>

namespace huelinx {

// A notation to compare: its text as the user sees it, and the colour read
// from it.
struct SoilNotation {
    std::string text; // "10YR 6/3", "N 5/"
    MunsellColour colour;
};

// The notation of `text` ("10YR 6/3", "10yr6/3", "N 5/"), trimmed, its hue in
// capitals; none when it is no Munsell notation.
[[nodiscard]] std::optional<SoilNotation> soilNotation(std::string_view text);

// "10YR 6/3 against 5YR 3/4: Prominent, ΔE00 23.41 (ΔH 2 pages, ΔV 3, ΔC 1)",
// then "; 10YR 6/3.4 taken to the soil chip 10YR 6/3" for a notation that is
// not a chip. A pair without a class says why after the colon.
[[nodiscard]] std::string soilContrastLine(SoilComparer& comparer, const SoilNotation& a,
                                           const SoilNotation& b);

// "moist 10YR 3/2, dry 10YR 5/2: mollic colour yes, chernic colour no", the
// readings as recorded.
[[nodiscard]] std::string soilChecksLine(const SoilNotation& moist, const SoilNotation& dry);

} // namespace huelinx
