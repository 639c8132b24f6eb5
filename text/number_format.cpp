#include "text/number_format.h"

#include "text/decimal_digits.h"
#include "text/number_read.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
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
    // Digits and a point alone (no literal), with few required whole digits:
    // such a number is written straight from its digits.
    bool digitsOnly = false;
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
    if (point == std::string_view::npos) {
        p.digitsOnly = p.lead.empty() && p.wholeTrail.empty() && p.minWhole <= 24;
        return p;
    }
    p.hasPoint = true;
    p.fraction = pattern.substr(point + 1);
    for (char c : p.fraction) {
        if (!isPlaceholder(c)) continue;
        ++p.places;
        if (c == '0') p.required = p.places;
    }
    p.digitsOnly =
        p.lead.empty() && p.wholeTrail.empty() && p.minWhole <= 24 && p.places == p.fraction.size();
    return p;
}

// The fraction digits written through the pattern's fraction part from `at`:
// trailing zeros beyond the required places are dropped, literals kept in
// place. Gives the end.
char* writeFraction(char* at, const Pattern& p, std::string_view digits) {
    std::size_t keep = digits.find_last_not_of('0');
    keep = std::max(p.required, keep == std::string_view::npos ? 0 : keep + 1);
    std::size_t k = 0;
    for (char c : p.fraction) {
        if (!isPlaceholder(c))
            *at++ = c;
        else if (k < keep)
            *at++ = digits[k++];
    }
    return at;
}

// `count` decimal digits of `number`, leading zeros included.
void writeDigits(std::uint64_t number, char* out, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + number % 10);
        number /= 10;
    }
}

// The pattern's length and first seven characters as one number: for the
// patterns of seven characters or fewer, equal keys are equal patterns.
std::uint64_t patternKey(std::string_view pattern) {
    std::uint64_t key = std::min<std::uint64_t>(pattern.size(), 255) << 56;
    for (std::size_t i = 0; i < pattern.size() && i < 7; ++i)
        key |= std::uint64_t{static_cast<unsigned char>(pattern[i])} << (8 * i);
    return key;
}

struct ParsedPattern {
    std::string text;
    Pattern pattern;
};

// Patterns are few and fixed: each is parsed once per thread, and found again
// by its key in a table of fixed size (the first 32 patterns; any others are
// looked up by their text).
const Pattern& patternOf(std::string_view pattern) {
    struct Slot {
        std::uint64_t key;
        const ParsedPattern* parsed;
    };
    thread_local Slot slots[32]{};
    thread_local std::size_t used = 0;
    const std::uint64_t key = patternKey(pattern);
    for (std::size_t i = 0; i < used; ++i)
        if (slots[i].key == key && (pattern.size() <= 7 || slots[i].parsed->text == pattern))
            return slots[i].parsed->pattern;
    thread_local std::vector<std::unique_ptr<ParsedPattern>> parsed;
    for (const auto& p : parsed)
        if (p->text == pattern) return p->pattern;
    parsed.push_back(std::make_unique<ParsedPattern>(
        ParsedPattern{std::string(pattern), parsePattern(pattern)}));
    if (used < std::size(slots)) slots[used++] = {key, parsed.back().get()};
    return parsed.back()->pattern;
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
    std::string out(1 + p.lead.size() + std::max(whole.size(), p.minWhole) + p.wholeTrail.size() +
                        1 + p.fraction.size(),
                    '\0');
    char* at = out.data();
    if (negative && !zero) *at++ = '-';
    at = std::copy(p.lead.begin(), p.lead.end(), at);
    if (whole.size() < p.minWhole) at = std::fill_n(at, p.minWhole - whole.size(), '0');
    at = std::copy(whole.begin(), whole.end(), at);
    at = std::copy(p.wholeTrail.begin(), p.wholeTrail.end(), at);
    if (p.hasPoint) {
        *at++ = '.';
        at = writeFraction(at, p, fraction);
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
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

// A number of a pattern of digits alone, from its whole number of last
// places, written as patterned writes it: the sign unless it is written as
// zero, the whole digits padded to those required, and the decimals up to
// the required ones and the last that is not 0.
std::string digitsText(const Pattern& p, bool negative, std::uint64_t scaled) {
    char text[64];
    char* at = text;
    if (negative && scaled != 0) *at++ = '-';
    const std::uint64_t whole = scaled / tens[p.places];
    char digits[24];
    const std::size_t wholeSize =
        whole > 0 ? static_cast<std::size_t>(std::to_chars(digits, digits + 24, whole).ptr - digits)
                  : 0;
    if (wholeSize < p.minWhole) at = std::fill_n(at, p.minWhole - wholeSize, '0');
    at = std::copy_n(digits, wholeSize, at);
    if (p.hasPoint) {
        *at++ = '.';
        std::uint64_t fraction = scaled - whole * tens[p.places];
        std::size_t keep = p.places;
        while (keep > p.required && fraction % 10 == 0) {
            fraction /= 10;
            --keep;
        }
        writeDigits(fraction, at, static_cast<int>(keep));
        at += keep;
    }
    return std::string(text, at);
}

// The same whole number straight from the double, where that is sure to give
// the same: below 10^9, taking the magnitude to 15 significant digits moves
// it by less than 10^-5 of a unit of the last place and the product in double
// is out by far less, so away from a half (by 10^-4 of a unit) both round
// alike. None near a half, where the digits decide.
std::optional<std::uint64_t> directDigits(double magnitude, std::size_t places) {
    if (places > 9) return std::nullopt;
    const double scaled = magnitude * static_cast<double>(tens[places]);
    if (!(scaled < 1e9)) return std::nullopt;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-4) return std::nullopt;
    return static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
}

// The magnitude times 10^places rounded as a number is written, either way.
std::optional<std::uint64_t> digitsOf(double magnitude, std::size_t places) {
    const std::optional<std::uint64_t> direct = directDigits(magnitude, places);
    return direct ? direct : scaledDigits(magnitude, places);
}

} // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const Pattern& p = patternOf(pattern);
    const std::optional<std::uint64_t> scaled = digitsOf(std::fabs(value), p.places);
    if (scaled && p.digitsOnly) return digitsText(p, value < 0, *scaled);
    if (scaled) {
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

double numberAsWritten(double value, std::string_view pattern) {
    const Pattern& p = patternOf(pattern);
    if (std::isfinite(value) && p.digitsOnly) {
        const std::optional<std::uint64_t> scaled = digitsOf(std::fabs(value), p.places);
        // Below 2^53 the digits are an exact double, and one division by an
        // exact power of ten rounds as reading the written decimal does. A
        // number written as zero carries no minus sign.
        if (scaled && *scaled < (std::uint64_t{1} << 53)) {
            const double magnitude =
                static_cast<double>(*scaled) / static_cast<double>(tens[p.places]);
            return value < 0 && *scaled != 0 ? -magnitude : magnitude;
        }
    }
    return strictNumber(formatNumber(value, pattern)).value_or(0.0);
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
