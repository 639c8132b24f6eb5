// CIE X, Y, Z to Munsell hue, value and chroma.
//
// The value comes from Y through the inverse value function. Hue and chroma
// are found in the chromaticity diagram: the search finds the table cell
// whose four grid points enclose the sample's x, y and bisects it to place
// the sample. Between two integer values the cells are those of the two
// levels blended by the fractional part of the value, grid point by grid
// point, as the Munsell-to-CIE interpolation blends them; so a notation
// converted to X, Y, Z comes back as itself. A point on the rim of the data
// (within a tenth of the table's last digit) lies on it. X, Y, Z are taken
// as illuminant-C values whatever illuminant is selected.
//
// Units: X, Y, Z with white Y = 100; x, y chromaticity fractions; hue on the
// 0..100 circle, value 0..10, chroma 0 upwards.
//
// A cell (k, j) at value v is the quadrilateral A = (v, k, j), B = (v, k+1, j),
// C = (v, k+1, j+1), D = (v, k, j+1), traversed clockwise; for j = 0, A and B
// are both the white, so the cell is a triangle.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

#include <cstdint>

namespace huelinx {

// Point-in-quadrilateral test on chromaticities: true (inside) when for no
// directed edge U to W of A, B, C, D the cross product
// (Uy - Wy)(px - Ux) + (Wx - Ux)(py - Uy) is above 0, so points on an edge
// count as inside. For A (0,0), B (0,1), C (1,1), D (1,0), (0.5, 0.5) and
// (1, 1) are inside and (1.5, 0.5) is not.
[[nodiscard]] bool inquad(float px, float py, float Ax, float Ay, float Bx, float By, float Cx,
                          float Cy, float Dx, float Dy);

// The first cell at table level v (0..14, MunTable::levelValue) that holds
// chromaticity (x, y), searching hue index ascending and within a hue chroma
// index ascending, each hue up to the ring where its data ends. Not found (or
// v outside 0..14):
// k = 40, j = 0. The white lies in cell (0, 0).
[[nodiscard]] CellPosition findcell(float x, float y, std::int16_t v, const MunTable& table);

struct HueChroma {
    float H = 0; // hue on the 0..100 circle
    float C = 0; // chroma
};

// Hue H and chroma C of chromaticity (x, y) inside cell (k, j) at table
// level v: 50 bisection rounds across the hue, then 50 across the chroma,
// each keeping the half on the point's side of the dividing line, and the
// fractions of the last midpoints along the outer and the hue edge. H lies
// in 2.5 k .. 2.5 (k + 1) and C in 2 j .. 2 (j + 1); a point on an edge of
// the cell gives that edge's hue or chroma.
[[nodiscard]] HueChroma cellsplit(float x, float y, std::int16_t v, std::int16_t k, std::int16_t j,
                                  const MunTable& table);

enum class MunsellFit {
    InData,      // found in the data at the sample's value (or, where the cells between
                 // the two levels around it miss it, at both levels: their blend)
    OneLevel,    // found at one of the two levels around it only; that level's hue and chroma
    OutsideData, // found at neither level: no hue or chroma (both 0)
    NotANumber,  // X, Y, Z not finite, or X + Y + Z = 0: H = C = 0
};

struct MunsellOfXyz {
    MunsellFit fit = MunsellFit::NotANumber;
    float H = 0; // hue on the 0..100 circle, below 100
    float V = 0; // value; 0 for X, Y, Z not finite
    float C = 0; // chroma
};

// Munsell notation of X, Y, Z (white Y = 100, illuminant C; a negative Y is
// taken as 0). A value of 10 or more uses the value-10 level alone.
// X, Y, Z = 65.10, 70.37, 15.75 gives 6.39Y 8.60/10.40 to two decimals.
[[nodiscard]] MunsellOfXyz xyz2mun(float X, float Y, float Z, const MunTable& table,
                                   const ColourSettings& s);

} // namespace huelinx
