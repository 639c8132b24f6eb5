// The photo benchmark's synthetic photographs: reflectance spectra seen
// through a camera's sensitivities under a light, laid out as the chart and
// the held-out samples of one picture, and the true colour of each spectrum.
#pragma once

#include "photo/calibration.h"
#include "photo/wavelength_tables.h"

#include <array>
#include <string>
#include <vector>

namespace huelinx::photobench {

// data/photo/ as the program's own readers read it.
struct PhotoData {
    std::vector<photo::NamedSpectrum> chart, training, lights;
    std::vector<photo::CameraSensitivity> cameras;
};
[[nodiscard]] Loaded<PhotoData> loadPhotoData(const std::string& folder);

// A camera under a light, scaled so that a perfect white's largest raw
// channel reads `whiteLevel` of the range; the white balance is the gains
// that make that white neutral.
struct Camera {
    const photo::CameraSensitivity* sensitivity = nullptr;
    const photo::Spectrum* light = nullptr;
    double scale = 1;
    std::array<double, 3> whiteBalance{1, 1, 1};
};
[[nodiscard]] Camera cameraUnder(const photo::CameraSensitivity& sensitivity,
                                 const photo::Spectrum& light, double whiteLevel);
[[nodiscard]] photo::LinearRgb cameraRgb(const Camera& camera, const photo::Spectrum& reflectance);

// X, Y, Z under illuminant C with the instruments' weights (`tris`), the
// spectrum taken to their 10 nm grid as the chart's reference colours are.
[[nodiscard]] Tristimulus trueXyz(const photo::Spectrum& reflectance);
// CIEDE2000 in the program's L*a*b* under illuminant C.
[[nodiscard]] double de00(const Tristimulus& a, const Tristimulus& b);
// A spectrally flat reflectance (a neutral grey).
[[nodiscard]] photo::Spectrum flatSpectrum(double reflectance);

// The CIEDE2000 of each spectrum when a 3x3 matrix is fitted by least squares
// on those very spectra's camera values (in memory, no picture, scored
// in-sample): what a 3x3 correction can do for this camera on this set.
[[nodiscard]] std::vector<double> bestMatrixErrors(const Camera& camera,
                                                   const std::vector<const photo::Spectrum*>& set);

// Where things are in a synthetic photograph: the chart (axis-aligned, patch
// centres `pitch` apart, each patch 0.8 of that wide), the samples lit as the
// chart is, the same samples lit less, and the neutral reference beside those.
struct Layout {
    int width = 0, height = 0;
    photo::Point chartOrigin; // centre of "dark skin"
    double pitch = 40;
    std::vector<photo::Region> samples, darkSamples; // the patches as drawn
    photo::Region reference;
    [[nodiscard]] photo::ChartCorners corners() const;
    [[nodiscard]] photo::Region chartPatch(int index) const;
};
// `count` samples in rows of `columns`, patches `pitch` apart.
[[nodiscard]] Layout layoutFor(int count, int columns, double chartPitch, int samplePitch,
                               bool darkSet);
// The middle of a drawn patch, `share` of its side, where it is read.
[[nodiscard]] photo::Region innerRegion(const photo::Region& patch, double share);

// The colours of one shot in raw linear camera values (before encoding).
struct Scene {
    photo::LinearRgb background;
    std::array<photo::LinearRgb, photo::chartPatches> chart{};
    std::vector<photo::LinearRgb> samples, darkSamples;
    photo::LinearRgb reference;
};
[[nodiscard]] Scene sceneOf(const Camera& camera, const PhotoData& data,
                            const std::vector<const photo::Spectrum*>& samples, double darkLight,
                            double referenceReflectance);

// The file kinds written: 16-bit linear TIFF of the raw values, and 8-bit
// sRGB JPEG (quality 95) after the camera's white balance.
enum class FileKind { LinearTiff16, SrgbJpeg8 };
[[nodiscard]] const char* fileKindName(FileKind kind);
[[nodiscard]] photo::Encoding encodingOf(FileKind kind);

// The shot as samples of that kind: background, chart, samples, reference.
[[nodiscard]] photo::Picture render(const Layout& layout, const Scene& scene, FileKind kind,
                                    const std::array<double, 3>& whiteBalance);
// Writes the picture as a file of that kind.
[[nodiscard]] Result writeShot(const std::string& path, const photo::Picture& picture,
                               FileKind kind);

} // namespace huelinx::photobench
