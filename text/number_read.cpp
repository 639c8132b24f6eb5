#include "text/number_read.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace huelinx {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

// The mantissa digits of a number: most numbers have few, so they are kept
// in place, and only a long run of digits takes the heap.
class Digits {
  public:
    void push(char c) {
        if (size_ < sizeof small_) {
            small_[size_++] = c;
            return;
        }
        if (large_.empty()) large_.assign(small_, size_);
        large_ += c;
        ++size_;
    }
    bool empty() const { return size_ == 0; }
    std::string_view view() const {
        return size_ <= sizeof small_ ? std::string_view(small_, size_) : std::string_view(large_);
    }

  private:
    char small_[32];
    std::size_t size_ = 0;
    std::string large_;
};

// The parts of a number read from a text, blanks and point left out.
struct Scanned {
    bool negative = false;
    Digits digits;               // all mantissa digits
    std::size_t wholeDigits = 0; // how many of them stand before the point
    long long exponent = 0;      // saturated, so absurd exponents cannot overflow
    std::size_t end = 0;         // where reading stopped
};

// Reads the longest number starting at `pos`. With `blanksInside`, blanks
// between its characters are passed over; otherwise a blank ends it.
Scanned scan(std::string_view text, std::size_t pos, bool blanksInside) {
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    auto next = [&](std::size_t i) { return blanksInside ? skipBlanks(text, i) : i; };
    Scanned s;
    std::size_t i = pos;
    if (at(i) == '+' || at(i) == '-') {
        s.negative = at(i) == '-';
        i = next(i + 1);
    }
    for (bool point = false;; i = next(i + 1)) {
        if (isDigit(at(i))) {
            s.digits.push(at(i));
            if (!point) ++s.wholeDigits;
        } else if (at(i) == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    // An exponent counts only with at least one digit; otherwise the number
    // ends before the E.
    if (!s.digits.empty() && (at(i) == 'E' || at(i) == 'e')) {
        std::size_t j = next(i + 1);
        bool minus = at(j) == '-';
        if (at(j) == '+' || minus) j = next(j + 1);
        if (isDigit(at(j))) {
            for (; isDigit(at(j)); j = next(j + 1))
                if (s.exponent < 1'000'000'000) s.exponent = s.exponent * 10 + (at(j) - '0');
            if (minus) s.exponent = -s.exponent;
            i = j;
        }
    }
    s.end = i;
    return s;
}

// The value of a scanned number; no value when it is too large for a double.
// One too small for a double reads as 0, and -0 as 0.
std::optional<double> valueOf(const Scanned& s) {
    const std::string_view all = s.digits.view();
    std::size_t first = all.find_first_not_of('0');
    if (first == std::string_view::npos) return 0.0;
    // value = 0.<digits from first> x 10^scale
    long long scale =
        static_cast<long long>(s.wholeDigits) - static_cast<long long>(first) + s.exponent;
    if (scale > 400) return std::nullopt;
    if (scale < -400) return 0.0;
    // Up to 15 digits times or over a power of ten up to 10^22: both are exact
    // doubles, so one multiplication or division rounds exactly as reading the
    // whole text would.
    const std::size_t count = all.size() - first;
    const long long power = scale - static_cast<long long>(count);
    if (count <= 15 && power >= -22 && power <= 22) {
        std::uint64_t whole = 0;
        for (std::size_t i = first; i < all.size(); ++i)
            whole = whole * 10 + static_cast<std::uint64_t>(all[i] - '0');
        static constexpr double tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const double d = static_cast<double>(whole);
        const double value = power >= 0 ? d * tens[power] : d / tens[-power];
        return s.negative ? -value : value;
    }
    // The digits as "0.<digits>e<scale>", in a buffer on the stack when they fit.
    const std::string_view digits = all.substr(first);
    char small[256];
    std::string large;
    char* token = small;
    if (digits.size() + 16 > sizeof small) {
        large.resize(digits.size() + 16);
        token = large.data();
    }
    token[0] = '0';
    token[1] = '.';
    std::memcpy(token + 2, digits.data(), digits.size());
    char* end = token + 2 + digits.size();
    *end++ = 'e';
    end = std::to_chars(end, end + 12, scale).ptr;
    double value = 0;
    auto result = std::from_chars(token, end, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (scale > 0) return std::nullopt;
        return 0.0;
    }
    return s.negative ? -value : value;
}

} // namespace

double leadingNumber(std::string_view text) {
    return valueOf(scan(text, skipBlanks(text, 0), true)).value_or(0.0);
}

double leadingNumberLenient(std::string_view text) {
    return valueOf(scan(text, skipBlanks(text, 0), false)).value_or(0.0);
}

std::optional<double> strictNumber(std::string_view text) {
    Scanned s = scan(text, skipBlanks(text, 0), false);
    if (s.digits.empty() || skipBlanks(text, s.end) != text.size()) return std::nullopt;
    return valueOf(s);
}

bool isNumberText(std::string_view text) {
    const Scanned s = scan(text, skipBlanks(text, 0), false);
    return !s.digits.empty() && skipBlanks(text, s.end) == text.size();
}

std::string_view trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

double roundHalfEven(double value) {
    // From 2^52 on every double is whole. Below that, floor and the subtraction
    // are exact, so the result does not depend on the rounding mode.
    if (!std::isfinite(value) || std::fabs(value) >= 4503599627370496.0) return value;
    double below = std::floor(value);
    double rest = value - below;
    if (rest < 0.5) return below;
    if (rest > 0.5) return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

} // namespace huelinx
