// A colour typed or pasted as one line of text, in any of the forms the
// program writes or a user is likely to type: a Munsell notation ("5R 4/14",
// "5R4/14", "N 5/", "2.5yr 6/8"), x,y,Y, CIE L*a*b* or X, Y, Z with or without
// a name in front ("x,y,Y 0.31 0.32 20", "xyY 0.31 0.32 20", "L*a*b* 41.2
// 59.5 30.2", "Lab 41 59 30", "XYZ 20 12 5"), display R, G, B ("RGB 186 38
// 54") or a hex display colour ("#BA2636", "#b23"). The result is the texts
// to put into the boxes of one notation, which its entry then converts.
#pragma once

#include "colour/colour_model.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace huelinx {

struct TypedColour {
    Notation notation = Notation::Munsell;
    // The boxes' texts in the notation's order: hue, value, chroma (a grey:
    // "N", its value, "0"); X, Y, Z; x, y, then luminance Y; L*, a*, b*;
    // R, G, B (a hex colour as whole numbers 0..255).
    std::array<std::string, 3> texts;

    bool operator==(const TypedColour&) const = default;
};

// Reads one typed colour. Numbers are separated by blanks, commas or
// semicolons, and each must be a number single precision can hold. Three
// numbers without a name are taken in the notation `hint` names (X, Y, Z,
// x,y,Y, L*a*b* or R, G, B); otherwise as x,y,Y when x and y lie in 0..1 and
// Y is above 1, else as L*a*b*. No value for text that is none of these.
[[nodiscard]] std::optional<TypedColour> readTypedColour(std::string_view text,
                                                         std::optional<Notation> hint = {});

// The typed colour written back in the form readTypedColour reads first:
// "5R 4/14", "N 5/", "x,y,Y 0.31 0.32 20", "L*a*b* …", "XYZ …", "RGB …".
[[nodiscard]] std::string typedColourText(const TypedColour& colour);

} // namespace huelinx
