#include "colour/chip_set.h"

#include "colour/data_files.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "files/file_read.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace huelinx {

namespace {

namespace fs = std::filesystem;

const char* const renotationRealName = "renotation-real";
const char* const soilName = "soil";

std::string upperCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

bool isValueChar(char c) {
    return c == '.' || std::isdigit(static_cast<unsigned char>(c));
}

// The hue number and family of a chromatic hue text such as 7.5YR: a number
// above 0 up to 10, then exactly one family name.
std::optional<double> chromaticHue(std::string_view text) {
    const std::string upper = upperCase(text);
    const std::size_t letters = upper.find_last_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (letters == std::string::npos) return std::nullopt;
    const std::string family = upper.substr(letters + 1);
    if (std::find(hueName.begin(), hueName.end() - 1, family) == hueName.end() - 1)
        return std::nullopt;
    const auto number = strictNumber(std::string_view(upper).substr(0, letters + 1));
    if (!number || !(*number > 0.0 && *number <= 10.0)) return std::nullopt;
    return wrappedHue(converth(upper).hue);
}

// Whether the chip's notation converts: the Munsell data hold it.
bool inData(const Chip& chip, const MunTable& table) {
    return mun2xyz(chip.hue, chip.value, chip.chroma, table, ColourSettings{}).status ==
           MunsellToCie::Ok;
}

std::string lineMessage(const std::string& fileName, std::size_t line, const std::string& what) {
    return fileName + ", line " + std::to_string(line) + ": " + what;
}

Loaded<ChipSet> failure(std::string message) {
    return {std::nullopt, std::move(message)};
}

// The header: `notation`, optionally followed by `label`, either case.
bool validHeader(std::string_view line) {
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3); // a byte-order mark
    ListReader fields(line);
    std::vector<std::string> names;
    while (auto field = fields.field())
        names.push_back(upperCase(trimmed(*field)));
    if (names.empty() || names.size() > 2 || names[0] != "NOTATION") return false;
    return names.size() == 1 || names[1] == "LABEL";
}

// The file's text, or no value with the reason in `why` ("can't be read").
std::optional<std::string> readFile(const std::string& path, std::string& why) {
    FileText file = readWholeFile(path, tableFileLimit);
    if (file.status == FileRead::Ok) return std::move(file.text);
    why = file.status == FileRead::CannotOpen || file.status == FileRead::CannotRead
              ? "can't be read"
              : readFailure(file.status, tableFileLimit);
    return std::nullopt;
}

std::string notationText(const std::string& hue, double value, double chroma) {
    return huelinx::notationText(hue, plainText(value), plainText(chroma));
}

// The grey "N 5/" of a value.
Chip neutralChip(double value) {
    return {huelinx::notationText("N", plainText(value), {}),
            {},
            0.0f,
            static_cast<float>(value),
            0.0f,
            true};
}

// The greys appended to the real colours: every whole value the data hold
// between black and white, and the 9.5 of the lightest chips.
const double neutralSeries[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 9.5};

bool isPath(const std::string& text) {
    return text.find('/') != std::string::npos || text.find('\\') != std::string::npos ||
           (text.size() > 4 && upperCase(text.substr(text.size() - 4)) == ".CSV");
}

// The user set files of the folders by name, the first folder's file for a name met twice.
std::vector<std::pair<std::string, std::string>> userSetFiles(const ChipSetPlaces& places) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& folder : places.chipFolders) {
        std::error_code failed;
        std::vector<std::pair<std::string, std::string>> here;
        for (const auto& entry : fs::directory_iterator(folder, failed)) {
            const fs::path& p = entry.path();
            if (upperCase(p.extension().string()) != ".CSV" || !entry.is_regular_file(failed))
                continue;
            here.emplace_back(p.stem().string(), p.string());
        }
        std::sort(here.begin(), here.end());
        for (auto& file : here) {
            const bool builtIn = file.first == renotationRealName || file.first == soilName;
            const bool seen = std::any_of(files.begin(), files.end(),
                                          [&](const auto& f) { return f.first == file.first; });
            if (!builtIn && !seen) files.push_back(std::move(file));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Loaded<ChipSet> loadChipFile(const std::string& path, const std::string& name,
                             const MunTable& table) {
    std::string why;
    const auto text = readFile(path, why);
    if (!text) return failure(path + ": the file " + why + ".");
    return readChipSet(*text, path, name, table);
}

Loaded<ChipSet> loadRenotationReal(const ChipSetPlaces& places) {
    const auto folder = firstFolderHolding(renotationRealFile, places.dataFolders);
    if (!folder)
        return failure(std::string(renotationRealFile) + " is in none of the data folders.");
    const std::string path = pathIn(*folder, renotationRealFile);
    std::string why;
    if (const auto text = readFile(path, why)) return renotationRealChips(*text, path);
    return failure(path + ": the file " + why + ".");
}

} // namespace

std::optional<Chip> readChipNotation(std::string_view text) {
    std::optional<Chip> chip = readMunsellNotation(text);
    if (chip && !(chip->value >= 0.0f && chip->value <= 10.0f)) return std::nullopt;
    return chip;
}

std::optional<NotationTexts> splitNotation(std::string_view text) {
    text = trimmed(text);
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view front = trimmed(text.substr(0, slash));
    std::size_t valueStart = front.size();
    while (valueStart > 0 && isValueChar(front[valueStart - 1]))
        --valueStart;
    return NotationTexts{trimmed(front.substr(0, valueStart)), front.substr(valueStart),
                         trimmed(text.substr(slash + 1))};
}

std::optional<Chip> readMunsellNotation(std::string_view text) {
    text = trimmed(text);
    const auto parts = splitNotation(text);
    if (!parts) return std::nullopt;
    const std::string_view hueText = parts->hue, chromaText = parts->chroma;
    const auto value = strictNumber(parts->value);
    if (hueText.empty() || !value) return std::nullopt;

    Chip chip;
    chip.notation = std::string(text);
    chip.value = *value;
    if (isNeutralHue(hueText)) {
        // N 5/ or N 5/0: a grey has no chroma.
        if (!chromaText.empty() && strictNumber(chromaText) != 0.0) return std::nullopt;
        chip.neutral = true;
        return chip;
    }
    const auto hue = chromaticHue(hueText);
    const auto chroma = strictNumber(chromaText);
    if (!hue || !chroma || !(*chroma >= 0.0)) return std::nullopt;
    chip.hue = *hue;
    chip.chroma = *chroma;
    return chip;
}

Loaded<ChipSet> readChipSet(std::string_view text, const std::string& fileName,
                            const std::string& name, const MunTable& table) {
    ListReader reader(text);
    if (!validHeader(reader.line().value_or(""))) {
        return failure(
            lineMessage(fileName, 1, "the first line must be the header notation,label."));
    }
    ChipSet set{name, {}};
    while (!reader.atEnd()) {
        const std::size_t lineNumber = reader.lineNumber();
        const std::string line = *reader.line();
        if (trimmed(line).empty()) continue;
        ListReader fields(line);
        const std::string notation = fields.field().value_or("");
        const std::string label = std::string(trimmed(fields.field().value_or("")));
        if (!fields.atEnd())
            return failure(lineMessage(fileName, lineNumber,
                                       "\"" + excerpt(line) + "\" has more than two fields."));
        auto chip = readChipNotation(notation);
        if (!chip)
            return failure(lineMessage(fileName, lineNumber,
                                       "\"" + excerpt(notation) + "\" is not a Munsell notation."));
        if (!inData(*chip, table))
            return failure(
                lineMessage(fileName, lineNumber,
                            "\"" + excerpt(notation) + "\" lies outside the Munsell data."));
        chip->label = label;
        set.chips.push_back(std::move(*chip));
    }
    if (set.chips.empty()) return failure(fileName + ": the file holds no chips.");
    return {std::move(set), {}};
}

Loaded<ChipSet> renotationRealChips(std::string_view csv, const std::string& fileName) {
    ListReader reader(csv);
    reader.line(); // hue,value,chroma,x,y,Y
    ChipSet set{renotationRealName, {}};
    while (!reader.atEnd()) {
        const std::size_t lineNumber = reader.lineNumber();
        const std::string line = *reader.line();
        ListReader fields(line);
        const std::string hueText = fields.field().value_or("");
        const auto value = strictNumber(fields.field().value_or(""));
        const auto chroma = strictNumber(fields.field().value_or(""));
        const auto hue = chromaticHue(hueText);
        if (!hue || !value || !chroma)
            return failure(lineMessage(fileName, lineNumber, "no hue, value and chroma."));
        Chip chip{notationText(hueText, *value, *chroma), {}, *hue, *value, *chroma, false};
        set.chips.push_back(std::move(chip));
    }
    // The real colours hold no grey: the neutral series N 1/ to N 9/ and
    // N 9.5/ follow them, so that a grey finds its chip.
    for (double value : neutralSeries)
        set.chips.push_back(neutralChip(value));
    return {std::move(set), {}};
}

ChipSet soilChips(const MunTable& table) {
    static const char* const hues[] = {"10R", "2.5YR", "5YR", "7.5YR", "10YR", "2.5Y", "5Y"};
    static const double values[] = {2, 2.5, 3, 4, 5, 6, 7, 8, 8.5, 9.5};
    static const double chromas[] = {1, 2, 3, 4, 6, 8};
    ChipSet set{soilName, {}};
    const auto keep = [&](Chip chip) {
        if (inData(chip, table)) set.chips.push_back(std::move(chip));
    };
    for (const char* hue : hues)
        for (double value : values)
            for (double chroma : chromas)
                keep({notationText(hue, value, chroma),
                      {},
                      *chromaticHue(hue),
                      static_cast<float>(value),
                      static_cast<float>(chroma),
                      false});
    for (double value : values)
        keep(neutralChip(value));
    return set;
}

std::vector<std::string> chipSetFolders(const std::string& programFolder) {
    return {"chipsets", (fs::path(programFolder) / "chipsets").string()};
}

std::vector<std::string> availableChipSets(const ChipSetPlaces& places) {
    std::vector<std::string> names{renotationRealName, soilName};
    for (const auto& file : userSetFiles(places))
        names.push_back(file.first);
    return names;
}

Loaded<ChipSet> loadChipSet(const std::string& nameOrPath, const ChipSetPlaces& places,
                            const MunTable& table) {
    if (isPath(nameOrPath))
        return loadChipFile(nameOrPath, fs::path(nameOrPath).stem().string(), table);
    if (nameOrPath == renotationRealName) return loadRenotationReal(places);
    if (nameOrPath == soilName) return {soilChips(table), {}};
    for (const auto& file : userSetFiles(places))
        if (file.first == nameOrPath) return loadChipFile(file.second, file.first, table);
    return failure("There is no chip set named \"" + excerpt(nameOrPath) + "\".");
}

} // namespace huelinx
