// huelinx-accuracy: how exactly the conversions give back what went in.
// Prints a table of round trips over the renotation data and the display
// colours, each with the share that comes back within its tolerance, then
// the whole display cube, the data's points below value 1 and X, Y, Z typed
// back under each illuminant (accuracy_display.cpp). The cube takes both
// cores: the run lasts about 15 s on an idle machine.
//
//   huelinx-accuracy [data folder [list]]
//
// The data folder defaults to data/ beside the program; with a second
// argument the real colours that convert to black are listed on stderr.
#include "colour/colour_model.h"
#include "colour/mun2xyz.h"
#include "colour/muntable.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"
#include "session/resources.h"
#include "tools/accuracy_display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace huelinx;
using namespace huelinx::accuracy;

namespace {

bool sameNotation(const Target& n, const MunsellOfXyz& m, double tolerance) {
    return hueDistance(n.hue, m.H) <= tolerance && std::fabs(n.value - m.V) <= tolerance &&
           std::fabs(n.chroma - m.C) <= tolerance;
}

// Munsell -> X, Y, Z (full precision) -> Munsell.
bool roundTrip(const Target& n, const MunTable& table, const ColourSettings& s) {
    const CieOfMunsell cie = mun2xyz(n.hue, n.value, n.chroma, table, s);
    if (cie.status != MunsellToCie::Ok || cie.Y == 0.0f) return false;
    return sameNotation(n, xyz2mun(cie.X, cie.Y, cie.Z, table, s), 0.01);
}

// X, Y, Z of a chromaticity and luminance, in single precision.
MunsellOfXyz munsellOf(const DataRow& r, const MunTable& table, const ColourSettings& s) {
    const float x = static_cast<float>(r.x), y = static_cast<float>(r.y);
    const float Y = static_cast<float>(r.Y);
    return xyz2mun(x * Y / y, Y, (1.0f - x - y) * Y / y, table, s);
}

// The last chroma of the renotation data at each grid hue (2.5 steps, index
// 0 = 10RP) and whole value.
struct ChromaLimits {
    float last[40][10] = {};
    explicit ChromaLimits(const std::vector<DataRow>& rows) {
        for (const DataRow& r : rows) {
            const Target& n = r.notation;
            if (n.value < 1 || n.value > 9 || n.value != std::floor(n.value)) continue;
            const int k = static_cast<int>(std::lround(n.hue / 2.5f)) % 40;
            float& limit = last[k][static_cast<int>(n.value)];
            limit = std::max(limit, n.chroma);
        }
    }
    float at(float hue, int value) const {
        return last[static_cast<int>(std::lround(hue / 2.5f)) % 40][value];
    }
};

// R, G, B -> Munsell (as the window shows it) -> R, G, B, through the colour model.
void displayRoundTrip(const MunTable& table, Count& same, Count& exact, Count& notBlack) {
    ColourModel start = selectIlluminant(ColourModel::initial(), Illuminant::C, table);
    for (int r = 0; r <= 255; r += 5)
        for (int g = 0; g <= 255; g += 5)
            for (int b = 0; b <= 255; b += 5) {
                ColourModel c = start;
                const int rgb[3] = {r, g, b};
                for (int i = 0; i < 3; ++i)
                    c[rgbBox(i)] = std::to_string(rgb[i]);
                c = enterRgb(std::move(c), table);
                c = enterMunsell(std::move(c), table);
                const int back[3] = {c.red, c.green, c.blue};
                int largest = 0;
                for (int i = 0; i < 3; ++i)
                    largest = std::max(largest, std::abs(back[i] - rgb[i]));
                same.add(largest <= 1);
                exact.add(largest == 0);
                notBlack.add(!c.rgbOutOfRange);
            }
}

// R, G, B -> Munsell -> R, G, B at full precision, without the text of the
// boxes: the conversions alone.
void numberRoundTrip(const MunTable& table, Count& same) {
    const ColourSettings s;
    for (int r = 0; r <= 255; r += 5)
        for (int g = 0; g <= 255; g += 5)
            for (int b = 0; b <= 255; b += 5) {
                const int rgb[3] = {r, g, b};
                float linear[3];
                for (int i = 0; i < 3; ++i)
                    linear[i] = linearChannel(static_cast<std::int16_t>(rgb[i]), s, i + 1);
                const Tristimulus t = rgbxyz(linear[0], linear[1], linear[2], s);
                const MunsellOfXyz m = xyz2mun(t.X * 100, t.Y * 100, t.Z * 100, table, s);
                const CieOfMunsell c = mun2xyz(m.H, m.V, m.C, table, s);
                const RgbOfXyz back =
                    m.C == 0.0f || t.Y == 0.0f ? greyrgb(c.Y, s) : xyzrgb(c.X, c.Y, c.Z, s);
                const int out[3] = {back.R, back.G, back.B};
                bool close = !back.outOfRange;
                for (int i = 0; i < 3; ++i)
                    close = close && std::abs(out[i] - rgb[i]) <= 1;
                same.add(close);
            }
}

} // namespace

int main(int argc, char** argv) {
    std::error_code failed;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", failed);
    const std::string folder =
        argc > 1 ? argv[1]
                 : (failed ? std::string("data") : (self.parent_path() / "data").string());
    // The data folder alone: the working folder's files are not the program's.
    Resources resources = Resources::inFolders({folder}, self.parent_path().string());
    const Result loaded = resources.loadTable();
    const MunTable& table = resources.table();
    if (!loaded.ok) {
        std::fprintf(stderr, "huelinx-accuracy: %s (data folder %s)\n", loaded.message.c_str(),
                     folder.c_str());
        return 1;
    }
    const std::vector<DataRow> all =
        readRenotationRows(resources.locate("munsell-renotation-all.csv").path);
    const std::vector<DataRow> real = readRenotationRows(resources.locate(renotationRealFile).path);
    if (all.empty() || real.empty()) {
        std::fprintf(stderr, "huelinx-accuracy: the renotation files in %s can't be read\n",
                     folder.c_str());
        return 1;
    }
    const ColourSettings s;

    // Grid points of whole values 1..9.
    Count gridTrip, gridInside;
    for (const DataRow& r : all) {
        const Target& n = r.notation;
        if (n.value < 1 || n.value > 9 || n.value != std::floor(n.value)) continue;
        gridTrip.add(roundTrip(n, table, s));
        gridInside.add(munsellOf(r, table, s).fit != MunsellFit::OutsideData);
    }
    // Notations in 0.1 hue and 0.1 chroma steps at whole values, up to the
    // chroma where the data of the nearest grid hue end. Those inside the
    // data (both grid hues around them hold their chroma) make the round
    // trip; the others have no colour in the table.
    Count fineTrip, fineInside;
    const ChromaLimits limits(all);
    for (int v = 1; v <= 9; ++v)
        for (int h = 1; h <= 1000; ++h) {
            const float hue = static_cast<float>(h % 1000) / 10.0f;
            const float limit = limits.at(hue, v);
            for (int c = 1; c <= static_cast<int>(limit * 10); ++c) {
                const Target n{hue, static_cast<float>(v), c / 10.0f};
                const bool inside =
                    mun2xyz(n.hue, n.value, n.chroma, table, s).status == MunsellToCie::Ok;
                fineInside.add(inside);
                if (inside) fineTrip.add(roundTrip(n, table, s));
            }
        }
    // The real colours: forward to a colour, and back from their x, y, Y.
    Count realForward, realBack;
    for (const DataRow& r : real) {
        const CieOfMunsell cie =
            mun2xyz(r.notation.hue, r.notation.value, r.notation.chroma, table, s);
        realForward.add(cie.status == MunsellToCie::Ok && cie.Y > 0.0f);
        if (argc > 2 && !(cie.status == MunsellToCie::Ok && cie.Y > 0.0f))
            std::fprintf(stderr, "black: %.1f %.0f/%.0f\n", r.notation.hue, r.notation.value,
                         r.notation.chroma);
        realBack.add(sameNotation(r.notation, munsellOf(r, table, s), 0.01));
    }
    Count displaySame, displayExact, displayNotBlack, numberSame;
    displayRoundTrip(table, displaySame, displayExact, displayNotBlack);
    numberRoundTrip(table, numberSame);

    std::printf("| round trip (illuminant C) | within tolerance | goal |\n|---|---|---|\n");
    printRow("renotation grid, values 1-9: Munsell -> XYZ -> Munsell within 0.01", gridTrip,
             "99.9 %");
    printRow("0.1 hue x 0.1 chroma steps inside the data, values 1-9: Munsell -> XYZ -> Munsell "
             "within 0.01",
             fineTrip, "99.9 %");
    printRow("0.1 hue x 0.1 chroma steps up to the nearest grid hue's last chroma: inside the data",
             fineInside, "-");
    printRow("renotation grid points (exact x, y, Y) inside the Munsell data", gridInside, "all");
    printRow("real colours: Munsell -> a colour other than black", realForward, "all");
    printRow("real colours: their x, y, Y -> their own notation within 0.01", realBack, "all");
    printRow("R, G, B in steps of 5 -> Munsell (full precision) -> the same R, G, B (+-1)",
             numberSame, "99 %");
    printRow(
        "R, G, B in steps of 5 -> Munsell as the window shows it (two decimals) -> the same R, "
        "G, B (+-1)",
        displaySame, "-");
    printRow("R, G, B in steps of 5 -> Munsell -> a displayable colour", displayNotBlack, "all");
    printDisplayRows(table, displayExact);
    printDarkPoints(all, table);
    printReentry(table);
    return 0;
}
