// Munsell hue, value and chroma to CIE X, Y, Z and chromaticity x, y.
//
// The chromaticity is interpolated linearly in the Munsell table between the
// eight grid points around the notation, first along hue, then chroma, then
// value; Y follows from the value alone (val2y). With illuminant D5000 or
// D65 10 selected, X, Y, Z are then Bradford-adapted from illuminant C and
// x, y taken from the adapted values.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

namespace huelinx {

enum class MunsellToCie {
    Ok,
    OutsideData, // a corner of the cell has no data: all five outputs are 0
    OutOfTable,  // the notation indexes outside the table (negative value or
                 // hue, hue above 102.5, chroma 60 or more, not a number):
                 // outputs untouched
};

// hue on the 0..100 circle (100 itself lies outside the data; callers turn it
// into 0), value 0..10, chroma 0 upwards. A value above 9.5 is replaced by 9.5
// in the caller's variable; value 10 therefore gives the colour of 9.5.
MunsellToCie mun2xyz(float hue, float& value, float chroma, float& X, float& Y, float& Z, float& x,
                     float& y, const MunTable& table, const ColourSettings& s);

} // namespace huelinx
