#include "colour/colorimetry.h"

#include "colour/matrix3.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace huelinx {

namespace {

constexpr double pwdFactor = 0.975;

constexpr Matrix3 bradford{{
    {0.8951, 0.2664, -0.1614},
    {-0.7502, 1.7135, 0.0367},
    {0.0389, -0.0685, 1.0296},
}};
// The exact inverse, so that adapting there and back gives the sample.
constexpr Matrix3 bradfordInverse = inverseOf(bradford);

// CIE 1976: below epsilon the cube root gives way to a straight line through
// 16/116 that meets it at epsilon with the same slope.
constexpr double labEpsilon = 216.0 / 24389.0;
constexpr double labKappa = 24389.0 / 27.0;

// f of the L*a*b* formulas for one ratio to the white; a negative ratio
// (a negative X, Y or Z) goes through the straight line.
double labF(double ratio) {
    if (ratio > labEpsilon) return std::cbrt(ratio);
    return (labKappa * ratio + 16.0) / 116.0;
}

// The inverse of labF: the ratio to the white.
double labFInverse(double f) {
    if (f > 6.0 / 29.0) return f * f * f;
    return (116.0 * f - 16.0) / labKappa;
}

// The value polynomial's coefficients, of v to v^5.
constexpr double c1 = 1.2219, c2 = -0.23111, c3 = 0.23951, c4 = -0.021009, c5 = 0.0008404;

double valuePolynomial(double v) {
    return v * (c1 + v * (c2 + v * (c3 + v * (c4 + v * c5))));
}

double valueSlope(double v) {
    return c1 + v * (2 * c2 + v * (3 * c3 + v * (4 * c4 + v * 5 * c5)));
}

} // namespace

double val2y(double V, const ColourSettings& s) {
    const double Y = valuePolynomial(V);
    return s.pwd ? Y * pwdFactor : Y;
}

ValueOfY y2val(double Y, const ColourSettings& s) {
    if (Y < 0.0) Y = 0.0;
    const double target = s.pwd ? Y / pwdFactor : Y;
    if (!(target <= maximumValueY)) return {std::numeric_limits<double>::quiet_NaN(), Y};
    // Up to value 10 sqrt(Y) is close; beyond, the fifth power leads. Newton
    // then takes at most six steps; the bound keeps a not-a-number input from
    // looping.
    double v = target <= 102.568 ? std::sqrt(target) : std::pow(target / c5, 0.2);
    for (int step = 0; step < 15; ++step) {
        const double dv = (valuePolynomial(v) - target) / valueSlope(v);
        v -= dv;
        if (!(std::abs(dv) > 1e-13 * std::max(1.0, v))) break;
    }
    return {v, Y};
}

LabOfXyz xyzlab(double X, double Y, double Z, const ColourSettings& s) {
    const Tristimulus w = whiteOf(s.illuminant);
    const double fx = labF(X / w.X);
    const double fy = labF(Y / w.Y);
    const double fz = labF(Z / w.Z);
    LabOfXyz lab;
    lab.L = static_cast<float>(116.0 * fy - 16.0);
    lab.a = static_cast<float>(500.0 * (fx - fy));
    lab.b = static_cast<float>(200.0 * (fy - fz));
    lab.raised = {static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z)};
    return lab;
}

std::optional<Tristimulus> labxyz(double L, double a, double b, const Tristimulus& white) {
    if (!(L >= 0.0)) return std::nullopt;
    const double fy = (L + 16.0) / 116.0;
    return Tristimulus{static_cast<float>(white.X * labFInverse(fy + a / 500.0)),
                       static_cast<float>(white.Y * labFInverse(fy)),
                       static_cast<float>(white.Z * labFInverse(fy - b / 200.0))};
}

namespace {

// Bradford adaptation of X, Y, Z from white1 to white2 in double precision;
// no value when the sample or a white has Y = 0.
std::optional<Vector3> adapt(double X, double Y, double Z, Tristimulus white1, Tristimulus white2) {
    if (Y == 0.0 || white1.Y == 0.0f || white2.Y == 0.0f) return std::nullopt;
    const Vector3 src =
        bradford * Vector3{double{white1.X} / white1.Y, 1.0, double{white1.Z} / white1.Y};
    const Vector3 dst =
        bradford * Vector3{double{white2.X} / white2.Y, 1.0, double{white2.Z} / white2.Y};
    Vector3 cone = bradford * Vector3{X / Y, 1.0, Z / Y};
    for (int i = 0; i < 3; ++i)
        cone[i] = cone[i] * dst[i] / src[i] * Y;
    return bradfordInverse * cone;
}

} // namespace

std::optional<Tristimulus> xyzconv(Tristimulus sample, Tristimulus white1, Tristimulus white2) {
    const auto out = adapt(sample.X, sample.Y, sample.Z, white1, white2);
    if (!out) return std::nullopt;
    return Tristimulus{static_cast<float>((*out)[0]), static_cast<float>((*out)[1]),
                       static_cast<float>((*out)[2])};
}

std::optional<CieColour> xyzconvert(Adaptation direction, double X, double Y, double Z,
                                    const ColourSettings& s) {
    const Tristimulus c = whiteOf(Illuminant::C);
    const Tristimulus selected = whiteOf(s.illuminant);
    const bool forward = direction == Adaptation::FromC;
    const Tristimulus from = forward ? c : selected;
    const Tristimulus to = forward ? selected : c;
    const auto adapted = adapt(X, Y, Z, from, to);
    if (!adapted) return std::nullopt;
    CieColour out;
    out.X = (*adapted)[0];
    out.Y = (*adapted)[1];
    out.Z = (*adapted)[2];
    const double sum = out.X + out.Y + out.Z;
    if (sum == 0.0) return std::nullopt;
    out.x = out.X / sum;
    out.y = out.Y / sum;
    return out;
}

} // namespace huelinx
