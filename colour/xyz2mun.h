// CIE X, Y, Z to Munsell hue, value and chroma.
//
// The value comes from Y through the inverse value function. Hue and chroma
// are found in the chromaticity diagram: at each of the two integer values
// that bracket the sample's value, the search finds the table cell whose four
// grid points enclose the sample's x, y and bisects it to place the sample;
// the two results are blended by the fractional part of the value. X, Y, Z
// are taken as illuminant-C values whatever illuminant is selected.
//
// A cell (k, j) at value v is the quadrilateral A = (v, k, j), B = (v, k+1, j),
// C = (v, k+1, j+1), D = (v, k, j+1), traversed clockwise; for j = 0, A and B
// are both the white, so the cell is a triangle.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

#include <cstdint>

namespace huelinx {

// Point-in-quadrilateral test: inside (-1) when for no directed edge U to W of
// A, B, C, D the cross product (Uy - Wy)(px - Ux) + (Wx - Ux)(py - Uy) is above
// 0; points on an edge count as inside. Otherwise 0.
void inquad(float px, float py, float Ax, float Ay, float Bx, float By, float Cx, float Cy,
            float Dx, float Dy, std::int16_t& inside);

// The first cell at value v that holds (x, y), searching hue index ascending
// and within a hue chroma index ascending, each hue up to the ring where its
// data ends. Not found: k = 40, j = 0.
void findcell(float x, float y, std::int16_t v, std::int16_t& k, std::int16_t& j,
              const MunTable& table);

// Hue H and chroma C of (x, y) inside cell (k, j) at value v: 50 bisection
// rounds across the hue, then 50 across the chroma, and the fractions of the
// last midpoints along the outer and the hue edge.
void cellsplit(float x, float y, std::int16_t v, std::int16_t k, std::int16_t j, float& H, float& C,
               const MunTable& table);

enum class MunsellFit {
    InData,      // found in the data at both value levels
    OneLevel,    // found at one level only; that level's hue and chroma
    OutsideData, // found at neither level: the blend of the two ends of the search
    NotANumber,  // X, Y, Z not finite, or X + Y + Z = 0: H = C = 0
};

// Munsell notation of X, Y, Z (Y raised to 0 in place if negative). A value of
// 10 or more uses the value-10 level alone. The hue is on the 0..100 circle.
MunsellFit xyz2mun(float& H, float& V, float& C, float X, float& Y, float Z, const MunTable& table,
                   const ColourSettings& s);

} // namespace huelinx
