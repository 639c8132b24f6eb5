// The photo benchmark's synthetic photographs, drawn straight into samples.
#include "photo_bench.h"

#include "colour/ciede2000.h"
#include "colour/colorimetry.h"
#include "colour/tristimulus.h"

#include <algorithm>
#include <cmath>

namespace huelinx::photobench {

using photo::LinearRgb;
using photo::Region;

Loaded<PhotoData> loadPhotoData(const std::string& folder) {
    Loaded<PhotoData> out;
    PhotoData d;
    const auto rows = [&](const char* file, std::vector<photo::NamedSpectrum>& into) {
        auto read = photo::readRowSpectraFile(folder + "/" + file);
        if (read.value)
            into = std::move(*read.value);
        else
            out.message = read.message;
        return read.value.has_value();
    };
    if (!rows("chart-reflectance.csv", d.chart) || !rows("training-reflectance.csv", d.training))
        return out;
    auto lights = photo::readColumnSpectraFile(folder + "/illuminants.csv");
    auto cameras = photo::readCameraSpectraFile(folder + "/cameras.csv");
    if (!lights.value || !cameras.value) {
        out.message = lights.value ? cameras.message : lights.message;
        return out;
    }
    d.lights = std::move(*lights.value);
    d.cameras = std::move(*cameras.value);
    out.value = std::move(d);
    return out;
}

Camera cameraUnder(const photo::CameraSensitivity& sensitivity, const photo::Spectrum& light,
                   double whiteLevel) {
    Camera c{&sensitivity, &light};
    photo::Spectrum white;
    white.fill(1);
    const LinearRgb w = cameraRgb(c, white);
    const double top = std::max({w.r, w.g, w.b});
    c.scale = whiteLevel / top;
    c.whiteBalance = {top / w.r, top / w.g, top / w.b};
    return c;
}

LinearRgb cameraRgb(const Camera& c, const photo::Spectrum& reflectance) {
    double rgb[3] = {0, 0, 0};
    for (int i = 0; i < photo::spectralCount; ++i) {
        const double light = (*c.light)[i] * reflectance[i];
        rgb[0] += light * c.sensitivity->r[i];
        rgb[1] += light * c.sensitivity->g[i];
        rgb[2] += light * c.sensitivity->b[i];
    }
    return {rgb[0] * c.scale, rgb[1] * c.scale, rgb[2] * c.scale};
}

Tristimulus trueXyz(const photo::Spectrum& reflectance) {
    // As the chart's reference colours are made.
    return photo::instrumentXyz(reflectance);
}

double de00(const Tristimulus& a, const Tristimulus& b) {
    const ColourSettings illuminantC;
    const LabOfXyz p = xyzlab(a.X, a.Y, a.Z, illuminantC);
    const LabOfXyz q = xyzlab(b.X, b.Y, b.Z, illuminantC);
    return ciede2000({p.L, p.a, p.b}, {q.L, q.a, q.b});
}

photo::Spectrum flatSpectrum(double reflectance) {
    photo::Spectrum s;
    s.fill(reflectance);
    return s;
}

std::vector<double> bestMatrixErrors(const Camera& camera,
                                     const std::vector<const photo::Spectrum*>& set) {
    // Normal equations: (sum t t') W = sum t xyz', t the camera's r, g, b.
    double a[3][3] = {}, b[3][3] = {};
    std::vector<LinearRgb> rgb;
    std::vector<Tristimulus> xyz;
    for (const photo::Spectrum* s : set) {
        rgb.push_back(cameraRgb(camera, *s));
        xyz.push_back(trueXyz(*s));
        const double t[3] = {rgb.back().r, rgb.back().g, rgb.back().b};
        const double x[3] = {xyz.back().X, xyz.back().Y, xyz.back().Z};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                a[r][c] += t[r] * t[c];
                b[r][c] += t[r] * x[c];
            }
    }
    // The inverse of the symmetric 3x3 by its adjugate.
    const double inv[3][3] = {
        {a[1][1] * a[2][2] - a[1][2] * a[2][1], a[0][2] * a[2][1] - a[0][1] * a[2][2],
         a[0][1] * a[1][2] - a[0][2] * a[1][1]},
        {a[1][2] * a[2][0] - a[1][0] * a[2][2], a[0][0] * a[2][2] - a[0][2] * a[2][0],
         a[0][2] * a[1][0] - a[0][0] * a[1][2]},
        {a[1][0] * a[2][1] - a[1][1] * a[2][0], a[0][1] * a[2][0] - a[0][0] * a[2][1],
         a[0][0] * a[1][1] - a[0][1] * a[1][0]}};
    const double det = a[0][0] * inv[0][0] + a[0][1] * inv[1][0] + a[0][2] * inv[2][0];
    double w[3][3] = {};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                w[r][c] += inv[r][k] * b[k][c] / det;
    std::vector<double> errors;
    for (std::size_t i = 0; i < set.size(); ++i) {
        const double t[3] = {rgb[i].r, rgb[i].g, rgb[i].b};
        float f[3];
        for (int c = 0; c < 3; ++c)
            f[c] = static_cast<float>(t[0] * w[0][c] + t[1] * w[1][c] + t[2] * w[2][c]);
        errors.push_back(de00(xyz[i], {f[0], f[1], f[2]}));
    }
    return errors;
}

photo::ChartCorners Layout::corners() const {
    const auto at = [&](int col, int row) {
        return photo::Point{chartOrigin.x + col * pitch, chartOrigin.y + row * pitch};
    };
    return {at(0, 0), at(5, 0), at(5, 3), at(0, 3)};
}

Region Layout::chartPatch(int index) const {
    const double cx = chartOrigin.x + (index % 6) * pitch, cy = chartOrigin.y + (index / 6) * pitch;
    const int side = static_cast<int>(std::lround(0.8 * pitch));
    return {static_cast<int>(std::lround(cx - side / 2.0)),
            static_cast<int>(std::lround(cy - side / 2.0)), side, side};
}

Layout layoutFor(int count, int columns, double chartPitch, int samplePitch, bool darkSet) {
    Layout l;
    l.pitch = chartPitch;
    const int margin = static_cast<int>(chartPitch);
    l.chartOrigin = {static_cast<double>(margin), static_cast<double>(margin)};
    const int rows = (count + columns - 1) / columns;
    const int side = samplePitch * 4 / 5;
    const int chartBottom = margin + static_cast<int>(4 * chartPitch);
    const auto block = [&](int top, std::vector<Region>& into) {
        for (int i = 0; i < count; ++i)
            into.push_back({margin / 2 + (i % columns) * samplePitch,
                            top + (i / columns) * samplePitch, side, side});
        return top + rows * samplePitch;
    };
    int bottom = block(chartBottom, l.samples);
    if (darkSet) {
        // The reference sits at the head of the darker block, a patch wide.
        l.reference = {margin / 2, bottom + samplePitch / 2, side, side};
        bottom = block(bottom + 2 * samplePitch, l.darkSamples);
    }
    l.width = std::max(static_cast<int>(7 * chartPitch), margin + columns * samplePitch);
    l.height = bottom + margin / 2;
    return l;
}

Region innerRegion(const Region& patch, double share) {
    const int w = std::max(1, static_cast<int>(patch.width * share));
    const int h = std::max(1, static_cast<int>(patch.height * share));
    return {patch.x + (patch.width - w) / 2, patch.y + (patch.height - h) / 2, w, h};
}

Scene sceneOf(const Camera& camera, const PhotoData& data,
              const std::vector<const photo::Spectrum*>& samples, double darkLight,
              double referenceReflectance) {
    Scene s;
    photo::Spectrum grey;
    grey.fill(0.2);
    s.background = cameraRgb(camera, grey);
    for (int i = 0; i < photo::chartPatches; ++i)
        s.chart[i] = cameraRgb(camera, data.chart[i].values);
    const auto dimmed = [&](LinearRgb c) {
        return LinearRgb{c.r * darkLight, c.g * darkLight, c.b * darkLight};
    };
    for (const photo::Spectrum* spectrum : samples) {
        s.samples.push_back(cameraRgb(camera, *spectrum));
        s.darkSamples.push_back(dimmed(s.samples.back()));
    }
    grey.fill(referenceReflectance);
    s.reference = dimmed(cameraRgb(camera, grey));
    return s;
}

const char* fileKindName(FileKind kind) {
    return kind == FileKind::LinearTiff16 ? "16-bit linear TIFF" : "8-bit sRGB JPEG q95";
}

photo::Encoding encodingOf(FileKind kind) {
    return kind == FileKind::LinearTiff16 ? photo::Encoding::Linear : photo::Encoding::Srgb;
}

namespace {

using Pixel = std::array<std::uint16_t, 3>;

std::uint16_t linearSample(double v) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
}

// 8-bit sRGB code values, kept as the picture keeps them (times 257).
std::uint16_t srgbSample(double v) {
    v = std::clamp(v, 0.0, 1.0);
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<std::uint16_t>(std::lround(e * 255) * 257);
}

Pixel encoded(const LinearRgb& c, FileKind kind, const std::array<double, 3>& wb) {
    if (kind == FileKind::LinearTiff16)
        return {linearSample(c.r), linearSample(c.g), linearSample(c.b)};
    return {srgbSample(c.r * wb[0]), srgbSample(c.g * wb[1]), srgbSample(c.b * wb[2])};
}

void fill(photo::Picture& p, const Region& r, const Pixel& value) {
    const int x0 = std::max(0, r.x), x1 = std::min(p.width, r.x + r.width);
    const int y0 = std::max(0, r.y), y1 = std::min(p.height, r.y + r.height);
    for (int y = y0; y < y1; ++y) {
        std::uint16_t* s = p.samples.data() + 3 * (static_cast<std::size_t>(y) * p.width + x0);
        for (int x = x0; x < x1; ++x, s += 3)
            std::copy(value.begin(), value.end(), s);
    }
}

} // namespace

photo::Picture render(const Layout& layout, const Scene& scene, FileKind kind,
                      const std::array<double, 3>& whiteBalance) {
    photo::Picture p{layout.width, layout.height, kind == FileKind::LinearTiff16 ? 16 : 8, {}};
    p.samples.resize(3 * p.pixelCount());
    const auto paint = [&](const Region& r, const LinearRgb& c) {
        fill(p, r, encoded(c, kind, whiteBalance));
    };
    paint({0, 0, p.width, p.height}, scene.background);
    for (int i = 0; i < photo::chartPatches; ++i)
        paint(layout.chartPatch(i), scene.chart[i]);
    for (std::size_t i = 0; i < layout.samples.size() && i < scene.samples.size(); ++i)
        paint(layout.samples[i], scene.samples[i]);
    for (std::size_t i = 0; i < layout.darkSamples.size() && i < scene.darkSamples.size(); ++i)
        paint(layout.darkSamples[i], scene.darkSamples[i]);
    if (!layout.darkSamples.empty()) paint(layout.reference, scene.reference);
    return p;
}

Result writeShot(const std::string& path, const photo::Picture& picture, FileKind kind) {
    return kind == FileKind::LinearTiff16 ? photo::writeTiff16(path, picture)
                                          : photo::writeJpeg(path, picture, 95);
}

} // namespace huelinx::photobench
