// Speed of the command-line converter (--csv, in process) and of the colour
// model's entries, on the core alone.
#include "colour/chip_set.h"
#include "colour/colour_model.h"
#include "colour/muntable.h"
#include "convert_corpus.h"
#include "tools/converter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <sstream>
#include <streambuf>

namespace {

using namespace huelinx;

// `count` lines of every kind, seeded, typed as a user would.
std::string typedLines(int count) {
    std::mt19937 rng(12);
    std::uniform_real_distribution<double> u(0, 1);
    std::ostringstream in;
    const char* families[10] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    for (int i = 0; i < count; ++i) {
        switch (i % 6) {
        case 0:
            in << "munsell," << 2.5 * (1 + i % 4) << families[i % 10] << "," << 1 + 8 * u(rng)
               << "," << 8 * u(rng);
            break;
        case 1:
            in << "xyz," << 5 + 60 * u(rng) << "," << 5 + 60 * u(rng) << "," << 5 + 60 * u(rng);
            break;
        case 2:
            in << "xy," << 0.2 + 0.2 * u(rng) << "," << 0.2 + 0.2 * u(rng) << ","
               << 50 * u(rng) + 1;
            break;
        case 3:
            in << "lab," << 100 * u(rng) << "," << 100 * u(rng) - 50 << "," << 100 * u(rng) - 50;
            break;
        case 4:
            in << "rgb," << int(255 * u(rng)) << "," << int(255 * u(rng)) << ","
               << int(255 * u(rng));
            break;
        default:
            in << "cmyk," << int(100 * u(rng)) << "," << int(100 * u(rng)) << ","
               << int(100 * u(rng)) << ",0";
        }
        in << "\n";
    }
    return in.str();
}

// The first 100,000 lines of the converter's test corpus: every kind, with
// the texts users get wrong, under one set of options.
std::string corpusLines() {
    std::string text;
    int count = 0;
    for (const auto& run : corpus::runs())
        for (const auto& line : run.lines) {
            if (count++ == 100000) return text;
            text += line + "\n";
        }
    return text;
}

// Counts what is written and keeps none of it, as /dev/null would.
class CountingSink : public std::streambuf {
  public:
    std::size_t count = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        count += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++count;
        return c;
    }
};

void convertCsv(benchmark::State& state, const std::string& input, int lines,
                const std::vector<std::string>& options = {}) {
    std::vector<std::string> args{"--csv"};
    args.insert(args.end(), options.begin(), options.end());
    for (auto _ : state) {
        std::istringstream in(input);
        CountingSink outSink, errSink;
        std::ostream out(&outSink), err(&errSink);
        runConverter(args, {HUELINX_DATA_DIR}, in, out, err);
        benchmark::DoNotOptimize(outSink.count);
    }
    state.SetItemsProcessed(state.iterations() * lines);
}

void converterTypedLines(benchmark::State& state) {
    static const std::string input = typedLines(100000);
    convertCsv(state, input, 100000);
}

// The same lines with the ISCC-NBS name and the nearest of the 2,744
// renotation-real chips on every line.
void converterTypedLinesNamesChips(benchmark::State& state) {
    static const std::string input = typedLines(100000);
    convertCsv(state, input, 100000, {"--names", "--chips", "renotation-real"});
}

// The same lines with the MacAdam columns on every line.
void converterTypedLinesLimits(benchmark::State& state) {
    static const std::string input = typedLines(100000);
    convertCsv(state, input, 100000, {"--limits"});
}

void converterCorpus(benchmark::State& state) {
    static const std::string input = corpusLines();
    convertCsv(state, input, 100000);
}

const MunTable& table();

// `count` pairs of soil chips, seeded, as a soil describer types them; with
// `offChips`, every tenth notation lies between chips and is first taken to
// the nearest one.
std::string soilPairs(int count, bool offChips) {
    const ChipSet soil = soilChips(table());
    std::mt19937 rng(28);
    std::uniform_int_distribution<std::size_t> chip(0, soil.chips.size() - 1);
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += soil.chips[chip(rng)].notation;
        text += i % 3 == 0 ? "\t" : ", ";
        if (offChips && i % 10 == 0)
            text += "10YR 5.3/3.2";
        else
            text += soil.chips[chip(rng)].notation;
        text += '\n';
    }
    return text;
}

// The contrast class of a million pairs of soil chips.
void converterContrastPairs(benchmark::State& state) {
    static const std::string input = soilPairs(1000000, false);
    convertCsv(state, input, 1000000, {"--contrast"});
}

// The same with one notation in ten off the chips.
void converterContrastOffChips(benchmark::State& state) {
    static const std::string input = soilPairs(1000000, true);
    convertCsv(state, input, 1000000, {"--contrast"});
}

const MunTable& table() {
    static MunTable loaded;
    static const bool ok =
        loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", loaded).ok;
    if (!ok) std::abort();
    return loaded;
}

void modelMunsellEntry(benchmark::State& state) {
    ColourModel colour = ColourModel::initial();
    const char* hues[4] = {"5R", "2.5YR", "7.5GY", "10PB"};
    int i = 0;
    for (auto _ : state) {
        colour[Box::Hue] = hues[i++ % 4];
        colour = enterMunsell(std::move(colour), table());
    }
    state.SetItemsProcessed(state.iterations());
}

void modelXyzEntry(benchmark::State& state) {
    ColourModel colour = ColourModel::initial();
    const char* xs[4] = {"20.5", "35.1", "12.9", "60.2"};
    int i = 0;
    for (auto _ : state) {
        colour[Box::X] = xs[i++ % 4];
        colour[Box::Y] = "25.3";
        colour[Box::Z] = "30.7";
        colour = enterXyz(std::move(colour), table());
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(converterTypedLines)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(converterTypedLinesLimits)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(converterTypedLinesNamesChips)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(converterContrastPairs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(converterContrastOffChips)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(converterCorpus)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(modelMunsellEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(modelXyzEntry)->Unit(benchmark::kMicrosecond);
