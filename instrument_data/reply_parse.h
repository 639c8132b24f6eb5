// Reading the reflectance curve out of each instrument's reply, and out of a
// reflectance file. Positions are 1-based character positions of the reply.
// Every parser checks the whole reply first and fills the curve only when it
// is readable, so a bad reply leaves the curve as it was.
//
//   CE7000 / CE7000A  value i: 7 characters from 10 i + 11 (21..27 to 411..417)
//   CE2180            value i: 6 characters from 7 i + floor((i - 1) / 6) - 6
//                     (groups of six, one extra character after each group)
//   XTH               value i: 6 characters from 8 i + 11 (19..24 to 331..336)
//   Ci5/Ci7           value i: 7 characters from 3 before the i-th point
//   Spectrolino       fraction of 1 for wavelength index i + 2 (i = 1..36):
//                     6 characters from 7 i + 4 (11..16 to 256..261)
#pragma once

#include "colour/tristimulus.h"

#include <string>
#include <string_view>

namespace huelinx {

bool parseCe7000(std::string_view reply, Reflectance& curve);
bool parseCe2180(std::string_view reply, Reflectance& curve);
bool parseXth(std::string_view reply, Reflectance& curve);
// Fails when the reply has fewer than 40 points or a point in its first three
// characters.
bool parseCi(std::string_view reply, Reflectance& curve);
// Changes entries 3 to 38 only (380 to 730 nm).
bool parseSpectrolino(std::string_view reply, Reflectance& curve);

// A reflectance file: a free-text tag line, then 40 percent values from 360 to
// 750 nm separated by commas, blanks or line ends. Values are stored as they
// are read, so a file that ends early or holds a field that is not a number
// has changed the entries before it.
struct ReflectanceFile {
    bool ok = false;
    std::string tag;
};
ReflectanceFile parseReflectanceFile(std::string_view text, Reflectance& curve);

} // namespace huelinx
