#include "tools/vadoro_generator.h"

#include "colour/hue.h"
#include "colour/muntable.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace huelinx {

namespace {

struct Point {
    int x = 0, y = 0;
};

// Renotation points by value in tenths (2 = 0.2, 10 = 1), hue index 0..39 and
// chroma index 1..16.
using Grid = std::map<int, std::vector<std::vector<std::optional<Point>>>>;

struct Row {
    int valueTenths, hueIndex, chromaIndex;
    Point point;
};

// value x factor when that is a whole number in 16-bit range.
std::optional<int> whole(std::optional<double> value, double factor) {
    if (!value) return std::nullopt;
    const double scaled = *value * factor;
    const double rounded = std::round(scaled);
    if (std::fabs(scaled - rounded) > 1e-6 || std::fabs(rounded) > 32767) return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<int> whole(std::string_view text, double factor) {
    return whole(strictNumber(text), factor);
}

// One data line; no value for a line that is not hue,value,chroma,x,y[,Y].
std::optional<Row> parseRow(const std::string& line) {
    ListReader fields(line);
    std::string item[5];
    for (auto& f : item) {
        auto next = fields.field();
        if (!next) return std::nullopt;
        f = *next;
    }
    const HueOfText hue = converth(item[0]);
    const bool formatError = hue.family == HueFamily::Missing;
    const auto hueIndex = whole(double{hue.hue}, 1.0 / 2.5);
    const auto tenths = whole(item[1], 10.0);
    const auto chroma = whole(item[2], 1.0);
    const auto x = whole(item[3], 10000.0), y = whole(item[4], 10000.0);
    if (formatError || !hueIndex || !tenths || !chroma || !x || !y || *chroma % 2 != 0)
        return std::nullopt;
    return Row{*tenths, *hueIndex % MunTable::fileHues, *chroma / 2, {*x, *y}};
}

bool hasHue(const Grid& grid, int tenths, int k) {
    const auto level = grid.find(tenths);
    if (level == grid.end()) return false;
    for (const auto& point : level->second[k])
        if (point) return true;
    return false;
}

// Grid point of the level at `tenths` of a value. Value 0 takes the darkest
// data; it and value 0.2 take the value-0.4 points of a hue that value 0.2
// lacks (10Y), as no data lie below them.
Point gridPoint(const Grid& grid, int tenths, int k, int j) {
    if (j == 0) return {3101, 3163};
    if (tenths <= 2) tenths = hasHue(grid, 2, k) ? 2 : 4;
    const auto level = grid.find(tenths);
    if (level == grid.end() || !level->second[k][j]) return {0, 0};
    return *level->second[k][j];
}

} // namespace

Loaded<std::string> generateVadoro(std::string_view csv, const std::string& csvName) {
    ListReader lines(csv);
    Grid grid;
    lines.line(); // header
    while (!lines.atEnd()) {
        const std::size_t number = lines.lineNumber();
        const std::string line = *lines.line();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        const auto row = parseRow(line);
        if (!row)
            return {std::nullopt, "\"" + csvName + "\", line " + std::to_string(number) +
                                      ": expected hue,value,chroma,x,y, found \"" + excerpt(line) +
                                      "\"."};
        if (row->chromaIndex >= MunTable::fileChromas) continue;
        auto& level = grid[row->valueTenths];
        if (level.empty())
            level.assign(MunTable::fileHues,
                         std::vector<std::optional<Point>>(MunTable::fileChromas));
        level[row->hueIndex][row->chromaIndex] = row->point;
    }
    std::string text;
    const auto writeLevel = [&](int tenths) {
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j < MunTable::fileChromas; ++j) {
                const Point p = gridPoint(grid, tenths, k, j);
                text += std::to_string(p.x) + "," + std::to_string(p.y) + "\r\n";
            }
    };
    // The whole values first, as every file has them, then the dark levels.
    for (int v = 0; v <= 10; ++v)
        writeLevel(v * 10);
    for (int tenths : {2, 4, 6, 8})
        writeLevel(tenths);
    return {std::move(text), {}};
}

} // namespace huelinx
