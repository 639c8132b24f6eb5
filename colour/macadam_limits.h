// The MacAdam limits of a converted colour, as the window, the converter and
// the Python module report them. A colour is checked with the X, Y, Z it is
// shown with, under the illuminant it is shown under (C and D50 with the 2
// degree observer, D65 with 10, the program's pairs), against that
// illuminant's object-colour solid; X, Y, Z on the value scale without PWD
// (white 102.568) are first taken to a perfect white of 100 by the PWD factor.
#pragma once

#include "colour/colour_model.h"
#include "colour/object_colour_solid.h"

#include <optional>
#include <string>

namespace huelinx {

// The solids of the program's three illuminants, built once from the tables.
struct MacAdamSolids {
    std::optional<ObjectColourSolid> c, d50, d65;

    // The solid of the illuminant, or null when the tables lacked it.
    [[nodiscard]] const ObjectColourSolid* of(Illuminant illuminant) const;
};
[[nodiscard]] MacAdamSolids macAdamSolids(const SpectralTables& tables);

// X, Y, Z as shown under the colour's settings, on the scale of a perfect
// white (Y = 100), checked against the solid of its illuminant.
[[nodiscard]] std::optional<MacAdamCheck> macAdamOfXyz(double X, double Y, double Z,
                                                       const ColourSettings& settings,
                                                       const MacAdamSolids& solids);
// The same for a converted colour model's X, Y, Z (at the precision they were
// computed); none when it shows no X, Y, Z (an entry that gave no colour).
[[nodiscard]] std::optional<MacAdamCheck> macAdamOf(const ColourModel& colour,
                                                    const MacAdamSolids& solids);

// The window's note: "Within the MacAdam limits" or "Beyond the MacAdam
// limits by 0.35" (the excess to two decimals, as X, Y, Z are shown).
[[nodiscard]] std::string macAdamNote(const MacAdamCheck& check);

} // namespace huelinx
