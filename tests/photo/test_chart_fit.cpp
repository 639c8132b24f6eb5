// The chart's known colours and the fit on rendered chart shots: held-out
// spectra read within a small CIEDE2000, and the readings a fit must refuse
// or warn of.
#include "synthetic_shot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace huelinx::photo {
namespace {

using testing::Camera;
using testing::cameraUnder;
using testing::Canvas;
using testing::chartRgb;
using testing::photoData;

const std::array<Tristimulus, chartPatches>& reference() {
    static const auto r =
        chartReference(testing::photoDataPath("chart-reflectance.csv")).value.value();
    return r;
}

// The X, Y, Z of the 24 patches under illuminant C with the 1931 observer as
// published beside the data (plain 5 nm sums, 2 decimals).
constexpr float checkTable[chartPatches][3] = {
    {11.27f, 9.76f, 6.57f},    {39.12f, 35.65f, 28.05f}, {18.61f, 19.05f, 37.63f},
    {10.34f, 12.88f, 7.21f},   {26.92f, 24.41f, 49.41f}, {32.27f, 42.43f, 48.31f},
    {37.27f, 29.73f, 6.39f},   {14.16f, 11.79f, 40.60f}, {29.17f, 19.40f, 14.96f},
    {9.11f, 6.57f, 16.13f},    {33.84f, 43.42f, 11.90f}, {47.18f, 43.51f, 9.06f},
    {8.95f, 6.29f, 32.65f},    {14.79f, 23.28f, 10.18f}, {20.75f, 12.00f, 5.65f},
    {57.15f, 59.72f, 10.12f},  {30.53f, 19.48f, 33.16f}, {15.13f, 19.65f, 42.75f},
    {86.84f, 88.73f, 103.79f}, {57.33f, 58.39f, 68.94f}, {35.14f, 35.82f, 42.43f},
    {19.93f, 20.31f, 24.07f},  {9.06f, 9.26f, 11.12f},   {3.29f, 3.35f, 4.15f}};

TEST(ChartReference, AgreesWithThePublishedPlainSums) {
    double worstXyz = 0, worstDe = 0;
    for (int i = 0; i < chartPatches; ++i) {
        const Tristimulus r = reference()[i];
        const Tristimulus t{checkTable[i][0], checkTable[i][1], checkTable[i][2]};
        worstXyz = std::max({worstXyz, std::abs(double(r.X - t.X)), std::abs(double(r.Y - t.Y)),
                             std::abs(double(r.Z - t.Z))});
        worstDe = std::max(worstDe, testing::de00(t, r));
        // The test's own 5 nm sums reproduce the table to its 2 decimals.
        const Tristimulus s = testing::trueXyz(photoData().chart[i].values);
        EXPECT_NEAR(s.X, t.X, 0.006) << i;
        EXPECT_NEAR(s.Y, t.Y, 0.006) << i;
        EXPECT_NEAR(s.Z, t.Z, 0.006) << i;
    }
    std::printf("chart reference against the 5 nm sums: largest |dXYZ| %.3f, dE00 %.3f\n", worstXyz,
                worstDe);
    EXPECT_LT(worstXyz, 0.05);
    EXPECT_LT(worstDe, 0.15);
}

TEST(ChartReference, AFileThatIsNotTheChartIsNamed) {
    const auto missing = chartReference("no-such-chart.csv");
    EXPECT_FALSE(missing.value);
    EXPECT_NE(missing.message.find("no-such-chart.csv"), std::string::npos) << missing.message;
    // The training set is a table of the same form, but not the chart.
    const std::string training = testing::photoDataPath("training-reflectance.csv");
    const auto other = chartReference(training);
    EXPECT_FALSE(other.value);
    EXPECT_NE(other.message.find("found 190"), std::string::npos) << other.message;
}

// Held-out spectra drawn as squares below the chart, every `step`th of the
// training set, and their regions.
struct Samples {
    std::vector<const Spectrum*> spectra;
    std::vector<Region> regions;
};
Samples heldOut(int step) {
    Samples s;
    const auto& training = photoData().training;
    for (std::size_t i = 0; i < training.size(); i += step) {
        const int k = static_cast<int>(s.spectra.size());
        s.spectra.push_back(&training[i].values);
        s.regions.push_back({20 + 24 * (k % 12), 210 + 24 * (k / 12), 16, 16});
    }
    return s;
}

struct Shot {
    Picture picture;
    ChartCorners corners;
};

// A chart under a light through a camera, with the held-out samples beside it
// at `sampleExposure` of the chart's light.
Shot render(const Camera& camera, const Samples& samples, Encoding encoding,
            double sampleExposure = 1, double lightGradient = 0) {
    const auto p = testing::projection(4, 0.02);
    Canvas canvas(320, 300, {0.01, 0.01, 0.01});
    canvas.chart(p, chartRgb(camera), lightGradient);
    for (std::size_t k = 0; k < samples.spectra.size(); ++k) {
        const LinearRgb c = testing::cameraRgb(camera, *samples.spectra[k]);
        canvas.square(samples.regions[k],
                      {c.r * sampleExposure, c.g * sampleExposure, c.b * sampleExposure});
    }
    return {encoding == Encoding::Linear ? canvas.linear16() : canvas.srgb8(camera.whiteBalance),
            testing::cornersOf(p)};
}

struct Score {
    double median = 0, max = 0;
};
Score score(std::vector<double> d) {
    std::sort(d.begin(), d.end());
    return {d[d.size() / 2], d.back()};
}

// The CIEDE2000 of each held-out sample read through a fit on its shot.
std::vector<double> heldOutErrors(const Shot& shot, const Samples& samples, Encoding encoding,
                                  FitKind kind, Calibration* fitted = nullptr) {
    const auto reading = readChart(shot.picture, encoding, shot.corners);
    EXPECT_TRUE(reading.value) << reading.message;
    const auto fit = fitChart(*reading.value, reference(), kind);
    EXPECT_TRUE(fit.value) << fit.message;
    if (fitted) *fitted = *fit.value;
    std::vector<double> errors;
    for (std::size_t k = 0; k < samples.spectra.size(); ++k) {
        const auto r = readRegion(shot.picture, *fit.value, samples.regions[k], std::nullopt);
        errors.push_back(testing::de00(testing::trueXyz(*samples.spectra[k]), r.value->xyz));
    }
    return errors;
}

struct Case {
    const char* camera;
    const char* light;
};
constexpr Case cases[] = {{"nikon_d5100", "D65"},
                          {"canon_eos_5d_mark_ii", "A"},
                          {"sony_ilce-7rm2", "F2"},
                          {"arri_d21", "D50"}};

TEST(ChartFit, ALinearShotReadsHeldOutSpectraClosely) {
    const Samples samples = heldOut(8);
    for (const Case& c : cases) {
        const Camera camera = cameraUnder(c.camera, c.light);
        const Shot shot = render(camera, samples, Encoding::Linear);
        Calibration fit;
        const Score s =
            score(heldOutErrors(shot, samples, Encoding::Linear, FitKind::Matrix3x3, &fit));
        std::printf("linear 16-bit 3x3 %s under %s: held-out dE00 median %.2f max %.2f; "
                    "expected %.2f / %.2f\n",
                    c.camera, c.light, s.median, s.max, fit.expectedMedian, fit.expectedMax);
        EXPECT_LT(s.median, 2.5) << c.camera << " " << c.light;
        EXPECT_LT(s.max, 10.0) << c.camera << " " << c.light;
        EXPECT_TRUE(fit.warnings.empty()) << fit.warnings.front();
        EXPECT_EQ(fit.encoding, Encoding::Linear);
        // What the fit expects of itself is what it does on other colours.
        EXPECT_GT(fit.expectedMedian, s.median / 2) << c.camera << " " << c.light;
        EXPECT_LT(fit.expectedMedian, s.median * 2) << c.camera << " " << c.light;
    }
}

// A camera that sees as the observer does, under illuminant C itself, needs
// no more than a scale: the whole path (grid, medians, fit, reading) must then
// give every held-out colour back.
TEST(ChartFit, ACameraThatSeesAsTheObserverReadsEveryColourBack) {
    const Samples samples = heldOut(5);
    const Shot shot = render(cameraUnder("observer", "C"), samples, Encoding::Linear);
    Calibration fit;
    const Score s = score(heldOutErrors(shot, samples, Encoding::Linear, FitKind::Matrix3x3, &fit));
    std::printf("observer camera under C: held-out dE00 median %.3f max %.3f; expected %.3f / "
                "%.3f\n",
                s.median, s.max, fit.expectedMedian, fit.expectedMax);
    EXPECT_LT(s.max, 0.2);
    EXPECT_LT(fit.expectedMax, 0.2);
}

TEST(ChartFit, AnSrgbShotIsDecodedBeforeTheFit) {
    const Samples samples = heldOut(8);
    const Camera camera = cameraUnder("nikon_d5100", "D65");
    const Shot shot = render(camera, samples, Encoding::Srgb);
    const Score decoded = score(heldOutErrors(shot, samples, Encoding::Srgb, FitKind::Matrix3x3));
    const Score raw = score(heldOutErrors(shot, samples, Encoding::Linear, FitKind::Matrix3x3));
    std::printf("8-bit sRGB 3x3: held-out dE00 median %.2f max %.2f; read as linear %.2f / %.2f\n",
                decoded.median, decoded.max, raw.median, raw.max);
    EXPECT_LT(decoded.median, 1.5);
    EXPECT_GT(raw.median, 2 * decoded.median);
}

TEST(ChartFit, RootPolynomialFitsMoreTermsAndReportsItsOwnError) {
    const Samples samples = heldOut(8);
    const Camera camera = cameraUnder("canon_eos_5d_mark_ii", "D65");
    const Shot shot = render(camera, samples, Encoding::Linear);
    Calibration matrix, root;
    const Score m =
        score(heldOutErrors(shot, samples, Encoding::Linear, FitKind::Matrix3x3, &matrix));
    const Score r =
        score(heldOutErrors(shot, samples, Encoding::Linear, FitKind::RootPolynomial2, &root));
    std::printf("linear rootpoly2: held-out median %.2f max %.2f (3x3 %.2f / %.2f); "
                "chart residual median %.2f, left out %.2f\n",
                r.median, r.max, m.median, m.max,
                score({root.residual.begin(), root.residual.end()}).median, root.expectedMedian);
    EXPECT_EQ(matrix.terms.size(), 3u);
    EXPECT_EQ(root.terms.size(), 6u);
    EXPECT_LT(r.median, 1.5);
    // Each patch is further off when left out of its own fit: with least
    // squares the error vector grows by 1 / (1 - leverage), never shrinks.
    for (const Calibration* c : {&matrix, &root})
        for (int i = 0; i < chartPatches; ++i)
            EXPECT_GE(c->leftOut[i], c->residual[i] - 1e-6) << c->terms.size() << " " << i;
    EXPECT_DOUBLE_EQ(root.expectedMax, *std::max_element(root.leftOut.begin(), root.leftOut.end()));
}

Loaded<Calibration> fitShot(const Shot& shot, const ChartCorners& corners) {
    const auto reading = readChart(shot.picture, Encoding::Linear, corners);
    EXPECT_TRUE(reading.value) << reading.message;
    return fitChart(reading.value.value_or(ChartReading{}), reference(), FitKind::Matrix3x3);
}

TEST(ChartFit, ClippedPatchesAreRefusedByName) {
    const Samples none;
    // Over-exposed: the white and the lightest greys reach the top of the range.
    const Shot bright = render(cameraUnder("nikon_d5100", "D65", 2.2), none, Encoding::Linear);
    const auto over = fitShot(bright, bright.corners);
    EXPECT_FALSE(over.value);
    EXPECT_EQ(over.message, "The chart's patch 6 (bluish green), patch 16 (yellow), patch 19 "
                            "(white 9.5) and patch 20 (neutral 8) are clipped.");
    EXPECT_EQ(over.message.find("patch 24"), std::string::npos) << over.message;

    // One pixel at 0 in a channel inside the black patch's square.
    Shot dark = render(cameraUnder("nikon_d5100", "D65"), none, Encoding::Linear);
    const Point black = patchCentres(dark.corners)[23];
    const int x = static_cast<int>(std::lround(black.x)),
              y = static_cast<int>(std::lround(black.y));
    dark.picture.samples[3 * (static_cast<std::size_t>(y) * dark.picture.width + x) + 2] = 0;
    const auto under = fitShot(dark, dark.corners);
    EXPECT_FALSE(under.value);
    EXPECT_EQ(under.message, "The chart's patch 24 (black 2) is clipped.");
}

TEST(ChartFit, GreysOutOfOrderAreRefused) {
    const Shot shot = render(cameraUnder("nikon_d5100", "D65"), {}, Encoding::Linear);
    // The corners clicked as if the chart stood on its head: the grey row is
    // read as the top row, and the first row backwards as the greys.
    const ChartCorners& k = shot.corners;
    const auto turned = fitShot(shot, {k.bottomRight, k.bottomLeft, k.topLeft, k.topRight});
    EXPECT_FALSE(turned.value);
    EXPECT_NE(turned.message.find("not in order of lightness"), std::string::npos)
        << turned.message;
    // Two greys swapped: the one read lighter than its neighbour is named.
    auto reading = readChart(shot.picture, Encoding::Linear, k).value.value();
    std::swap(reading.patches[20], reading.patches[21]);
    const auto swapped = fitChart(reading, reference(), FitKind::Matrix3x3);
    EXPECT_FALSE(swapped.value);
    EXPECT_NE(swapped.message.find("patch 22 (neutral 5) reads at least as light as patch 21 "
                                   "(neutral 6.5)"),
              std::string::npos)
        << swapped.message;
}

TEST(ChartFit, UnevenLightOverTheGreyRowIsWarned) {
    const Camera camera = cameraUnder("canon_eos_5d_mark_ii", "D65", 0.6);
    for (const double gradient : {0.0, 0.04, 0.25, -0.25}) {
        const Shot shot = render(camera, {}, Encoding::Linear, 1, gradient);
        const auto fit = fitShot(shot, shot.corners);
        ASSERT_TRUE(fit.value) << fit.message;
        const bool uneven = std::abs(gradient) > unevenLightShare;
        ASSERT_EQ(fit.value->warnings.size(), uneven ? 1u : 0u) << gradient;
        if (!uneven) continue;
        const std::string& w = fit.value->warnings[0];
        EXPECT_NE(w.find("uneven"), std::string::npos) << w;
        // From the first grey to the last the light changes by the gradient
        // (the greys' own spectra add a few points).
        const std::string from = gradient > 0 ? "patch 19 (white 9.5) and patch 24 (black 2)"
                                              : "patch 24 (black 2) and patch 19 (white 9.5)";
        EXPECT_NE(w.find(from), std::string::npos) << w;
        const double percent = std::stod(w.substr(w.find(" by ") + 4));
        const double change = gradient > 0 ? gradient : 1 / (1 + gradient) - 1;
        EXPECT_NEAR(percent, 100 * change, 5) << w;
    }
}

// Corners clicked on something that is not the chart: other colours where its
// colour patches should be (the greys still in order) fit so badly that the
// fit is refused rather than used.
TEST(ChartFit, APictureWithoutTheChartIsRefused) {
    const Camera camera = cameraUnder("nikon_d5100", "D65");
    const auto& training = photoData().training;
    for (int start : {0, 40, 100, 150}) {
        auto colours = chartRgb(camera);
        for (int i = 0; i < greyRowFirst; ++i)
            colours[i] = testing::cameraRgb(camera, training[start + 2 * i].values);
        const auto p = testing::projection();
        Canvas canvas(320, 200, {0.01, 0.01, 0.01});
        canvas.chart(p, colours);
        const auto reading = readChart(canvas.linear16(), Encoding::Linear, testing::cornersOf(p));
        const auto fit = fitChart(*reading.value, reference(), FitKind::Matrix3x3);
        EXPECT_FALSE(fit.value) << start;
        EXPECT_NE(fit.message.find("do not read as the chart"), std::string::npos) << fit.message;
    }
}

TEST(ChartFit, ReadingsOfOneColourFitNothing) {
    ChartReading same;
    for (int i = 0; i < chartPatches; ++i)
        same.patches[i] = {0.5 - 0.01 * i, 0.5 - 0.01 * i, 0.5 - 0.01 * i};
    const auto fit = fitChart(same, reference(), FitKind::Matrix3x3);
    EXPECT_FALSE(fit.value);
    EXPECT_NE(fit.message.find("too alike"), std::string::npos) << fit.message;
}

} // namespace
} // namespace huelinx::photo
