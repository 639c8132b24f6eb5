#include "palette/palette_entries.h"

#include "colour/colorimetry.h"
#include "colour/colour_naming.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "palette/palette_geometry.h"
#include "text/number_read.h"
#include "text/safe_text.h"

#include <algorithm>

namespace huelinx {

namespace {

// The notation as the Munsell boxes show it: "5R 4/14"; a grey "N 5/".
std::string notationText(const ColourModel& colour) {
    return huelinx::notationText(trimmed(colour[Box::Hue]), trimmed(colour[Box::Value]),
                                 trimmed(colour[Box::Chroma]));
}

// X, Y, Z as the boxes show them, for a notation mun2xyz can't convert.
Tristimulus shownXyz(const ColourModel& colour) {
    const auto read = [&colour](Box b) {
        return static_cast<float>(strictNumber(colour[b]).value_or(0.0));
    };
    return {read(Box::X), read(Box::Y), read(Box::Z)};
}

// A row's fields as an entry, before anything is converted.
PaletteEntry entryOf(const PaletteRow& row) {
    PaletteEntry entry;
    entry.line = row.line;
    entry.tag = row.fields[2];
    for (std::size_t f = 0; f < 3; ++f)
        entry.notation[f] = row.fields[3 + f];
    return entry;
}

// Types the row's notation into the Munsell boxes and reads its numbers the
// way the Munsell entry reads them: a grey needs no chroma.
RowRead typeNotation(PaletteEntry& entry, ColourModel& colour) {
    colour.forgetChange();
    for (int f = 0; f < 3; ++f)
        colour[static_cast<Box>(f)] = entry.notation[static_cast<std::size_t>(f)];
    const bool grey = converth(entry.notation[0]).family == HueFamily::Neutral;
    const auto value = strictNumber(entry.notation[1]);
    const auto chroma = strictNumber(entry.notation[2]);
    if (!value || (!chroma && !grey)) return RowRead::NotANumber;
    entry.value = static_cast<float>(*value);
    entry.chroma = static_cast<float>(chroma.value_or(0.0));
    hueAngleOf(entry.notation[0], entry.hueAngle);
    return RowRead::Converted;
}

} // namespace

PaletteSwatch paletteSwatch(const ColourModel& entered, std::string tag, const MunTable& table,
                            const IsccNbsTable& names) {
    PaletteSwatch swatch;
    swatch.tag = oneLineText(tag);
    swatch.notation = notationText(entered);
    if (const IsccNbsName* name = isccNbsNameOf(entered, names)) swatch.name = name->name;
    swatch.xyz = shownXyz(entered);
    if (const auto notation = munsellOf(entered)) {
        const float chroma = notation->neutral ? 0.0f : notation->chroma;
        const CieOfMunsell cie =
            mun2xyz(notation->hue, notation->value, chroma, table, entered.settings);
        if (cie.status == MunsellToCie::Ok) swatch.xyz = singleXyz(cie);
    }
    const LabOfXyz lab = xyzlab(swatch.xyz.X, swatch.xyz.Y, swatch.xyz.Z, entered.settings);
    swatch.lab = {lab.L, lab.a, lab.b};
    for (int i = 0; i < 3; ++i)
        swatch.rgb[static_cast<std::size_t>(i)] =
            std::clamp<int>(entered.clippedRgb[static_cast<std::size_t>(i)], 0, 255);
    swatch.outOfGamut = entered.rgbOutOfRange;
    return swatch;
}

bool givesSwatch(const ColourModel& entered) {
    return !entered.outcome.hasAny(
        {Outcome::Refused, Outcome::FormatError, Outcome::OutOfMunsellRange, Outcome::OutsideData});
}

std::vector<PaletteEntry> paletteEntries(const std::vector<PaletteRow>& rows, ColourModel& colour,
                                         const MunTable& table, const IsccNbsTable& names,
                                         const EachPaletteRow& each) {
    std::vector<PaletteEntry> entries;
    entries.reserve(rows.size());
    for (const PaletteRow& row : rows) {
        PaletteEntry entry = entryOf(row);
        // A colour the Munsell data hold no notation for was saved with empty
        // hue and chroma.
        RowRead read = RowRead::Incomplete;
        if (row.complete)
            read = trimmed(row.fields[3]).empty() && trimmed(row.fields[5]).empty()
                       ? RowRead::NoNotation
                       : typeNotation(entry, colour);
        if (read == RowRead::Converted) {
            enterInPlace(colour, Notation::Munsell, table);
            entry.rgb = {colour.red, colour.green, colour.blue};
            for (std::size_t i = 0; i < 3; ++i)
                entry.shownRgb[i] = std::clamp<int>(colour.clippedRgb[i], 0, 255);
            entry.outOfRange = colour.outcome.has(Outcome::OutOfDisplayRange);
            entry.outcome = colour.outcome;
            entry.messages = colour.messages;
            if (givesSwatch(colour)) entry.swatch = paletteSwatch(colour, entry.tag, table, names);
            entries.push_back(std::move(entry));
        }
        const PaletteEntry& said = read == RowRead::Converted ? entries.back() : entry;
        if (each && !each(read, said)) break;
    }
    return entries;
}

} // namespace huelinx
