#include "colour/mun2xyz.h"

#include "colour/colorimetry.h"

#include <cmath>

namespace huelinx {

namespace {

double lerp(double a, double b, double f) {
    return a + (b - a) * f;
}

// A grey: the selected illuminant's own white at the value's Y, with nothing
// to interpolate or adapt.
CieOfMunsell neutral(double value, const ColourSettings& s) {
    const Tristimulus w = whiteOf(s.illuminant);
    CieOfMunsell out;
    out.status = MunsellToCie::Ok;
    out.value = value;
    out.Y = val2y(value, s);
    out.X = out.Y * w.X / w.Y;
    out.Z = out.Y * w.Z / w.Y;
    const double sum = double{w.X} + w.Y + w.Z;
    out.x = w.X / sum;
    out.y = w.Y / sum;
    return out;
}

} // namespace

CieOfMunsell mun2xyz(double hue, double value, double chroma, const MunTable& table,
                     const ColourSettings& s) {
    // The table ends at value 10.
    if (value > 10.0) value = 10.0;
    CieOfMunsell out;
    out.value = value;
    const double hh = hue / 2.5, cc = chroma / 2.0;
    const double kf = std::floor(hh), jf = std::floor(cc);
    const double fh = hh - kf, fc = cc - jf;
    // Also false for a NaN. Value 10 is the top level itself.
    if (!(kf >= 0.0 && kf + 1.0 < MunTable::hueCount && value >= 0.0 && jf >= 0.0 &&
          jf + 1.0 < MunTable::chromaCount))
        return out;
    // The value's two levels: below 1 the data's levels 0.2 apart, above it
    // the whole values.
    const LevelPosition level = levelOf(value);
    const double fv = level.f;
    const int k = static_cast<int>(kf), v = level.lower, j = static_cast<int>(jf);
    if (chroma == 0.0) return neutral(value, s);

    // The eight corners around the notation. A corner whose weight is 0 (the
    // notation lies on the lower grid line of that axis) is not needed: the
    // corner on the grid line stands in for it, which leaves the result as it
    // is (a + (b - a) x 0 is a) and lets the data's last chroma, last hue and
    // top value convert where the data end.
    const int da = fv > 0.0 ? 1 : 0, db = fh > 0.0 ? 1 : 0, dd = fc > 0.0 ? 1 : 0;
    double px[2][2][2], py[2][2][2];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int d = 0; d < 2; ++d) {
                const int va = v + a * da, kb = k + b * db, jd = j + d * dd;
                if (table.at(va, kb, jd, 0) == 0) {
                    out.status = MunsellToCie::OutsideData;
                    return out;
                }
                px[a][b][d] = table.exactX(va, kb, jd);
                py[a][b][d] = table.exactY(va, kb, jd);
            }
    double rx[2], ry[2];
    for (int a = 0; a < 2; ++a) {
        const double qx0 = lerp(px[a][0][0], px[a][1][0], fh),
                     qx1 = lerp(px[a][0][1], px[a][1][1], fh);
        const double qy0 = lerp(py[a][0][0], py[a][1][0], fh),
                     qy1 = lerp(py[a][0][1], py[a][1][1], fh);
        rx[a] = lerp(qx0, qx1, fc);
        ry[a] = lerp(qy0, qy1, fc);
    }
    const double sx = lerp(rx[0], rx[1], fv), sy = lerp(ry[0], ry[1], fv);
    if (sy == 0.0) {
        out.status = MunsellToCie::OutsideData;
        return out;
    }
    out.status = MunsellToCie::Ok;
    out.x = sx;
    out.y = sy;
    out.Y = val2y(value, s);
    out.X = out.Y * sx / sy;
    out.Z = out.Y / sy - out.X - out.Y;
    // Black (value 0) has nothing to adapt.
    if (s.illuminant != Illuminant::C && out.Y != 0.0) {
        if (const auto adapted = xyzconvert(Adaptation::FromC, out.X, out.Y, out.Z, s))
            static_cast<CieColour&>(out) = *adapted;
    }
    return out;
}

} // namespace huelinx
