// Speed of the two central conversions over a fixed, seeded set of 10,000
// colours spread through the Munsell solid (values 1..9.5, all hues, chromas
// up to the data), under illuminants C and D65; of the nearest-chip search in
// the 2,744 chips of renotation-real (the real colours and ten greys) for
// the same colours, with comparing every chip for reference; and the ISCC-NBS
// name of 10,000 seeded notations anywhere in hue, value and chroma.
#include "bench/bench_table.h"
#include "colour/chip_set.h"
#include "colour/colorimetry.h"
#include "colour/colour_model.h"
#include "colour/colour_naming.h"
#include "colour/iscc_nbs.h"
#include "colour/mun2xyz.h"
#include "colour/muntable.h"
#include "colour/xyz2mun.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <vector>

namespace {

using namespace huelinx;

const MunTable& table() {
    return benchTable();
}

struct Colour {
    float hue, value, chroma, X, Y, Z;
};

ColourSettings settingsFor(Illuminant ill) {
    ColourSettings s;
    s.illuminant = ill;
    return s;
}

// 10,000 notations inside the data, with their X, Y, Z under `ill`.
const std::vector<Colour>& colours(Illuminant ill) {
    static std::vector<Colour> sets[3];
    auto& set = sets[static_cast<int>(ill)];
    if (!set.empty()) return set;
    std::mt19937 rng(20221217);
    std::uniform_real_distribution<float> hue(0, 100), value(1, 9.5f), chroma(0, 32);
    const ColourSettings s = settingsFor(ill);
    while (set.size() < 10000) {
        Colour c{hue(rng), value(rng), chroma(rng), 0, 0, 0};
        const CieOfMunsell cie = mun2xyz(c.hue, c.value, c.chroma, table(), s);
        if (cie.status != MunsellToCie::Ok) continue;
        c.X = cie.X;
        c.Y = cie.Y;
        c.Z = cie.Z;
        set.push_back(c);
    }
    return set;
}

void munsellToCie(benchmark::State& state, Illuminant ill) {
    const auto& set = colours(ill);
    const ColourSettings s = settingsFor(ill);
    for (auto _ : state) {
        for (const Colour& c : set) {
            const CieOfMunsell cie = mun2xyz(c.hue, c.value, c.chroma, table(), s);
            benchmark::DoNotOptimize(cie.status);
            benchmark::DoNotOptimize(cie.X + cie.Y + cie.Z + cie.x + cie.y);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(set.size()));
}

void cieToMunsell(benchmark::State& state, Illuminant ill) {
    const auto& set = colours(ill);
    const ColourSettings s = settingsFor(ill);
    for (auto _ : state) {
        for (const Colour& c : set) {
            const MunsellOfXyz n = xyz2mun(c.X, c.Y, c.Z, table(), s);
            benchmark::DoNotOptimize(n.fit);
            benchmark::DoNotOptimize(n.H + n.V + n.C);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(set.size()));
}

void isccNbsName(benchmark::State& state) {
    const IsccNbsTable& names = benchNames();
    struct Notation {
        float hue, value, chroma;
    };
    std::vector<Notation> set;
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> hue(0, 100), value(0, 10), chroma(0, 20);
    while (set.size() < 10000)
        set.push_back({hue(rng), value(rng), chroma(rng)});
    for (auto _ : state) {
        for (const Notation& n : set)
            benchmark::DoNotOptimize(names.nameOf(n.hue, n.value, n.chroma));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(set.size()));
}

// Loading a megabyte of name rules, each second one for the whole circle and
// the others narrow ranges that cut it into 40,000 segments: the cost of a
// large name table in the working folder at every start.
void isccNbsLoadMegabyte(benchmark::State& state) {
    std::string blocks = "hue_from,hue_to,value_min,value_min_op,value_max,value_max_op,"
                         "chroma_min,chroma_min_op,chroma_max,chroma_max_op,level3\n";
    for (int r = 0; r < 40000; ++r)
        blocks += r % 2 == 0
                      ? std::to_string(r * 0.0024) + "," + std::to_string(r * 0.0024 + 0.001) +
                            ",,,,," + std::to_string(r % 7) + ",>=,,,1\n"
                      : "0,100," + std::to_string(r % 9) + ",>,,,,,6,<,1\n";
    const std::string names = "level3,name,abbreviation,level2,level2_name,level1,level1_name\n"
                              "1,white,Wh,1,white,1,white\n";
    for (auto _ : state) {
        IsccNbsTable table;
        benchmark::DoNotOptimize(loadIsccNbs(blocks, "b", names, "n", table).ok);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(blocks.size()));
}

ChipSearch& realChipSearch() {
    static ChipSearch* search = [] {
        const std::string path = std::string(HUELINX_DATA_DIR) + "/munsell-renotation-real.csv";
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        auto load = renotationRealChips(text.str(), path);
        if (!load.value) {
            std::cerr << load.message << "\n";
            std::exit(1);
        }
        return new ChipSearch(std::move(*load.value), table());
    }();
    return *search;
}

std::vector<Lab> labColours(Illuminant ill) {
    std::vector<Lab> labs;
    for (const Colour& c : colours(ill)) {
        const LabOfXyz lab = xyzlab(c.X, c.Y, c.Z, settingsFor(ill));
        labs.push_back({lab.L, lab.a, lab.b});
    }
    return labs;
}

void searchChips(benchmark::State& state, Illuminant ill, bool byAllChips) {
    const std::vector<Lab> labs = labColours(ill);
    const ColourSettings s = settingsFor(ill);
    ChipSearch& search = realChipSearch();
    benchmark::DoNotOptimize(search.nearestIndex(labs[0], s)); // the chips' L*a*b*, once
    std::size_t n = 0;
    for (auto _ : state) {
        const Lab& c = labs[n++ % labs.size()];
        const auto found =
            byAllChips ? search.nearestIndexByAllChips(c, s) : search.nearestIndex(c, s);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

void nearestChip(benchmark::State& state, Illuminant ill) {
    searchChips(state, ill, false);
}
void nearestChipByAllChips(benchmark::State& state, Illuminant ill) {
    searchChips(state, ill, true);
}

// What the main window's name line adds to a conversion: the name and the
// nearest real chip of a converted colour model, read from its boxes, and
// their texts.
void nameAndChipLine(benchmark::State& state) {
    std::vector<ColourModel> models;
    for (const char* hue : {"5R", "2.5YR", "7.5GY", "10PB", "5RP", "N"})
        for (const char* value : {"2", "5", "8.5"}) {
            ColourModel m = selectIlluminant(ColourModel::initial(), Illuminant::C, table());
            m[Box::Hue] = hue;
            m[Box::Value] = value;
            m[Box::Chroma] = "6";
            models.push_back(enterMunsell(std::move(m), table()));
        }
    ChipSearch& search = realChipSearch();
    std::size_t n = 0;
    for (auto _ : state) {
        const ColourModel& m = models[n++ % models.size()];
        benchmark::DoNotOptimize(nameText(isccNbsNameOf(m, benchNames())));
        benchmark::DoNotOptimize(chipText(nearestChipOf(m, search)));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(nameAndChipLine)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nearestChip, C, Illuminant::C);
BENCHMARK_CAPTURE(nearestChip, D65, Illuminant::D65);
BENCHMARK_CAPTURE(nearestChipByAllChips, C, Illuminant::C);

BENCHMARK_CAPTURE(munsellToCie, C, Illuminant::C)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(munsellToCie, D65, Illuminant::D65)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(cieToMunsell, C, Illuminant::C)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(cieToMunsell, D65, Illuminant::D65)->Unit(benchmark::kMillisecond);
BENCHMARK(isccNbsName)->Unit(benchmark::kMicrosecond);
BENCHMARK(isccNbsLoadMegabyte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
