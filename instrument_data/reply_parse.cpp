#include "instrument_data/reply_parse.h"

#include "text/number_read.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace huelinx {

namespace {

using Values = std::array<float, 41>;

// The field of `length` characters from 1-based `start`; none when the reply
// is too short.
std::optional<std::string_view> field(std::string_view reply, std::size_t start,
                                      std::size_t length) {
    if (start < 1 || start - 1 + length > reply.size()) return std::nullopt;
    return reply.substr(start - 1, length);
}

std::optional<float> strictField(std::string_view reply, std::size_t start, std::size_t length) {
    const auto text = field(reply, start, length);
    if (!text) return std::nullopt;
    const auto number = strictNumber(*text);
    if (!number) return std::nullopt;
    return static_cast<float>(*number);
}

// The longest leading number after blanks; none when the field does not start
// with one (a field of letters is not read as 0).
std::optional<float> lenientField(std::string_view reply, std::size_t start, std::size_t length) {
    const auto text = field(reply, start, length);
    if (!text) return std::nullopt;
    const std::size_t first = text->find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view rest = text->substr(first);
    std::size_t digit = rest[0] == '+' || rest[0] == '-' ? 1 : 0;
    if (digit < rest.size() && rest[digit] == '.') ++digit;
    if (digit >= rest.size() || !std::isdigit(static_cast<unsigned char>(rest[digit])))
        return std::nullopt;
    return static_cast<float>(leadingNumberLenient(*text));
}

// Reads values 1..count with `read`, then copies them to `curve` from `first` on.
template <typename Read> bool fill(Reflectance& curve, int count, int first, Read read) {
    Values values{};
    for (int i = 1; i <= count; ++i) {
        const auto v = read(i);
        if (!v) return false;
        values[i] = *v;
    }
    for (int i = 1; i <= count; ++i)
        curve[first + i - 1] = values[i];
    return true;
}

} // namespace

bool parseCe7000(std::string_view reply, Reflectance& curve) {
    return fill(curve, 40, 1, [&](int i) { return strictField(reply, 10 * i + 11, 7); });
}

bool parseCe2180(std::string_view reply, Reflectance& curve) {
    return fill(curve, 40, 1,
                [&](int i) { return strictField(reply, 7 * i + (i - 1) / 6 - 6, 6); });
}

bool parseXth(std::string_view reply, Reflectance& curve) {
    return fill(curve, 40, 1, [&](int i) { return strictField(reply, 8 * i + 11, 6); });
}

bool parseCi(std::string_view reply, Reflectance& curve) {
    std::size_t next = 0; // 0-based index where the search for the next point starts
    return fill(curve, 40, 1, [&](int) -> std::optional<float> {
        const std::size_t point = reply.find('.', next);
        if (point == std::string_view::npos || point < 3) return std::nullopt;
        next = point + 1;
        return lenientField(reply, point - 2, 7);
    });
}

bool parseSpectrolino(std::string_view reply, Reflectance& curve) {
    return fill(curve, 36, 3, [&](int i) -> std::optional<float> {
        const auto fraction = lenientField(reply, 7 * i + 4, 6);
        if (!fraction) return std::nullopt;
        return static_cast<float>(100.0 * *fraction);
    });
}

ReflectanceFile parseReflectanceFile(std::string_view text, Reflectance& curve) {
    ReflectanceFile file;
    const std::size_t lineEnd = text.find_first_of("\r\n");
    if (text.empty()) return file;
    file.tag = std::string(text.substr(0, lineEnd));
    std::size_t pos = lineEnd == std::string_view::npos ? text.size() : lineEnd;
    const auto separator = [](char c) {
        return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    for (int i = 1; i <= 40; ++i) {
        while (pos < text.size() && separator(text[pos]))
            ++pos;
        const std::size_t end =
            std::find_if(text.begin() + static_cast<long>(pos), text.end(), separator) -
            text.begin();
        const auto number = strictNumber(text.substr(pos, end - pos));
        if (pos >= text.size() || !number) return file;
        curve[i] = static_cast<float>(*number);
        pos = end;
    }
    file.ok = true;
    return file;
}

} // namespace huelinx
