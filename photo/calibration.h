// A camera calibrated on the colour rendition chart in the frame: the 24
// patches read where the four corner patches say the chart is, a correction
// fitted from linear camera R, G, B to CIE X, Y, Z under illuminant C (white
// Y = 100), and the regions of the picture read through it as measurements.
//
// The chart's known colours are its patches' reflectance spectra integrated
// with the instruments' own weights (`tris`: illuminant C, 1931 observer), so
// a corrected reading is directly a measurement of the sample.
#pragma once

#include "colour/illuminant.h"
#include "files/result.h"
#include "photo/picture.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx::photo {

inline constexpr int chartPatches = 24;
inline constexpr int greyRowFirst = 18; // patches 19..24 (index 18..23): white .. black

// The patch's name on the chart ("dark skin", ..., "black 2"), index 0..23.
[[nodiscard]] const char* chartPatchName(int index);
// "patch 19 (white 9.5)", for messages.
[[nodiscard]] std::string patchLabel(int index);

struct Point {
    double x = 0, y = 0;
};

// The centres of the four corner patches as the picture shows them: "dark
// skin" (1), "bluish green" (6), "black" (24) and "white" (19).
struct ChartCorners {
    Point topLeft, topRight, bottomRight, bottomLeft;
};

// Points are in pixels, pixel (i, j) centred at x = i, y = j.
// Centres of the 24 patches in reading order (row by row from the top left),
// the chart taken as a plane seen in perspective through the four corners.
[[nodiscard]] std::array<Point, chartPatches> patchCentres(const ChartCorners& corners);
// Half the side of the square read at each patch centre: a third of the
// distance between neighbouring centres, less where the chart is turned in
// the picture, so the upright square stays inside its patch.
[[nodiscard]] double patchHalfSide(const ChartCorners& corners);

struct LinearRgb {
    double r = 0, g = 0, b = 0;
};

// A rectangle of pixels; clipped to the picture when read.
struct Region {
    int x = 0, y = 0, width = 1, height = 1;
};
// The square of pixels around a point: those whose centres lie within
// halfSide of it along both axes (at least the pixel under the point).
[[nodiscard]] Region squareAround(Point centre, double halfSide);

// The median of each channel over the region's pixels, in linear values;
// none when the region lies outside the picture.
[[nodiscard]] std::optional<LinearRgb> medianOf(const Picture& picture, const Linearizer& linear,
                                                const Region& region);
// Whether any pixel of the region holds a channel at 0 or 65535.
[[nodiscard]] bool anyClipped(const Picture& picture, const Region& region);

// The 24 patches as read, and which hold a clipped channel (at the top of its
// range or at 0 in any pixel read), with the encoding and corners they were
// read with, which go on into the calibration.
struct ChartReading {
    std::array<LinearRgb, chartPatches> patches{};
    std::array<bool, chartPatches> clipped{};
    Encoding encoding = Encoding::Srgb;
    ChartCorners corners;
};
// Refused when the corners make no chart (not four corners of a convex
// shape, patches too small to read) or a patch's square leaves the picture.
[[nodiscard]] Loaded<ChartReading> readChart(const Picture& picture, Encoding encoding,
                                             const ChartCorners& corners);

// X, Y, Z of the chart's patches under illuminant C (white Y = 100), from
// data/photo/chart-reflectance.csv, in reading order; the message names the
// file when it can't be read.
[[nodiscard]] Loaded<std::array<Tristimulus, chartPatches>>
chartReference(const std::string& reflectanceCsvPath);

enum class FitKind { Matrix3x3, RootPolynomial2 };
[[nodiscard]] const char* fitName(FitKind kind); // "3x3", "rootpoly2"
[[nodiscard]] std::optional<FitKind> fitNamed(const std::string& name);

struct Calibration {
    FitKind kind = FitKind::Matrix3x3;
    Encoding encoding = Encoding::Srgb;
    ChartCorners corners;
    // One entry a term of the fit, holding that term's weights in X, Y and Z:
    // 3 terms for the matrix (r, g, b), 6 for root-polynomial degree 2
    // (r, g, b, sqrt(rg), sqrt(gb), sqrt(rb)).
    std::vector<std::array<double, 3>> terms;
    // CIEDE2000 of each patch fitted against its known colour, and the
    // leave-one-patch-out CIEDE2000 (each patch left out of its own fit):
    // their median and maximum are the fit's expected error.
    std::array<double, chartPatches> residual{};
    std::array<double, chartPatches> leftOut{};
    double expectedMedian = 0, expectedMax = 0;
    // Said with every reading: uneven light over the chart's grey row.
    std::vector<std::string> warnings;

    [[nodiscard]] Tristimulus apply(const LinearRgb& rgb) const;
};

// The largest change of exposure along the grey row (as a share) that is not
// warned of.
inline constexpr double unevenLightShare = 0.10;

// The largest median leave-one-patch-out CIEDE2000 of a fit that is used:
// above it, what the corners mark is not the chart (real charts fit to 1..3;
// other colours in its place to about 30).
inline constexpr double chartMismatch = 10;

// Fits the correction. Refused, with a message naming the patches, when any
// patch is clipped or the six greys are not in order of lightness; refused
// too when the expected error is above chartMismatch.
[[nodiscard]] Loaded<Calibration> fitChart(const ChartReading& reading,
                                           const std::array<Tristimulus, chartPatches>& reference,
                                           FitKind kind);

// A neutral reference of known luminance factor beside the sample (a grey
// card): its region and its Y on the 0..100 scale.
struct NeutralReference {
    Region region;
    double y = 18;
};

struct RegionReading {
    Tristimulus xyz{};
    bool clipped = false;         // a channel of the region at an end of its range
    bool lightingChecked = false; // a neutral reference scaled the exposure
    double exposureScale = 1;     // applied to the sample's reading
    // "lighting of the sample not checked", the region clipped, and the
    // calibration's own warnings, so every reading says them.
    std::vector<std::string> notes;
};

// A region read as a measurement: the median of its linear values, corrected,
// and scaled to the chart's exposure by the neutral reference when given.
// Refused when the region or the reference lies outside the picture, the
// reference's Y is not above 0, or the reference reads no light.
[[nodiscard]] Loaded<RegionReading> readRegion(const Picture& picture,
                                               const Calibration& calibration, const Region& region,
                                               const std::optional<NeutralReference>& reference);

// The calibration as a small text file beside its picture, and back; the
// reader takes only what the writer writes, and names the line of a fault.
[[nodiscard]] std::string calibrationText(const Calibration& calibration);
[[nodiscard]] Loaded<Calibration> readCalibrationText(std::string_view text,
                                                      const std::string& name);

} // namespace huelinx::photo
