// Speed of the MacAdam limits check under C: 10,000 seeded X, Y, Z spread over
// the box around the object-colour solid (about a third of them inside), with
// the grouped faces and, for reference, measured over every face.
#include "colour/object_colour_solid.h"

#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <vector>

namespace {

using namespace huelinx;

const ObjectColourSolid& solid() {
    static const ObjectColourSolid s = [] {
        const Loaded<SpectralTables> t = loadSpectralTables({HUELINX_DATA_DIR});
        if (!t.value) throw std::runtime_error(t.message);
        return *solidOf(*t.value, Illuminant::C);
    }();
    return s;
}

const std::vector<ObjectColourSolid::Vector>& colours() {
    static const std::vector<ObjectColourSolid::Vector> c = [] {
        std::mt19937 random(29);
        std::uniform_real_distribution<double> X(0, 100), Y(0, 100), Z(0, 120);
        std::vector<ObjectColourSolid::Vector> v(10000);
        for (auto& p : v)
            p = {X(random), Y(random), Z(random)};
        return v;
    }();
    return c;
}

void macAdamCheck(benchmark::State& state) {
    const ObjectColourSolid& s = solid();
    for (auto _ : state)
        for (const auto& p : colours())
            benchmark::DoNotOptimize(s.check(p[0], p[1], p[2]));
    state.SetItemsProcessed(state.iterations() * std::int64_t(colours().size()));
}

void macAdamEveryFace(benchmark::State& state) {
    const ObjectColourSolid& s = solid();
    for (auto _ : state)
        for (const auto& p : colours())
            benchmark::DoNotOptimize(s.excessOverEveryFace(p[0], p[1], p[2]));
    state.SetItemsProcessed(state.iterations() * std::int64_t(colours().size()));
}

void macAdamSolidBuilt(benchmark::State& state) {
    const Loaded<SpectralTables> t = loadSpectralTables({HUELINX_DATA_DIR});
    for (auto _ : state)
        benchmark::DoNotOptimize(solidOf(*t.value, Illuminant::C));
}

} // namespace

BENCHMARK(macAdamCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(macAdamEveryFace)->Unit(benchmark::kMillisecond);
BENCHMARK(macAdamSolidBuilt)->Unit(benchmark::kMillisecond);
