// The chart's known colours, and the correction fitted from its readings.
#include "photo/calibration.h"

#include "colour/ciede2000.h"
#include "colour/colorimetry.h"
#include "photo/wavelength_tables.h"
#include "text/number_format.h"

#include <algorithm>
#include <cmath>

namespace huelinx::photo {

namespace {

constexpr int maxTerms = 6;
using Terms = std::array<double, maxTerms>;
using Weights = std::vector<std::array<double, 3>>;

int termCount(FitKind kind) {
    return kind == FitKind::Matrix3x3 ? 3 : 6;
}

Terms termsOf(FitKind kind, const LinearRgb& c) {
    Terms t{c.r, c.g, c.b, 0, 0, 0};
    if (kind == FitKind::RootPolynomial2) {
        t[3] = std::sqrt(std::max(c.r * c.g, 0.0));
        t[4] = std::sqrt(std::max(c.g * c.b, 0.0));
        t[5] = std::sqrt(std::max(c.r * c.b, 0.0));
    }
    return t;
}

Tristimulus applyWeights(const Weights& w, FitKind kind, const LinearRgb& rgb) {
    const Terms t = termsOf(kind, rgb);
    double xyz[3] = {0, 0, 0};
    const std::size_t n = std::min<std::size_t>(w.size(), termCount(kind));
    for (std::size_t k = 0; k < n; ++k)
        for (int j = 0; j < 3; ++j)
            xyz[j] += w[k][j] * t[k];
    return {static_cast<float>(xyz[0]), static_cast<float>(xyz[1]), static_cast<float>(xyz[2])};
}

// Least squares over the patches not left out: the normal equations solved by
// elimination with partial pivoting. None when the readings do not determine
// the weights (too few distinct colours).
std::optional<Weights> leastSquares(const ChartReading& reading,
                                    const std::array<Tristimulus, chartPatches>& reference,
                                    FitKind kind, int leftOut) {
    const int n = termCount(kind);
    double a[maxTerms][maxTerms + 3] = {};
    for (int i = 0; i < chartPatches; ++i) {
        if (i == leftOut) continue;
        const Terms t = termsOf(kind, reading.patches[i]);
        const double target[3] = {reference[i].X, reference[i].Y, reference[i].Z};
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                a[r][c] += t[r] * t[c];
            for (int j = 0; j < 3; ++j)
                a[r][n + j] += t[r] * target[j];
        }
    }
    double scale = 0;
    for (int r = 0; r < n; ++r)
        scale = std::max(scale, std::abs(a[r][r]));
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        if (!(std::abs(a[pivot][col]) > 1e-12 * scale)) return std::nullopt;
        std::swap(a[pivot], a[col]);
        for (int r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = a[r][col] / a[col][col];
            for (int c = col; c < n + 3; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    Weights w(n);
    for (int k = 0; k < n; ++k)
        for (int j = 0; j < 3; ++j)
            w[k][j] = a[k][n + j] / a[k][k];
    return w;
}

double difference(const Tristimulus& known, const Tristimulus& fitted) {
    const ColourSettings illuminantC;
    const LabOfXyz p = xyzlab(known.X, known.Y, known.Z, illuminantC);
    const LabOfXyz q = xyzlab(fitted.X, fitted.Y, fitted.Z, illuminantC);
    return ciede2000({p.L, p.a, p.b}, {q.L, q.a, q.b});
}

double brightness(const LinearRgb& c) {
    return c.r + c.g + c.b;
}

std::string joinedLabels(const std::vector<int>& patches) {
    std::string text;
    for (std::size_t k = 0; k < patches.size(); ++k) {
        if (k > 0) text += k + 1 == patches.size() ? " and " : ", ";
        text += patchLabel(patches[k]);
    }
    return text;
}

// Why the readings can't be fitted: clipped patches, greys out of order.
std::optional<std::string> refusal(const ChartReading& reading) {
    std::vector<int> clipped;
    for (int i = 0; i < chartPatches; ++i)
        if (reading.clipped[i]) clipped.push_back(i);
    if (clipped.size() == 1) return "The chart's " + joinedLabels(clipped) + " is clipped.";
    if (!clipped.empty()) return "The chart's " + joinedLabels(clipped) + " are clipped.";
    for (int i = greyRowFirst + 1; i < chartPatches; ++i)
        if (!(brightness(reading.patches[i]) < brightness(reading.patches[i - 1])))
            return "The chart's grey patches are not in order of lightness: " + patchLabel(i) +
                   " reads at least as light as " + patchLabel(i - 1) +
                   ". Are the corners in the right order?";
    return std::nullopt;
}

// The grey row's exposure (reading over known Y) from patch to patch.
std::optional<std::string> unevenLight(const ChartReading& reading,
                                       const std::array<Tristimulus, chartPatches>& reference) {
    int low = greyRowFirst, high = greyRowFirst;
    auto exposure = [&](int i) { return brightness(reading.patches[i]) / reference[i].Y; };
    for (int i = greyRowFirst; i < chartPatches; ++i) {
        if (exposure(i) < exposure(low)) low = i;
        if (exposure(i) > exposure(high)) high = i;
    }
    const double change = exposure(high) / exposure(low) - 1;
    if (!(change > unevenLightShare)) return std::nullopt;
    const int percent = static_cast<int>(std::lround(std::min(change, 100.0) * 100));
    return "The light over the chart is uneven: the grey row's exposure differs by " +
           std::to_string(percent) + " % between " + patchLabel(low) + " and " + patchLabel(high) +
           "; readings may be off by as much.";
}

} // namespace

Tristimulus Calibration::apply(const LinearRgb& rgb) const {
    return applyWeights(terms, kind, rgb);
}

const char* fitName(FitKind kind) {
    return kind == FitKind::Matrix3x3 ? "3x3" : "rootpoly2";
}

std::optional<FitKind> fitNamed(const std::string& name) {
    for (FitKind kind : {FitKind::Matrix3x3, FitKind::RootPolynomial2})
        if (name == fitName(kind)) return kind;
    return std::nullopt;
}

Loaded<std::array<Tristimulus, chartPatches>>
chartReference(const std::string& reflectanceCsvPath) {
    Loaded<std::array<Tristimulus, chartPatches>> out;
    const auto spectra = readRowSpectraFile(reflectanceCsvPath);
    if (!spectra.value) {
        out.message = spectra.message;
        return out;
    }
    if (spectra.value->size() != chartPatches) {
        out.message = reflectanceCsvPath + ": expected the chart's 24 patches, found " +
                      std::to_string(spectra.value->size()) + ".";
        return out;
    }
    std::array<Tristimulus, chartPatches> xyz{};
    for (int i = 0; i < chartPatches; ++i) {
        const NamedSpectrum& s = (*spectra.value)[i];
        if (s.name != chartPatchName(i)) {
            out.message = reflectanceCsvPath + ", line " + std::to_string(i + 2) + ": patch " +
                          std::to_string(i + 1) + " should be \"" + chartPatchName(i) + "\".";
            return out;
        }
        xyz[i] = instrumentXyz(s.values);
    }
    out.value = xyz;
    return out;
}

Loaded<Calibration> fitChart(const ChartReading& reading,
                             const std::array<Tristimulus, chartPatches>& reference, FitKind kind) {
    Loaded<Calibration> out;
    if (auto why = refusal(reading)) {
        out.message = *why;
        return out;
    }
    const auto weights = leastSquares(reading, reference, kind, -1);
    if (!weights) {
        out.message = "The chart's patches read too alike to fit a correction: is the chart "
                      "in the picture where the corners say?";
        return out;
    }
    Calibration c;
    c.kind = kind;
    c.encoding = reading.encoding;
    c.corners = reading.corners;
    c.terms = *weights;
    std::vector<double> leftOut;
    for (int i = 0; i < chartPatches; ++i) {
        c.residual[i] = difference(reference[i], c.apply(reading.patches[i]));
        const auto without = leastSquares(reading, reference, kind, i);
        c.leftOut[i] =
            without ? difference(reference[i], applyWeights(*without, kind, reading.patches[i]))
                    : c.residual[i];
        leftOut.push_back(c.leftOut[i]);
    }
    std::sort(leftOut.begin(), leftOut.end());
    c.expectedMedian = (leftOut[chartPatches / 2 - 1] + leftOut[chartPatches / 2]) / 2;
    c.expectedMax = leftOut.back();
    if (!(c.expectedMedian <= chartMismatch)) {
        out.message = "The patches where the corners are do not read as the chart (left out "
                      "of the fit, they are off by a median CIEDE2000 of " +
                      formatNumber(c.expectedMedian, "0.0") +
                      "): is the chart in the picture where the corners say?";
        return out;
    }
    if (auto warning = unevenLight(reading, reference)) c.warnings.push_back(*warning);
    out.value = std::move(c);
    return out;
}

} // namespace huelinx::photo
