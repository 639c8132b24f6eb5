// Chart shots rendered in memory for the photo tests: reflectance spectra
// through a camera's sensitivities under a light, drawn as patches of a
// picture seen through a known projective map, linear or sRGB-encoded.
#pragma once

#include "photo/calibration.h"
#include "photo/wavelength_tables.h"

#include <array>
#include <string>
#include <vector>

namespace huelinx::testing {

struct PhotoData {
    std::vector<photo::NamedSpectrum> chart, training, lights, observer;
    std::vector<photo::CameraSensitivity> cameras;
};
// data/photo/, read with the program's own readers.
const PhotoData& photoData();
std::string photoDataPath(const std::string& file);

// A camera under a light; a perfect white's largest channel reads `whiteLevel`.
struct Camera {
    const photo::CameraSensitivity* sensitivity = nullptr;
    const photo::Spectrum* light = nullptr;
    double scale = 1;
    std::array<double, 3> whiteBalance{1, 1, 1}; // gains that make a white neutral
};
// "observer" is a camera that sees as the 1931 observer does.
Camera cameraUnder(const std::string& camera, const std::string& light, double whiteLevel = 0.8);
photo::LinearRgb cameraRgb(const Camera& camera, const photo::Spectrum& reflectance);

// X, Y, Z under illuminant C with the 1931 observer: plain sums over the
// 5 nm grid, white Y = 100 (the colour the sample truly has).
Tristimulus trueXyz(const photo::Spectrum& reflectance);
// A spectrally flat reflectance.
photo::Spectrum flat(double reflectance);
double de00(const Tristimulus& a, const Tristimulus& b);

// A projective map from the chart's plane (patch centres at whole numbers:
// column 0..5, row 0..3; each patch 0.8 wide) to picture pixels.
struct Projection {
    std::array<double, 9> m{}; // row-major 3x3
    photo::Point operator()(double u, double v) const;
    photo::Point inverse(double x, double y) const;
};
// 40 pixels a patch, the top-left centre at `origin`, turned by `degrees`,
// with `tilt` of perspective along x.
Projection projection(double degrees = 0, double tilt = 0, photo::Point origin = {60, 50});
photo::ChartCorners cornersOf(const Projection& p);

// A picture in linear values 0..1 before it is written as samples.
struct Canvas {
    int width = 0, height = 0;
    std::vector<photo::LinearRgb> pixels;
    Canvas(int w, int h, photo::LinearRgb background);
    void chart(const Projection& p, const std::array<photo::LinearRgb, 24>& patches,
               double lightGradient = 0); // exposure times 1 + gradient * column / 5
    void square(const photo::Region& r, photo::LinearRgb colour);
    // 16-bit linear samples, or 8-bit sRGB after the white balance.
    photo::Picture linear16() const;
    photo::Picture srgb8(const std::array<double, 3>& whiteBalance) const;
};

// The 24 chart patches through a camera, each times `exposure`.
std::array<photo::LinearRgb, 24> chartRgb(const Camera& camera, double exposure = 1);

} // namespace huelinx::testing
