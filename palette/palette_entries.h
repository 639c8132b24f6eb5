// The rows of a palette file as entries: each row's notation converted as if
// typed into the Munsell boxes and entered, with what the conversion gave.
// The palette viewer draws, lists and picks these entries, and the export
// writes the swatches among them; both read a file's rows through
// `paletteEntries`, so a row is the same colour in both.
//
// A row's swatch is its colour as other programs get it: the notation, the
// display colour as clipped into 0..255 (a colour the display can't show keeps
// its clipped colour, never black), its ISCC-NBS name, and X, Y, Z and
// L*, a*, b* computed anew from the notation at full precision.
#pragma once

#include "colour/ciede2000.h"
#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "palette/palette_file.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace huelinx {

struct PaletteSwatch {
    std::string tag;
    std::string notation; // "5R 4/14", "N 5/"
    std::string name;     // ISCC-NBS name; empty when the notation has none
    Tristimulus xyz{};    // white Y = 100
    Lab lab;
    std::array<int, 3> rgb{}; // display colour, clipped into 0..255
    bool outOfGamut = false;
};

// Whether the Munsell entry just made gives a swatch: the notation converted
// as typed, within the Munsell data.
[[nodiscard]] bool givesSwatch(const ColourModel& entered);

// The swatch of a colour model the Munsell entry has just converted. X, Y, Z
// and L*, a*, b* are computed anew from the notation at full precision.
[[nodiscard]] PaletteSwatch paletteSwatch(const ColourModel& entered, std::string tag,
                                          const MunTable& table, const IsccNbsTable& names);

// One row of a palette file.
struct PaletteEntry {
    std::size_t line = 0; // 1-based line number in the file
    std::string tag;
    std::array<std::string, 3> notation; // hue, value, chroma as read
    // Where the entry sits in the Munsell solid: the hue angle in radians (0
    // for a grey and for a hue without family), value and chroma as read.
    float hueAngle = 0, value = 0, chroma = 0;
    // ---- what the Munsell entry gave -----------------------------------------
    std::array<int, 3> rgb{}; // the display levels, black when the display can't show it
    // The colour drawn for the entry: the display colour clipped into 0..255,
    // and whether it had to be clipped.
    std::array<int, 3> shownRgb{};
    bool outOfRange = false;
    EntryOutcome outcome;
    std::vector<std::string> messages;
    // The colour for other programs; none outside the Munsell data.
    std::optional<PaletteSwatch> swatch;
};

// How far a row was read.
enum class RowRead {
    Converted,  // its notation was entered
    Incomplete, // the line holds fewer than six fields
    NoNotation, // hue and chroma are empty: the data hold no notation for the colour
    NotANumber, // the value, or the chroma of a hue other than N, is no number
};

// Called with each row as it is read; false stops the reading after it.
// Only a converted row's entry carries a conversion.
using EachPaletteRow = std::function<bool(RowRead read, const PaletteEntry& entry)>;

// The entries of the converted rows, in file order, up to the row `each`
// stopped at. Each notation is typed into `colour`'s Munsell boxes and
// entered, so `colour` ends on the last row; the notation of a row whose
// numbers can't be read is typed and not entered.
[[nodiscard]] std::vector<PaletteEntry> paletteEntries(const std::vector<PaletteRow>& rows,
                                                       ColourModel& colour, const MunTable& table,
                                                       const IsccNbsTable& names,
                                                       const EachPaletteRow& each = {});

} // namespace huelinx
