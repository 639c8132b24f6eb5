// "Make Table": the Munsell solid as a printable table, tab-separated, over
// values 1..8 and 8.25..9 in quarters, hues 0..97.5 in steps of 2.5 and
// chromas 0..8 then 10..30 in steps of 2, with X, Y, Z, L*, a*, b* and display
// R, G, B. Points beyond the Munsell data are left out.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

#include <string>

namespace huelinx {

// Name of the table file, in the working directory.
constexpr const char* printedTableFile = "muntable2.prn";

// The file's text, CR LF line ends; line 1 is `caption` and a note on where the
// data come from. `outOfRange` receives the display flag of the last colour.
std::string munsellTableText(const MunTable& table, const ColourSettings& s,
                             const std::string& caption, bool& outOfRange);

} // namespace huelinx
