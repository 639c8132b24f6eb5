// Text-to-number rules shared by every field and file reader of the program.
#pragma once

#include <optional>
#include <string_view>

namespace huelinx {

// Reads the leading number of a text, ignoring blanks anywhere in it: an
// optional sign, digits with at most one decimal point, and an optional
// exponent (E or e, optional sign, digits). Reading stops at the first
// character that cannot continue the number; a text with no leading number
// reads as 0. "5 R" gives 5, "R" gives 0, " 1 2.5x" gives 12.5, "-.5" gives -0.5.
// A number too large for a double also reads as 0, one too small to tell from
// zero as 0 too, so the result is always finite. Never throws.
// Used for hue numbers and the display R, G, B boxes.
double leadingNumber(std::string_view text);

// Like leadingNumber, but only blanks before the number are skipped: a blank
// inside ends it (" 12 5" gives 12). Used where a reader takes the longest
// leading part of a field that forms a number.
double leadingNumberLenient(std::string_view text);

// Reads a whole text as one decimal number: optional blanks, an optional sign,
// digits with at most one decimal point (at least one digit), an optional
// exponent, optional blanks, and nothing else. Empty text, text with anything
// else in it, or a number too large for a double gives no value; one too small
// to tell from zero reads as 0. Blanks are spaces and tabs. The C locale plays
// no part: the point is always '.'.
std::optional<double> strictNumber(std::string_view text);

// Whether a whole text has the form strictNumber reads, whatever the size of
// its number: "1e999" is number text though no double holds it, "abc" is not.
// Tells a number too large to use from a text that is no number.
bool isNumberText(std::string_view text);

// The text without spaces, tabs and line ends at either end.
std::string_view trimmed(std::string_view text);

// Rounds to the nearest whole number, halves to the even one (2.5 gives 2,
// 3.5 gives 4, -2.5 gives -2). NaN and infinities come back unchanged.
double roundHalfEven(double value);

} // namespace huelinx
