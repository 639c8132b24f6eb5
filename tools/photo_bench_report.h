// The photo benchmark's scores and the tables printed from them.
#pragma once

#include "photo_bench.h"

#include <cstdio>
#include <string>
#include <vector>

namespace huelinx::photobench {

// How the held-out sample is lit: as the chart; 30 % less, read alone; 30 %
// less, scaled by the neutral reference beside it.
enum class Condition { Even, Darker, DarkerWithReference };

struct ScoreKey {
    FileKind kind = FileKind::LinearTiff16;
    photo::FitKind fit = photo::FitKind::Matrix3x3;
    int light = 0, camera = 0;
    Condition condition = Condition::Even;
};

struct Summary {
    double median = 0, p95 = 0, max = 0;
    std::size_t count = 0;
};
// Median and 95th percentile by linear interpolation between order
// statistics; all zero for no values.
[[nodiscard]] Summary summarize(std::vector<double> values);

struct Scores {
    struct Entry {
        ScoreKey key;
        double de = 0;
    };
    std::vector<Entry> readings;
    // The fit's own expected error (leave-one-patch-out median) of each shot;
    // only its kind and fit are meaningful.
    std::vector<Entry> expected;
    // The error of a 3x3 fitted on the held-out spectra themselves and scored
    // on them, by light and camera (no picture, no chart).
    std::vector<Entry> bestMatrix;
    int missingNotes = 0, clippedReadings = 0;
    std::vector<std::string> failures;
};

struct Names {
    std::vector<std::string> lights, cameras;
    int spectra = 0;
};
void printScores(const Scores& scores, const Names& names, std::FILE* out);

// The 24-megapixel timing: reading the file, then the calibration and the
// 100 regions, then one region alone (median of repeated reads).
struct Timing {
    std::string kind;
    int width = 0, height = 0, regions = 0, regionSide = 0;
    double readSeconds = 0, calibrateAndRegionsSeconds = 0, oneRegionMilliseconds = 0;
};
void printTiming(const std::vector<Timing>& timings, std::FILE* out);

// A 6000 x 4000 shot of the chart and 100 samples (one camera under D65,
// with grain), written as 8-bit sRGB JPEG and as 16-bit linear TIFF in `scratch`, timed.
[[nodiscard]] std::vector<Timing>
timeLargePicture(const PhotoData& data, const std::array<Tristimulus, photo::chartPatches>& chart,
                 const std::string& scratch, std::vector<std::string>& failures);

} // namespace huelinx::photobench
