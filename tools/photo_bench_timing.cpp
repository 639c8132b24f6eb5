// The photo benchmark's timing on a 24-megapixel picture.
#include "photo_bench_report.h"

#include <algorithm>
#include <chrono>

namespace huelinx::photobench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The chart large in the left of the frame, 100 samples in a grid on the right.
Layout largeLayout() {
    Layout l;
    l.width = 6000;
    l.height = 4000;
    l.pitch = 500;
    l.chartOrigin = {400, 400};
    for (int i = 0; i < 100; ++i)
        l.samples.push_back({3150 + (i % 10) * 285, 200 + (i / 10) * 285, 228, 228});
    return l;
}

// The file read, then the chart read and fitted and every sample read, then
// one sample read again and again (the median time of those reads).
bool timeOne(Timing& t, const std::string& path, FileKind kind, const Layout& layout,
             const std::array<Tristimulus, photo::chartPatches>& chart,
             std::vector<std::string>& failures) {
    Clock::time_point start = Clock::now();
    const auto picture = photo::readPicture(path);
    t.readSeconds = secondsSince(start);
    if (!picture.value) return failures.push_back(picture.message), false;
    start = Clock::now();
    const auto reading = photo::readChart(*picture.value, encodingOf(kind), layout.corners());
    const auto fit = reading.value
                         ? photo::fitChart(*reading.value, chart, photo::FitKind::Matrix3x3)
                         : Loaded<photo::Calibration>{};
    if (!fit.value) return failures.push_back(path + ": the chart was not fitted"), false;
    for (const photo::Region& r : layout.samples)
        if (!photo::readRegion(*picture.value, *fit.value, innerRegion(r, 0.5), std::nullopt).value)
            return failures.push_back(path + ": a region was not read"), false;
    t.calibrateAndRegionsSeconds = secondsSince(start);
    const photo::Region one = innerRegion(layout.samples[44], 0.5);
    t.regionSide = one.width;
    std::vector<double> times;
    for (int i = 0; i < 51; ++i) {
        start = Clock::now();
        if (!photo::readRegion(*picture.value, *fit.value, one, std::nullopt).value) return false;
        times.push_back(secondsSince(start) * 1000);
    }
    std::nth_element(times.begin(), times.begin() + 25, times.end());
    t.oneRegionMilliseconds = times[25];
    return true;
}

// A photograph's grain: each sample moved by up to one 8-bit code value (or
// 128 of 65535), so the files compress and decode as real pictures do rather
// than as flat patches.
photo::Picture grained(photo::Picture p) {
    std::uint32_t state = 2463534242u;
    for (std::uint16_t& s : p.samples) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        if (p.bits == 8) {
            const int code = std::clamp(s / 257 + static_cast<int>(state % 3) - 1, 1, 254);
            s = static_cast<std::uint16_t>(code * 257);
        } else {
            s = static_cast<std::uint16_t>(
                std::clamp(static_cast<int>(s) + static_cast<int>(state % 257) - 128, 1, 65534));
        }
    }
    return p;
}

} // namespace

std::vector<Timing> timeLargePicture(const PhotoData& data,
                                     const std::array<Tristimulus, photo::chartPatches>& chart,
                                     const std::string& scratch,
                                     std::vector<std::string>& failures) {
    std::vector<Timing> out;
    const photo::NamedSpectrum* d65 = photo::findSpectrum(data.lights, "D65");
    if (!d65 || data.cameras.empty() || data.training.size() < 100) return out;
    const Camera camera = cameraUnder(data.cameras.front(), d65->values, 0.9);
    std::vector<const photo::Spectrum*> samples;
    for (int i = 0; i < 100; ++i)
        samples.push_back(&data.training[i].values);
    const Layout layout = largeLayout();
    const Scene scene = sceneOf(camera, data, samples, 1, 0.18);
    for (FileKind kind : {FileKind::SrgbJpeg8, FileKind::LinearTiff16}) {
        const std::string path =
            scratch + (kind == FileKind::SrgbJpeg8 ? "/large.jpg" : "/large.tif");
        const Result written =
            writeShot(path, grained(render(layout, scene, kind, camera.whiteBalance)), kind);
        if (!written.ok) {
            failures.push_back(written.message);
            continue;
        }
        Timing t{fileKindName(kind), layout.width, layout.height, 100};
        if (timeOne(t, path, kind, layout, chart, failures)) out.push_back(t);
        std::remove(path.c_str());
    }
    return out;
}

} // namespace huelinx::photobench
