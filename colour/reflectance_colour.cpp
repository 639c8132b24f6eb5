#include "colour/reflectance_colour.h"

#include "text/number_format.h"

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

// CIE 1976 f(t): the cube root above (6/29)^3, the straight line below.
double labF(double t) {
    constexpr double e = 216.0 / 24389.0, kappa = 24389.0 / 27.0;
    return t > e ? std::cbrt(t) : (kappa * t + 16.0) / 116.0;
}

} // namespace

SpectralWeights spectralWeights(const photo::Spectrum& light, const ObserverFunctions& observer) {
    SpectralWeights w;
    double sumY = 0;
    for (int i = 0; i < photo::spectralCount; ++i)
        sumY += light[i] * observer.y[i];
    const double k = sumY > 0 ? 100.0 / sumY : 0.0;
    for (int i = 0; i < photo::spectralCount; ++i) {
        w.x[i] = k * light[i] * observer.x[i];
        w.y[i] = k * light[i] * observer.y[i];
        w.z[i] = k * light[i] * observer.z[i];
        w.whiteX += w.x[i];
        w.whiteY += w.y[i];
        w.whiteZ += w.z[i];
    }
    return w;
}

std::optional<SpectralWeights> spectralWeights(const SpectralTables& tables,
                                               std::string_view illuminant, int observer) {
    const photo::Spectrum* light = tables.illuminant(illuminant);
    const ObserverFunctions* functions = tables.observer(observer);
    if (!light || !functions) return std::nullopt;
    return spectralWeights(*light, *functions);
}

SpectralColour spectralColour(const photo::Spectrum& reflectance, const SpectralWeights& w) {
    SpectralColour c;
    for (int i = 0; i < photo::spectralCount; ++i) {
        c.X += w.x[i] * reflectance[i];
        c.Y += w.y[i] * reflectance[i];
        c.Z += w.z[i] * reflectance[i];
    }
    // A light without power (all zero) has no white to compare with.
    if (w.whiteX <= 0 || w.whiteY <= 0 || w.whiteZ <= 0) return c;
    const double fx = labF(c.X / w.whiteX), fy = labF(c.Y / w.whiteY), fz = labF(c.Z / w.whiteZ);
    c.lab = {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
    return c;
}

photo::Spectrum fiveNanometreSpectrum(const Reflectance& reading) {
    // Index i of a reading stands for 350 + 10 i nm: 380 nm is index 3, 750 nm index 40.
    constexpr int first = 3, last = 40;
    photo::Spectrum s{};
    for (int i = 0; i < photo::spectralCount; ++i) {
        const int nm = photo::spectralFirstNm + i * photo::spectralStepNm;
        const int below = std::min(first + (nm - 380) / 10, last);
        const bool between = nm % 10 != 0 && below < last;
        const double percent = between
                                   ? (static_cast<double>(reading[below]) + reading[below + 1]) / 2
                                   : reading[below];
        s[i] = percent / 100.0;
    }
    return s;
}

SpectralColour spectralColour(const Reflectance& reading, const SpectralWeights& weights) {
    return spectralColour(fiveNanometreSpectrum(reading), weights);
}

std::string spectralColourText(const SpectralColour& c) {
    const auto two = [](double v) { return formatNumber(v, "0.00"); };
    return "X " + two(c.X) + " Y " + two(c.Y) + " Z " + two(c.Z) + "  L*a*b* " + two(c.lab.L) +
           " " + two(c.lab.a) + " " + two(c.lab.b);
}

} // namespace huelinx
