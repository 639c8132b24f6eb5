// huelinx-photo-bench: how well a photograph with the chart in the frame
// measures colour. Synthetic photographs of the chart and the 190 held-out
// spectra of training-reflectance.csv, through each camera under each light,
// are written as real picture files, read back and calibrated by the program's
// own path (readPicture, readChart, fitChart, readRegion), and every held-out
// reading is scored by CIEDE2000 against the spectrum's true colour under
// illuminant C. The chart's own patches are never scored.
//
//   huelinx-photo-bench [--quick] [--data FOLDER] [--scratch FOLDER]
//
// --quick: the first camera under D65 only, no 24-megapixel timing.
// The exit status is 1 when any picture or reading fails, or a reading of a
// sample without a neutral reference does not say its lighting was unchecked.
#include "photo_bench.h"
#include "photo_bench_report.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace huelinx;
using namespace huelinx::photobench;
namespace fs = std::filesystem;

namespace {

constexpr double whiteLevel = 0.9; // a perfect white's largest raw channel
constexpr double darkLight = 0.7;  // the darker sample: 30 % less light
constexpr double greyCard = 0.18;  // the neutral reference's reflectance
const char* const benchLights[] = {"A", "C", "D50", "D65", "F2", "F7", "F11", "ISO7589"};

struct Options {
    bool quick = false;
    std::string data = std::string(HUELINX_DATA_DIR) + "/photo";
    std::string scratch;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick")
            o.quick = true;
        else if (a == "--data" && i + 1 < argc)
            o.data = argv[++i];
        else if (a == "--scratch" && i + 1 < argc)
            o.scratch = argv[++i];
        else
            return false;
    }
    return true;
}

constexpr const char* noteUnchecked = "lighting of the sample not checked";

bool saysUnchecked(const photo::RegionReading& r) {
    for (const std::string& note : r.notes)
        if (note == noteUnchecked) return true;
    return false;
}

struct Shot {
    int camera = 0, light = 0;
    FileKind kind = FileKind::LinearTiff16;
};

// Every held-out patch read through one fit, lit as the chart and lit less
// (alone and with the neutral reference), and scored against its true colour.
void scoreFit(const photo::Picture& picture, const photo::Calibration& fit, const Layout& layout,
              const std::vector<Tristimulus>& truth, const Shot& shot, Scores& scores) {
    const photo::NeutralReference reference{innerRegion(layout.reference, 0.5),
                                            trueXyz(flatSpectrum(greyCard)).Y};
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const auto add = [&](Condition c, const photo::Region& r, bool withReference) {
            const auto reading = photo::readRegion(
                picture, fit, innerRegion(r, 0.5),
                withReference ? std::optional<photo::NeutralReference>(reference) : std::nullopt);
            if (!reading.value) {
                scores.failures.push_back("a region: " + reading.message);
                return;
            }
            if (!withReference && !saysUnchecked(*reading.value)) ++scores.missingNotes;
            if (reading.value->clipped) ++scores.clippedReadings;
            scores.readings.push_back({{shot.kind, fit.kind, shot.light, shot.camera, c},
                                       de00(truth[i], reading.value->xyz)});
        };
        add(Condition::Even, layout.samples[i], false);
        add(Condition::Darker, layout.darkSamples[i], false);
        add(Condition::DarkerWithReference, layout.darkSamples[i], true);
    }
}

struct Bench {
    const PhotoData& data;
    const std::array<Tristimulus, photo::chartPatches>& reference;
    std::vector<const photo::Spectrum*> heldOut;
    std::vector<Tristimulus> truth;
    Layout layout;
    fs::path scratch;
    Scores scores;
};

// One shot through the whole path: written, read back, calibrated, read.
void runShot(Bench& b, const Camera& camera, const Shot& shot, const std::string& fileName) {
    const Scene scene = sceneOf(camera, b.data, b.heldOut, darkLight, greyCard);
    const std::string path = (b.scratch / fileName).string();
    const Result written =
        writeShot(path, render(b.layout, scene, shot.kind, camera.whiteBalance), shot.kind);
    if (!written.ok) return b.scores.failures.push_back(written.message);
    const auto picture = photo::readPicture(path);
    if (!picture.value) return b.scores.failures.push_back(picture.message);
    const auto chart = photo::readChart(*picture.value, encodingOf(shot.kind), b.layout.corners());
    if (!chart.value) return b.scores.failures.push_back(fileName + ": " + chart.message);
    for (photo::FitKind kind : {photo::FitKind::Matrix3x3, photo::FitKind::RootPolynomial2}) {
        const auto fit = photo::fitChart(*chart.value, b.reference, kind);
        if (!fit.value) {
            b.scores.failures.push_back(fileName + " (" + photo::fitName(kind) +
                                        "): " + fit.message);
            continue;
        }
        b.scores.expected.push_back({{shot.kind, kind}, fit.value->expectedMedian});
        scoreFit(*picture.value, *fit.value, b.layout, b.truth, shot, b.scores);
    }
    fs::remove(path);
}

// Every camera under every light (one of each when quick), both file kinds.
Names runAll(Bench& b, bool quick) {
    Names names;
    names.spectra = static_cast<int>(b.heldOut.size());
    for (const char* light : benchLights) {
        if (quick && std::string(light) != "D65") continue;
        if (!photo::findSpectrum(b.data.lights, light)) {
            b.scores.failures.push_back(std::string("no light ") + light + " in illuminants.csv");
            continue;
        }
        names.lights.push_back(light);
    }
    const std::size_t cameras = quick ? 1 : b.data.cameras.size();
    for (std::size_t c = 0; c < cameras; ++c) {
        names.cameras.push_back(b.data.cameras[c].name);
        for (std::size_t l = 0; l < names.lights.size(); ++l) {
            const auto& light = photo::findSpectrum(b.data.lights, names.lights[l])->values;
            const Camera camera = cameraUnder(b.data.cameras[c], light, whiteLevel);
            for (double de : bestMatrixErrors(camera, b.heldOut))
                b.scores.bestMatrix.push_back({{FileKind::LinearTiff16, photo::FitKind::Matrix3x3,
                                                static_cast<int>(l), static_cast<int>(c)},
                                               de});
            for (FileKind kind : {FileKind::LinearTiff16, FileKind::SrgbJpeg8}) {
                const std::string file = b.data.cameras[c].name + "-" + names.lights[l] +
                                         (kind == FileKind::LinearTiff16 ? ".tif" : ".jpg");
                runShot(b, camera, {static_cast<int>(c), static_cast<int>(l), kind}, file);
            }
        }
        std::fprintf(stderr, "%s done\n", b.data.cameras[c].name.c_str());
    }
    return names;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: huelinx-photo-bench [--quick] [--data FOLDER] "
                             "[--scratch FOLDER]\n");
        return 2;
    }
    const auto data = loadPhotoData(options.data);
    const auto reference = photo::chartReference(options.data + "/chart-reflectance.csv");
    if (!data.value || !reference.value) {
        std::fprintf(stderr, "%s\n", (data.value ? reference.message : data.message).c_str());
        return 1;
    }
    Bench bench{*data.value, *reference.value, {}, {}, {}, {}, {}};
    for (const auto& s : data.value->training) {
        bench.heldOut.push_back(&s.values);
        bench.truth.push_back(trueXyz(s.values));
    }
    bench.layout = layoutFor(static_cast<int>(bench.heldOut.size()), 19, 50, 30, true);
    const bool ownScratch = options.scratch.empty();
    bench.scratch = ownScratch ? fs::temp_directory_path() /
                                     ("huelinx-photo-bench-" + std::to_string(::getpid()))
                               : fs::path(options.scratch);
    fs::create_directories(bench.scratch);
    const Names names = runAll(bench, options.quick);
    std::printf("%d held-out spectra, %zu cameras, lights %zu; pictures %d x %d\n", names.spectra,
                names.cameras.size(), names.lights.size(), bench.layout.width, bench.layout.height);
    printScores(bench.scores, names, stdout);
    if (!options.quick)
        printTiming(timeLargePicture(bench.data, bench.reference, bench.scratch.string(),
                                     bench.scores.failures),
                    stdout);
    if (ownScratch) fs::remove_all(bench.scratch);
    return bench.scores.failures.empty() && bench.scores.missingNotes == 0 ? 0 : 1;
}
