// The renotation data's grid points beyond chroma 32, where the Munsell table
// file ends: the most saturated blues, purples and greens at whole values and
// at value 0.8.
#pragma once

#include "colour/muntable.h"

#include <cstdint>
#include <span>

namespace huelinx {

struct HighChroma {
    std::int8_t tenths; // value times 10: 8 or 10..100
    std::int8_t hue;    // hue index, 2.5 k on the hue circle (0 is 10RP)
    std::int8_t chroma; // chroma index, chroma 2 j: 17..25
    std::int16_t x, y;  // chromaticity times 10000
};

// Every such point of the 1943 renotation data (extrapolated set) whose y is
// above 0, by value, hue and chroma.
std::span<const HighChroma> highChromas();

// Puts the points into the table where its own data reach chroma 32 at that
// value and hue and each chroma before the point is there, so the data run
// on without gaps. Call before MunTable::finish().
void addHighChromas(MunTable& table);

} // namespace huelinx
