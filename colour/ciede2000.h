// The CIEDE2000 colour difference between two CIE L*a*b* colours, computed in
// double precision. kL, kC and kH weight the lightness, chroma and hue terms
// (1 each for the reference conditions).
//
// Where a hue angle is undefined (a' = b = 0) it is taken as 0; when either
// colour has chroma 0 the hue difference is 0 and the mean hue is the sum of
// the two hue angles.
#pragma once

namespace huelinx {

struct Lab {
    double L = 0, a = 0, b = 0;
};

struct De2000Weights {
    double kL = 1, kC = 1, kH = 1;
};

// CIEDE2000 from `reference` to `sample`; symmetric in the two colours.
// 50, 2.6772, -79.7751 against 50, 0, -82.7485 gives 2.0425.
[[nodiscard]] double ciede2000(const Lab& reference, const Lab& sample,
                               const De2000Weights& weights = {});

// The lightness weighting function S_L at mean lightness L (1 at L = 50).
[[nodiscard]] double lightnessWeight(double meanL);

// A colour with its chroma C*ab = sqrt(a*^2 + b*^2), worked out once for
// the lower bound below.
struct LabChroma {
    Lab lab;
    double chroma = 0;
};
[[nodiscard]] LabChroma withChroma(const Lab& colour);

// The colours of a box in L*a*b*, with the largest chroma C*ab among them.
struct LabBox {
    double lowL = 0, highL = 0, lowA = 0, highA = 0, lowB = 0, highB = 0;
    double highChroma = 0;
};

// The square of a lower bound of ciede2000(colour, c, weights) for every
// colour c in `box`, that costs a few multiplications and three square
// roots: the lightness term for the nearest L* of the box (S_L at its largest
// there), plus what the chroma and hue terms give at least for the a*b*
// distance to the box (a' stretches a* by 1 to 1.5, S_H never exceeds S_C, and
// the rotation term at its largest for the box's largest chroma). Never above
// the square of the full difference, beyond rounding far below 1e-9.
[[nodiscard]] double ciede2000LowerBoundSquared(const LabChroma& colour, const LabBox& box,
                                                const De2000Weights& weights = {});
// The same bound for one colour: a box holding `sample` alone.
[[nodiscard]] double ciede2000LowerBoundSquared(const LabChroma& reference, const LabChroma& sample,
                                                const De2000Weights& weights = {});

} // namespace huelinx
