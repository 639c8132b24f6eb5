// huelinx-convert's soil modes: --contrast prints the contrast class of pairs
// of notations, --soil the diagnostic colour checks of moist and dry pairs.
//
// A pair is two Munsell notations separated by a comma, a semicolon or a tab
// (`10YR 6/3, 5YR 3/4`); a notation in double quotes may hold any of them.
// Each pair gives one output line, so the output stays aligned with the input.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace huelinx {

enum class SoilMode { Contrast, Checks };

// The header line of a mode:
//   --contrast  class,dE00,dH,dV,dC,chip1,chip2,message
//   --soil      mollic_colour,chernic_colour,message
[[nodiscard]] const char* soilModeHeader(SoilMode mode);

// Runs a mode on the pair of `pair` (one argument holding both notations, or
// two arguments), or with `csv` on every line of `in`. Prints the header, then
// a line a pair; a pair that can't be read or compared gives empty fields with
// the reason as its message, and the reason (with the line's number for --csv)
// on `err`. Returns the exit status as the converter's other modes do: 0, or 1
// when a pair failed or the output refused a write.
int runSoilMode(SoilMode mode, const std::vector<std::string>& pair, bool csv,
                const MunTable& table, const ColourSettings& settings, std::istream& in,
                std::ostream& out, std::ostream& err);

} // namespace huelinx
