// The ISCC-NBS name and the nearest chip of a colour model, read from its
// boxes as the window and the converter show them: the Munsell boxes give the
// notation (the name, and the chip's Munsell steps), the L*, a*, b* boxes the
// colour whose CIEDE2000 to each chip is measured. A model whose hue or chroma
// box is empty, or whose notation was entered outside the Munsell data, has no
// name and no chip.
//
// Example: 5R 5/10 under illuminant C is "moderate red" (m.R), and its nearest
// chip in renotation-real is 5R 5/10 itself at CIEDE2000 0.00.
#pragma once

#include "colour/chip_set.h"
#include "colour/ciede2000.h"
#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"

#include <optional>
#include <string>
#include <vector>

namespace huelinx {

// The notation the Munsell boxes show; none when the last conversion met a
// colour outside the data, or a box holds no number or no hue (a box typed
// into but not entered may hold any text).
[[nodiscard]] std::optional<MunsellColour> munsellOf(const ColourModel& colour);
// L*, a*, b* as the boxes show them; none when one holds no number.
[[nodiscard]] std::optional<Lab> labOf(const ColourModel& colour);

// The ISCC-NBS name of the model's notation; nullptr when it has none.
[[nodiscard]] const IsccNbsName* isccNbsNameOf(const ColourModel& colour,
                                               const IsccNbsTable& names);
// The chip of `chips` nearest the model's colour under its settings.
[[nodiscard]] std::optional<NearestChip> nearestChipOf(const ColourModel& colour,
                                                       ChipSearch& chips);

// "light purplish pink (l.pPk)"; empty for no name.
[[nodiscard]] std::string nameText(const IsccNbsName* name);
// "5R 5/10  ΔE00 0.42  (ΔH +0.31 ΔV -0.02 ΔC +0.15)", the label after the
// notation when the chip has one; "no chip within 5" past the match limit;
// empty for no chip.
[[nodiscard]] std::string chipText(const std::optional<NearestChip>& chip);

// Reads the name files from the first of `folders` holding iscc-nbs-blocks.csv.
Result loadIsccNbsFromFolders(const std::vector<std::string>& folders, IsccNbsTable& table);

// Where a program whose data folders are `programData` (the first one beside
// the program) finds chip sets: the working directory first, then those folders.
[[nodiscard]] ChipSetPlaces chipSetPlacesFor(const std::vector<std::string>& programData);

} // namespace huelinx
