// Palettes in the formats other programs read: GIMP palettes (GIMP, Inkscape,
// Krita), Adobe Swatch Exchange files, and CGATS.17 text for measuring and
// profiling tools.
//
// Each colour of a palette becomes a swatch (`palette/palette_entries.h`):
// its notation converted as the main window converts it, the display colour
// as clipped into 0..255 (a colour the display can't show keeps its clipped
// colour, never black, and says "(out of gamut)" in its name), and its
// ISCC-NBS name. A swatch is named
// "<tag> <notation> <name>", the tag left out when empty:
// "Brick 5R 4/14 vivid red".
//
// GIMP palette (.gpl), text, LF line ends as GIMP writes them:
//   GIMP Palette
//   Name: <palette>
//   Columns: 0
//   #
//   194  90  87<TAB>5R 5/10 moderate red
//
// Adobe Swatch Exchange (.ase), binary, big-endian: "ASEF", version 1.0
// (two 16-bit numbers), the count of blocks (32 bits), then blocks of a
// 16-bit type, a 32-bit length of what follows, and their contents: one group
// (start 0xC001 with the palette's name, end 0xC002) around a colour entry
// (0x0001) per swatch: its name (16-bit length in UTF-16 units counting the
// closing 0, the name in UTF-16BE, a 0), the model "RGB ", three 32-bit floats
// 0..1 and the colour type 2 (normal).
//
// CGATS.17 text (.txt), CR LF line ends: keywords (ORIGINATOR, DESCRIPTOR,
// CREATED, MEASUREMENT_SOURCE naming the illuminant), then the fields
// SAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z LAB_L LAB_A LAB_B RGB_R RGB_G RGB_B
// and one set per swatch. X, Y, Z (white Y = 100) and L*, a*, b* are those of
// the notation at full precision under the selected illuminant, written with
// four decimals, so the file converts back to the same notation. SAMPLE_NAME
// is the tag, or the notation when the colour has none.
#pragma once

#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "palette/palette_entries.h"
#include "palette/palette_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

// The swatches among palette entries, in their order.
[[nodiscard]] std::vector<PaletteSwatch> swatchesOf(const std::vector<PaletteEntry>& entries);

// The swatches of palette rows, each converted as the palette viewer converts
// it (`paletteEntries`): its notation entered into `colour` (which ends on the
// last one). Rows without a notation, and notations that don't convert or lie
// outside the Munsell data, are counted in `skipped` and left out.
[[nodiscard]] std::vector<PaletteSwatch> paletteSwatches(const std::vector<PaletteRow>& rows,
                                                         ColourModel& colour, const MunTable& table,
                                                         const IsccNbsTable& names, int& skipped);

// "<tag> <notation> <name>", and " (out of gamut)" for a colour the display
// can't show.
[[nodiscard]] std::string swatchName(const PaletteSwatch& swatch);

enum class ExportFormat { Gpl, Ase, Cgats };

// "gpl", "ase" or "cgats" (either case); no value for anything else.
[[nodiscard]] std::optional<ExportFormat> exportFormatNamed(std::string_view name);
// The file name extension of a format: ".gpl", ".ase", ".txt".
[[nodiscard]] const char* exportExtension(ExportFormat format);

[[nodiscard]] std::string gplText(const std::string& paletteName,
                                  const std::vector<PaletteSwatch>& swatches);
[[nodiscard]] std::string aseBytes(const std::string& paletteName,
                                   const std::vector<PaletteSwatch>& swatches);
// `created` is the CREATED keyword's text, the date and time of the export.
[[nodiscard]] std::string cgatsText(const std::string& paletteName,
                                    const std::vector<PaletteSwatch>& swatches,
                                    Illuminant illuminant, const std::string& created);

// The file contents of a palette in `format`.
[[nodiscard]] std::string exportPalette(ExportFormat format, const std::string& paletteName,
                                        const std::vector<PaletteSwatch>& swatches,
                                        Illuminant illuminant, const std::string& created);

// The name a palette file gives its palette: the file name without folder and
// extension.
[[nodiscard]] std::string paletteNameOf(const std::string& path);

} // namespace huelinx
