#include "tools/converter_soil.h"

#include "colour/soil_contrast.h"
#include "exchange/colour_csv.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"
#include "tools/converter_files.h"
#include "tools/converter_input.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <unordered_map>

namespace huelinx {

namespace {

const char* const contrastHeader = "class,dE00,dH,dV,dC,chip1,chip2,message";
const char* const checksHeader = "mollic_colour,chernic_colour,message";

// The fields before the message.
std::size_t fieldsOf(SoilMode mode) {
    return mode == SoilMode::Contrast ? 7 : 2;
}

// The two notations of a line: split at the first comma, semicolon or tab,
// or read as CSV when the line holds double quotes. Gives why not, or nothing.
std::string splitPair(std::string_view line, std::string& scratch, std::vector<std::string>& fields,
                      std::string_view (&pair)[2]) {
    const char* const needsTwo =
        "a pair needs two notations separated by a comma, a semicolon or a tab";
    if (line.find('"') != std::string_view::npos) {
        splitFields(line, scratch, fields);
        if (fields.size() != 2) return needsTwo;
        pair[0] = fields[0], pair[1] = fields[1];
        return {};
    }
    const std::size_t cut = line.find_first_of(",;\t");
    if (cut == std::string_view::npos) return needsTwo;
    pair[0] = line.substr(0, cut), pair[1] = line.substr(cut + 1);
    if (pair[1].find_first_of(",;\t") != std::string_view::npos) return needsTwo;
    return {};
}

// A step between chips as plainText writes it; whole and half steps, the
// only ones chips differ by, without its general rounding.
void appendStep(std::string& line, double step) {
    const double half = step * 2;
    if (half >= 0 && half < 2000 && half == std::floor(half)) {
        const auto whole = static_cast<int>(half) / 2;
        line += std::to_string(whole);
        if (static_cast<int>(half) % 2) line += ".5";
    } else {
        line += plainText(step);
    }
}

// The notations read so far: soil records repeat a few hundred chips, so
// most texts are read once. Holds at most `limit` texts.
class NotationCache {
  public:
    // A notation as a colour, or the reason it is none.
    std::string read(std::string_view text, MunsellColour& colour) {
        text = trimmed(text);
        key_.assign(text);
        if (const auto found = known_.find(key_); found != known_.end()) {
            colour = found->second;
            return {};
        }
        const auto chip = readChipNotation(text);
        if (!chip) return "\"" + excerpt(text) + "\" is not a Munsell notation";
        colour = {static_cast<float>(chip->hue), static_cast<float>(chip->value),
                  static_cast<float>(chip->chroma), chip->neutral};
        if (known_.size() < limit) known_.emplace(key_, colour);
        return {};
    }

  private:
    static constexpr std::size_t limit = 10000;
    std::string key_;
    std::unordered_map<std::string, MunsellColour> known_;
};

class SoilRows {
  public:
    SoilRows(SoilMode mode, const MunTable& table, const ColourSettings& settings)
        : mode_(mode), comparer_(table, settings) {}

    // The line of one pair; gives why it has no answer (its line then holds
    // empty fields and the reason), or nothing.
    std::string row(std::string_view first, std::string_view second, std::string& line);
    std::string blankRow() const { return std::string(fieldsOf(mode_), ','); }

  private:
    void contrastRow(const MunsellColour& a, const MunsellColour& b, std::string& line,
                     std::string& error);
    SoilMode mode_;
    SoilComparer comparer_;
    NotationCache notations_;
};

std::string SoilRows::row(std::string_view first, std::string_view second, std::string& line) {
    line.clear();
    MunsellColour a, b;
    std::string error = notations_.read(first, a);
    if (error.empty()) error = notations_.read(second, b);
    if (error.empty()) {
        if (mode_ == SoilMode::Contrast) {
            contrastRow(a, b, line, error);
        } else {
            const SoilColourChecks checks = soilColourChecks(a, b);
            line += checks.mollicColour ? "yes," : "no,";
            line += checks.chernicColour ? "yes," : "no,";
        }
    }
    if (!error.empty()) {
        line = blankRow();
        appendCsvField(line, error);
    }
    return error;
}

void SoilRows::contrastRow(const MunsellColour& a, const MunsellColour& b, std::string& line,
                           std::string& error) {
    const SoilContrast c = comparer_.compare(a, b);
    if (c.status != SoilContrast::Status::Ok) {
        error = soilContrastProblem(c);
        return;
    }
    line += contrastClassName(c.contrast);
    line += ',';
    line += formatNumber(c.de00, "0.00");
    for (double step : {c.steps.pages, c.steps.dV, c.steps.dC}) {
        line += ',';
        appendStep(line, step);
    }
    // The chips used, for notations that were not chips themselves.
    for (int i = 0; i < 2; ++i) {
        line += ',';
        if (c.takenToChip[i]) appendCsvField(line, comparer_.chips().chips[c.chip[i]].notation);
    }
    line += ',';
}

// Where a --soil line's moist and dry readings are: in a pair, in the 23rd and
// 24th fields of a palette record, or in the columns a header line named
// "moist" and "dry" (a spreadsheet's rows). --contrast reads pairs only.
class PairColumns {
  public:
    explicit PairColumns(SoilMode mode) : readsRecords_(mode == SoilMode::Checks) {}

    // The pair of a line, or why it has none. A first line naming the columns
    // is a header: `header` is then set and the line gives no row.
    std::string read(std::string_view line, bool first, std::string_view (&pair)[2], bool& header);

  private:
    static constexpr std::size_t recordFields = 22; // a palette record's fields up to K
    bool readsRecords_;
    std::optional<std::array<std::size_t, 2>> named_; // the moist and dry columns
    std::string scratch_;
    std::vector<std::string> fields_;
};

// The places of the columns named "moist" and "dry" (in any case), if both are.
std::optional<std::array<std::size_t, 2>> namedColumns(const std::vector<std::string>& fields) {
    std::optional<std::size_t> found[2];
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string name(trimmed(fields[i]));
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "moist" && !found[0]) found[0] = i;
        if (name == "dry" && !found[1]) found[1] = i;
    }
    if (!found[0] || !found[1]) return std::nullopt;
    return std::array<std::size_t, 2>{*found[0], *found[1]};
}

std::string PairColumns::read(std::string_view line, bool first, std::string_view (&pair)[2],
                              bool& header) {
    header = false;
    if (!readsRecords_) return splitPair(line, scratch_, fields_, pair);
    if (named_) {
        splitFields(line, scratch_, fields_);
        if (fields_.size() <= std::max((*named_)[0], (*named_)[1]))
            return "the line has no moist or no dry column";
        pair[0] = fields_[(*named_)[0]], pair[1] = fields_[(*named_)[1]];
        return {};
    }
    if (first || line.find(',') != std::string_view::npos) splitFields(line, scratch_, fields_);
    if (first && (named_ = namedColumns(fields_))) {
        header = true;
        return {};
    }
    if (line.find(',') == std::string_view::npos || fields_.size() < recordFields)
        return splitPair(line, scratch_, fields_, pair);
    // A palette record: its readings follow K.
    if (fields_.size() < recordFields + 2 ||
        (trimmed(fields_[recordFields]).empty() && trimmed(fields_[recordFields + 1]).empty()))
        return "the palette record holds no moist and dry readings";
    pair[0] = fields_[recordFields], pair[1] = fields_[recordFields + 1];
    return {};
}

// Every line of `in`, as --csv reads colours: a blank line gives empty fields.
int soilLines(SoilMode mode, SoilRows& rows, std::istream& in, std::ostream& out,
              std::ostream& err) {
    int status = 0;
    LineSource source(in);
    PairColumns columns(mode);
    std::string text, line, error;
    std::string_view pair[2];
    for (std::uint64_t number = 1;; ++number) {
        if (!flushBeforeWaiting(source, out, err))
            return outputFailure(err, "before line " + std::to_string(number));
        if (!source.next(text)) break;
        const std::string_view trimmedLine = trimmed(text);
        bool header = false;
        if (trimmedLine.empty()) {
            line = rows.blankRow();
            error.clear();
        } else {
            error = columns.read(trimmedLine, number == 1, pair, header);
            if (header) continue; // the output's header stands for it
            if (error.empty())
                error = rows.row(pair[0], pair[1], line);
            else
                line = rows.blankRow(), appendCsvField(line, error);
        }
        if (!error.empty()) {
            err << "line " << number << ": " << error << "\n";
            status = 1;
        }
        line += '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        if (!out) return outputFailure(err, "at line " + std::to_string(number));
    }
    out.flush();
    return out ? status : outputFailure(err, "at the end");
}

} // namespace

const char* soilModeHeader(SoilMode mode) {
    return mode == SoilMode::Contrast ? contrastHeader : checksHeader;
}

int runSoilMode(SoilMode mode, const std::vector<std::string>& pair, bool csv,
                const MunTable& table, const ColourSettings& settings, std::istream& in,
                std::ostream& out, std::ostream& err) {
    SoilRows rows(mode, table, settings);
    out << soilModeHeader(mode) << "\n";
    if (!out) return outputFailure(err, "");
    if (csv) return soilLines(mode, rows, in, out, err);
    std::string scratch, line, error;
    std::vector<std::string> fields;
    std::string_view notations[2];
    if (pair.size() == 2)
        notations[0] = pair[0], notations[1] = pair[1];
    else if (pair.size() == 1)
        error = splitPair(trimmed(pair[0]), scratch, fields, notations);
    else
        error = "a pair needs two notations";
    if (error.empty())
        error = rows.row(notations[0], notations[1], line);
    else
        line = rows.blankRow(), appendCsvField(line, error);
    out << line << "\n";
    out.flush();
    if (!out) return outputFailure(err, "");
    if (error.empty()) return 0;
    err << "huelinx-convert: " << error << "\n";
    return 1;
}

} // namespace huelinx
