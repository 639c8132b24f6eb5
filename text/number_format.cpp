#include "text/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace huelinx {

namespace {

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value > 0 ? "Inf" : "-Inf";
}

bool isPlaceholder(char c) {
    return c == '#' || c == '0';
}

// A magnitude as decimal digits: `whole` before the point, `fraction` after it.
struct Decimal {
    std::string whole;
    std::string fraction;
};

// `magnitude` (finite, not negative) taken to 15 significant digits. to_chars is
// used because it ignores the C locale, which may have a comma as its point.
Decimal toDecimal(double magnitude) {
    char buf[40];
    auto end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14).ptr;
    std::string_view sci(buf, static_cast<std::size_t>(end - buf)); // d.dddddddddddddde+xx
    std::string digits = std::string(1, sci[0]) + std::string(sci.substr(2, 14));
    std::size_t e = sci.find('e');
    int exponent = 0;
    std::from_chars(sci.data() + e + 2, sci.data() + sci.size(), exponent);
    if (sci[e + 1] == '-') exponent = -exponent;

    Decimal d;
    if (exponent < 0) {
        d.fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (auto n = static_cast<std::size_t>(exponent) + 1; n >= digits.size()) {
        d.whole = digits + std::string(n - digits.size(), '0');
    } else {
        d.whole = digits.substr(0, n);
        d.fraction = digits.substr(n);
    }
    return d;
}

// Rounds half away from zero to `places` fraction digits, working on the digits
// themselves so that 2.675 goes up as written. Leading zeros of the whole part
// are dropped, so a value below one has an empty whole part.
void roundTo(Decimal& d, std::size_t places) {
    bool up = d.fraction.size() > places && d.fraction[places] >= '5';
    d.fraction.resize(places, '0');
    if (up) {
        std::string all = d.whole + d.fraction;
        std::size_t i = all.size();
        while (i > 0 && all[i - 1] == '9')
            all[--i] = '0';
        if (i == 0)
            all.insert(all.begin(), '1');
        else
            ++all[i - 1];
        d.whole = all.substr(0, all.size() - places);
        d.fraction = all.substr(all.size() - places);
    }
    d.whole.erase(0, d.whole.find_first_not_of('0'));
}

// A pattern split around its point. The whole number goes where the first
// integer placeholder stands; literals after that placeholder follow it.
struct Pattern {
    std::string lead;         // literals before the whole number
    std::string wholeTrail;   // literals between the whole number and the point
    std::size_t minWhole = 0; // placeholders from the first '0' before the point on
    bool hasPoint = false;
    std::string_view fraction; // the pattern after the point
    std::size_t places = 0;    // placeholders after the point
    std::size_t required = 0;  // those up to and including the last '0'
};

Pattern parsePattern(std::string_view pattern) {
    Pattern p;
    std::size_t point = pattern.find('.');
    std::string_view whole = pattern.substr(0, point);
    std::size_t first = whole.find_first_of("#0");
    p.lead = whole.substr(0, first);
    bool zeroSeen = false;
    for (std::size_t i = first; i < whole.size(); ++i) {
        if (!isPlaceholder(whole[i])) {
            p.wholeTrail += whole[i];
            continue;
        }
        zeroSeen = zeroSeen || whole[i] == '0';
        if (zeroSeen) ++p.minWhole;
    }
    if (point == std::string_view::npos) return p;
    p.hasPoint = true;
    p.fraction = pattern.substr(point + 1);
    for (char c : p.fraction) {
        if (!isPlaceholder(c)) continue;
        ++p.places;
        if (c == '0') p.required = p.places;
    }
    return p;
}

// The fraction digits written through the pattern's fraction part: trailing
// zeros beyond the required places are dropped, literals kept in place.
std::string fractionText(const Pattern& p, const std::string& digits) {
    std::size_t keep = digits.find_last_not_of('0');
    keep = std::max(p.required, keep == std::string::npos ? 0 : keep + 1);
    std::string out;
    std::size_t k = 0;
    for (char c : p.fraction) {
        if (!isPlaceholder(c))
            out += c;
        else if (k < keep)
            out += digits[k++];
    }
    return out;
}

// The general form with `precision` significant digits and an upper-case E.
std::string generalText(double value, int precision) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0"; // also for -0
    char buf[40];
    auto end =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision).ptr;
    std::string text(buf, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::string withSignPosition(std::string text) {
    if (text.front() != '-') text.insert(text.begin(), ' ');
    return text;
}

} // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    Pattern p = parsePattern(pattern);
    Decimal d = toDecimal(std::fabs(value));
    roundTo(d, p.places);
    bool zero = d.whole.empty() && d.fraction.find_first_not_of('0') == std::string::npos;

    std::string out = value < 0 && !zero ? "-" : "";
    out += p.lead;
    if (d.whole.size() < p.minWhole) out.append(p.minWhole - d.whole.size(), '0');
    out += d.whole;
    out += p.wholeTrail;
    if (p.hasPoint) out += '.' + fractionText(p, d.fraction);
    return out;
}

std::string plainText(float value) {
    return generalText(value, 7);
}
std::string plainText(double value) {
    return generalText(value, 15);
}
std::string plainText(long long value) {
    return std::to_string(value);
}

std::string signedText(float value) {
    return withSignPosition(plainText(value));
}
std::string signedText(double value) {
    return withSignPosition(plainText(value));
}
std::string signedText(long long value) {
    return withSignPosition(plainText(value));
}

std::string printText(float value) {
    return signedText(value) + ' ';
}
std::string printText(double value) {
    return signedText(value) + ' ';
}
std::string printText(long long value) {
    return signedText(value) + ' ';
}

PrintLine& PrintLine::zoned(std::string_view item) {
    text_ += item;
    text_.append(zoneWidth - text_.size() % zoneWidth, ' ');
    return *this;
}

PrintLine& PrintLine::joined(std::string_view item) {
    text_ += item;
    return *this;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

} // namespace huelinx
