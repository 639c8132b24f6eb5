// Regions of a photograph read through the chart in the same frame: the one
// path from a picture, the chart's four corners and a fit to a calibrated
// reading of each region, shared by huelinx-convert --photo and the Python
// module so the two can't give different numbers.
#pragma once

#include "photo/calibration.h"

#include <array>
#include <optional>
#include <string>

namespace huelinx::photo {

// A grey card beside the sample: the centre of the square read, its half
// side (the radius) in pixels, and its Y on the 0..100 scale.
struct GreyCardAt {
    Point centre;
    double radius = 0;
    double y = 18;
};

// How the picture is read: where the chart is, the fit, how its values
// relate to light, and the grey card beside the sample, if any.
struct PhotoSetup {
    ChartCorners corners;
    FitKind fit = FitKind::Matrix3x3;
    Encoding encoding = Encoding::Srgb;
    std::optional<GreyCardAt> reference;
};

// A picture calibrated on its chart; it reads regions of the picture it was
// made from, which must outlive it.
class PhotoRegions {
  public:
    // Reads the chart at the corners and fits it against the chart's known
    // colours. Refused with one message when the chart can't be read or
    // fitted (no chart at those corners, clipped patches, greys out of
    // order) or the grey card doesn't lie wholly in the picture.
    [[nodiscard]] static Loaded<PhotoRegions>
    calibrate(const Picture& picture, const PhotoSetup& setup,
              const std::array<Tristimulus, chartPatches>& chart);

    const Calibration& calibration() const { return calibration_; }

    // One region as a measurement. Refused when it is empty or doesn't lie
    // wholly in the picture: a region cut by the picture's edge would read
    // fewer pixels than asked for without saying so.
    [[nodiscard]] Loaded<RegionReading> read(const Region& region) const;

  private:
    PhotoRegions(const Picture& picture, Calibration calibration,
                 std::optional<NeutralReference> reference)
        : picture_(&picture), calibration_(std::move(calibration)),
          reference_(std::move(reference)) {}
    const Picture* picture_;
    Calibration calibration_;
    std::optional<NeutralReference> reference_;
};

// Whether the region is not empty and lies wholly in the picture.
[[nodiscard]] bool whollyInside(const Picture& picture, const Region& region);

} // namespace huelinx::photo
