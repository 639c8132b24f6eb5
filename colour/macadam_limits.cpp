#include "colour/macadam_limits.h"

#include "text/number_format.h"

#include <cmath>

namespace huelinx {

namespace {

// The value scale's PWD factor: X, Y, Z relative to magnesium oxide (value 10
// at Y = 102.568) to those relative to a perfect white.
constexpr double pwdFactor = 0.975;

} // namespace

const ObjectColourSolid* MacAdamSolids::of(Illuminant illuminant) const {
    const std::optional<ObjectColourSolid>& s = illuminant == Illuminant::D65     ? d65
                                                : illuminant == Illuminant::D5000 ? d50
                                                                                  : c;
    return s ? &*s : nullptr;
}

MacAdamSolids macAdamSolids(const SpectralTables& tables) {
    return {solidOf(tables, Illuminant::C), solidOf(tables, Illuminant::D5000),
            solidOf(tables, Illuminant::D65)};
}

std::optional<MacAdamCheck> macAdamOfXyz(double X, double Y, double Z,
                                         const ColourSettings& settings,
                                         const MacAdamSolids& solids) {
    const ObjectColourSolid* solid = solids.of(settings.illuminant);
    if (!solid || std::isnan(X) || std::isnan(Y) || std::isnan(Z)) return std::nullopt;
    const double scale = settings.pwd ? 1.0 : pwdFactor;
    return solid->check(X * scale, Y * scale, Z * scale);
}

std::optional<MacAdamCheck> macAdamOf(const ColourModel& colour, const MacAdamSolids& solids) {
    return macAdamOfXyz(colour.exactOf(Box::X), colour.exactOf(Box::Y), colour.exactOf(Box::Z),
                        colour.settings, solids);
}

std::string macAdamNote(const MacAdamCheck& check) {
    if (check.within) return "Within the MacAdam limits";
    return "Beyond the MacAdam limits by " + formatNumber(check.excess, "##0.00");
}

} // namespace huelinx
