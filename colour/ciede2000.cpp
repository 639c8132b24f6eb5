#include "colour/ciede2000.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace huelinx {

namespace {

constexpr double degree = std::numbers::pi / 180.0;
constexpr double pow25To7 = 6103515625.0; // 25^7

double toRadians(double degrees) {
    return degrees * degree;
}

// sqrt(C^7 / (C^7 + 25^7)): how far a chroma is from the greys, 0..1.
double chromaRamp(double chroma) {
    const double c2 = chroma * chroma;
    const double c7 = c2 * c2 * c2 * chroma;
    if (std::isinf(c7)) return 1.0;
    return std::sqrt(c7 / (c7 + pow25To7));
}

// Hue angle of a', b in degrees, 0..360; 0 where both are 0.
double hueAngle(double aPrime, double b) {
    if (aPrime == 0.0 && b == 0.0) return 0.0;
    const double h = std::atan2(b, aPrime) / degree;
    return h < 0.0 ? h + 360.0 : h;
}

struct Primed {
    double C = 0, h = 0;
};

Primed primed(const Lab& c, double aScale) {
    const double a = c.a * aScale;
    return {std::sqrt(a * a + c.b * c.b), hueAngle(a, c.b)};
}

// The hue difference h2 - h1 taken the short way round; 0 when either chroma is 0.
double hueDifference(const Primed& p1, const Primed& p2) {
    if (p1.C * p2.C == 0.0) return 0.0;
    const double d = p2.h - p1.h;
    if (d > 180.0) return d - 360.0;
    if (d < -180.0) return d + 360.0;
    return d;
}

// The mean hue on the short arc between the two; their sum when either chroma is 0.
double meanHue(const Primed& p1, const Primed& p2) {
    const double sum = p1.h + p2.h;
    if (p1.C * p2.C == 0.0) return sum;
    if (std::abs(p1.h - p2.h) <= 180.0) return sum / 2.0;
    return sum < 360.0 ? (sum + 360.0) / 2.0 : (sum - 360.0) / 2.0;
}

double hueWeightT(double h) {
    return 1.0 - 0.17 * std::cos(toRadians(h - 30.0)) + 0.24 * std::cos(toRadians(2.0 * h)) +
           0.32 * std::cos(toRadians(3.0 * h + 6.0)) - 0.20 * std::cos(toRadians(4.0 * h - 63.0));
}

double rotationTerm(double meanC, double meanH) {
    const double t = (meanH - 275.0) / 25.0;
    const double dTheta = 30.0 * std::exp(-t * t);
    return -std::sin(toRadians(2.0 * dTheta)) * 2.0 * chromaRamp(meanC);
}

// The largest |sin(2 delta theta)|: delta theta never exceeds 30 degrees.
const double largestRotationSine = std::sin(toRadians(60.0));

} // namespace

double lightnessWeight(double meanL) {
    const double d = (meanL - 50.0) * (meanL - 50.0);
    return 1.0 + 0.015 * d / std::sqrt(20.0 + d);
}

double ciede2000(const Lab& reference, const Lab& sample, const De2000Weights& w) {
    const double meanCab = (withChroma(reference).chroma + withChroma(sample).chroma) / 2.0;
    const double aScale = 1.0 + 0.5 * (1.0 - chromaRamp(meanCab));
    const Primed p1 = primed(reference, aScale);
    const Primed p2 = primed(sample, aScale);

    const double dL = sample.L - reference.L;
    const double dC = p2.C - p1.C;
    const double dH =
        2.0 * std::sqrt(p1.C * p2.C) * std::sin(toRadians(hueDifference(p1, p2) / 2.0));

    const double meanC = (p1.C + p2.C) / 2.0;
    const double meanH = meanHue(p1, p2);
    const double sC = 1.0 + 0.045 * meanC;
    const double sH = 1.0 + 0.015 * meanC * hueWeightT(meanH);

    const double l = dL / (w.kL * lightnessWeight((reference.L + sample.L) / 2.0));
    const double c = dC / (w.kC * sC);
    const double h = dH / (w.kH * sH);
    return std::sqrt(l * l + c * c + h * h + rotationTerm(meanC, meanH) * c * h);
}

LabChroma withChroma(const Lab& colour) {
    return {colour, std::sqrt(colour.a * colour.a + colour.b * colour.b)};
}

double ciede2000LowerBoundSquared(const LabChroma& colour, const LabBox& box,
                                  const De2000Weights& w) {
    const Lab& q = colour.lab;
    const auto gap = [](double low, double high, double x) {
        return std::max({0.0, low - x, x - high});
    };
    // S_L falls towards L* = 50 and rises beyond: largest at an end of the box.
    const double sL =
        std::max(lightnessWeight((q.L + box.lowL) / 2.0), lightnessWeight((q.L + box.highL) / 2.0));
    const double l = gap(box.lowL, box.highL, q.L) / (w.kL * sL);
    // C' is at most 1.5 C*ab, so S_C and the rotation are at most those of 1.5 times the mean.
    const double meanC = 0.75 * (colour.chroma + box.highChroma);
    const double sC = std::max(w.kC, w.kH) * (1.0 + 0.045 * meanC);
    const double rotation = 2.0 * chromaRamp(meanC) * largestRotationSine;
    const double da = gap(box.lowA, box.highA, q.a), db = gap(box.lowB, box.highB, q.b);
    return l * l + (1.0 - rotation / 2.0) * (da * da + db * db) / (sC * sC);
}

double ciede2000LowerBoundSquared(const LabChroma& reference, const LabChroma& sample,
                                  const De2000Weights& w) {
    const Lab& s = sample.lab;
    return ciede2000LowerBoundSquared(reference, {s.L, s.L, s.a, s.a, s.b, s.b, sample.chroma}, w);
}

} // namespace huelinx
