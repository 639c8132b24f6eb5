#include "text/decimal_digits.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace huelinx {

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t powerOf10(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

constexpr std::uint64_t powerOf5(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    return p;
}

// m x 2^shift x 10^p for 0 <= p <= 27: its whole part, and whether rounding
// to the nearest whole number (ties to even) goes up. False when the whole
// part would not fit in 64 bits.
bool scaled(std::uint64_t m, int shift, int p, std::uint64_t& whole, bool& up) {
    const u128 n = static_cast<u128>(m) * powerOf5(p); // below 2^116
    const int s = shift + p;                           // value = n x 2^s
    up = false;
    if (s >= 0) {
        if (s >= 12 || (n << s) >> 64) return false;
        whole = static_cast<std::uint64_t>(n << s);
        return true;
    }
    if (-s >= 120) {
        whole = 0; // far below one half
        return true;
    }
    const u128 w = n >> -s;
    if (w >> 64) return false;
    const u128 rest = n - (w << -s);
    const u128 half = static_cast<u128>(1) << (-s - 1);
    whole = static_cast<std::uint64_t>(w);
    up = rest > half || (rest == half && (whole & 1));
    return true;
}

} // namespace

SignificantDigits roundSignificantSlow(double magnitude, int count) {
    char text[64]; // d.ddd...e+xx
    const char* end =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, count - 1)
            .ptr;
    SignificantDigits result;
    const char* e = static_cast<const char*>(std::memchr(text, 'e', end - text));
    for (const char* c = text; c < e; ++c)
        if (*c != '.') result.digits = result.digits * 10 + static_cast<std::uint64_t>(*c - '0');
    std::from_chars(e + 2, end, result.exponent);
    if (e[1] == '-') result.exponent = -result.exponent;
    return result;
}

SignificantDigits roundSignificant(double magnitude, int count) {
    // magnitude = m x 2^shift exactly.
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0) return roundSignificantSlow(magnitude, count); // subnormal
    const std::uint64_t m = (bits & ((1ull << 52) - 1)) | (1ull << 52);
    const int shift = biased - 1075;

    // A first guess of the exponent, corrected until the whole part of the
    // scaled value has exactly `count` digits; rounding may then carry into
    // one more digit.
    // floor(log2 x log10(2)) is the exponent or one below it.
    const int log2 = shift + 52;
    int exponent = log2 >= 0 ? (log2 * 78913) >> 18 : -((-log2 * 78913 + (1 << 18) - 1) >> 18);
    const std::uint64_t low = powerOf10(count - 1), high = low * 10;
    for (int tries = 0; tries < 3; ++tries) {
        const int p = count - 1 - exponent;
        std::uint64_t whole;
        bool up;
        if (p < 0 || p > 27 || !scaled(m, shift, p, whole, up)) break;
        if (whole >= high) {
            ++exponent;
        } else if (whole < low) {
            --exponent;
        } else {
            if (up && ++whole == high) return {low, exponent + 1};
            return {whole, exponent};
        }
    }
    return roundSignificantSlow(magnitude, count);
}

} // namespace huelinx
