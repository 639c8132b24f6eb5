// Munsell hue notation: hue texts such as 5.6R, 10GY or 2.5PB, and the numeric
// hue circle 0..100 that all computation uses. hue = 10 x family index + hue
// number, the number in (0, 10]; families R, YR, Y, GY, G, BG, B, PB, P, RP.
// 0 and 100 are the same hue (10RP).
#pragma once

#include <array>
#include <string>

namespace huelinx {

// Family names, indices 0..9; index 10 is the empty name that hues above
// 100.001 (and texts without a family) end up in.
extern const std::array<std::string, 11> hueName;

// Reads a hue text into a numeric hue. The caller's text is turned to upper
// case. Two-letter families are tried first (so 5YR is 15, not 5R), then the
// one-letter ones; the hue number is the leading number of the rest, blanks
// ignored (5 R gives 5, YR alone gives 10). A text with no family sets
// *formatError (when given) and reads as 100 plus the leading number of the
// whole text (5X gives 105, N gives 100).
float converth(std::string& hueText, bool* formatError = nullptr);

// Writes a numeric hue as hue text: the hue number with the pattern "##.00"
// and the family name. Hues within 0.001 above a multiple of 10 stay in the
// lower family: 10 gives 10.00R, 12.5 gives 2.50YR, 0 gives .00R, 100 gives
// 10.00RP. Above 100.001 the family name is empty.
std::string hconvert(float hue);

} // namespace huelinx
