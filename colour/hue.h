// Munsell hue notation: hue texts such as 5.6R, 10GY or 2.5PB, and the numeric
// hue circle 0..100 that all computation uses. hue = 10 x family index + hue
// number, the number in (0, 10]; families R, YR, Y, GY, G, BG, B, PB, P, RP.
// 0 and 100 are the same hue (10RP).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace huelinx {

// Family names, indices 0..9; index 10 is the empty name that hues above
// 100.001 (and texts without a family) end up in.
extern const std::array<std::string, 11> hueName;

// Whether a hue text ends in a family name.
enum class HueFamily {
    Named,
    Missing, // a format error: the text reads as 100 plus its leading number
    Neutral, // N: a grey, with no hue (and chroma 0); the text reads as 0
};

// Whether a hue text names the neutral hue: N, letters in either case,
// optionally followed by a value and a slash with an optional chroma, blanks
// ignored (N, n, N 5, N5/, N 5/0).
[[nodiscard]] bool isNeutralHue(std::string_view hueText);

struct HueOfText {
    double hue = 0; // on the 0..100 circle; 100 plus a number for a missing family
    HueFamily family = HueFamily::Named;
};

// Reads a hue text into a numeric hue, letters in either case. Two-letter
// families are tried first (so 5YR is 15, not 5R), then the one-letter ones;
// the hue number is the leading number of the rest, blanks ignored (5 R gives
// 5, 5yr gives 15, YR alone gives 10). A text with no family, or whose hue
// number is NaN or infinity (nanR, -infYR), is Missing and reads as 100 plus
// the leading number of the whole text (5X gives 105); the neutral hue N
// reads as 0 with the family Neutral.
[[nodiscard]] HueOfText converth(std::string_view hueText);

// A hue read as above, brought back onto the circle: 100 (10RP) gives 0, and
// the 100 plus a number of a missing family gives that number. Below 100 (and
// not a number) the hue stays as it is.
template <typename Number> [[nodiscard]] constexpr Number wrappedHue(Number hue) {
    return hue >= Number(100) ? hue - Number(100) : hue;
}

// A notation from the texts of its parts: "5R 4/14"; a grey, whose hue text is
// N (or n), "N 5/" without the chroma.
[[nodiscard]] std::string notationText(std::string_view hue, std::string_view value,
                                       std::string_view chroma);

// Writes a numeric hue as hue text: the hue number with the pattern "##.00"
// and the family name. Hues within 0.001 above a multiple of 10 stay in the
// lower family: 10 gives 10.00R, 12.5 gives 2.50YR, 0 gives .00R, 100 gives
// 10.00RP. Above 100.001 the family name is empty.
std::string hconvert(float hue);

// A numeric hue as a notation writes it: the hue number rounded to two
// decimals without trailing zeros, then the family (5 gives 5R, 12.5 gives
// 2.5YR, 94.938 gives 4.94RP). A multiple of 10 names the family it ends:
// 0 and 100 give 10RP, 10 gives 10R.
std::string shortHueText(float hue);

} // namespace huelinx
