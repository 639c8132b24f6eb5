// Regions read as measurements: a sample lit less than the chart corrected by
// a grey card beside it, and what a reading says when it can't be trusted.
#include "synthetic_shot.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace huelinx::photo {
namespace {

using testing::Canvas;

// A linear shot of the chart and, below it, held-out samples and a grey card
// of 18 % lit by `sampleLight` of the chart's light.
struct Scene {
    Picture picture;
    Calibration calibration;
    std::vector<const Spectrum*> spectra;
    std::vector<Region> regions;
    Region card{20, 280, 30, 30};
};

Scene scene(double sampleLight, double chartGradient = 0) {
    const auto camera = testing::cameraUnder("nikon_d7000", "D50");
    const auto p = testing::projection();
    Canvas canvas(320, 330, {0.01, 0.01, 0.01});
    canvas.chart(p, testing::chartRgb(camera), chartGradient);
    Scene s;
    const auto& training = testing::photoData().training;
    for (std::size_t i = 3; i < training.size(); i += 9) {
        const int k = static_cast<int>(s.spectra.size());
        s.spectra.push_back(&training[i].values);
        s.regions.push_back({20 + 24 * (k % 12), 210 + 24 * (k / 12), 16, 16});
        const LinearRgb c = testing::cameraRgb(camera, training[i].values);
        canvas.square(s.regions.back(), {c.r * sampleLight, c.g * sampleLight, c.b * sampleLight});
    }
    const LinearRgb grey = testing::cameraRgb(camera, testing::flat(0.18));
    canvas.square(s.card, {grey.r * sampleLight, grey.g * sampleLight, grey.b * sampleLight});
    s.picture = canvas.linear16();
    const auto reading = readChart(s.picture, Encoding::Linear, testing::cornersOf(p));
    const auto reference =
        chartReference(testing::photoDataPath("chart-reflectance.csv")).value.value();
    s.calibration = fitChart(reading.value.value(), reference, FitKind::Matrix3x3).value.value();
    return s;
}

double medianError(const Scene& s, const std::optional<NeutralReference>& card,
                   std::vector<RegionReading>* readings = nullptr) {
    std::vector<double> d;
    for (std::size_t k = 0; k < s.spectra.size(); ++k) {
        const auto r = readRegion(s.picture, s.calibration, s.regions[k], card);
        EXPECT_TRUE(r.value) << r.message;
        d.push_back(testing::de00(testing::trueXyz(*s.spectra[k]), r.value->xyz));
        if (readings) readings->push_back(*r.value);
    }
    std::sort(d.begin(), d.end());
    return d[d.size() / 2];
}

TEST(RegionReading, AGreyCardCorrectsASampleLitLessThanTheChart) {
    const Scene even = scene(1), dark = scene(0.7);
    const NeutralReference card{even.card, 18};
    const double reference = medianError(even, std::nullopt);
    std::vector<RegionReading> unchecked, checked;
    const double without = medianError(dark, std::nullopt, &unchecked);
    const double with = medianError(dark, card, &checked);
    std::printf("sample at 70 %% of the chart's light: dE00 median %.2f without the card, %.2f "
                "with it (%.2f when lit as the chart)\n",
                without, with, reference);
    EXPECT_GT(without, 3 * reference);
    EXPECT_LT(with, reference + 0.2);
    for (const RegionReading& r : unchecked) {
        EXPECT_FALSE(r.lightingChecked);
        EXPECT_EQ(r.exposureScale, 1);
        ASSERT_EQ(r.notes.size(), 1u);
        EXPECT_EQ(r.notes[0], "lighting of the sample not checked");
    }
    for (const RegionReading& r : checked) {
        EXPECT_TRUE(r.lightingChecked);
        EXPECT_NEAR(r.exposureScale, 1 / 0.7, 0.02);
        EXPECT_TRUE(r.notes.empty()) << r.notes.front();
    }
    // The card read as a sample gives back its own Y.
    const auto cardItself = readRegion(dark.picture, dark.calibration, dark.card, card);
    EXPECT_NEAR(cardItself.value->xyz.Y, 18, 1e-3);
}

TEST(RegionReading, WhatCantBeTrustedIsSaid) {
    Scene s = scene(1, 0.3);
    // The chart's own warning goes with every reading.
    ASSERT_EQ(s.calibration.warnings.size(), 1u);
    const auto warned = readRegion(s.picture, s.calibration, s.regions[0], std::nullopt);
    ASSERT_EQ(warned.value->notes.size(), 2u);
    EXPECT_EQ(warned.value->notes[1], s.calibration.warnings[0]);
    s.calibration.warnings.clear();

    // A pixel at the top of the range in the region, and in the card.
    const Region& r = s.regions[1];
    s.picture.samples[3 * (static_cast<std::size_t>(r.y + 2) * s.picture.width + r.x + 3)] = 65535;
    const auto clipped = readRegion(s.picture, s.calibration, r, std::nullopt);
    EXPECT_TRUE(clipped.value->clipped);
    EXPECT_NE(clipped.value->notes[0].find("clipped"), std::string::npos);
    EXPECT_FALSE(readRegion(s.picture, s.calibration, s.regions[0], std::nullopt).value->clipped);
    s.picture.samples[3 * (static_cast<std::size_t>(s.card.y) * s.picture.width + s.card.x)] = 0;
    const auto card = readRegion(s.picture, s.calibration, s.regions[0], {{s.card, 18}});
    EXPECT_TRUE(card.value->lightingChecked);
    EXPECT_NE(card.value->notes[0].find("neutral reference is clipped"), std::string::npos);

    // Outside the picture, or a reference that reads no light: refused.
    EXPECT_EQ(readRegion(s.picture, s.calibration, {400, 0, 5, 5}, std::nullopt).message,
              "The region lies outside the picture.");
    EXPECT_EQ(readRegion(s.picture, s.calibration, r, {{{-9, 0, 5, 5}, 18}}).message,
              "The neutral reference lies outside the picture.");
    Calibration blind = s.calibration;
    for (auto& term : blind.terms)
        term = {0, 0, 0};
    EXPECT_NE(readRegion(s.picture, blind, r, {{s.card, 18}}).message.find("reads no light"),
              std::string::npos);
    EXPECT_NE(readRegion(s.picture, s.calibration, r, {{s.card, 0}}).message.find("above 0"),
              std::string::npos);
}

} // namespace
} // namespace huelinx::photo
