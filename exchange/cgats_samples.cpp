#include "exchange/cgats_samples.h"

#include "colour/illuminant.h"
#include "text/excerpt.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace huelinx {

namespace {

// Values beyond this are no measurement; keeping them out keeps every
// single-precision result finite.
constexpr double valueLimit = 1e6;
// The grid of Reflectance: index i stands for 350 + 10 i nm.
constexpr long firstNm = 360, lastNm = 750;

std::string quoted(std::string_view text) {
    return "\"" + excerpt(text) + "\"";
}

CgatsSamples failure(const std::string& fileName, std::size_t line, const std::string& what) {
    CgatsSamples result;
    result.message =
        fileName + (line ? ", line " + std::to_string(line) : std::string()) + ": " + what;
    return result;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && sameWord(text.substr(text.size() - end.size()), end);
}

// The values of some columns of every set, set after set.
struct Columns {
    std::vector<double> values;
    std::size_t width = 0;
    double at(std::size_t set, std::size_t column) const { return values[set * width + column]; }
};

// Reads the columns as numbers; a failure names the set's line, the field and the text.
CgatsSamples readColumns(const CgatsTable& table, const std::vector<int>& columns,
                         const std::string& fileName, Columns& out) {
    out.width = columns.size();
    out.values.clear();
    out.values.reserve(table.setCount() * columns.size());
    for (std::size_t s = 0; s < table.setCount(); ++s) {
        for (int column : columns) {
            const std::string_view text = table.value(s, static_cast<std::size_t>(column));
            const auto number = strictNumber(text);
            if (!number || std::fabs(*number) > valueLimit) {
                const std::size_t line = s < table.setLines.size() ? table.setLines[s] : 0;
                const std::string field = quoted(table.fields[static_cast<std::size_t>(column)]);
                return failure(fileName, line,
                               std::string("expected a number") +
                                   (number ? " from -1e6 to 1e6" : "") + " for " + field +
                                   ", found " + quoted(text) + ".");
            }
            out.values.push_back(*number);
        }
    }
    CgatsSamples ok;
    ok.ok = true;
    return ok;
}

// The columns of three fields, or none unless all three are there.
std::optional<std::vector<int>> triple(const CgatsTable& table, const char* a, const char* b,
                                       const char* c) {
    std::vector<int> columns{table.field(a), table.field(b), table.field(c)};
    if (std::find(columns.begin(), columns.end(), -1) != columns.end()) return std::nullopt;
    return columns;
}

// A spectral field: its column and wavelength in nm.
struct Band {
    int column;
    long nm;
};

// The wavelength of SPECTRAL_NM380, SPECTRAL_380 or SPECTRAL_NM_380; none for other names.
std::optional<long> wavelengthOf(std::string_view name) {
    if (name.size() < 9 || !sameWord(name.substr(0, 9), "SPECTRAL_")) return std::nullopt;
    name.remove_prefix(9);
    if (name.size() >= 2 && sameWord(name.substr(0, 2), "NM")) name.remove_prefix(2);
    if (!name.empty() && name.front() == '_') name.remove_prefix(1);
    if (name.empty()) return std::nullopt;
    long nm = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return std::nullopt;
        nm = std::min(nm * 10 + (c - '0'), 999'999'999L); // saturates: far off the grid anyway
    }
    return nm;
}

std::vector<Band> spectralBands(const CgatsTable& table) {
    std::vector<Band> bands;
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        if (const auto nm = wavelengthOf(table.fields[i]))
            bands.push_back({static_cast<int>(i), *nm});
    std::sort(bands.begin(), bands.end(), [](const Band& x, const Band& y) { return x.nm < y.nm; });
    return bands;
}

// What is wrong with the wavelengths' spacing; empty when they step by 10 nm on the grid.
std::string spacingFault(const std::vector<Band>& bands) {
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const long nm = bands[i].nm;
        if (i > 0 && nm == bands[i - 1].nm) return std::to_string(nm) + " nm twice";
        if (i > 0 && nm - bands[i - 1].nm != 10)
            return std::to_string(nm - bands[i - 1].nm) + " nm (" +
                   std::to_string(bands[i - 1].nm) + " to " + std::to_string(nm) + " nm)";
        if (nm % 10 != 0) return std::to_string(nm) + " nm, off the 10 nm grid";
    }
    return {};
}

std::string idOf(const CgatsTable& table, std::size_t set, int idColumn) {
    if (idColumn < 0) return std::to_string(set + 1);
    return std::string(table.value(set, static_cast<std::size_t>(idColumn)));
}

// Samples with id, name and line, their colours still to be filled in.
std::vector<CgatsSample> bareSamples(const CgatsTable& table) {
    const int idColumn = table.field("SAMPLE_ID");
    int nameColumn = table.field("SAMPLE_NAME");
    if (nameColumn < 0) nameColumn = table.field("SAMPLE_LABEL");
    std::vector<CgatsSample> samples(table.setCount());
    for (std::size_t s = 0; s < samples.size(); ++s) {
        samples[s].id = idOf(table, s, idColumn);
        if (nameColumn >= 0) samples[s].name = table.value(s, static_cast<std::size_t>(nameColumn));
        samples[s].line = s < table.setLines.size() ? table.setLines[s] : 0;
    }
    return samples;
}

// The illuminant a keyword names and the keyword naming it; no keyword when none does.
struct Stated {
    std::string name;
    const char* keyword = nullptr;
};

Stated statedIlluminant(const CgatsTable& table) {
    if (const std::string* value = table.keyword("ILLUMINATION_NAME"))
        return {std::string(trimmed(*value)), "ILLUMINATION_NAME"};
    const std::string* source = table.keyword("MEASUREMENT_SOURCE");
    const std::string_view key = "ILLUMINATION=";
    for (std::size_t i = 0; source && i + key.size() <= source->size(); ++i) {
        if (!sameWord(std::string_view(*source).substr(i, key.size()), key)) continue;
        std::size_t start = i + key.size();
        while (start < source->size() && (*source)[start] == ' ')
            ++start;
        const std::size_t end = std::min(source->find_first_of(" \t,;", start), source->size());
        return {source->substr(start, end - start), "MEASUREMENT_SOURCE"};
    }
    return {};
}

// Sets the illuminant of XYZ or L*a*b* data and names it in the note, or
// turns the result into a failure for an illuminant the program doesn't have.
void readIlluminant(const CgatsTable& table, const std::string& fileName, CgatsSamples& result) {
    const Stated stated = statedIlluminant(table);
    if (!stated.keyword) {
        result.illuminant = Illuminant::D5000;
        result.note +=
            "; " + std::string(illuminantName(result.illuminant)) + " (no illuminant stated)";
        return;
    }
    const std::optional<Illuminant> named = illuminantNamed(stated.name, NameCase::Either);
    if (!named) {
        result = failure(fileName, 0,
                         "expected the illuminant C, D50 or D65, found " + quoted(stated.name) +
                             " (" + stated.keyword + ").");
        return;
    }
    result.illuminant = *named;
    result.note += "; " + std::string(illuminantName(*named)) + " (" + stated.keyword + ")";
}

// The second of three numbers a white keyword holds, and the keyword's name.
std::optional<std::pair<double, std::string>> statedWhiteY(const CgatsTable& table) {
    for (const auto& [name, value] : table.keywords) {
        if (!endsWith(name, "_WHITE") && !endsWith(name, "WHITE_POINT")) continue;
        std::vector<double> numbers;
        std::size_t i = 0;
        while (numbers.size() <= 3 && i < value.size()) {
            const std::size_t end = std::min(value.find_first_of(" \t,", i), value.size());
            if (end > i) {
                const auto number = strictNumber(std::string_view(value).substr(i, end - i));
                if (!number) break;
                numbers.push_back(*number);
            }
            i = end + 1;
        }
        if (numbers.size() == 3 && i >= value.size()) return std::pair{numbers[1], name};
    }
    return std::nullopt;
}

} // namespace

namespace {

CgatsSamples readXyz(const CgatsTable& table, const std::vector<int>& columns,
                     const std::string& fileName) {
    Columns xyz;
    CgatsSamples result = readColumns(table, columns, fileName, xyz);
    if (!result.ok) return result;
    result.data = CgatsData::Xyz;
    double largestY = -valueLimit;
    for (std::size_t s = 0; s < table.setCount(); ++s)
        largestY = std::max(largestY, xyz.at(s, 1));
    const auto white = statedWhiteY(table);
    const double whiteY = white ? white->first : largestY;
    const bool unit = whiteY <= 2;
    result.note = std::string("XYZ with white Y = ") + (unit ? "1" : "100") + " (" +
                  (white ? excerpt(white->second) + " Y " : "largest Y of the data ") +
                  plainText(whiteY) + ")" + (unit ? ", scaled to 100" : "");
    const double scale = unit ? 100 : 1;
    result.samples = bareSamples(table);
    for (std::size_t s = 0; s < result.samples.size(); ++s)
        result.samples[s].xyz = {static_cast<float>(xyz.at(s, 0) * scale),
                                 static_cast<float>(xyz.at(s, 1) * scale),
                                 static_cast<float>(xyz.at(s, 2) * scale)};
    readIlluminant(table, fileName, result);
    return result;
}

CgatsSamples readLab(const CgatsTable& table, const std::vector<int>& columns,
                     const std::string& fileName) {
    Columns lab;
    CgatsSamples result = readColumns(table, columns, fileName, lab);
    if (!result.ok) return result;
    result.data = CgatsData::Lab;
    result.note = "L*a*b*";
    result.samples = bareSamples(table);
    for (std::size_t s = 0; s < result.samples.size(); ++s)
        result.samples[s].lab = {lab.at(s, 0), lab.at(s, 1), lab.at(s, 2)};
    readIlluminant(table, fileName, result);
    return result;
}

// Checks the wavelengths and keeps those of the grid 360-750 nm; a failure
// names the line of BEGIN_DATA_FORMAT.
CgatsSamples spectralGrid(const CgatsTable& table, const std::string& fileName,
                          std::vector<Band>& bands) {
    const std::string fault = spacingFault(bands);
    if (!fault.empty())
        return failure(fileName, table.formatLine,
                       "unknown spectral spacing: expected 10 nm steps, found " + fault + ".");
    const std::size_t all = bands.size();
    bands.erase(std::remove_if(bands.begin(), bands.end(),
                               [](const Band& b) { return b.nm < firstNm || b.nm > lastNm; }),
                bands.end());
    if (bands.size() < 2)
        return failure(fileName, table.formatLine,
                       "expected at least 2 wavelengths within 360-750 nm, found " +
                           std::to_string(bands.size()) + ".");
    CgatsSamples result;
    result.ok = true;
    result.note = bands.size() < all ? "; wavelengths outside 360-750 nm left out" : "";
    return result;
}

CgatsSamples readSpectral(const CgatsTable& table, std::vector<Band> bands,
                          const std::string& fileName) {
    CgatsSamples grid = spectralGrid(table, fileName, bands);
    if (!grid.ok) return grid;
    std::vector<int> columns;
    for (const Band& band : bands)
        columns.push_back(band.column);
    Columns values;
    CgatsSamples result = readColumns(table, columns, fileName, values);
    if (!result.ok) return result;
    result.data = CgatsData::Spectral;
    result.illuminant = Illuminant::C;
    const double largest = *std::max_element(values.values.begin(), values.values.end());
    const bool percent = largest > 2;
    const long low = bands.front().nm, high = bands.back().nm;
    result.note = std::string("reflectance ") +
                  (percent ? "in percent" : "as fractions, scaled to percent") + " (largest " +
                  plainText(largest) + "), " + std::to_string(low) + "-" + std::to_string(high) +
                  " nm" + (low > firstNm || high < lastNm ? ", ends extended to 360-750 nm" : "") +
                  grid.note;
    const double scale = percent ? 1 : 100;
    const auto index = [](long nm) { return static_cast<std::size_t>((nm - 350) / 10); };
    result.samples = bareSamples(table);
    for (std::size_t s = 0; s < result.samples.size(); ++s) {
        Reflectance& r = result.samples[s].reflectance;
        for (std::size_t b = 0; b < bands.size(); ++b)
            r[index(bands[b].nm)] = static_cast<float>(values.at(s, b) * scale);
        for (std::size_t i = 1; i < index(low); ++i)
            r[i] = r[index(low)];
        for (std::size_t i = index(high) + 1; i <= 40; ++i)
            r[i] = r[index(high)];
    }
    return result;
}

} // namespace

CgatsSamples cgatsSamples(const CgatsTable& table, const std::string& fileName) {
    const auto xyz = triple(table, "XYZ_X", "XYZ_Y", "XYZ_Z");
    const auto lab = triple(table, "LAB_L", "LAB_A", "LAB_B");
    std::vector<Band> bands = spectralBands(table);
    const bool spectral = !bands.empty();
    if (table.setCount() == 0)
        return failure(fileName, 0, "expected at least one set, found none.");
    CgatsSamples result;
    if (xyz)
        result = readXyz(table, *xyz, fileName);
    else if (lab)
        result = readLab(table, *lab, fileName);
    else if (spectral)
        result = readSpectral(table, std::move(bands), fileName);
    else
        return failure(fileName, table.formatLine,
                       "no colour fields: expected XYZ_X XYZ_Y XYZ_Z, LAB_L LAB_A LAB_B or "
                       "SPECTRAL_NM380 ... in BEGIN_DATA_FORMAT.");
    if (result.ok && xyz && lab) result.note += "; LAB fields not read";
    if (result.ok && (xyz || lab) && spectral) result.note += "; spectral fields not read";
    return result;
}

CgatsSamples readCgatsSamples(std::string_view text, const std::string& fileName) {
    Loaded<CgatsTable> read = readCgats(text, fileName);
    if (!read.value) {
        CgatsSamples result;
        result.message = std::move(read.message);
        return result;
    }
    return cgatsSamples(*read.value, fileName);
}

} // namespace huelinx
