#include "text/safe_text.h"

#include "text/number_read.h"

namespace huelinx {

namespace {

// The smallest code point each sequence length may carry: a smaller one is an
// overlong form, which would let a line feed or a quote hide in other bytes.
constexpr char32_t shortestOf[4] = {0, 0x80, 0x800, 0x10000};

int continuationBytes(unsigned char lead) {
    if (lead >= 0xf0 && lead < 0xf5) return 3;
    if (lead >= 0xe0 && lead < 0xf0) return 2;
    if (lead >= 0xc2 && lead < 0xe0) return 1;
    return 0;
}

// Text a spreadsheet would start a formula with, after any leading apostrophes.
bool formulaLike(std::string_view text) {
    const std::size_t first = text.find_first_not_of('\'');
    if (first == std::string_view::npos) return false;
    const char c = text[first];
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

} // namespace

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int extra = continuationBytes(byte);
        char32_t point = extra == 0 ? byte : byte & (0x3f >> extra);
        bool valid = i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xc0) == 0x80;
            point = (point << 6) | (next & 0x3f);
        }
        if (extra > 0 && (!valid || point < shortestOf[extra] || point > 0x10ffff ||
                          (point >= 0xd800 && point < 0xe000))) {
            points.push_back(byte);
            ++i;
            continue;
        }
        points.push_back(point);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return points;
}

void appendUtf8(std::string& out, char32_t p) {
    if (p < 0x80) {
        out += static_cast<char>(p);
    } else if (p < 0x800) {
        out += static_cast<char>(0xc0 | (p >> 6));
        out += static_cast<char>(0x80 | (p & 0x3f));
    } else if (p < 0x10000) {
        out += static_cast<char>(0xe0 | (p >> 12));
        out += static_cast<char>(0x80 | ((p >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (p & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (p >> 18));
        out += static_cast<char>(0x80 | ((p >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((p >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (p & 0x3f));
    }
}

bool isControlPoint(char32_t p) {
    return p < 0x20 || (p >= 0x7f && p < 0xa0) || p == 0x2028 || p == 0x2029;
}

std::string oneLineText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t p : codePoints(text))
        appendUtf8(out, isControlPoint(p) ? U' ' : p);
    return out;
}

bool needsSpreadsheetMark(std::string_view text) {
    return formulaLike(text) && !isNumberText(text);
}

std::string spreadsheetText(std::string_view text) {
    if (!needsSpreadsheetMark(text)) return std::string(text);
    return "'" + std::string(text);
}

bool hasSpreadsheetMark(std::string_view text) {
    return !text.empty() && text.front() == '\'' && formulaLike(text);
}

std::string_view withoutSpreadsheetMark(std::string_view text) {
    return hasSpreadsheetMark(text) ? text.substr(1) : text;
}

} // namespace huelinx
