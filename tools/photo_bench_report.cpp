// The photo benchmark's tables, as Markdown so they go into README as printed.
#include "photo_bench_report.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace huelinx::photobench {

namespace {

using Filter = std::function<bool(const ScoreKey&)>;

std::vector<double> select(const std::vector<Scores::Entry>& entries, const Filter& keep) {
    std::vector<double> out;
    for (const Scores::Entry& e : entries)
        if (keep(e.key)) out.push_back(e.de);
    return out;
}

double at(const std::vector<double>& sorted, double share) {
    const double position = share * static_cast<double>(sorted.size() - 1);
    const std::size_t low = static_cast<std::size_t>(std::floor(position));
    const std::size_t high = std::min(low + 1, sorted.size() - 1);
    return sorted[low] + (sorted[high] - sorted[low]) * (position - static_cast<double>(low));
}

void row(std::FILE* out, const std::string& head, const Summary& s) {
    std::fprintf(out, "| %s | %.2f | %.2f | %.2f | %zu |\n", head.c_str(), s.median, s.p95, s.max,
                 s.count);
}

const char* conditionName(Condition c) {
    switch (c) {
    case Condition::Even:
        return "lit as the chart";
    case Condition::Darker:
        return "30 % less light, no reference";
    case Condition::DarkerWithReference:
        return "30 % less light, grey card beside it";
    }
    return "";
}

constexpr FileKind kinds[] = {FileKind::LinearTiff16, FileKind::SrgbJpeg8};
constexpr photo::FitKind fits[] = {photo::FitKind::Matrix3x3, photo::FitKind::RootPolynomial2};

void printByLight(const Scores& s, const Names& names, std::FILE* out) {
    std::fprintf(out, "\nHeld-out spectra lit as the chart, CIEDE2000 by light:\n\n"
                      "| picture | fit | light | median | p95 | max | readings |\n"
                      "|---|---|---|---|---|---|---|\n");
    for (FileKind kind : kinds)
        for (photo::FitKind fit : fits) {
            const std::string head = std::string(fileKindName(kind)) + " | " + fitName(fit);
            const auto keep = [&](int light) {
                return [=](const ScoreKey& k) {
                    return k.kind == kind && k.fit == fit && k.condition == Condition::Even &&
                           (light < 0 || k.light == light);
                };
            };
            for (std::size_t l = 0; l < names.lights.size(); ++l)
                row(out, head + " | " + names.lights[l],
                    summarize(select(s.readings, keep(static_cast<int>(l)))));
            row(out, head + " | **all**", summarize(select(s.readings, keep(-1))));
        }
}

void printConditions(const Scores& s, std::FILE* out) {
    std::fprintf(out, "\nThe sample lit less than the chart, all cameras and lights:\n\n"
                      "| picture | fit | sample | median | p95 | max | readings |\n"
                      "|---|---|---|---|---|---|---|\n");
    for (FileKind kind : kinds)
        for (photo::FitKind fit : fits)
            for (Condition c : {Condition::Even, Condition::Darker, Condition::DarkerWithReference})
                row(out,
                    std::string(fileKindName(kind)) + " | " + fitName(fit) + " | " +
                        conditionName(c),
                    summarize(select(s.readings, [&](const ScoreKey& k) {
                        return k.kind == kind && k.fit == fit && k.condition == c;
                    })));
}

void printExpected(const Scores& s, std::FILE* out) {
    std::fprintf(out,
                 "\nThe fit's own expected error (leave-one-patch-out median on the chart, "
                 "the median over the shots) against the held-out median:\n\n"
                 "| picture | fit | expected (chart) | held-out median |\n|---|---|---|---|\n");
    for (FileKind kind : kinds)
        for (photo::FitKind fit : fits) {
            const auto same = [&](const ScoreKey& k) { return k.kind == kind && k.fit == fit; };
            const Summary e = summarize(select(s.expected, same));
            const Summary h = summarize(select(s.readings, [&](const ScoreKey& k) {
                return same(k) && k.condition == Condition::Even;
            }));
            std::fprintf(out, "| %s | %s | %.2f | %.2f |\n", fileKindName(kind), fitName(fit),
                         e.median, h.median);
        }
}

void printCameras(const Scores& s, const Names& names, std::FILE* out) {
    std::fprintf(out, "\nBy camera, all lights: a 3x3 fitted by the same least squares on the "
                      "held-out spectra themselves (in memory, scored in-sample: what a 3x3 can "
                      "do for this camera on this set) against the chart's 3x3 on 16-bit linear "
                      "pictures:\n\n"
                      "| camera | in-sample 3x3 median | in-sample 3x3 p95 | chart 3x3 median | "
                      "chart 3x3 p95 |\n|---|---|---|---|---|\n");
    for (int c = -1; c < static_cast<int>(names.cameras.size()); ++c) {
        const auto cam = [&](const ScoreKey& k) { return c < 0 || k.camera == c; };
        const Summary best = summarize(select(s.bestMatrix, cam));
        const Summary chart = summarize(select(s.readings, [&](const ScoreKey& k) {
            return cam(k) && k.kind == FileKind::LinearTiff16 &&
                   k.fit == photo::FitKind::Matrix3x3 && k.condition == Condition::Even;
        }));
        std::fprintf(out, "| %s | %.2f | %.2f | %.2f | %.2f |\n",
                     c < 0 ? "**all**" : names.cameras[c].c_str(), best.median, best.p95,
                     chart.median, chart.p95);
    }
}

void goal(std::FILE* out, const char* what, const Summary& s, double median, double p95) {
    const bool met = s.median <= median && (p95 <= 0 || s.p95 <= p95);
    std::fprintf(out, "- %s: median %.2f (goal %.1f)", what, s.median, median);
    if (p95 > 0) std::fprintf(out, ", p95 %.2f (goal %.1f)", s.p95, p95);
    std::fprintf(out, ": %s\n", met ? "met" : "NOT met");
}

void printGoals(const Scores& s, std::FILE* out) {
    const auto of = [&](FileKind kind, Condition c) {
        return summarize(select(s.readings, [&](const ScoreKey& k) {
            return k.kind == kind && k.fit == photo::FitKind::Matrix3x3 && k.condition == c;
        }));
    };
    std::fprintf(out, "\nGoals (3x3):\n\n");
    goal(out, "16-bit linear, held-out spectra", of(FileKind::LinearTiff16, Condition::Even), 0.5,
         1.5);
    goal(out, "8-bit sRGB JPEG q95", of(FileKind::SrgbJpeg8, Condition::Even), 1.0, 2.5);
    goal(out, "16-bit linear, 30 % darker sample with a grey card",
         of(FileKind::LinearTiff16, Condition::DarkerWithReference), 1.0, 0);
    goal(out, "8-bit sRGB JPEG q95, 30 % darker sample with a grey card",
         of(FileKind::SrgbJpeg8, Condition::DarkerWithReference), 1.0, 0);
    std::fprintf(out,
                 "- readings without a reference that do not say \"lighting of the sample not "
                 "checked\": %d\n- readings of a clipped region: %d\n- failures: %zu\n",
                 s.missingNotes, s.clippedReadings, s.failures.size());
    for (const std::string& f : s.failures)
        std::fprintf(out, "  - %s\n", f.c_str());
}

} // namespace

Summary summarize(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.median = at(values, 0.5);
    s.p95 = at(values, 0.95);
    s.max = values.back();
    s.count = values.size();
    return s;
}

void printScores(const Scores& scores, const Names& names, std::FILE* out) {
    printByLight(scores, names, out);
    printConditions(scores, out);
    printExpected(scores, out);
    printCameras(scores, names, out);
    printGoals(scores, out);
}

void printTiming(const std::vector<Timing>& timings, std::FILE* out) {
    std::fprintf(out,
                 "\nA large picture with the chart, on one core:\n\n"
                 "| picture | pixels | reading the file | calibration and %d regions | one "
                 "region |\n|---|---|---|---|---|\n",
                 timings.empty() ? 0 : timings.front().regions);
    for (const Timing& t : timings)
        std::fprintf(out, "| %s | %d x %d | %.2f s | %.3f s | %.2f ms (%d x %d pixels) |\n",
                     t.kind.c_str(), t.width, t.height, t.readSeconds, t.calibrateAndRegionsSeconds,
                     t.oneRegionMilliseconds, t.regionSide, t.regionSide);
}

} // namespace huelinx::photobench
