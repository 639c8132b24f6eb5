#include "text/number_format.h"

#include "text/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace huelinx {

namespace {

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value > 0 ? "Inf" : "-Inf";
}

bool isPlaceholder(char c) {
    return c == '#' || c == '0';
}

// A pattern split around its point. The whole number goes where the first
// integer placeholder stands; literals after that placeholder follow it.
struct Pattern {
    std::string lead;         // literals before the whole number
    std::string wholeTrail;   // literals between the whole number and the point
    std::size_t minWhole = 0; // placeholders from the first '0' before the point on
    bool hasPoint = false;
    std::string fraction;     // the pattern after the point
    std::size_t places = 0;   // placeholders after the point
    std::size_t required = 0; // those up to and including the last '0'
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
void appendFraction(std::string& out, const Pattern& p, std::string_view digits) {
    std::size_t keep = digits.find_last_not_of('0');
    keep = std::max(p.required, keep == std::string_view::npos ? 0 : keep + 1);
    std::size_t k = 0;
    for (char c : p.fraction) {
        if (!isPlaceholder(c))
            out += c;
        else if (k < keep)
            out += digits[k++];
    }
}

// `count` decimal digits of `number`, leading zeros included.
void writeDigits(std::uint64_t number, char* out, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + number % 10);
        number /= 10;
    }
}

// Patterns are few and fixed: each is parsed once per thread.
const Pattern& patternOf(std::string_view pattern) {
    thread_local std::vector<std::pair<std::string, Pattern>> parsed;
    for (const auto& [text, p] : parsed)
        if (text == pattern) return p;
    parsed.emplace_back(std::string(pattern), parsePattern(pattern));
    return parsed.back().second;
}

// A magnitude as decimal digits: `whole` before the point, `fraction` after
// it, in fixed buffers (a double has at most 309 digits before its point and
// 338 after it at 15 significant digits).
struct Decimal {
    char whole[720];
    std::size_t wholeSize = 0;
    char fraction[720];
    std::size_t fractionSize = 0;
    std::string_view wholeText() const { return {whole, wholeSize}; }
    std::string_view fractionText() const { return {fraction, fractionSize}; }
};

// `magnitude` (finite, not negative) taken to 15 significant digits.
void toDecimal(double magnitude, Decimal& d) {
    char digits[15];
    int exponent = 0;
    if (magnitude == 0) {
        std::memset(digits, '0', 15);
    } else {
        const SignificantDigits sd = roundSignificant(magnitude, 15);
        writeDigits(sd.digits, digits, 15);
        exponent = sd.exponent;
    }
    if (exponent < 0) {
        const auto zeros = static_cast<std::size_t>(-exponent - 1);
        std::memset(d.fraction, '0', zeros);
        std::memcpy(d.fraction + zeros, digits, 15);
        d.fractionSize = zeros + 15;
        return;
    }
    const auto n = static_cast<std::size_t>(exponent) + 1;
    const std::size_t lead = std::min<std::size_t>(n, 15);
    std::memcpy(d.whole, digits, lead);
    if (n > 15) std::memset(d.whole + 15, '0', n - 15);
    d.wholeSize = n;
    std::memcpy(d.fraction, digits + lead, 15 - lead);
    d.fractionSize = 15 - lead;
}

// Rounds half away from zero to `places` fraction digits, working on the digits
// themselves so that 2.675 goes up as written. Leading zeros of the whole part
// are dropped, so a value below one has an empty whole part.
void roundTo(Decimal& d, std::size_t places) {
    const bool up = d.fractionSize > places && d.fraction[places] >= '5';
    for (std::size_t i = d.fractionSize; i < places; ++i)
        d.fraction[i] = '0';
    d.fractionSize = places;
    if (up) {
        // Carry through the fraction, then the whole part; a carry out of
        // the top digit adds a leading 1.
        std::size_t i = places;
        while (i > 0 && d.fraction[i - 1] == '9')
            d.fraction[--i] = '0';
        if (i > 0) {
            ++d.fraction[i - 1];
        } else {
            std::size_t k = d.wholeSize;
            while (k > 0 && d.whole[k - 1] == '9')
                d.whole[--k] = '0';
            if (k > 0) {
                ++d.whole[k - 1];
            } else {
                std::memmove(d.whole + 1, d.whole, d.wholeSize);
                d.whole[0] = '1';
                ++d.wholeSize;
            }
        }
    }
    std::size_t zeros = 0;
    while (zeros < d.wholeSize && d.whole[zeros] == '0')
        ++zeros;
    std::memmove(d.whole, d.whole + zeros, d.wholeSize - zeros);
    d.wholeSize -= zeros;
}

// The general form with `precision` significant digits (fixed for exponents
// from -4 to below the precision, else scientific with at least two exponent
// digits; trailing zeros dropped) and an upper-case E.
std::string generalText(double value, int precision) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0"; // also for -0
    const SignificantDigits sd = roundSignificant(std::fabs(value), precision);
    char digits[20];
    writeDigits(sd.digits, digits, precision);
    int n = precision;
    while (n > 1 && digits[n - 1] == '0')
        --n;
    const int x = sd.exponent;
    std::string out;
    if (value < 0) out += '-';
    if (x >= -4 && x < precision) {
        if (x >= 0) {
            for (int i = 0; i <= x; ++i)
                out += i < n ? digits[i] : '0';
            if (n > x + 1) {
                out += '.';
                out.append(digits + x + 1, static_cast<std::size_t>(n - x - 1));
            }
        } else {
            out += "0.";
            out.append(static_cast<std::size_t>(-x - 1), '0');
            out.append(digits, static_cast<std::size_t>(n));
        }
        return out;
    }
    out += digits[0];
    if (n > 1) {
        out += '.';
        out.append(digits + 1, static_cast<std::size_t>(n - 1));
    }
    out += x < 0 ? "E-" : "E+";
    if (std::abs(x) < 10) out += '0';
    out += std::to_string(std::abs(x));
    return out;
}

std::string withSignPosition(std::string text) {
    if (text.front() != '-') text.insert(text.begin(), ' ');
    return text;
}

} // namespace

namespace {

// The number written through the pattern from its rounded digits.
std::string patterned(const Pattern& p, bool negative, std::string_view whole,
                      std::string_view fraction) {
    const bool zero = whole.empty() && fraction.find_first_not_of('0') == std::string_view::npos;
    std::string out;
    out.reserve(whole.size() + p.fraction.size() + p.lead.size() + p.minWhole + 8);
    if (negative && !zero) out += '-';
    out += p.lead;
    if (whole.size() < p.minWhole) out.append(p.minWhole - whole.size(), '0');
    out += whole;
    out += p.wholeTrail;
    if (p.hasPoint) {
        out += '.';
        appendFraction(out, p, fraction);
    }
    return out;
}

constexpr std::uint64_t tens[] = {1ull,
                                  10ull,
                                  100ull,
                                  1000ull,
                                  10000ull,
                                  100000ull,
                                  1000000ull,
                                  10000000ull,
                                  100000000ull,
                                  1000000000ull,
                                  10000000000ull,
                                  100000000000ull,
                                  1000000000000ull,
                                  10000000000000ull,
                                  100000000000000ull,
                                  1000000000000000ull,
                                  10000000000000000ull,
                                  100000000000000000ull,
                                  1000000000000000000ull};

// The magnitude times 10^places rounded half away from zero at its 15
// significant digits, when that fits in a whole number below 10^18.
std::optional<std::uint64_t> scaledDigits(double magnitude, std::size_t places) {
    if (magnitude == 0) return 0;
    if (places > 18) return std::nullopt;
    const SignificantDigits sd = roundSignificant(magnitude, 15);
    const int cut = sd.exponent + 1 + static_cast<int>(places); // digits kept
    if (cut < 0) return 0;
    if (cut > 18) return std::nullopt;
    if (cut >= 15) return sd.digits * tens[cut - 15];
    const std::uint64_t kept = sd.digits / tens[15 - cut];
    const bool up = sd.digits / tens[14 - cut] % 10 >= 5;
    return kept + (up ? 1 : 0);
}

} // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const Pattern& p = patternOf(pattern);
    if (const auto scaled = scaledDigits(std::fabs(value), p.places)) {
        char whole[24], fraction[24];
        const std::uint64_t wholePart = *scaled / tens[p.places];
        std::size_t wholeSize = 0;
        if (wholePart > 0)
            wholeSize = static_cast<std::size_t>(
                std::to_chars(whole, whole + sizeof whole, wholePart).ptr - whole);
        writeDigits(*scaled % tens[p.places], fraction, static_cast<int>(p.places));
        return patterned(p, value < 0, {whole, wholeSize}, {fraction, p.places});
    }
    return formatNumberByDigits(value, pattern);
}

std::string formatNumberByDigits(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const Pattern& p = patternOf(pattern);
    Decimal d;
    toDecimal(std::fabs(value), d);
    roundTo(d, p.places);
    return patterned(p, value < 0, d.wholeText(), d.fractionText());
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
