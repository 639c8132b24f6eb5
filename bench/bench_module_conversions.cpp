// The conversions of the Python module, a colour at a time on the core alone:
// each case calls the core functions the module's loop calls for one colour,
// under the module's default settings, so bench/bench_python.py can set the
// module's rate beside the core's. The colours are read from the folder
// HUELINX_BENCH_INPUTS (written by bench_python.py, so both sides convert the
// same ones); without it, seeded colours of the same kinds are made here.
#include "bench/bench_table.h"
#include "colour/chip_set.h"
#include "colour/ciede2000.h"
#include "colour/colorimetry.h"
#include "colour/colour_model.h"
#include "colour/hue.h"
#include "colour/iscc_nbs.h"
#include "colour/mun2xyz.h"
#include "colour/muntable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace huelinx;

const MunTable& table() {
    return benchTable();
}

// The module's default window: illuminant C, no PWD, white balance 100, gamma 2.2.
const ColourSettings& settings() {
    static const ColourSettings s = startedSettings(Illuminant::C, false, 100, "2.2");
    return s;
}

const char* inputsFolder() {
    return std::getenv("HUELINX_BENCH_INPUTS");
}

// Three numbers a colour, from `name`.f64 of the inputs folder (little-endian
// doubles), else made by `make`.
template <typename Make> const std::vector<double>& triples(const std::string& name, Make make) {
    static std::map<std::string, std::vector<double>> read;
    auto& values = read[name];
    if (!values.empty()) return values;
    if (const char* folder = inputsFolder()) {
        std::ifstream in(std::string(folder) + "/" + name + ".f64", std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string all = bytes.str();
        values.resize(all.size() / sizeof(double));
        std::copy(all.begin(), all.begin() + values.size() * sizeof(double),
                  reinterpret_cast<char*>(values.data()));
    } else
        values = make();
    if (values.empty()) {
        std::cerr << "no colours for " << name << "\n";
        std::exit(1);
    }
    return values;
}

// Hue 0..100, value 1..9, chroma 0..14, as bench_python.py makes them.
std::vector<double> madeHvc() {
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> hue(0, 100), value(1, 9), chroma(0, 14);
    std::vector<double> out;
    for (int i = 0; i < 100000; ++i)
        out.insert(out.end(), {hue(rng), value(rng), chroma(rng)});
    return out;
}

const std::vector<double>& hvc() {
    return triples("hvc", madeHvc);
}

// X, Y, Z of the notations the data hold.
const std::vector<double>& xyz() {
    return triples("xyz", [] {
        std::vector<double> out;
        const auto& n = hvc();
        for (std::size_t i = 0; i < n.size(); i += 3) {
            const CieOfMunsell c = mun2xyz(n[i], n[i + 1], n[i + 2], table(), settings());
            if (c.status == MunsellToCie::Ok) out.insert(out.end(), {c.X, c.Y, c.Z});
        }
        return out;
    });
}

std::vector<double> mapped(const std::vector<double>& in, void (*f)(const double*, double*)) {
    std::vector<double> out(in.size());
    for (std::size_t i = 0; i + 2 < in.size(); i += 3)
        f(&in[i], &out[i]);
    return out;
}

const std::vector<double>& lab() {
    return triples("lab", [] {
        return mapped(xyz(), [](const double* v, double* o) {
            const LabOfXyz c = xyzlab(v[0], v[1], v[2], settings());
            o[0] = c.L, o[1] = c.a, o[2] = c.b;
        });
    });
}

const std::vector<double>& xyy() {
    return triples("xyy", [] {
        return mapped(xyz(), [](const double* v, double* o) {
            const double sum = v[0] + v[1] + v[2];
            o[0] = v[0] / sum, o[1] = v[1] / sum, o[2] = v[1];
        });
    });
}

const std::vector<double>& rgb() {
    return triples("rgb", [] {
        std::mt19937 rng(20261209);
        std::uniform_real_distribution<double> level(0, 255);
        std::vector<double> out(300000);
        for (double& v : out)
            v = level(rng);
        return out;
    });
}

// X beyond 1e6, so each colour is entered into a window to see it overflows.
const std::vector<double>& bigXyz() {
    return triples("big", [] {
        std::vector<double> out(xyz().begin(), xyz().begin() + 30000);
        for (std::size_t i = 0; i < out.size(); i += 3)
            out[i] *= 1e30;
        return out;
    });
}

// Notation texts, one a line of texts.txt.
const std::vector<std::string>& texts() {
    static std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        if (const char* folder = inputsFolder()) {
            std::ifstream in(std::string(folder) + "/texts.txt");
            for (std::string line; std::getline(in, line);)
                out.push_back(line);
        } else {
            static const char* const families[] = {"R",  "YR", "Y",  "GY", "G",
                                                   "BG", "B",  "PB", "P",  "RP"};
            const auto& n = hvc();
            for (std::size_t i = 0; i < n.size(); i += 3) {
                char text[64];
                std::snprintf(text, sizeof text, "%.1f%s %.1f/%.1f", std::fmod(n[i], 10) + 0.1,
                              families[(i / 3) % 10], n[i + 1], n[i + 2]);
                out.push_back(text);
            }
        }
        return out;
    }();
    return lines;
}

template <typename Convert>
void eachColour(benchmark::State& state, const std::vector<double>& in, Convert convert) {
    for (auto _ : state)
        for (std::size_t i = 0; i + 2 < in.size(); i += 3)
            convert(&in[i]);
    state.SetItemsProcessed(state.iterations() * static_cast<long>(in.size() / 3));
}

// The window's sliders take the notation, then the data convert it.
CieOfMunsell munsellEntry(double hue, double value, double chroma) {
    if (!enteredSliderPosition(Slider::Value, static_cast<float>(value) * 2.0f) ||
        !enteredSliderPosition(Slider::Chroma, static_cast<float>(chroma)))
        return {};
    return mun2xyz(wrappedHue(hue), value, chroma, table(), settings());
}

void munsellToXyzNumbers(benchmark::State& state) {
    eachColour(state, hvc(), [](const double* v) {
        const CieOfMunsell c = munsellEntry(v[0], v[1], v[2]);
        benchmark::DoNotOptimize(c.X + c.Y + c.Z + c.x + c.y);
    });
}

void munsellToXyzTexts(benchmark::State& state) {
    const auto& lines = texts();
    for (auto _ : state)
        for (const std::string& line : lines) {
            const auto chip = readMunsellNotation(line);
            if (!chip) continue;
            const CieOfMunsell c = munsellEntry(chip->hue, chip->value, chip->chroma);
            benchmark::DoNotOptimize(c.X + c.Y + c.Z + c.x + c.y);
        }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(lines.size()));
}

void xyzToMunsell(benchmark::State& state) {
    eachColour(state, xyz(), [](const double* v) {
        const ShownNotation s = shownNotation(v[0], v[1], v[2], table(), settings());
        benchmark::DoNotOptimize(notationText(s.hueText, s.valueText, s.chromaText));
    });
}

void xyyToMunsell(benchmark::State& state) {
    eachColour(state, xyy(), [](const double* v) {
        const auto entered = xyzOfChromaticity(v[0], v[1], v[2]);
        const ShownNotation s =
            shownNotation(entered->X, entered->Y, entered->Z, table(), settings());
        benchmark::DoNotOptimize(notationText(s.hueText, s.valueText, s.chromaText));
    });
}

void xyzToLab(benchmark::State& state) {
    eachColour(state, xyz(), [](const double* v) {
        benchmark::DoNotOptimize(withoutChromaticity(v[0], v[1], v[2]));
        const LabOfXyz c = xyzlab(v[0], v[1], v[2], settings());
        benchmark::DoNotOptimize(c.L + c.a + c.b);
    });
}

// Entered into a window to see whether a box shows a number single
// precision can't hold, as the module does with colours beyond 1e6.
void xyzToLabEntered(benchmark::State& state) {
    eachColour(state, bigXyz(), [](const double* v) {
        ColourModel colour = ColourModel::initial();
        colour.settings = settings();
        const Box boxes[3] = {Box::X, Box::Y, Box::Z};
        for (int i = 0; i < 3; ++i) {
            char text[32];
            colour[boxes[i]] = std::string(text, std::to_chars(text, text + 32, v[i]).ptr);
        }
        enterInPlace(colour, Notation::Xyz, table());
        benchmark::DoNotOptimize(colour.box.data());
        const LabOfXyz c = xyzlab(v[0], v[1], v[2], settings());
        benchmark::DoNotOptimize(c.L + c.a + c.b);
    });
}

void labToXyz(benchmark::State& state) {
    eachColour(state, lab(), [](const double* v) {
        const auto back = xyzOfLabEntry(v[0], v[1], v[2], settings());
        benchmark::DoNotOptimize(back && withoutChromaticity(back->X, back->Y, back->Z));
    });
}

void xyzToRgb(benchmark::State& state) {
    eachColour(state, xyz(), [](const double* v) {
        benchmark::DoNotOptimize(withoutChromaticity(v[0], v[1], v[2]));
        const Tristimulus t{static_cast<float>(v[0]), static_cast<float>(v[1]),
                            static_cast<float>(v[2])};
        const RgbOfXyz c = entryDisplay(t.Y, t, settings());
        benchmark::DoNotOptimize(c.R + c.G + c.B);
    });
}

void rgbToXyz(benchmark::State& state) {
    eachColour(state, rgb(), [](const double* v) {
        float linear[3];
        for (int c = 0; c < 3; ++c)
            linear[c] = linearChannel(displayLevel(v[c]), settings(), c + 1);
        const Tristimulus t = xyzOfLinear(linear[0], linear[1], linear[2], settings());
        benchmark::DoNotOptimize(t.X + t.Y + t.Z);
    });
}

void isccNbsNameNumbers(benchmark::State& state) {
    const IsccNbsTable& names = benchNames();
    eachColour(state, hvc(), [&](const double* v) {
        const double hue = std::fmod(v[0], 100.0);
        benchmark::DoNotOptimize(v[2] == 0.0 ? names.nameOfNeutral(v[1])
                                             : names.nameOf(hue, v[1], v[2]));
    });
}

ChipSearch& realChips() {
    static ChipSearch* search = [] {
        const ChipSetPlaces places{{HUELINX_DATA_DIR}, {}};
        auto load = loadChipSet("renotation-real", places, table());
        if (!load.value) {
            std::cerr << load.message << "\n";
            std::exit(1);
        }
        return new ChipSearch(std::move(*load.value), table());
    }();
    return *search;
}

void nearestChipOfXyz(benchmark::State& state) {
    const std::vector<double> some(xyz().begin(),
                                   xyz().begin() + std::min<std::size_t>(xyz().size(), 300000));
    ChipSearch& chips = realChips();
    eachColour(state, some, [&](const double* v) {
        const ShownNotation s = shownNotation(v[0], v[1], v[2], table(), settings());
        if (!s.shown || s.hueText.empty()) return;
        const LabOfXyz lab = xyzlab(v[0], v[1], v[2], settings());
        const MunsellColour notation{static_cast<float>(s.grey ? 0.0 : s.hue),
                                     static_cast<float>(s.value), static_cast<float>(s.chroma),
                                     s.grey};
        benchmark::DoNotOptimize(chips.nearest({lab.L, lab.a, lab.b}, notation, settings()));
    });
}

void deltaE2000(benchmark::State& state) {
    const auto& labs = lab();
    const std::size_t n = labs.size() / 3;
    for (auto _ : state)
        for (std::size_t i = 0; i < n; ++i) {
            const double* a = &labs[3 * i];
            const double* b = &labs[3 * (n - 1 - i)];
            benchmark::DoNotOptimize(ciede2000({a[0], a[1], a[2]}, {b[0], b[1], b[2]}, {}));
        }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(n));
}

} // namespace

BENCHMARK(munsellToXyzNumbers)->Name("module/munsell_to_xyz/numbers");
BENCHMARK(munsellToXyzTexts)->Name("module/munsell_to_xyz/texts");
BENCHMARK(xyzToMunsell)->Name("module/xyz_to_munsell");
BENCHMARK(xyyToMunsell)->Name("module/xyy_to_munsell");
BENCHMARK(xyzToLab)->Name("module/xyz_to_lab");
BENCHMARK(xyzToLabEntered)->Name("module/xyz_to_lab/entered");
BENCHMARK(labToXyz)->Name("module/lab_to_xyz");
BENCHMARK(xyzToRgb)->Name("module/xyz_to_rgb");
BENCHMARK(rgbToXyz)->Name("module/rgb_to_xyz");
BENCHMARK(isccNbsNameNumbers)->Name("module/iscc_nbs_name/numbers");
BENCHMARK(nearestChipOfXyz)->Name("module/nearest_chip/xyz");
BENCHMARK(deltaE2000)->Name("module/delta_e_2000");
