#include "colour/iscc_nbs.h"

#include "files/file_read.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

namespace huelinx {

namespace {

bool above(IsccNbsRule::Bound kind, float bound, float x) {
    switch (kind) {
    case IsccNbsRule::Bound::Open:
        return true;
    case IsccNbsRule::Bound::Inclusive:
        return x >= bound;
    case IsccNbsRule::Bound::Exclusive:
        return x > bound;
    }
    return false;
}

bool below(IsccNbsRule::Bound kind, float bound, float x) {
    switch (kind) {
    case IsccNbsRule::Bound::Open:
        return true;
    case IsccNbsRule::Bound::Inclusive:
        return x <= bound;
    case IsccNbsRule::Bound::Exclusive:
        return x < bound;
    }
    return false;
}

// The hue as the blocks file counts it: in (0, 100], 10RP being 100.
float fileHue(float hue) {
    float h = std::fmod(hue, 100.0f);
    if (h <= 0.0f) h += 100.0f;
    return h;
}

} // namespace

bool IsccNbsRule::holdsHue(float hue) const {
    if (wholeCircle()) return true;
    if (hueFrom < hueTo) return hueFrom <= hue && hue < hueTo;
    return hue >= hueFrom || hue < hueTo;
}

bool IsccNbsRule::holds(float value, float chroma) const {
    return above(valueMinKind, valueMin, value) && below(valueMaxKind, valueMax, value) &&
           above(chromaMinKind, chromaMin, chroma) && below(chromaMaxKind, chromaMax, chroma);
}

namespace {

// Calls `visit` for each node of a tree with `leaves` leaves that together
// cover the leaves [first, last) and nothing else: at most two a level.
template <typename Visit>
void forEachNode(std::size_t leaves, std::size_t first, std::size_t last, Visit visit) {
    for (first += leaves, last += leaves; first < last; first /= 2, last /= 2) {
        if (first % 2 == 1) visit(first++);
        if (last % 2 == 1) visit(--last);
    }
}

} // namespace

void IsccNbsTable::index() {
    segmentStart_ = {0.0f, 100.0f};
    for (const IsccNbsRule& rule : rules_)
        segmentStart_.insert(segmentStart_.end(), {rule.hueFrom, rule.hueTo});
    std::sort(segmentStart_.begin(), segmentStart_.end());
    segmentStart_.erase(std::unique(segmentStart_.begin(), segmentStart_.end()),
                        segmentStart_.end());
    leaves_ = std::bit_ceil(segmentStart_.size());
    // Every range end is a segment start, so a range holds all of a segment
    // or none of it, and its start tells which: every segment for the whole
    // circle, else those from the one starting at hueFrom up to the one
    // starting at hueTo, or, wrapping through 10RP, those from hueFrom on and
    // those before hueTo.
    const auto segment = [&](float hue) {
        return static_cast<std::size_t>(
            std::lower_bound(segmentStart_.begin(), segmentStart_.end(), hue) -
            segmentStart_.begin());
    };
    const auto forEachRuleNode = [&](auto visit) {
        for (std::size_t r = 0; r < rules_.size(); ++r) {
            const std::size_t from = segment(rules_[r].hueFrom), to = segment(rules_[r].hueTo);
            const auto onRule = [&](std::size_t node) { visit(node, static_cast<int>(r)); };
            if (rules_[r].wholeCircle()) {
                forEachNode(leaves_, 0, segmentStart_.size(), onRule);
            } else if (from < to) {
                forEachNode(leaves_, from, to, onRule);
            } else {
                forEachNode(leaves_, from, segmentStart_.size(), onRule);
                forEachNode(leaves_, 0, to, onRule);
            }
        }
    };
    // Count each node's rules, then file them in file order.
    nodeStart_.assign(2 * leaves_ + 1, 0);
    forEachRuleNode([&](std::size_t node, int) { ++nodeStart_[node + 1]; });
    for (std::size_t n = 1; n < nodeStart_.size(); ++n)
        nodeStart_[n] += nodeStart_[n - 1];
    nodeRules_.assign(nodeStart_.back(), 0);
    std::vector<std::uint32_t> filled(nodeStart_.begin(), nodeStart_.end() - 1);
    forEachRuleNode([&](std::size_t node, int r) { nodeRules_[filled[node]++] = r; });
}

int IsccNbsTable::firstRule(std::size_t segment, float value, float chroma) const {
    int first = -1;
    for (std::size_t node = leaves_ + segment; node >= 1; node /= 2)
        for (std::uint32_t i = nodeStart_[node]; i < nodeStart_[node + 1]; ++i) {
            const int r = nodeRules_[i];
            if (first >= 0 && r > first) break; // an earlier rule holds already
            if (rules_[static_cast<std::size_t>(r)].holds(value, chroma)) {
                first = r;
                break;
            }
        }
    return first;
}

const IsccNbsName* IsccNbsTable::nameOf(float hue, float value, float chroma) const {
    if (!std::isfinite(hue) || !std::isfinite(value) || !std::isfinite(chroma) ||
        segmentStart_.empty())
        return nullptr;
    const float h = fileHue(hue);
    const auto segment =
        std::upper_bound(segmentStart_.begin(), segmentStart_.end(), h) - segmentStart_.begin() - 1;
    const int r = firstRule(static_cast<std::size_t>(segment), value, chroma);
    return r < 0 ? nullptr
                 : &names_[static_cast<std::size_t>(nameOfRule_[static_cast<std::size_t>(r)])];
}

const IsccNbsName* IsccNbsTable::nameOfNeutral(float value) const {
    // N has no hue: only a rule for the whole circle can hold for it.
    if (!std::isfinite(value)) return nullptr;
    for (std::size_t r = 0; r < rules_.size(); ++r)
        if (rules_[r].wholeCircle() && rules_[r].holds(value, 0.0f))
            return &names_[static_cast<std::size_t>(nameOfRule_[r])];
    return nullptr;
}

const IsccNbsName* IsccNbsTable::nameOf(const HueOfText& hue, float value, float chroma) const {
    switch (hue.family) {
    case HueFamily::Neutral:
        return nameOfNeutral(value);
    case HueFamily::Missing:
        return nullptr;
    case HueFamily::Named:
        break;
    }
    return nameOf(hue.hue, value, chroma);
}

const IsccNbsName* IsccNbsTable::level3(int number) const {
    const auto it =
        std::lower_bound(names_.begin(), names_.end(), number,
                         [](const IsccNbsName& name, int n) { return name.level3 < n; });
    return it != names_.end() && it->level3 == number ? &*it : nullptr;
}

namespace {

constexpr std::string_view blocksHeader = "hue_from,hue_to,value_min,value_min_op,value_max,"
                                          "value_max_op,chroma_min,chroma_min_op,chroma_max,"
                                          "chroma_max_op,level3";
constexpr std::string_view namesHeader =
    "level3,name,abbreviation,level2,level2_name,level1,level1_name";

// Reads the lines of one file after its header and says, at the first line
// that is wrong, which file and line it is.
class FileReader {
  public:
    FileReader(std::string_view text, const std::string& name) : reader_(text), name_(name) {}

    // Checks the header line; false with the message set when it is not `header`.
    bool header(std::string_view header) {
        const auto line = reader_.line();
        if (!line) return fail("\"" + name_ + "\" is empty.");
        if (trimmed(*line) != header)
            return fail(where(1) + "expected the header \"" + std::string(header) + "\", found \"" +
                        excerpt(trimmed(*line)) + "\".");
        return true;
    }

    // The items of the next line that is not blank, split at commas and
    // trimmed of blanks; no value at the end of the text.
    std::optional<std::vector<std::string_view>> next() {
        for (;;) {
            lineNumber_ = reader_.lineNumber();
            const auto line = reader_.line();
            if (!line) return std::nullopt;
            if (trimmed(*line).empty()) continue;
            current_ = *line;
            std::vector<std::string_view> items;
            std::string_view rest = current_;
            for (;;) {
                const std::size_t comma = rest.find(',');
                items.push_back(trimmed(rest.substr(0, comma)));
                if (comma == std::string_view::npos) break;
                rest.remove_prefix(comma + 1);
            }
            return items;
        }
    }

    std::size_t lineNumber() const { return lineNumber_; }
    std::string where(std::size_t line) const {
        return "\"" + name_ + "\", line " + std::to_string(line) + ": ";
    }
    bool fail(const std::string& message) {
        message_ = message;
        return false;
    }
    // Fails with a message about `item` of the current line.
    bool bad(std::string_view what, std::string_view item) {
        return fail(where(lineNumber_) + std::string(what) + ", found \"" + excerpt(item) + "\".");
    }
    const std::string& message() const { return message_; }

  private:
    ListReader reader_;
    const std::string& name_;
    std::string current_;
    std::size_t lineNumber_ = 0;
    std::string message_;
};

// A whole number from 1 to 100000.
std::optional<int> levelNumber(std::string_view text) {
    const auto number = strictNumber(text);
    if (!number || *number != std::floor(*number) || *number < 1 || *number > 100000)
        return std::nullopt;
    return static_cast<int>(*number);
}

// A number that single precision holds.
std::optional<float> boundNumber(std::string_view text) {
    const auto number = strictNumber(text);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*number);
}

// Reads one bound, its number and its operator; `strict` and `inclusive` are
// the operators it takes (">" and ">=" for a minimum, "<" and "<=" for a maximum).
bool readBound(FileReader& file, std::string_view column, std::string_view number,
               std::string_view op, std::string_view strict, std::string_view inclusive,
               float& bound, IsccNbsRule::Bound& kind) {
    const std::string name(column);
    if (number.empty() && op.empty()) {
        kind = IsccNbsRule::Bound::Open;
        return true;
    }
    if (number.empty())
        return file.bad(name + " is empty but its operator is not (empty for an open bound)", op);
    const auto read = boundNumber(number);
    if (!read) return file.bad(name + ": expected a number", number);
    bound = *read;
    if (op == strict)
        kind = IsccNbsRule::Bound::Exclusive;
    else if (op == inclusive)
        kind = IsccNbsRule::Bound::Inclusive;
    else
        return file.bad(
            name + "_op: expected " + std::string(strict) + " or " + std::string(inclusive), op);
    return true;
}

bool readHue(FileReader& file, std::string_view column, std::string_view text, float& hue) {
    const auto number = strictNumber(text);
    if (!number || *number < 0 || *number > 100)
        return file.bad(std::string(column) + ": expected a hue number from 0 to 100", text);
    hue = static_cast<float>(*number);
    return true;
}

bool readRules(FileReader& file, std::vector<IsccNbsRule>& rules) {
    if (!file.header(blocksHeader)) return false;
    while (const auto items = file.next()) {
        const auto& f = *items;
        if (f.size() != 11)
            return file.fail(file.where(file.lineNumber()) + "expected 11 items, found " +
                             std::to_string(f.size()) + ".");
        IsccNbsRule rule;
        rule.line = file.lineNumber();
        if (!readHue(file, "hue_from", f[0], rule.hueFrom) ||
            !readHue(file, "hue_to", f[1], rule.hueTo))
            return false;
        if (rule.hueFrom == rule.hueTo)
            return file.bad("the hue range is empty: hue_from equals hue_to", f[1]);
        if (!readBound(file, "value_min", f[2], f[3], ">", ">=", rule.valueMin,
                       rule.valueMinKind) ||
            !readBound(file, "value_max", f[4], f[5], "<", "<=", rule.valueMax,
                       rule.valueMaxKind) ||
            !readBound(file, "chroma_min", f[6], f[7], ">", ">=", rule.chromaMin,
                       rule.chromaMinKind) ||
            !readBound(file, "chroma_max", f[8], f[9], "<", "<=", rule.chromaMax,
                       rule.chromaMaxKind))
            return false;
        const auto level3 = levelNumber(f[10]);
        if (!level3) return file.bad("level3: expected a whole number from 1", f[10]);
        rule.level3 = *level3;
        rules.push_back(rule);
    }
    if (rules.empty()) return file.fail(file.where(1) + "the file holds no rules.");
    return true;
}

bool readNames(FileReader& file, std::vector<IsccNbsName>& names) {
    if (!file.header(namesHeader)) return false;
    std::unordered_map<int, std::size_t> lineOfName; // by level3
    while (const auto items = file.next()) {
        const auto& f = *items;
        if (f.size() != 7)
            return file.fail(file.where(file.lineNumber()) + "expected 7 items, found " +
                             std::to_string(f.size()) + ".");
        IsccNbsName name;
        const auto level3 = levelNumber(f[0]);
        const auto level2 = levelNumber(f[3]);
        const auto level1 = levelNumber(f[5]);
        if (!level3) return file.bad("level3: expected a whole number from 1", f[0]);
        if (!level2) return file.bad("level2: expected a whole number from 1", f[3]);
        if (!level1) return file.bad("level1: expected a whole number from 1", f[5]);
        for (const std::size_t i : {1, 2, 4, 6})
            if (f[i].empty())
                return file.fail(file.where(file.lineNumber()) + "item " + std::to_string(i + 1) +
                                 " (a name or abbreviation) is empty.");
        name.level3 = *level3;
        name.name = f[1];
        name.abbreviation = f[2];
        name.level2 = *level2;
        name.level2Name = f[4];
        name.level1 = *level1;
        name.level1Name = f[6];
        const auto [first, isNew] = lineOfName.emplace(name.level3, file.lineNumber());
        if (!isNew)
            return file.fail(file.where(file.lineNumber()) + "level3 " + std::string(f[0]) +
                             " is named again (first on line " + std::to_string(first->second) +
                             ").");
        names.push_back(std::move(name));
    }
    if (names.empty()) return file.fail(file.where(1) + "the file holds no names.");
    return true;
}

std::optional<std::string> readFile(const std::string& path, std::string& message) {
    FileText file = readWholeFile(path, tableFileLimit);
    if (file.status == FileRead::Ok) return std::move(file.text);
    message = file.status == FileRead::CannotOpen
                  ? "Cannot open the colour names file \"" + path + "\"."
                  : "The colour names file \"" + path + "\" " +
                        readFailure(file.status, tableFileLimit) + ".";
    return std::nullopt;
}

} // namespace

Result loadIsccNbs(std::string_view blocksText, const std::string& blocksName,
                   std::string_view namesText, const std::string& namesName, IsccNbsTable& table) {
    IsccNbsTable loaded;
    FileReader names(namesText, namesName);
    if (!readNames(names, loaded.names_)) return {false, names.message()};
    FileReader blocks(blocksText, blocksName);
    if (!readRules(blocks, loaded.rules_)) return {false, blocks.message()};

    std::sort(loaded.names_.begin(), loaded.names_.end(),
              [](const IsccNbsName& a, const IsccNbsName& b) { return a.level3 < b.level3; });
    for (const IsccNbsRule& rule : loaded.rules_) {
        const IsccNbsName* name = loaded.level3(rule.level3);
        if (!name)
            return {false, blocks.where(rule.line) + "level3 " + std::to_string(rule.level3) +
                               " has no name in \"" + namesName + "\"."};
        loaded.nameOfRule_.push_back(static_cast<int>(name - loaded.names_.data()));
    }
    loaded.index();
    table = std::move(loaded);
    return {true, {}};
}

Result loadIsccNbsFolder(const std::string& folder, IsccNbsTable& table) {
    const std::string blocksPath = folder + "/" + isccNbsBlocksFile;
    const std::string namesPath = folder + "/" + isccNbsNamesFile;
    Result result;
    const auto blocks = readFile(blocksPath, result.message);
    if (!blocks) return result;
    const auto names = readFile(namesPath, result.message);
    if (!names) return result;
    return loadIsccNbs(*blocks, blocksPath, *names, namesPath, table);
}

} // namespace huelinx
