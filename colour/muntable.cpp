#include "colour/muntable.h"

#include "colour/cellindex.h"
#include "colour/high_chromas.h"
#include "files/file_read.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace huelinx {

MunTable::MunTable() : cells_(std::make_unique<CellIndex>()) {}
MunTable::~MunTable() = default;

void MunTable::finish() {
    // The white in the table's four decimals; x() and y() give it exactly.
    constexpr std::int16_t wx = 3101, wy = 3163;
    for (int v = 0; v < levelCount; ++v) {
        for (int k = 0; k < fileHues; ++k) {
            set(v, k, 0, 0, wx);
            set(v, k, 0, 1, wy);
        }
        for (int j = 0; j < chromaCount; ++j)
            for (int c = 0; c < 2; ++c)
                set(v, fileHues, j, c, at(v, 0, j, c));
    }
    cells_ = std::make_unique<CellIndex>(*this);
}

LevelPosition levelOf(double value) {
    if (!(value > 0.0)) return {};
    if (value >= 10.0) return {MunTable::levelCount - 1, 0.0};
    if (value >= 1.0) {
        const double whole = std::floor(value);
        return {static_cast<int>(whole) + MunTable::darkLevels, value - whole};
    }
    // Below 1 the levels lie 0.2 apart. A value given in single precision
    // (0.6f is 0.6 + 2.4e-8) still lands on its level, so that a level's own
    // points need no data from the level above.
    double scaled = value * 5.0;
    if (std::fabs(scaled - std::round(scaled)) < 1e-6) scaled = std::round(scaled);
    const double lower = std::min(std::floor(scaled), double{MunTable::darkLevels});
    return {static_cast<int>(lower), scaled - lower};
}

namespace {

std::string quotedName(const std::string& fileName) {
    return "\"" + fileName + "\"";
}

// Reads the next number of the file into `out`, or says what is wrong.
bool readEntry(ListReader& reader, const std::string& fileName, int count, std::int16_t& out,
               std::string& message) {
    reader.skipBlankLines();
    const std::size_t line = reader.lineNumber();
    const auto item = reader.field();
    const std::string where = quotedName(fileName) + ", line " + std::to_string(line) + ": ";
    if (!item) {
        message = quotedName(fileName) + " ends after " + std::to_string(count) + " numbers; " +
                  (count < MunTable::baseNumbers
                       ? std::to_string(MunTable::baseNumbers)
                       : std::to_string(MunTable::baseNumbers) + " or " +
                             std::to_string(MunTable::baseNumbers + MunTable::darkNumbers)) +
                  " are needed.";
        return false;
    }
    const auto number = strictNumber(*item);
    if (!number) {
        message = where + "expected a number, found \"" + excerpt(*item) + "\".";
        return false;
    }
    const double whole = roundHalfEven(*number);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        message = where + "the number " + excerpt(*item) + " is outside -32768..32767.";
        return false;
    }
    out = static_cast<std::int16_t>(whole);
    return true;
}

// Numbers in file order, level by level: the whole values 0..10, then the
// dark levels when the file has them.
void setLevels(MunTable& table, const std::vector<std::int16_t>& entries, bool dark) {
    auto next = entries.begin();
    const auto fill = [&](int level) {
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j < MunTable::fileChromas; ++j)
                for (int c = 0; c < 2; ++c)
                    table.set(level, k, j, c, *next++);
    };
    for (int value = 0; value <= 10; ++value)
        fill(MunTable::wholeLevel(value));
    if (dark) {
        for (int d = 1; d <= MunTable::darkLevels; ++d)
            fill(d);
        return;
    }
    // A file of whole values only: each dark level on the straight line from
    // value 0 to value 1, where the table interpolated before it had them;
    // no point where either end has none (x = 0, as the conversion tests).
    const int top = MunTable::wholeLevel(1);
    for (int d = 1; d <= MunTable::darkLevels; ++d)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j < MunTable::fileChromas; ++j) {
                const bool both = table.at(0, k, j, 0) != 0 && table.at(top, k, j, 0) != 0;
                for (int c = 0; c < 2; ++c) {
                    const double low = table.at(0, k, j, c), high = table.at(top, k, j, c);
                    const double blend = low + (high - low) * MunTable::levelValue[d];
                    table.set(d, k, j, c, both ? static_cast<std::int16_t>(std::lround(blend)) : 0);
                }
            }
}

} // namespace

Result loadMunTable(std::string_view text, const std::string& fileName, MunTable& table) {
    // Read every number before touching the table, so a bad file leaves it as it was.
    ListReader reader(text);
    Result result;
    std::vector<std::int16_t> entries(MunTable::baseNumbers);
    for (int count = 0; count < MunTable::baseNumbers; ++count)
        if (!readEntry(reader, fileName, count, entries[count], result.message)) return result;
    reader.skipBlankLines();
    const bool dark = !reader.atEnd();
    if (dark) {
        entries.resize(MunTable::baseNumbers + MunTable::darkNumbers);
        for (int count = MunTable::baseNumbers; count < static_cast<int>(entries.size()); ++count)
            if (!readEntry(reader, fileName, count, entries[count], result.message)) return result;
    }
    // A point at y 0 or below (the data's 7.5PB 0.2/20) has no chromaticity:
    // no data there, for the conversion and the search alike.
    for (std::size_t i = 0; i < entries.size(); i += 2)
        if (entries[i + 1] <= 0) entries[i] = entries[i + 1] = 0;
    setLevels(table, entries, dark);
    // Cleared beyond the file's chromas, then the data's own points there.
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (int k = 0; k < MunTable::hueCount; ++k)
            for (int j = MunTable::fileChromas; j < MunTable::chromaCount; ++j)
                for (int c = 0; c < 2; ++c)
                    table.set(v, k, j, c, 0);
    addHighChromas(table);
    table.finish();
    result.ok = true;
    return result;
}

Result loadMunTableFile(const std::string& path, MunTable& table) {
    const FileText file = readWholeFile(path, tableFileLimit);
    if (file.status == FileRead::CannotOpen)
        return {false, "Cannot open the Munsell data file \"" + path + "\"."};
    if (file.status != FileRead::Ok)
        return {false, "The Munsell data file \"" + path + "\" " +
                           readFailure(file.status, tableFileLimit) + "."};
    return loadMunTable(file.text, path, table);
}

} // namespace huelinx
