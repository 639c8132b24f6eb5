#include "synthetic_shot.h"

#include "colour/ciede2000.h"
#include "colour/colorimetry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace huelinx::testing {

using photo::LinearRgb;
using photo::Point;
using photo::Spectrum;

std::string photoDataPath(const std::string& file) {
    return std::string(HUELINX_DATA_DIR) + "/photo/" + file;
}

const PhotoData& photoData() {
    static const PhotoData data = [] {
        PhotoData d;
        d.chart = photo::readRowSpectraFile(photoDataPath("chart-reflectance.csv")).value.value();
        d.training =
            photo::readRowSpectraFile(photoDataPath("training-reflectance.csv")).value.value();
        d.lights = photo::readColumnSpectraFile(photoDataPath("illuminants.csv")).value.value();
        d.observer = photo::readColumnSpectraFile(photoDataPath("cmf-1931-2deg.csv")).value.value();
        d.cameras = photo::readCameraSpectraFile(photoDataPath("cameras.csv")).value.value();
        return d;
    }();
    return data;
}

Camera cameraUnder(const std::string& camera, const std::string& light, double whiteLevel) {
    const PhotoData& d = photoData();
    static const photo::CameraSensitivity observer{"observer", d.observer[0].values,
                                                   d.observer[1].values, d.observer[2].values};
    Camera c;
    if (camera == observer.name) c.sensitivity = &observer;
    for (const auto& s : d.cameras)
        if (s.name == camera) c.sensitivity = &s;
    c.light = &photo::findSpectrum(d.lights, light)->values;
    if (!c.sensitivity) throw std::runtime_error("no camera " + camera);
    const LinearRgb white = cameraRgb(c, flat(1));
    const double top = std::max({white.r, white.g, white.b});
    c.scale = whiteLevel / top;
    c.whiteBalance = {top / white.r, top / white.g, top / white.b};
    return c;
}

LinearRgb cameraRgb(const Camera& c, const Spectrum& reflectance) {
    double rgb[3] = {0, 0, 0};
    for (int i = 0; i < photo::spectralCount; ++i) {
        const double light = (*c.light)[i] * reflectance[i];
        rgb[0] += light * c.sensitivity->r[i];
        rgb[1] += light * c.sensitivity->g[i];
        rgb[2] += light * c.sensitivity->b[i];
    }
    return {rgb[0] * c.scale, rgb[1] * c.scale, rgb[2] * c.scale};
}

Tristimulus trueXyz(const Spectrum& reflectance) {
    const PhotoData& d = photoData();
    const Spectrum& light = photo::findSpectrum(d.lights, "C")->values;
    double xyz[3] = {0, 0, 0}, white = 0;
    for (int i = 0; i < photo::spectralCount; ++i) {
        for (int j = 0; j < 3; ++j)
            xyz[j] += light[i] * reflectance[i] * d.observer[j].values[i];
        white += light[i] * d.observer[1].values[i];
    }
    const double k = 100 / white;
    return {static_cast<float>(k * xyz[0]), static_cast<float>(k * xyz[1]),
            static_cast<float>(k * xyz[2])};
}

Spectrum flat(double reflectance) {
    Spectrum s;
    s.fill(reflectance);
    return s;
}

double de00(const Tristimulus& a, const Tristimulus& b) {
    const ColourSettings c;
    const LabOfXyz p = xyzlab(a.X, a.Y, a.Z, c), q = xyzlab(b.X, b.Y, b.Z, c);
    return ciede2000({p.L, p.a, p.b}, {q.L, q.a, q.b});
}

Point Projection::operator()(double u, double v) const {
    const double w = m[6] * u + m[7] * v + m[8];
    return {(m[0] * u + m[1] * v + m[2]) / w, (m[3] * u + m[4] * v + m[5]) / w};
}

Point Projection::inverse(double x, double y) const {
    // The adjugate of m maps back, up to a scale the division removes.
    const auto& a = m;
    const double i[9] = {
        a[4] * a[8] - a[5] * a[7], a[2] * a[7] - a[1] * a[8], a[1] * a[5] - a[2] * a[4],
        a[5] * a[6] - a[3] * a[8], a[0] * a[8] - a[2] * a[6], a[2] * a[3] - a[0] * a[5],
        a[3] * a[7] - a[4] * a[6], a[1] * a[6] - a[0] * a[7], a[0] * a[4] - a[1] * a[3]};
    const double w = i[6] * x + i[7] * y + i[8];
    return {(i[0] * x + i[1] * y + i[2]) / w, (i[3] * x + i[4] * y + i[5]) / w};
}

Projection projection(double degrees, double tilt, Point origin) {
    const double t = degrees * std::numbers::pi / 180, pitch = 40;
    const double c = std::cos(t) * pitch, s = std::sin(t) * pitch;
    return {{c, -s, origin.x, s, c, origin.y, tilt, 0, 1}};
}

photo::ChartCorners cornersOf(const Projection& p) {
    return {p(0, 0), p(5, 0), p(5, 3), p(0, 3)};
}

Canvas::Canvas(int w, int h, LinearRgb background)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, background) {}

void Canvas::chart(const Projection& p, const std::array<LinearRgb, 24>& patches,
                   double lightGradient) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Point q = p.inverse(x, y);
            const double col = std::round(q.x), row = std::round(q.y);
            if (col < 0 || col > 5 || row < 0 || row > 3) continue;
            if (std::abs(q.x - col) > 0.4 || std::abs(q.y - row) > 0.4) continue;
            const LinearRgb c = patches[static_cast<int>(row) * 6 + static_cast<int>(col)];
            const double gain = 1 + lightGradient * q.x / 5;
            pixels[static_cast<std::size_t>(y) * width + x] = {c.r * gain, c.g * gain, c.b * gain};
        }
}

void Canvas::square(const photo::Region& r, LinearRgb colour) {
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = colour;
}

namespace {

std::uint16_t sample16(double v) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
}

std::uint16_t srgbSample8(double v) {
    v = std::clamp(v, 0.0, 1.0);
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<std::uint16_t>(std::lround(e * 255) * 257);
}

} // namespace

photo::Picture Canvas::linear16() const {
    photo::Picture p{width, height, 16, {}};
    for (const LinearRgb& c : pixels)
        for (double v : {c.r, c.g, c.b})
            p.samples.push_back(sample16(v));
    return p;
}

photo::Picture Canvas::srgb8(const std::array<double, 3>& wb) const {
    photo::Picture p{width, height, 8, {}};
    for (const LinearRgb& c : pixels) {
        p.samples.push_back(srgbSample8(c.r * wb[0]));
        p.samples.push_back(srgbSample8(c.g * wb[1]));
        p.samples.push_back(srgbSample8(c.b * wb[2]));
    }
    return p;
}

std::array<LinearRgb, 24> chartRgb(const Camera& camera, double exposure) {
    std::array<LinearRgb, 24> out{};
    for (int i = 0; i < 24; ++i) {
        const LinearRgb c = cameraRgb(camera, photoData().chart[i].values);
        out[i] = {c.r * exposure, c.g * exposure, c.b * exposure};
    }
    return out;
}

} // namespace huelinx::testing
