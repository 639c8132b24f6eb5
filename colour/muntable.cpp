#include "colour/muntable.h"

#include "colour/cellindex.h"
#include "colour/high_chromas.h"
#include "files/file_read.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <cmath>
#include <vector>

namespace huelinx {

MunTable::MunTable() : cells_(std::make_unique<CellIndex>()) {}
MunTable::~MunTable() = default;

void MunTable::finish() {
    // The white in the table's four decimals; x() and y() give it exactly.
    constexpr std::int16_t wx = 3101, wy = 3163;
    for (int v = 0; v < valueCount; ++v) {
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
                  std::to_string(MunTable::fileNumbers) + " are needed.";
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

} // namespace

Result loadMunTable(std::string_view text, const std::string& fileName, MunTable& table) {
    // Read every number before touching the table, so a bad file leaves it as it was.
    ListReader reader(text);
    Result result;
    std::vector<std::int16_t> entries(MunTable::fileNumbers);
    for (int count = 0; count < MunTable::fileNumbers; ++count)
        if (!readEntry(reader, fileName, count, entries[count], result.message)) return result;
    auto next = entries.begin();
    for (int v = 0; v < MunTable::valueCount; ++v)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j < MunTable::fileChromas; ++j)
                for (int c = 0; c < 2; ++c)
                    table.set(v, k, j, c, *next++);
    // Cleared beyond the file's chromas, then the data's own points there.
    for (int v = 0; v < MunTable::valueCount; ++v)
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
