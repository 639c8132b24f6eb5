#include "colour/soil_contrast.h"

#include <cmath>

namespace huelinx {

namespace {

bool isGrey(const MunsellColour& c) {
    return c.neutral || c.chroma == 0.0f;
}

double chromaOf(const MunsellColour& c) {
    return isGrey(c) ? 0.0 : static_cast<double>(c.chroma);
}

// Both colours dark and dull enough that no difference of hue shows.
bool dark(const MunsellColour& c) {
    return c.value <= 3.0f && chromaOf(c) <= 2.0;
}

// The limits of one row of the class table: Faint up to faintV and faintC,
// Distinct below `distinct` in both.
struct RowLimits {
    double faintV, faintC, distinct;
};
constexpr RowLimits rows[] = {{2, 1, 4}, {1, 1, 3}, {0, 0, 2}};

// A chip's key: hue in quarter steps (400 for a grey), value and chroma in
// half steps; no key for numbers off that grid, which no soil chip has.
std::optional<std::uint32_t> chipKey(double hue, double value, double chroma, bool grey) {
    const double h = grey ? 400.0 : hue * 4.0, v = value * 2.0, c = grey ? 0.0 : chroma * 2.0;
    const bool onGrid = h == std::floor(h) && v == std::floor(v) && c == std::floor(c);
    if (!onGrid || !(h >= 0 && h <= 400) || !(v >= 0 && v <= 20) || !(c >= 0 && c < 256))
        return std::nullopt;
    return static_cast<std::uint32_t>(h) << 16 | static_cast<std::uint32_t>(v) << 8 |
           static_cast<std::uint32_t>(c);
}

MunsellColour colourOf(const Chip& chip) {
    return {static_cast<float>(chip.hue), static_cast<float>(chip.value),
            static_cast<float>(chip.chroma), chip.neutral};
}

} // namespace

const char* contrastClassName(ContrastClass contrast) {
    switch (contrast) {
    case ContrastClass::Faint:
        return "Faint";
    case ContrastClass::Distinct:
        return "Distinct";
    case ContrastClass::Prominent:
        break;
    }
    return "Prominent";
}

ContrastSteps contrastSteps(const MunsellColour& a, const MunsellColour& b) {
    ContrastSteps steps;
    if (isGrey(a) != isGrey(b))
        steps.pages = 1;
    else if (!isGrey(a))
        steps.pages = std::abs(std::remainder(static_cast<double>(a.hue) - b.hue, 100.0)) / 2.5;
    steps.dV = std::abs(static_cast<double>(a.value) - b.value);
    steps.dC = std::abs(chromaOf(a) - chromaOf(b));
    return steps;
}

ContrastClass contrastClassOfChips(const MunsellColour& a, const MunsellColour& b) {
    if (dark(a) && dark(b)) return ContrastClass::Faint;
    const ContrastSteps s = contrastSteps(a, b);
    // Rounding of a hue read from text stays far below a millionth of a page.
    const double row = std::ceil(s.pages - 1e-6);
    if (!(row <= 2)) return ContrastClass::Prominent;
    const RowLimits& limits = rows[static_cast<int>(row)];
    if (s.dV <= limits.faintV && s.dC <= limits.faintC) return ContrastClass::Faint;
    if (s.dV < limits.distinct && s.dC < limits.distinct) return ContrastClass::Distinct;
    return ContrastClass::Prominent;
}

std::string soilContrastProblem(const SoilContrast& contrast) {
    const std::string which = contrast.which == 0 ? "the first notation" : "the second notation";
    switch (contrast.status) {
    case SoilContrast::Status::Ok:
        return {};
    case SoilContrast::Status::OutsideData:
        return which + " lies outside the Munsell data";
    case SoilContrast::Status::NoChipWithin5:
        break;
    }
    return which + " has no soil chip within 5";
}

SoilComparer::SoilComparer(const MunTable& table, const ColourSettings& settings)
    : table_(table), settings_(settings), search_(soilChips(table), table) {
    const auto& chips = search_.set().chips;
    for (std::size_t i = 0; i < chips.size(); ++i) {
        const Chip& chip = chips[i];
        if (const auto key = chipKey(chip.hue, chip.value, chip.chroma, isGrey(colourOf(chip))))
            places_.emplace(*key, static_cast<std::uint32_t>(i));
    }
    if (!chips.empty()) (void)search_.chipLab(0, settings_); // the chips' L*a*b*, once
    chipDe00_.assign(chips.size() * chips.size(), std::nan(""));
}

bool SoilComparer::chipOf(const MunsellColour& colour, SoilContrast& out, int which, Lab& lab) {
    const auto failed = [&](SoilContrast::Status status) {
        out.status = status;
        out.which = which;
        return false;
    };
    const auto key = chipKey(colour.hue, colour.value, colour.chroma, isGrey(colour));
    const auto place = key ? places_.find(*key) : places_.end();
    if (place != places_.end()) {
        out.chip[which] = place->second;
        lab = search_.chipLab(place->second, settings_);
        return true;
    }
    const auto own = labOfMunsell(isGrey(colour) ? 0.0f : colour.hue, colour.value,
                                  isGrey(colour) ? 0.0f : colour.chroma, table_, settings_);
    if (!own) return failed(SoilContrast::Status::OutsideData);
    const auto nearest = search_.nearestIndex(*own, settings_);
    if (!nearest) return failed(SoilContrast::Status::OutsideData);
    if (nearest->de00 > chipMatchLimit) return failed(SoilContrast::Status::NoChipWithin5);
    out.chip[which] = nearest->index;
    out.takenToChip[which] = true;
    lab = *own;
    return true;
}

SoilContrast SoilComparer::compare(const MunsellColour& a, const MunsellColour& b) {
    SoilContrast out;
    Lab labA, labB;
    if (!chipOf(a, out, 0, labA) || !chipOf(b, out, 1, labB)) return out;
    const auto& chips = search_.set().chips;
    const MunsellColour chipA = colourOf(chips[out.chip[0]]), chipB = colourOf(chips[out.chip[1]]);
    out.contrast = contrastClassOfChips(chipA, chipB);
    out.steps = contrastSteps(chipA, chipB);
    if (out.takenToChip[0] || out.takenToChip[1]) {
        out.de00 = ciede2000(labA, labB);
        return out;
    }
    // Two chips: their difference is worked out once.
    double& known = chipDe00_[out.chip[0] * chips.size() + out.chip[1]];
    if (std::isnan(known)) known = ciede2000(labA, labB);
    out.de00 = known;
    return out;
}

SoilColourChecks soilColourChecks(const MunsellColour& moist, const MunsellColour& dry) {
    const bool darkMoist = moist.value <= 3.0f;
    const bool darkDry = dry.value <= 5.0f;
    SoilColourChecks checks;
    checks.mollicColour = darkMoist && darkDry && chromaOf(moist) <= 3.0;
    checks.chernicColour = darkMoist && darkDry && chromaOf(moist) <= 2.0;
    return checks;
}

} // namespace huelinx
