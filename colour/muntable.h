// The Munsell renotation table: chromaticity x, y (CIE 1931, illuminant C,
// 2 degree observer) times 10000 on a grid of value, hue and chroma, read once
// from "Vadoro.dat" and shared read-only by both conversions.
//
// Grid: level index v = 0..14 (value levelValue[v]: 0, 0.2, 0.4, 0.6, 0.8,
// then 1..10); hue index k = 0..41 (hue 2.5 k on the 0..100 circle; k = 0 is
// 10RP, k = 40 a copy of k = 0, k = 41 never filled); chroma index j = 0..30
// (chroma 2 j; only 0..16 come from the file).
// An entry whose x or y is 0 lies outside the Munsell solid; the loader
// clears a file's records whose y is 0 or below to 0,0. Chroma index 0
// always holds the illuminant-C white 3101, 3163.
//
// "Vadoro.dat": records of two numbers, x then y times 10000, read by the
// list-input rule (numbers separated by commas or line ends, blanks ignored).
// The first 7480 give the whole values 0..10 in the order value, k = 0..39,
// j = 0..16 (record value x 680 + k x 17 + j); 2720 more may follow with the
// levels 0.2, 0.4, 0.6 and 0.8 in the same order (record 7480 + d x 680 + k x
// 17 + j, d = 0..3); anything after them is ignored, and anything after the
// first 7480 that isn't all 2720 is refused. Older programs read the first
// 7480 and ignore the rest.
// A file without them gets its dark levels on the straight line from value 0
// to value 1, as the table held no levels between them.
#pragma once

#include "files/result.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace huelinx {

class CellIndex;

// Chromaticity of the illuminant-C white 98.074, 100, 118.232: the chroma-0
// point of every hue and value. The table's entries, in four decimals, hold
// it as 0.3101, 0.3163; the exact white stands in for them.
constexpr double whiteExactX = 98.074 / (98.074 + 100.0 + 118.232);
constexpr double whiteExactY = 100.0 / (98.074 + 100.0 + 118.232);
constexpr float whiteX = static_cast<float>(whiteExactX);
constexpr float whiteY = static_cast<float>(whiteExactY);

class MunTable {
  public:
    // Table levels: value 0, the data's dark levels, then the whole values.
    static constexpr int levelCount = 15;
    static constexpr int darkLevels = 4;
    static constexpr double levelValue[levelCount] = {0, 0.2, 0.4, 0.6, 0.8, 1, 2, 3,
                                                      4, 5,   6,   7,   8,   9, 10};
    // Level index of a whole value 0..10.
    static constexpr int wholeLevel(int value) { return value == 0 ? 0 : value + darkLevels; }
    static constexpr int hueCount = 42;
    static constexpr int chromaCount = 31;
    // Hue and chroma indices that come from the data file.
    static constexpr int fileHues = 40;
    static constexpr int fileChromas = 17;
    // Numbers of the whole values every file has, and of the dark levels after them.
    static constexpr int baseNumbers = 11 * fileHues * fileChromas * 2;
    static constexpr int darkNumbers = darkLevels * fileHues * fileChromas * 2;

    MunTable();
    ~MunTable();
    MunTable(const MunTable&) = delete;
    MunTable& operator=(const MunTable&) = delete;

    static bool inBounds(int v, int k, int j) {
        return v >= 0 && v < levelCount && k >= 0 && k < hueCount && j >= 0 && j < chromaCount;
    }
    // Entry (v, k, j), component 0 = x, 1 = y, times 10000. Indices must be in bounds.
    std::int16_t at(int v, int k, int j, int c) const { return data_[offset(v, k, j) + c]; }
    void set(int v, int k, int j, int c, std::int16_t value) { data_[offset(v, k, j) + c] = value; }
    // The entry as a chromaticity fraction, entry / 10000 taken to single
    // precision; at chroma index 0, the exact white.
    float x(int v, int k, int j) const { return j == 0 ? whiteX : fraction(at(v, k, j, 0)); }
    float y(int v, int k, int j) const { return j == 0 ? whiteY : fraction(at(v, k, j, 1)); }
    static float fraction(std::int16_t entry) { return static_cast<float>(entry / 10000.0); }
    // The same in double precision (entry / 10000), for the conversions'
    // interpolation; at chroma index 0, the exact white.
    double exactX(int v, int k, int j) const { return j == 0 ? whiteExactX : at(v, k, j, 0) / 1e4; }
    double exactY(int v, int k, int j) const { return j == 0 ? whiteExactY : at(v, k, j, 1) / 1e4; }

    // Puts the white at chroma index 0 and copies hue index 0 to 40, then
    // prepares the search cells. Call after the entries are set; the loader does.
    void finish();
    // Cells prepared by finish() for the CIE-to-Munsell search.
    const CellIndex& cells() const { return *cells_; }

  private:
    static int offset(int v, int k, int j) { return ((v * hueCount + k) * chromaCount + j) * 2; }

    std::array<std::int16_t, levelCount * hueCount * chromaCount * 2> data_{};
    std::unique_ptr<CellIndex> cells_;
};

// Where a value lies among the table's levels: between level `lower` and the
// next, `f` of the way (0 on the level itself). Values from 10 on take the
// top level with f = 0, values below 0 level 0.
struct LevelPosition {
    int lower = 0;
    double f = 0;
};
[[nodiscard]] LevelPosition levelOf(double value);

// A search cell (k, j) of the table: hue index k, chroma index j. The search
// ends at k = 40, j = 0 when no cell holds the point.
struct CellPosition {
    std::int16_t k = MunTable::fileHues;
    std::int16_t j = 0;
    bool found() const { return k != MunTable::fileHues; }
};

// Fills `table` from the text of a data file; `fileName` only names it in messages.
Result loadMunTable(std::string_view text, const std::string& fileName, MunTable& table);
// Reads the file at `path` and loads it.
Result loadMunTableFile(const std::string& path, MunTable& table);

} // namespace huelinx
