#include "exchange/palette_export.h"

#include "colour/illuminant.h"
#include "text/number_format.h"
#include "text/safe_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace huelinx {

std::vector<PaletteSwatch> swatchesOf(const std::vector<PaletteEntry>& entries) {
    std::vector<PaletteSwatch> swatches;
    swatches.reserve(entries.size());
    for (const PaletteEntry& entry : entries)
        if (entry.swatch) swatches.push_back(*entry.swatch);
    return swatches;
}

std::vector<PaletteSwatch> paletteSwatches(const std::vector<PaletteRow>& rows, ColourModel& colour,
                                           const MunTable& table, const IsccNbsTable& names,
                                           int& skipped) {
    std::vector<PaletteSwatch> swatches;
    for (PaletteEntry& entry : paletteEntries(rows, colour, table, names))
        if (entry.swatch) swatches.push_back(std::move(*entry.swatch));
    skipped = static_cast<int>(rows.size() - swatches.size());
    colour.forgetChange();
    return swatches;
}

std::string swatchName(const PaletteSwatch& swatch) {
    std::string name = swatch.tag.empty() ? swatch.notation : swatch.tag + " " + swatch.notation;
    if (!swatch.name.empty()) name += " " + swatch.name;
    if (swatch.outOfGamut) name += " (out of gamut)";
    return name;
}

std::optional<ExportFormat> exportFormatNamed(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "gpl") return ExportFormat::Gpl;
    if (lower == "ase") return ExportFormat::Ase;
    if (lower == "cgats") return ExportFormat::Cgats;
    return std::nullopt;
}

const char* exportExtension(ExportFormat format) {
    switch (format) {
    case ExportFormat::Gpl:
        return ".gpl";
    case ExportFormat::Ase:
        return ".ase";
    case ExportFormat::Cgats:
        break;
    }
    return ".txt";
}

// ---- GIMP palette ------------------------------------------------------------

std::string gplText(const std::string& paletteName, const std::vector<PaletteSwatch>& swatches) {
    std::string text = "GIMP Palette\nName: " + oneLineText(paletteName) + "\nColumns: 0\n#\n";
    for (const PaletteSwatch& s : swatches) {
        char channels[16];
        std::snprintf(channels, sizeof channels, "%3d %3d %3d", s.rgb[0], s.rgb[1], s.rgb[2]);
        text += channels;
        text += "\t" + oneLineText(swatchName(s)) + "\n";
    }
    return text;
}

// ---- Adobe Swatch Exchange ---------------------------------------------------

namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>((value >> 8) & 0xff);
    out += static_cast<char>(value & 0xff);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xffff);
}

void putFloat(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    put32(out, bits);
}

// A block's name: its length in UTF-16 units with the closing 0, the units
// big-endian, the 0. Names are cut at 1,000 units.
std::string aseName(std::string_view name) {
    std::vector<unsigned> units;
    for (char32_t p : codePoints(oneLineText(name))) {
        if (units.size() >= 998) break;
        if (p < 0x10000) {
            units.push_back(static_cast<unsigned>(p));
        } else {
            p -= 0x10000;
            units.push_back(0xd800 + static_cast<unsigned>(p >> 10));
            units.push_back(0xdc00 + static_cast<unsigned>(p & 0x3ff));
        }
    }
    std::string out;
    put16(out, static_cast<unsigned>(units.size() + 1));
    for (unsigned u : units)
        put16(out, u);
    put16(out, 0);
    return out;
}

void putBlock(std::string& out, unsigned type, const std::string& contents) {
    put16(out, type);
    put32(out, static_cast<std::uint32_t>(contents.size()));
    out += contents;
}

} // namespace

std::string aseBytes(const std::string& paletteName, const std::vector<PaletteSwatch>& swatches) {
    std::string out = "ASEF";
    put16(out, 1);
    put16(out, 0);
    put32(out, static_cast<std::uint32_t>(swatches.size() + 2));
    putBlock(out, 0xc001, aseName(paletteName));
    for (const PaletteSwatch& s : swatches) {
        std::string entry = aseName(swatchName(s)) + "RGB ";
        for (int channel : s.rgb)
            putFloat(entry, static_cast<float>(channel) / 255.0f);
        put16(entry, 2); // a normal (process) colour
        putBlock(out, 0x0001, entry);
    }
    putBlock(out, 0xc002, {});
    return out;
}

// ---- CGATS.17 ----------------------------------------------------------------

namespace {

// A quoted CGATS text: its double quotes become single ones.
std::string cgatsQuoted(std::string text) {
    std::replace(text.begin(), text.end(), '"', '\'');
    return "\"" + oneLineText(text) + "\"";
}

std::string measurementSource(Illuminant illuminant) {
    return "Illumination=" + std::string(illuminantName(illuminant)) +
           " ObserverAngle=" + std::to_string(observerDegrees(illuminant));
}

} // namespace

std::string cgatsText(const std::string& paletteName, const std::vector<PaletteSwatch>& swatches,
                      Illuminant illuminant, const std::string& created) {
    std::string text = "CGATS.17\r\n";
    text += "ORIGINATOR \"Huelinx\"\r\n";
    text += "DESCRIPTOR " + cgatsQuoted(paletteName) + "\r\n";
    text += "CREATED " + cgatsQuoted(created) + "\r\n";
    text += "MEASUREMENT_SOURCE \"" + measurementSource(illuminant) + "\"\r\n";
    text += "NUMBER_OF_FIELDS 11\r\nBEGIN_DATA_FORMAT\r\n"
            "SAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z LAB_L LAB_A LAB_B RGB_R RGB_G RGB_B\r\n"
            "END_DATA_FORMAT\r\n";
    text += "NUMBER_OF_SETS " + std::to_string(swatches.size()) + "\r\nBEGIN_DATA\r\n";
    int id = 0;
    for (const PaletteSwatch& s : swatches) {
        std::string name = s.tag.empty() ? s.notation : s.tag;
        if (s.outOfGamut) name += " (out of gamut)";
        text += std::to_string(++id) + " " + cgatsQuoted(name);
        for (double n :
             {double{s.xyz.X}, double{s.xyz.Y}, double{s.xyz.Z}, s.lab.L, s.lab.a, s.lab.b})
            text += " " + formatNumber(n, "0.0000");
        for (int channel : s.rgb)
            text += " " + std::to_string(channel);
        text += "\r\n";
    }
    text += "END_DATA\r\n";
    return text;
}

std::string exportPalette(ExportFormat format, const std::string& paletteName,
                          const std::vector<PaletteSwatch>& swatches, Illuminant illuminant,
                          const std::string& created) {
    switch (format) {
    case ExportFormat::Gpl:
        return gplText(paletteName, swatches);
    case ExportFormat::Ase:
        return aseBytes(paletteName, swatches);
    case ExportFormat::Cgats:
        break;
    }
    return cgatsText(paletteName, swatches, illuminant, created);
}

std::string paletteNameOf(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

} // namespace huelinx
