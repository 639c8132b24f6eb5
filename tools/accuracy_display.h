// The measures of huelinx-accuracy beyond the renotation grid: the display
// colours through X, Y, Z and through Munsell, the data's points below value
// 1, and X, Y, Z typed back under each illuminant. Each sweep is pure
// computation on the core; the tool prints what they count.
#pragma once

#include "colour/muntable.h"
#include "colour/settings.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace huelinx::accuracy {

struct Count {
    long good = 0, all = 0;
    void add(bool ok) {
        ++all;
        good += ok ? 1 : 0;
    }
    double percent() const { return all ? 100.0 * static_cast<double>(good) / all : 0.0; }
};

// One line of the tool's table: "| measure | good of all (share) | goal |".
void printRow(const char* measure, const Count& c, const char* goal);

struct Target {
    float hue, value, chroma;
};

// A point of a renotation file: its notation and its x, y, Y.
struct DataRow {
    Target notation;
    double x, y, Y;
};

// Rows of a renotation file: hue,value,chroma,x,y,Y after one header line;
// lines without six fields are skipped. No rows for a file that can't be read.
std::vector<DataRow> readRenotationRows(const std::string& path);

// Shortest distance of two hues on the 0..100 circle.
double hueDistance(double a, double b);

// X, Y, Z -> display R, G, B of every display colour whose levels are
// multiples of `step` (1: all 16,777,216) through the R, G, B entry's X, Y,
// Z: how many come back as themselves.
Count displayThroughXyz(const ColourSettings& s, int step);

// Display colours R, G, B -> X, Y, Z -> Munsell -> X, Y, Z -> R, G, B at full
// precision (the conversions, no box texts). Every colour that doesn't come
// back exactly has one cause, the first of: the inverse's fit (other than in
// the data), the forward conversion refusing the notation, a colour back
// outside the display range, X, Y, Z back further than 1e-7 of their largest
// component, or (X, Y, Z back within it) display levels that still differ.
struct CubeTally {
    long all = 0, exact = 0, withinOne = 0;
    // X, Y, Z back within 1e-7 of their largest component.
    long xyzBack = 0;
    // Colours not exact, by cause; they add up to all - exact.
    std::map<std::string, long> causes;
    void merge(const CubeTally& other);
};

// The colours with levels that are multiples of `step`, red split into
// `threads` consecutive ranges converted side by side; the tally is the same
// for any number of threads.
CubeTally displayThroughMunsell(const MunTable& table, const ColourSettings& s, int step,
                                int threads);

// The data's points below value 1 (0.2, 0.4, 0.6, 0.8) both ways: the
// forward conversion of each notation against the data's own colour (CIEDE2000
// under illuminant C), and the inverse of its x, y, Y against the notation.
struct DarkPoints {
    long points = 0;
    // Points with y at or below 0: no colour, so the table holds none.
    long noColour = 0;
    Count forward;      // the notation converts
    Count closeForward; // and lies within CIEDE2000 0.02 of the data
    double medianDe = 0, maxDe = 0;
    Count inData;                           // x, y, Y found in the data
    Count sameNotation;                     // and within 0.01 of the notation
    double maxDh = 0, maxDv = 0, maxDc = 0; // over those in the data
    // The inverse's fit of the points it doesn't find in the data.
    std::map<std::string, long> notInData;
    // x, y with the Y of the point's exact value (the file's Y has four
    // decimals, a few ten-thousandths of a value off the level): within 0.01.
    Count sameFromLevelY;
};
DarkPoints darkPoints(const std::vector<DataRow>& rows, const MunTable& table);

// The notation found for typed X, Y, Z under settings `s`: hue on the 0..100
// circle, value, chroma, and whether it is a grey or no notation at all.
struct TypedBack {
    bool found = false, grey = false;
    double hue = 0, value = 0, chroma = 0;
};
using TypedXyzPath = TypedBack (*)(double X, double Y, double Z, const MunTable& table,
                                   const ColourSettings& s);

// The window's path for X, Y, Z typed into its boxes.
TypedBack windowNotationOf(double X, double Y, double Z, const MunTable& table,
                           const ColourSettings& s);

// `count` notations drawn from `seed` (hue 0..100, value 0.2..10, chroma
// 0..30, kept when the forward conversion accepts them) -> X, Y, Z under the
// illuminant of `s` at full precision -> `path`: how many come back within
// 0.01 in hue, value and chroma (a grey's hue aside).
Count reentry(const MunTable& table, const ColourSettings& s, int count, std::uint32_t seed,
              TypedXyzPath path = windowNotationOf);

// The rows of the measures above, after the tool's others: the whole display
// cube (R, G, B through X, Y, Z, and through Munsell at full precision with
// each exception's cause, beside `windowExact`, the window's two-decimal path
// on steps of 5), the data's points below value 1 and the re-entry under C,
// D50 and D65.
void printDisplayRows(const MunTable& table, const Count& windowExact);
void printDarkPoints(const std::vector<DataRow>& rows, const MunTable& table);
void printReentry(const MunTable& table);

} // namespace huelinx::accuracy
