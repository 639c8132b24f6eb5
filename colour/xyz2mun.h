// CIE X, Y, Z to Munsell hue, value and chroma.
//
// The value comes from Y through the inverse value function. Hue and chroma
// are found in the chromaticity diagram: the search finds the table cell
// whose four grid points enclose the sample's x, y and places the sample in
// it by Newton steps on the cell's bilinear map, in double precision.
// Between two levels the cells are those of the two levels blended by the
// value's fraction, grid point by grid point, as the Munsell-to-CIE
// interpolation blends them; so the notation found converts back to the
// sample's X, Y, Z (to a relative 1e-7, checked by that conversion). A point
// on the rim of the data (within a tenth of the table's last digit) lies on
// it. X, Y, Z are taken as illuminant-C values whatever illuminant is
// selected.
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
#include <limits>

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
    double H = 0; // hue on the 0..100 circle
    double C = 0; // chroma
};

// Hue H and chroma C of chromaticity (x, y) in cell (k, j) at table level v:
// the inverse of the cell's bilinear map (fh along the hue, fc along the
// chroma), by Newton steps in double precision from its closed form, or by
// bisection where the map is singular (the white corner of the innermost
// ring). H lies in 2.5 k .. 2.5 (k + 1) and C in 2 j .. 2 (j + 1); a point on
// (or outside) an edge of the cell gives that edge's hue or chroma.
[[nodiscard]] HueChroma cellsplit(double x, double y, std::int16_t v, std::int16_t k,
                                  std::int16_t j, const MunTable& table);

enum class MunsellFit {
    // Found in the data at the sample's value (or on its rim); the forward
    // conversion takes the notation.
    InData,
    // No notation at the sample's value converts to it: the data of the two
    // levels around it, blended, don't reach it (also when one of the two
    // levels alone holds it). No hue or chroma (both 0).
    OutsideData,
    NotANumber, // X, Y, Z not finite, or X + Y + Z = 0: H = C = 0
};

struct MunsellOfXyz {
    MunsellFit fit = MunsellFit::NotANumber;
    double H = 0; // hue on the 0..100 circle, below 100
    double V = 0; // value; 0 for X, Y, Z not finite
    double C = 0; // chroma
    // InData: how far the forward conversion of H, V, C (illuminant C, the
    // PWD setting as given) lies from X, Y, Z, max |dX_i| / max(X, Y, Z):
    // at most 1e-7 inside the data, more on its rim and for a colour that
    // took a nearby level's notation; from value 10 on, of
    // the sample at value 10's luminance. Infinity otherwise.
    double residual = std::numeric_limits<double>::infinity();
};

// Munsell notation of X, Y, Z (white Y = 100, illuminant C; a negative Y is
// taken as 0). A value of 10 or more uses the value-10 level alone. A value
// whose level's luminance gives Y within 1e-7 takes that level; so does a
// value within 0.005 of a level when the two levels around it, blended, don't
// reach the colour but that level's data do (the data's own points at their
// printed Y lie that close to their level).
// X, Y, Z = 65.10, 70.37, 15.75 gives 6.39Y 8.60/10.40 to two decimals.
[[nodiscard]] MunsellOfXyz xyz2mun(double X, double Y, double Z, const MunTable& table,
                                   const ColourSettings& s);

} // namespace huelinx
