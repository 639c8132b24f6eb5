// Speed of the exchange formats: a 10,000-sample CGATS.17 file imported whole
// (read, every sample converted, named, matched to the nearest real chip, the
// palette records and the report written in memory), and a 10,000-colour
// palette exported to each format.
#include "colour/chip_set.h"
#include "exchange/cgats_import.h"
#include "exchange/palette_export.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

namespace {

using namespace huelinx;

struct Data {
    MunTable table;
    IsccNbsTable names;
    std::unique_ptr<ChipSearch> chips;
    ColourModel start;
};

const Data& data() {
    static const Data* loaded = [] {
        auto* d = new Data;
        const std::string folder = HUELINX_DATA_DIR;
        if (!loadMunTableFile(folder + "/Vadoro.dat", d->table).ok ||
            !loadIsccNbsFolder(folder, d->names).ok) {
            std::cerr << "data files missing in " << folder << "\n";
            std::exit(1);
        }
        Loaded<ChipSet> load = loadChipSet("renotation-real", {{folder}, {}}, d->table);
        if (!load.value) {
            std::cerr << load.message << "\n";
            std::exit(1);
        }
        d->chips = std::make_unique<ChipSearch>(std::move(*load.value), d->table);
        d->start = selectIlluminant(ColourModel::initial(), Illuminant::C, d->table);
        return d;
    }();
    return *loaded;
}

// 10,000 measured-looking samples: X, Y, Z relative to D50 with white Y = 1,
// or reflectance curves in percent from 380 to 730 nm.
std::string cgatsFile(bool spectral) {
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> level(0.03, 0.9), tilt(-0.4, 0.4);
    std::ostringstream text;
    text << "CGATS.17\nORIGINATOR \"bench\"\nNUMBER_OF_FIELDS " << (spectral ? 38 : 5)
         << "\nBEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME";
    if (spectral)
        for (int nm = 380; nm <= 730; nm += 10)
            text << " SPECTRAL_NM" << nm;
    else
        text << " XYZ_X XYZ_Y XYZ_Z";
    text << "\nEND_DATA_FORMAT\nNUMBER_OF_SETS 10000\nBEGIN_DATA\n";
    for (int s = 1; s <= 10000; ++s) {
        const double base = level(rng), slope = tilt(rng);
        text << s << " \"patch " << s << "\"";
        if (spectral) {
            for (int nm = 380; nm <= 730; nm += 10)
                text << " " << 100.0 * std::clamp(base + slope * (nm - 555) / 350.0, 0.01, 1.0);
        } else {
            const double y = base * base;
            text << " " << y * (0.9642 + slope * 0.3) << " " << y << " " << y * (0.8249 - slope);
        }
        text << "\n";
    }
    text << "END_DATA\n";
    return text.str();
}

void cgatsImport(benchmark::State& state, bool spectral) {
    const Data& d = data();
    const std::string text = cgatsFile(spectral);
    const CsvExtras extras{&d.names, d.chips.get()};
    for (auto _ : state) {
        const CgatsImport imported =
            importCgats(text, "bench.txt", d.start, d.table, extras, "12-08-2026", "10:30:00");
        if (!imported.ok || imported.samples != 10000) {
            state.SkipWithError(imported.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(imported.reportText.data());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

void paletteExport(benchmark::State& state, ExportFormat format) {
    const Data& d = data();
    std::string palette;
    const char* hues[] = {"5R", "10YR", "2.5GY", "7.5BG", "5PB", "10P"};
    for (int i = 0; i < 10000; ++i)
        palette += std::string("\"d\",\"t\",\"tag ") + std::to_string(i) + "\",\"" + hues[i % 6] +
                   "\",\"" + std::to_string(2 + i % 7) + "\",\"" + std::to_string(2 + i % 9) +
                   "\",\r\n";
    const auto rows = readPaletteRows(palette, 20000);
    for (auto _ : state) {
        ColourModel colour = d.start;
        int skipped = 0;
        const auto swatches = paletteSwatches(rows, colour, d.table, d.names, skipped);
        benchmark::DoNotOptimize(exportPalette(format, "bench", swatches, Illuminant::C, "now"));
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

BENCHMARK_CAPTURE(cgatsImport, xyz, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(cgatsImport, spectral, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paletteExport, gpl, ExportFormat::Gpl)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paletteExport, ase, ExportFormat::Ase)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paletteExport, cgats, ExportFormat::Cgats)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
