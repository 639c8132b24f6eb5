#include "tools/accuracy_display.h"

#include "colour/ciede2000.h"
#include "colour/colorimetry.h"
#include "colour/colour_model.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace huelinx::accuracy {

void printRow(const char* measure, const Count& c, const char* goal) {
    std::printf("| %s | %ld of %ld (%.2f %%) | %s |\n", measure, c.good, c.all, c.percent(), goal);
}

std::vector<DataRow> readRenotationRows(const std::string& path) {
    std::vector<DataRow> rows;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string hue, value, chroma, x, y, Y;
        if (!std::getline(fields, hue, ',') || !std::getline(fields, value, ',') ||
            !std::getline(fields, chroma, ',') || !std::getline(fields, x, ',') ||
            !std::getline(fields, y, ',') || !std::getline(fields, Y, ','))
            continue;
        const float h = wrappedHue(converth(hue).hue);
        rows.push_back(
            {{h, std::stof(value), std::stof(chroma)}, std::stod(x), std::stod(y), std::stod(Y)});
    }
    return rows;
}

double hueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 100.0 - d);
}

namespace {

// The first red level at or after `first` that is a multiple of `step`.
int firstMultiple(int first, int step) {
    return (first + step - 1) / step * step;
}

// The display colours in steps of `step` per channel, on `threads`
// consecutive ranges of red levels side by side: `visit(rgb, slot)` for each,
// writing only to its own slot.
template <typename Visit> void forEachLevel(int step, int threads, Visit visit) {
    threads = std::clamp(threads, 1, 256);
    const auto work = [&](int firstRed, int endRed, int slot) {
        for (int r = firstMultiple(firstRed, step); r < endRed; r += step)
            for (int g = 0; g <= 255; g += step)
                for (int b = 0; b <= 255; b += step) {
                    const int rgb[3] = {r, g, b};
                    visit(rgb, slot);
                }
    };
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back(work, 256 * t / threads, 256 * (t + 1) / threads, t);
    for (std::thread& thread : running)
        thread.join();
}

// X, Y, Z of a display colour as the R, G, B entry computes them.
Tristimulus xyzOfLevels(const int rgb[3], const ColourSettings& s) {
    float linear[3];
    for (int i = 0; i < 3; ++i)
        linear[i] = linearChannel(static_cast<std::int16_t>(rgb[i]), s, i + 1);
    return xyzOfLinear(linear[0], linear[1], linear[2], s);
}

int largestLevelDifference(const int rgb[3], const RgbOfXyz& back) {
    const int out[3] = {back.R, back.G, back.B};
    int largest = 0;
    for (int i = 0; i < 3; ++i)
        largest = std::max(largest, std::abs(out[i] - rgb[i]));
    return largest;
}

std::string fitName(MunsellFit fit) {
    switch (fit) {
    case MunsellFit::InData:
        return "in the data";
    case MunsellFit::OutsideData:
        return "outside the data";
    case MunsellFit::NotANumber:
        break;
    }
    return "not a number";
}

// Where the colours outside the data lie: below value 1 the data's levels are
// 0.2 apart, from value 1 to 2 the level below (value 1) holds less chroma
// than value 2 in many hues.
std::string valueBand(const MunsellOfXyz& m) {
    if (m.fit != MunsellFit::OutsideData) return "";
    if (m.V < 1.0) return ", value below 1";
    return m.V < 2.0 ? ", value 1 to 2" : ", value 2 or more";
}

std::string statusName(MunsellToCie status) {
    return status == MunsellToCie::OutsideData ? "outside the data" : "outside the table";
}

// Largest difference of two X, Y, Z relative to the largest component of the first.
template <typename A, typename B> double relativeDifference(const A& a, const B& b) {
    const double d = std::max(
        {std::fabs(double{b.X} - a.X), std::fabs(double{b.Y} - a.Y), std::fabs(double{b.Z} - a.Z)});
    const double largest =
        std::max({std::fabs(double{a.X}), std::fabs(double{a.Y}), std::fabs(double{a.Z})});
    return largest > 0 ? d / largest : d;
}

void tripOne(const int rgb[3], const MunTable& table, const ColourSettings& s, CubeTally& t) {
    ++t.all;
    const Tristimulus xyz = xyzOfLevels(rgb, s);
    if (xyz.Y <= 0.0f) {
        // No light: black, N 0/, which the display shows as its grey of Y 0.
        ++t.xyzBack;
        const int d = largestLevelDifference(rgb, greyrgb(0.0f, s));
        t.exact += d == 0 ? 1 : 0;
        t.withinOne += d <= 1 ? 1 : 0;
        if (d != 0) ++t.causes["black comes back another colour"];
        return;
    }
    const MunsellOfXyz m = xyz2mun(xyz.X, xyz.Y, xyz.Z, table, s);
    if (m.fit != MunsellFit::InData) {
        ++t.causes["the inverse finds it " + fitName(m.fit) + valueBand(m)];
        return;
    }
    const CieOfMunsell c = mun2xyz(m.H, m.V, m.C, table, s);
    if (c.status != MunsellToCie::Ok) {
        ++t.causes["the forward conversion refuses its notation: " + statusName(c.status)];
        return;
    }
    const bool xyzClose = relativeDifference(xyz, c) <= 1e-7;
    t.xyzBack += xyzClose ? 1 : 0;
    const RgbOfXyz back = m.C == 0 ? greyrgb(c.Y, s) : xyzrgb(c.X, c.Y, c.Z, s);
    const int d = largestLevelDifference(rgb, back);
    t.exact += d == 0 ? 1 : 0;
    t.withinOne += d <= 1 ? 1 : 0;
    if (d == 0) return;
    if (back.outOfRange)
        ++t.causes["comes back outside the display range"];
    else if (!xyzClose)
        ++t.causes["X, Y, Z come back further than 1e-7"];
    else
        ++t.causes["X, Y, Z come back within 1e-7, the levels differ"];
}

} // namespace

Count displayThroughXyz(const ColourSettings& s, int step) {
    std::vector<Count> parts(2);
    forEachLevel(step, 2, [&](const int rgb[3], int slot) {
        const Tristimulus t = xyzOfLevels(rgb, s);
        parts[static_cast<std::size_t>(slot)].add(
            largestLevelDifference(rgb, xyzrgb(t.X, t.Y, t.Z, s)) == 0);
    });
    return {parts[0].good + parts[1].good, parts[0].all + parts[1].all};
}

void CubeTally::merge(const CubeTally& other) {
    all += other.all;
    exact += other.exact;
    withinOne += other.withinOne;
    xyzBack += other.xyzBack;
    for (const auto& [cause, n] : other.causes)
        causes[cause] += n;
}

CubeTally displayThroughMunsell(const MunTable& table, const ColourSettings& s, int step,
                                int threads) {
    std::vector<CubeTally> parts(static_cast<std::size_t>(std::clamp(threads, 1, 256)));
    forEachLevel(step, threads, [&](const int rgb[3], int slot) {
        tripOne(rgb, table, s, parts[static_cast<std::size_t>(slot)]);
    });
    CubeTally whole;
    for (const CubeTally& part : parts)
        whole.merge(part);
    return whole;
}

namespace {

Lab labOf(double X, double Y, double Z, const ColourSettings& s) {
    const LabOfXyz lab = xyzlab(X, Y, Z, s);
    return {lab.L, lab.a, lab.b};
}

// The forward conversion of a point's notation against the point's colour.
void forwardOfPoint(const DataRow& r, const Lab& data, const MunTable& table,
                    const ColourSettings& s, DarkPoints& d, std::vector<double>& des) {
    const Target& n = r.notation;
    const CieOfMunsell c = mun2xyz(n.hue, n.value, n.chroma, table, s);
    const bool ok = c.status == MunsellToCie::Ok;
    d.forward.add(ok);
    if (!ok) {
        d.closeForward.add(false);
        return;
    }
    const double de = ciede2000(data, labOf(c.X, c.Y, c.Z, s));
    d.closeForward.add(de <= 0.02);
    des.push_back(de);
}

struct NotationDifference {
    double dh, dv, dc;
    bool within(double tolerance) const {
        return dh <= tolerance && dv <= tolerance && dc <= tolerance;
    }
};

NotationDifference differenceOf(const Target& n, const MunsellOfXyz& m) {
    return {hueDistance(n.hue, m.H), std::fabs(n.value - double{m.V}),
            std::fabs(n.chroma - double{m.C})};
}

// The inverse of a point's x, y, Y against its notation, and of its x, y
// with the Y of its exact value.
void inverseOfPoint(const DataRow& r, const MunTable& table, const ColourSettings& s,
                    DarkPoints& d) {
    const Target& n = r.notation;
    const auto inverseAt = [&](double Y) {
        return xyz2mun(r.x * Y / r.y, Y, (1.0 - r.x - r.y) * Y / r.y, table, s);
    };
    const MunsellOfXyz level = inverseAt(val2y(n.value, s));
    d.sameFromLevelY.add(level.fit == MunsellFit::InData && differenceOf(n, level).within(0.01));
    const MunsellOfXyz m = inverseAt(r.Y);
    const bool found = m.fit == MunsellFit::InData;
    d.inData.add(found);
    if (!found) {
        ++d.notInData[fitName(m.fit)];
        d.sameNotation.add(false);
        return;
    }
    const NotationDifference diff = differenceOf(n, m);
    d.maxDh = std::max(d.maxDh, diff.dh);
    d.maxDv = std::max(d.maxDv, diff.dv);
    d.maxDc = std::max(d.maxDc, diff.dc);
    d.sameNotation.add(diff.within(0.01));
}

} // namespace

DarkPoints darkPoints(const std::vector<DataRow>& rows, const MunTable& table) {
    const ColourSettings s; // illuminant C, the data's own
    DarkPoints d;
    std::vector<double> des;
    for (const DataRow& r : rows) {
        if (!(r.notation.value > 0.0f && r.notation.value < 1.0f)) continue;
        ++d.points;
        if (!(r.y > 0.0)) {
            ++d.noColour;
            continue;
        }
        const double X = r.x * r.Y / r.y, Z = (1.0 - r.x - r.y) * r.Y / r.y;
        forwardOfPoint(r, labOf(X, r.Y, Z, s), table, s, d, des);
        inverseOfPoint(r, table, s, d);
    }
    if (!des.empty()) {
        std::sort(des.begin(), des.end());
        const std::size_t half = des.size() / 2;
        d.medianDe = des.size() % 2 ? des[half] : (des[half - 1] + des[half]) / 2;
        d.maxDe = des.back();
    }
    return d;
}

TypedBack windowNotationOf(double X, double Y, double Z, const MunTable& table,
                           const ColourSettings& s) {
    const ShownNotation shown = shownNotation(X, Y, Z, table, s);
    TypedBack back;
    back.found = shown.shown && !shown.hueText.empty();
    back.grey = shown.grey;
    back.hue = shown.hue;
    back.value = shown.value;
    back.chroma = shown.chroma;
    return back;
}

Count reentry(const MunTable& table, const ColourSettings& s, int count, std::uint32_t seed,
              TypedXyzPath path) {
    std::mt19937 draws(seed);
    const auto unit = [&draws] { return static_cast<double>(draws()) / 4294967296.0; };
    Count same;
    // Far more draws than any table refuses; an empty table ends the loop.
    for (long tries = 0; same.all < count && tries < 1000L * count; ++tries) {
        const float hue = static_cast<float>(100 * unit());
        const float value = static_cast<float>(0.2 + 9.8 * unit());
        const float chroma = static_cast<float>(30 * unit());
        const CieOfMunsell c = mun2xyz(hue, value, chroma, table, s);
        if (c.status != MunsellToCie::Ok) continue;
        const TypedBack back = path(c.X, c.Y, c.Z, table, s);
        const bool hueBack = hueDistance(hue, back.hue) <= 0.01 || (back.grey && chroma < 0.005f);
        same.add(back.found && hueBack && std::fabs(back.value - value) <= 0.01 &&
                 std::fabs(back.chroma - chroma) <= 0.01);
    }
    return same;
}

namespace {

// A row whose result is a figure rather than a count.
void printFigure(const std::string& measure, const std::string& figure, const char* goal) {
    std::printf("| %s | %s | %s |\n", measure.c_str(), figure.c_str(), goal);
}

std::string decimals(double v, int places) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, v);
    return text;
}

} // namespace

void printDisplayRows(const MunTable& table, const Count& windowExact) {
    const ColourSettings s;
    printRow("all R, G, B -> X, Y, Z -> the same R, G, B", displayThroughXyz(s, 1), "all");
    const CubeTally cube = displayThroughMunsell(table, s, 1, 2);
    printRow("all R, G, B -> Munsell (full precision) -> the same R, G, B", {cube.exact, cube.all},
             "all");
    printRow("all R, G, B -> Munsell (full precision) -> the same R, G, B (+-1)",
             {cube.withinOne, cube.all}, "-");
    printRow("all R, G, B -> X, Y, Z -> Munsell -> X, Y, Z within 1e-7 of the largest",
             {cube.xyzBack, cube.all}, "all");
    for (const auto& [cause, n] : cube.causes)
        printRow(("all R, G, B not the same: " + cause).c_str(), {n, cube.all}, "-");
    printRow("all R, G, B -> Munsell (full precision) -> off by more than 1",
             {cube.all - cube.withinOne, cube.all}, "none");
    printRow("R, G, B in steps of 5 -> Munsell as the window shows it (two decimals) -> the same "
             "R, G, B",
             windowExact, "-");
}

void printDarkPoints(const std::vector<DataRow>& rows, const MunTable& table) {
    const DarkPoints d = darkPoints(rows, table);
    printRow("renotation points below value 1 with y above 0 (a colour)",
             {d.points - d.noColour, d.points}, "-");
    printRow("renotation points below value 1: Munsell -> a colour", d.forward, "all");
    printRow("renotation points below value 1: Munsell -> XYZ within dE00 0.02 of the data",
             d.closeForward, "all");
    printFigure("renotation points below value 1: Munsell -> XYZ, dE00 median / max",
                decimals(d.medianDe, 4) + " / " + decimals(d.maxDe, 4), "0.02");
    printRow("renotation points below value 1: x, y, Y inside the Munsell data", d.inData, "all");
    printRow("renotation points below value 1: x, y, Y -> their own notation within 0.01",
             d.sameNotation, "all");
    for (const auto& [fit, n] : d.notInData)
        printRow(("renotation points below value 1: x, y, Y found " + fit).c_str(),
                 {n, d.inData.all}, "-");
    printRow("renotation points below value 1: x, y with the Y of the exact value -> their own "
             "notation within 0.01",
             d.sameFromLevelY, "all");
    printFigure("renotation points below value 1: x, y, Y -> notation, largest hue / value / "
                "chroma difference",
                decimals(d.maxDh, 4) + " / " + decimals(d.maxDv, 4) + " / " + decimals(d.maxDc, 4),
                "0.01");
}

void printReentry(const MunTable& table) {
    const struct {
        Illuminant illuminant;
        const char* name;
    } illuminants[] = {{Illuminant::C, "C"}, {Illuminant::D5000, "D50"}, {Illuminant::D65, "D65"}};
    for (const auto& i : illuminants) {
        ColourSettings s;
        s.illuminant = i.illuminant;
        const std::string measure = std::string("1,000 random notations -> X, Y, Z under ") +
                                    i.name + " typed back -> the notation within 0.01";
        printRow(measure.c_str(), reentry(table, s, 1000, 25), "all");
    }
}

} // namespace huelinx::accuracy
