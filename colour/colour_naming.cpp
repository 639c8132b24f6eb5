#include "colour/colour_naming.h"

#include "colour/data_files.h"
#include "colour/hue.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <filesystem>

namespace huelinx {

std::optional<MunsellColour> munsellOf(const ColourModel& colour) {
    // A notation entered outside the data stays in its boxes but names nothing.
    if (colour.outsideData) return std::nullopt;
    const auto value = strictNumber(colour[Box::Value]);
    const auto chroma = strictNumber(colour[Box::Chroma]);
    const HueOfText hue = converth(colour[Box::Hue]);
    if (!value || !chroma || hue.family == HueFamily::Missing) return std::nullopt;
    const bool neutral = hue.family == HueFamily::Neutral || *chroma == 0.0;
    return MunsellColour{static_cast<float>(wrappedHue(hue.hue)), static_cast<float>(*value),
                         static_cast<float>(*chroma), neutral};
}

std::optional<Lab> labOf(const ColourModel& colour) {
    const auto L = strictNumber(colour[Box::L]), a = strictNumber(colour[Box::A]),
               b = strictNumber(colour[Box::B]);
    if (!L || !a || !b) return std::nullopt;
    return Lab{*L, *a, *b};
}

const IsccNbsName* isccNbsNameOf(const ColourModel& colour, const IsccNbsTable& names) {
    const auto notation = munsellOf(colour);
    if (!notation) return nullptr;
    return notation->neutral ? names.nameOfNeutral(notation->value)
                             : names.nameOf(notation->hue, notation->value, notation->chroma);
}

std::optional<NearestChip> nearestChipOf(const ColourModel& colour, ChipSearch& chips) {
    const auto notation = munsellOf(colour);
    const auto lab = labOf(colour);
    if (!notation || !lab) return std::nullopt;
    return chips.nearest(*lab, *notation, colour.settings);
}

std::string nameText(const IsccNbsName* name) {
    if (!name) return {};
    return name->name + " (" + name->abbreviation + ")";
}

namespace {

// Two decimals; `sign` puts + before a number that isn't negative. A number
// that rounds to zero carries no minus sign. (formatNumber, not printf, so the
// decimal point is a point whatever the user's locale.)
std::string twoDecimals(double n, bool sign) {
    const std::string text = formatNumber(n, "0.00");
    return sign && text.front() != '-' ? "+" + text : text;
}

} // namespace

std::string chipText(const std::optional<NearestChip>& chip) {
    if (!chip) return {};
    if (!chip->withinLimit) return "no chip within 5";
    std::string text = chip->notation;
    if (!chip->label.empty()) text += " " + chip->label;
    text += "  \u0394E00 " + twoDecimals(chip->de00, false);
    text += "  (\u0394H " + twoDecimals(chip->steps.dH, true) + " \u0394V " +
            twoDecimals(chip->steps.dV, true) + " \u0394C " + twoDecimals(chip->steps.dC, true) +
            ")";
    return text;
}

Result loadIsccNbsFromFolders(const std::vector<std::string>& folders, IsccNbsTable& table) {
    if (const auto folder = firstFolderHolding(isccNbsBlocksFile, folders))
        return loadIsccNbsFolder(*folder, table);
    return {false, "the ISCC-NBS name files (" + std::string(isccNbsBlocksFile) +
                       ") are in no data folder"};
}

ChipSetPlaces chipSetPlacesFor(const std::vector<std::string>& programData) {
    const std::vector<std::string> dataFolders = withWorkingFolder(programData).searched;
    const std::string programFolder =
        programData.empty() ? std::string(".")
                            : std::filesystem::path(programData.front()).parent_path().string();
    return {dataFolders, chipSetFolders(programFolder)};
}

} // namespace huelinx
