#include "session/soil_comparison.h"

#include "colour/hue.h"
#include "text/number_format.h"

#include <cctype>
#include <cmath>

namespace huelinx {

namespace {

// A step between chips as huelinx-convert --contrast writes it: chips differ
// by whole and half steps, written "2" and "0.5".
std::string stepText(double step) {
    const double half = step * 2;
    if (half < 0 || half >= 2000 || half != std::floor(half)) return plainText(step);
    const auto halves = static_cast<int>(half);
    return std::to_string(halves / 2) + (halves % 2 ? ".5" : "");
}

} // namespace

std::optional<SoilNotation> soilNotation(std::string_view text) {
    const auto parts = splitNotation(text);
    const auto chip = readChipNotation(text);
    if (!parts || !chip) return std::nullopt;
    SoilNotation out;
    // The hue as the program writes it: "5yr" reads as "5YR".
    std::string hue(parts->hue);
    for (char& ch : hue)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    out.text = notationText(hue, parts->value, parts->chroma);
    out.colour = {static_cast<float>(chip->hue), static_cast<float>(chip->value),
                  static_cast<float>(chip->chroma), chip->neutral};
    return out;
}

std::string soilContrastLine(SoilComparer& comparer, const SoilNotation& a, const SoilNotation& b) {
    std::string line = a.text + " against " + b.text + ": ";
    const SoilContrast c = comparer.compare(a.colour, b.colour);
    if (c.status != SoilContrast::Status::Ok) return line + soilContrastProblem(c);
    line += contrastClassName(c.contrast);
    line += ", \u0394E00 " + formatNumber(c.de00, "0.00");
    line += " (\u0394H " + stepText(c.steps.pages) + (c.steps.pages == 1 ? " page" : " pages");
    line += ", \u0394V " + stepText(c.steps.dV) + ", \u0394C " + stepText(c.steps.dC) + ")";
    const SoilNotation* given[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        if (c.takenToChip[i])
            line += "; " + given[i]->text + " taken to the soil chip " +
                    comparer.chips().chips[c.chip[i]].notation;
    }
    return line;
}

std::string soilChecksLine(const SoilNotation& moist, const SoilNotation& dry) {
    const SoilColourChecks checks = soilColourChecks(moist.colour, dry.colour);
    const auto yes = [](bool holds) { return holds ? "yes" : "no"; };
    return "moist " + moist.text + ", dry " + dry.text + ": mollic colour " +
           yes(checks.mollicColour) + ", chernic colour " + yes(checks.chernicColour);
}

} // namespace huelinx
