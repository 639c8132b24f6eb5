#include "colour/colorimetry.h"

#include <cmath>

namespace huelinx {

namespace {

constexpr double pwdFactor = 0.975;

// Value polynomial coefficients, held as single precision for the inverse.
constexpr float c1 = 1.2219f, c2 = -0.23111f, c3 = 0.23951f, c4 = -0.021009f, c5 = 0.0008404f;

constexpr float bradford[3][3] = {
    {0.8951f, 0.2664f, -0.1614f},
    {-0.7502f, 1.7135f, 0.0367f},
    {0.0389f, -0.0685f, 1.0296f},
};
constexpr float bradfordInverse[3][3] = {
    {0.9869929f, -0.14705426f, 0.15996265f},
    {0.43230528f, 0.51836026f, 0.049291227f},
    {-0.008528665f, 0.04004282f, 0.96848667f},
};

struct Vec3 {
    float v[3];
};

Vec3 multiply(const float (&m)[3][3], const Vec3& in) {
    Vec3 out{};
    for (int r = 0; r < 3; ++r)
        out.v[r] = m[r][0] * in.v[0] + m[r][1] * in.v[1] + m[r][2] * in.v[2];
    return out;
}

// f of the L*a*b* formulas for one ratio to the white.
double labF(double ratio) {
    if (ratio > 0.008856) return std::pow(ratio, 0.333333);
    return 7.787 * ratio + 16.0 / 116.0;
}

} // namespace

float val2y(float V, const ColourSettings& s) {
    const double v = V;
    const double poly = 1.2219 * v - 0.23111 * v * v + 0.23951 * v * v * v -
                        0.021009 * v * v * v * v + 0.0008404 * v * v * v * v * v;
    float Y = static_cast<float>(poly);
    if (s.pwd) Y = static_cast<float>(static_cast<double>(Y) * pwdFactor);
    return Y;
}

ValueOfY y2val(float Y, const ColourSettings& s) {
    if (Y < 0.0f) Y = 0.0f;
    float target = Y;
    if (s.pwd) target = static_cast<float>(static_cast<double>(Y) / pwdFactor);
    float v = static_cast<float>(std::sqrt(static_cast<double>(target)));
    for (int step = 0; step < 15; ++step) {
        const float f = c1 * v + c2 * v * v + c3 * v * v * v + c4 * v * v * v * v +
                        c5 * v * v * v * v * v - target;
        const float df = c1 + 2.0f * c2 * v + 3.0f * c3 * v * v + 4.0f * c4 * v * v * v +
                         5.0f * c5 * v * v * v * v;
        v = v - f / df;
    }
    return {v, Y};
}

LabOfXyz xyzlab(float X, float Y, float Z, const ColourSettings& s) {
    const Tristimulus w = whiteOf(s.illuminant);
    // Each is raised to 0.01 of the white's share (0.01 for Y), so that no
    // light at all is the darkest grey, with a* = b* = 0.
    const float floorX = static_cast<float>(0.01 * w.X / w.Y),
                floorZ = static_cast<float>(0.01 * w.Z / w.Y);
    if (X < floorX) X = floorX;
    if (Y < 0.01f) Y = 0.01f;
    if (Z < floorZ) Z = floorZ;
    const double fx = labF(static_cast<double>(X) / w.X);
    const double fy = labF(static_cast<double>(Y) / w.Y);
    const double fz = labF(static_cast<double>(Z) / w.Z);
    LabOfXyz lab;
    lab.L = static_cast<float>(116.0 * fy - 16.0);
    lab.a = static_cast<float>(500.0 * (fx - fy));
    lab.b = static_cast<float>(200.0 * (fy - fz));
    lab.raised = {X, Y, Z};
    return lab;
}

std::optional<Tristimulus> labxyz(float L, float a, float b) {
    if (!(L >= -16.0f)) return std::nullopt;
    const double q = (static_cast<double>(L) + 16.0) / 116.0;
    const float y = static_cast<float>(q * q * q * 100.0);
    const double t = std::pow(static_cast<double>(y) / 100.0, 0.333333);
    const double tx = t + static_cast<double>(a) / 500.0;
    const double tz = t - static_cast<double>(b) / 200.0;
    return Tristimulus{static_cast<float>(tx * tx * tx * 98.04), y,
                       static_cast<float>(tz * tz * tz * 118.1)};
}

std::optional<Tristimulus> xyzconv(Tristimulus sample, Tristimulus white1, Tristimulus white2) {
    const float X = sample.X, Y = sample.Y, Z = sample.Z;
    if (Y == 0.0f || white1.Y == 0.0f || white2.Y == 0.0f) return std::nullopt;
    const Vec3 src = multiply(bradford, Vec3{{white1.X / white1.Y, 1.0f, white1.Z / white1.Y}});
    const Vec3 dst = multiply(bradford, Vec3{{white2.X / white2.Y, 1.0f, white2.Z / white2.Y}});
    Vec3 cone = multiply(bradford, Vec3{{X / Y, Y / Y, Z / Y}});
    for (int i = 0; i < 3; ++i)
        cone.v[i] = cone.v[i] * dst.v[i] / src.v[i] * Y;
    const Vec3 out = multiply(bradfordInverse, cone);
    return Tristimulus{out.v[0], out.v[1], out.v[2]};
}

std::optional<CieColour> xyzconvert(Adaptation direction, float X, float Y, float Z,
                                    const ColourSettings& s) {
    const Tristimulus c = whiteOf(Illuminant::C);
    const Tristimulus selected = whiteOf(s.illuminant);
    const bool forward = direction == Adaptation::FromC;
    const Tristimulus from = forward ? c : selected;
    const Tristimulus to = forward ? selected : c;
    const auto adapted = xyzconv({X, Y, Z}, from, to);
    if (!adapted) return std::nullopt;
    const float sum = adapted->X + adapted->Y + adapted->Z;
    if (sum == 0.0f) return std::nullopt;
    CieColour out;
    out.X = adapted->X;
    out.Y = adapted->Y;
    out.Z = adapted->Z;
    out.x = out.X / sum;
    out.y = out.Y / (out.Y + out.X + out.Z);
    return out;
}

} // namespace huelinx
