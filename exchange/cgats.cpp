#include "exchange/cgats.h"

#include "text/excerpt.h"
#include "text/number_read.h"

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

constexpr std::size_t none = std::string_view::npos;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

std::string quoted(std::string_view text) {
    return "\"" + excerpt(text) + "\"";
}

// One value of a line: its text without quotes, and where it stands in the
// line as written (quotes included).
struct Token {
    std::string_view value;
    std::size_t begin = 0, end = 0;
    bool quoted = false;
};

// Splits a line into values up to its comment. Gives the place of a quote
// that is not closed on the line, or `none`.
std::size_t splitLine(std::string_view line, std::vector<Token>& tokens) {
    tokens.clear();
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size() || line[i] == '#') return none;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == none) return i;
            tokens.push_back({line.substr(i + 1, close - i - 1), i, close + 1, true});
            i = close + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && !isBlank(line[end]) && line[end] != '#')
            ++end;
        tokens.push_back({line.substr(i, end - i), i, end, false});
        i = end;
    }
}

// The lines of a text, each without its line end (CR LF, LF or CR).
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r')
            ++end;
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size()) {
            const bool crlf =
                text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n';
            pos_ += crlf ? 2 : 1;
        }
        ++number_;
        return true;
    }
    // The line last returned by next(); 0 before the first.
    std::size_t number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

bool isWord(const Token& token, std::string_view word) {
    return !token.quoted && sameWord(token.value, word);
}

// The words that shape the table rather than name a keyword.
bool isTableWord(const Token& token) {
    for (std::string_view word : {"BEGIN_DATA_FORMAT", "END_DATA_FORMAT", "BEGIN_DATA", "END_DATA",
                                  "NUMBER_OF_FIELDS", "NUMBER_OF_SETS"})
        if (isWord(token, word)) return true;
    return false;
}

// A count keyword (NUMBER_OF_FIELDS, NUMBER_OF_SETS) as first given.
struct Count {
    bool given = false;
    std::size_t value = 0;
    std::size_t line = 0;
};

class Reader {
  public:
    Reader(std::string_view text, const std::string& fileName)
        : lines_(text), fileName_(fileName), textSize_(text.size()) {
        tokens_.reserve(64);
    }
    Loaded<CgatsTable> read();

  private:
    enum class Stage { Start, Header, Format, Data, Done };

    bool fail(std::size_t line, const std::string& what) {
        message_ = fileName_ + ", line " + std::to_string(line) + ": " + what;
        return false;
    }
    bool line(std::string_view text);
    bool headerLine(std::string_view text);
    bool keywordLine(std::string_view text);
    bool countKeyword(const std::string& name, const std::string& value, std::size_t limit,
                      Count& count);
    bool formatNames(std::size_t from);
    bool endFormat(std::size_t after);
    bool fieldCountMatches();
    bool beginData();
    bool dataLine();
    bool endData();
    bool atEnd();

    Lines lines_;
    const std::string& fileName_;
    std::size_t textSize_ = 0;
    std::vector<Token> tokens_;
    CgatsTable table_;
    std::string message_;
    Stage stage_ = Stage::Start;
    Count fieldCount_, setCount_;
    bool formatDone_ = false;
    std::size_t formatEndLine_ = 0, dataLine_ = 0;
};

Loaded<CgatsTable> Reader::read() {
    std::string_view text;
    while (stage_ != Stage::Done && lines_.next(text))
        if (!line(text)) return {std::nullopt, std::move(message_)};
    if (stage_ != Stage::Done && !atEnd()) return {std::nullopt, std::move(message_)};
    return {std::move(table_), {}};
}

bool Reader::line(std::string_view text) {
    const std::size_t open = splitLine(text, tokens_);
    if (open != none)
        return fail(lines_.number(), "expected a closing quote after " +
                                         quoted(text.substr(open + 1)) + ", found the line end.");
    if (tokens_.empty()) return true;
    switch (stage_) {
    case Stage::Start:
        stage_ = Stage::Header;
        if (tokens_.size() == 1 && !isTableWord(tokens_[0])) {
            table_.keywords.emplace_back("", std::string(tokens_[0].value));
            return true;
        }
        return headerLine(text);
    case Stage::Header:
        return headerLine(text);
    case Stage::Format:
        return formatNames(0);
    case Stage::Data:
        return dataLine();
    case Stage::Done:
        break;
    }
    return true;
}

bool Reader::headerLine(std::string_view text) {
    const Token& first = tokens_[0];
    if (isWord(first, "BEGIN_DATA_FORMAT")) {
        if (formatDone_)
            return fail(lines_.number(), "expected BEGIN_DATA, found a second BEGIN_DATA_FORMAT.");
        stage_ = Stage::Format;
        table_.formatLine = lines_.number();
        return formatNames(1);
    }
    if (isWord(first, "END_DATA_FORMAT"))
        return fail(lines_.number(), "expected BEGIN_DATA_FORMAT before END_DATA_FORMAT.");
    if (isWord(first, "BEGIN_DATA")) return beginData();
    if (isWord(first, "END_DATA"))
        return fail(lines_.number(), "expected BEGIN_DATA before END_DATA.");
    return keywordLine(text);
}

bool Reader::keywordLine(std::string_view text) {
    std::string name(tokens_[0].value);
    std::string value;
    if (tokens_.size() == 2)
        value = tokens_[1].value;
    else if (tokens_.size() > 2)
        value = text.substr(tokens_[1].begin, tokens_.back().end - tokens_[1].begin);
    if (sameWord(name, "NUMBER_OF_FIELDS")) {
        if (!countKeyword(name, value, cgatsMaxFields, fieldCount_)) return false;
        if (formatDone_ && !fieldCountMatches()) return false;
    } else if (sameWord(name, "NUMBER_OF_SETS")) {
        if (!countKeyword(name, value, cgatsMaxSets, setCount_)) return false;
    }
    table_.keywords.emplace_back(std::move(name), std::move(value));
    return true;
}

// Reads a count; the first one given counts, later ones must be numbers too.
bool Reader::countKeyword(const std::string& name, const std::string& value, std::size_t limit,
                          Count& count) {
    const auto number = strictNumber(value);
    if (!number || *number < 0 || std::floor(*number) != *number)
        return fail(lines_.number(),
                    "expected a whole number after " + name + ", found " + quoted(value) + ".");
    if (*number > static_cast<double>(limit))
        return fail(lines_.number(), "expected at most " + std::to_string(limit) + " after " +
                                         name + ", found " + quoted(value) + ".");
    if (!count.given) count = {true, static_cast<std::size_t>(*number), lines_.number()};
    return true;
}

// Field names of the tokens from `from` on, up to END_DATA_FORMAT.
bool Reader::formatNames(std::size_t from) {
    if (from == 0 && (isWord(tokens_[0], "BEGIN_DATA") || isWord(tokens_[0], "BEGIN_DATA_FORMAT")))
        return fail(lines_.number(),
                    "expected END_DATA_FORMAT before " + std::string(tokens_[0].value) + ".");
    for (std::size_t i = from; i < tokens_.size(); ++i) {
        if (isWord(tokens_[i], "END_DATA_FORMAT")) return endFormat(i + 1);
        if (table_.fields.size() == cgatsMaxFields)
            return fail(lines_.number(), "expected at most " + std::to_string(cgatsMaxFields) +
                                             " field names, found more.");
        table_.fields.emplace_back(tokens_[i].value);
    }
    return true;
}

bool Reader::endFormat(std::size_t after) {
    if (after < tokens_.size())
        return fail(lines_.number(), "expected the line end after END_DATA_FORMAT, found " +
                                         quoted(tokens_[after].value) + ".");
    if (table_.fields.empty())
        return fail(lines_.number(), "expected field names between BEGIN_DATA_FORMAT (line " +
                                         std::to_string(table_.formatLine) +
                                         ") and END_DATA_FORMAT, found none.");
    std::vector<std::string> names;
    names.reserve(table_.fields.size());
    for (const std::string& field : table_.fields)
        names.push_back(upperCase(field));
    std::sort(names.begin(), names.end());
    const auto twice = std::adjacent_find(names.begin(), names.end());
    if (twice != names.end())
        return fail(lines_.number(), "expected each field name once in BEGIN_DATA_FORMAT, found " +
                                         quoted(*twice) + " twice.");
    stage_ = Stage::Header;
    formatDone_ = true;
    formatEndLine_ = lines_.number();
    return fieldCountMatches();
}

// NUMBER_OF_FIELDS against the names, once both are read.
bool Reader::fieldCountMatches() {
    if (!fieldCount_.given || fieldCount_.value == table_.fields.size()) return true;
    const std::string found = std::to_string(table_.fields.size());
    if (fieldCount_.line < formatEndLine_)
        return fail(formatEndLine_, "expected " + std::to_string(fieldCount_.value) +
                                        " field names (NUMBER_OF_FIELDS, line " +
                                        std::to_string(fieldCount_.line) + "), found " + found +
                                        ".");
    return fail(fieldCount_.line, "expected NUMBER_OF_FIELDS " + found +
                                      " (the field names of BEGIN_DATA_FORMAT, line " +
                                      std::to_string(table_.formatLine) + "), found " +
                                      std::to_string(fieldCount_.value) + ".");
}

bool Reader::beginData() {
    if (!formatDone_) return fail(lines_.number(), "expected BEGIN_DATA_FORMAT before BEGIN_DATA.");
    if (tokens_.size() > 1)
        return fail(lines_.number(), "expected the line end after BEGIN_DATA, found " +
                                         quoted(tokens_[1].value) + ".");
    stage_ = Stage::Data;
    dataLine_ = lines_.number();
    // The values are no longer than the text, and there are no more of them
    // than half its bytes (each but the last ends in a blank or a line end).
    table_.values.reserve(textSize_);
    const std::size_t most = textSize_ / 2 + 1;
    if (setCount_.given) {
        table_.setLines.reserve(std::min(setCount_.value, most));
        table_.valueEnds.reserve(std::min(setCount_.value * table_.fields.size(), most));
    }
    return true;
}

bool Reader::dataLine() {
    const Token& first = tokens_[0];
    if (isWord(first, "END_DATA")) return endData();
    if (isWord(first, "BEGIN_DATA") || isWord(first, "BEGIN_DATA_FORMAT"))
        return fail(lines_.number(), "expected END_DATA before " + std::string(first.value) + ".");
    const std::size_t width = table_.fields.size();
    if (tokens_.size() != width)
        return fail(lines_.number(), "expected " + std::to_string(width) + " values (" +
                                         (fieldCount_.given ? "NUMBER_OF_FIELDS"
                                                            : "the fields of BEGIN_DATA_FORMAT") +
                                         "), found " + std::to_string(tokens_.size()) + ".");
    if (table_.setCount() == cgatsMaxSets)
        return fail(lines_.number(),
                    "expected at most " + std::to_string(cgatsMaxSets) + " sets, found more.");
    for (const Token& token : tokens_) {
        if (token.value.size() > cgatsMaxValueBytes - table_.values.size())
            return fail(lines_.number(), "expected at most 4 GiB of values, found more.");
        table_.values += token.value;
        table_.valueEnds.push_back(static_cast<std::uint32_t>(table_.values.size()));
    }
    table_.setLines.push_back(lines_.number());
    return true;
}

bool Reader::endData() {
    const std::size_t found = table_.setCount();
    if (found == 0)
        return fail(lines_.number(), "expected at least one set between BEGIN_DATA (line " +
                                         std::to_string(dataLine_) + ") and END_DATA, found none.");
    if (setCount_.given && setCount_.value != found)
        return fail(lines_.number(),
                    "expected " + std::to_string(setCount_.value) + " sets (NUMBER_OF_SETS, line " +
                        std::to_string(setCount_.line) + "), found " + std::to_string(found) + ".");
    stage_ = Stage::Done;
    return true;
}

// The text ended before END_DATA: says what was still expected.
bool Reader::atEnd() {
    const std::size_t last = std::max<std::size_t>(lines_.number(), 1);
    switch (stage_) {
    case Stage::Format:
        return fail(last, "expected END_DATA_FORMAT for the BEGIN_DATA_FORMAT of line " +
                              std::to_string(table_.formatLine) + ", found the end of the file.");
    case Stage::Data:
        return fail(last, "expected END_DATA for the BEGIN_DATA of line " +
                              std::to_string(dataLine_) + ", found the end of the file.");
    case Stage::Done:
        return true;
    case Stage::Start:
    case Stage::Header:
        break;
    }
    return fail(last, std::string("expected ") +
                          (formatDone_ ? "BEGIN_DATA" : "BEGIN_DATA_FORMAT") +
                          ", found the end of the file.");
}

} // namespace

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

const std::string* CgatsTable::keyword(std::string_view name) const {
    for (const auto& [key, value] : keywords)
        if (sameWord(key, name)) return &value;
    return nullptr;
}

std::string_view CgatsTable::value(std::size_t set, std::size_t field) const {
    const std::size_t at = set * fields.size() + field;
    const std::size_t begin = at == 0 ? 0 : valueEnds[at - 1];
    return std::string_view(values).substr(begin, valueEnds[at] - begin);
}

int CgatsTable::field(std::string_view name) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (sameWord(fields[i], name)) return static_cast<int>(i);
    return -1;
}

Loaded<CgatsTable> readCgats(std::string_view text, const std::string& fileName) {
    return Reader(text, fileName).read();
}

} // namespace huelinx
