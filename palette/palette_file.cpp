#include "palette/palette_file.h"

#include "files/file_write.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/safe_text.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

namespace huelinx {

PaletteRecord paletteRecord(const ColourModel& colour) {
    PaletteRecord record;
    const auto texts = [&colour](Box first, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = colour[static_cast<Box>(static_cast<std::size_t>(first) + i)];
    };
    texts(Box::Hue, record.munsell);
    texts(Box::X, record.xyz);
    texts(Box::L, record.lab);
    texts(Box::Red, record.rgb);
    texts(Box::Cyan, record.cmyk);
    const std::int16_t levels[3] = {colour.red, colour.green, colour.blue};
    for (int i = 0; i < 3; ++i)
        record.linear[static_cast<std::size_t>(i)] =
            linearChannel(levels[i], colour.settings, i + 1);
    return record;
}

namespace {

// A text field in quotes, its own double quotes turned into two single quotes,
// text a spreadsheet would take for a formula marked with an apostrophe.
std::string textField(std::string_view text) {
    std::string safe;
    safe.reserve(text.size() + 1);
    if (needsSpreadsheetMark(text)) safe += '\'';
    for (char c : text) {
        if (c == '"')
            safe += "''";
        else
            safe += c;
    }
    return huelinx::quoted(safe) + ",";
}

template <std::size_t N> std::string textFields(const std::array<std::string, N>& texts) {
    std::string out;
    for (const std::string& t : texts)
        out += textField(t);
    return out;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string paletteLine(const PaletteRecord& r) {
    std::string line = textField(r.date) + textField(r.time) + textField(r.tag) +
                       textFields(r.munsell) + textFields(r.xyz) + textFields(r.lab);
    for (float v : r.linear)
        line += plainText(v) + ",";
    line += textFields(r.rgb) + textFields(r.cmyk);
    if (!r.moist.empty() || !r.dry.empty()) line += textField(r.moist) + textField(r.dry);
    return line + "\r\n";
}

Result appendPaletteLine(const std::string& path, const std::string& line) {
    Result written = appendToFile(path, line);
    if (!written.ok) written.message = "The colour could not be saved: " + written.message;
    return written;
}

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::string sameFileAnyCase(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    const fs::path given(path);
    const fs::path folder = given.has_parent_path() ? given.parent_path() : fs::path(".");
    const std::string wanted = lowerCase(given.filename().string());
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (lowerCase(name) == wanted && !it->is_directory(ec))
            return given.has_parent_path() ? (given.parent_path() / name).string() : name;
    }
    return path;
}

namespace {

// Where a soil sample's moist reading is: the 23rd field, after K.
constexpr std::size_t moistField = 22;

// The first six fields of one line of a palette file, and its moist and dry
// readings when it has them.
PaletteRow rowOfLine(const std::string& line) {
    PaletteRow row;
    ListReader fields(line);
    std::size_t count = 0;
    for (; count < row.fields.size(); ++count) {
        // A line may end in a comma and blanks: nothing is left to read.
        const std::optional<std::string> field = fields.field();
        if (!field) break;
        row.fields[count] = withoutSpreadsheetMark(trimmed(*field));
    }
    row.complete = count == row.fields.size();
    if (!row.complete) return row;
    for (; count < moistField; ++count)
        if (!fields.field()) return row;
    for (std::string* reading : {&row.moist, &row.dry}) {
        const std::optional<std::string> field = fields.field();
        if (!field) break;
        *reading = withoutSpreadsheetMark(trimmed(*field));
    }
    return row;
}

bool isBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::vector<PaletteRow> readPaletteRows(std::string_view text, std::size_t limit) {
    std::vector<PaletteRow> rows;
    ListReader lines(text);
    while (!lines.atEnd() && rows.size() < limit) {
        const std::size_t number = lines.lineNumber();
        const std::string line = *lines.line();
        if (isBlank(line)) continue;
        rows.push_back(rowOfLine(line));
        rows.back().line = number;
    }
    return rows;
}

bool rowsWithNotationAfter(std::string_view text, std::size_t line) {
    ListReader lines(text);
    while (!lines.atEnd()) {
        const std::size_t number = lines.lineNumber();
        const std::string read = *lines.line();
        if (number <= line || isBlank(read)) continue;
        const PaletteRow row = rowOfLine(read);
        if (row.complete && (!row.fields[3].empty() || !row.fields[5].empty())) return true;
    }
    return false;
}

} // namespace huelinx
