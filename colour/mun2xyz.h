// Munsell hue, value and chroma to CIE X, Y, Z and chromaticity x, y.
//
// The chromaticity is interpolated linearly in the Munsell table between the
// eight grid points around the notation, first along hue, then chroma, then
// value, in double precision from the table's entries (entry / 10000, the
// white exact); Y follows from the value alone (val2y). With illuminant D5000 or
// D65 10 selected, X, Y, Z are then Bradford-adapted from illuminant C and
// x, y taken from the adapted values.
#pragma once

#include "colour/colorimetry.h"
#include "colour/muntable.h"
#include "colour/settings.h"

namespace huelinx {

enum class MunsellToCie {
    Ok,
    OutsideData, // a corner of the cell has no data
    OutOfTable,  // the notation indexes outside the table (negative value or
                 // hue, hue above 102.5, chroma 60 or more, not a number)
};

// X, Y, Z (white Y = 100) and x, y of a notation; all five are 0 unless Ok.
struct CieOfMunsell : CieColour {
    MunsellToCie status = MunsellToCie::OutOfTable;
    // The value converted: a value above 10 is lowered to 10.
    double value = 0;
};

// hue on the 0..100 circle (100 itself lies outside the data; callers turn it
// into 0), value 0..10, chroma 0 upwards. A value above 10 is lowered to 10.
// Chroma 0 gives the selected illuminant's white at the value's Y, whatever
// the hue.
// Under illuminant C, 6.4Y 8.6/10.4
// (hue 26.4) gives X, Y, Z = 65.10, 70.37, 15.75 and x, y = 0.4305, 0.4654.
[[nodiscard]] CieOfMunsell mun2xyz(double hue, double value, double chroma, const MunTable& table,
                                   const ColourSettings& s);

} // namespace huelinx
