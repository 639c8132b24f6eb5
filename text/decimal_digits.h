// A double rounded to a number of significant decimal digits, the step every
// number-to-text rule starts from. The result is that of printing the exact
// binary value with that many digits (ties to the even digit), as
// std::to_chars does; for the magnitudes the program shows (about 1e-13 to
// 1e15) it is computed in integer arithmetic, which is many times faster.
#pragma once

#include <cstdint>

namespace huelinx {

struct SignificantDigits {
    // The digits as a whole number: `count` digits, the first not 0.
    std::uint64_t digits = 0;
    // Decimal exponent of the first digit: value = 0.d1d2... x 10^(exponent + 1).
    int exponent = 0;
};

// `magnitude` (finite, above 0) to `count` significant digits, 1 <= count <= 17.
SignificantDigits roundSignificant(double magnitude, int count);

// The same through std::to_chars alone, for checking the fast path.
SignificantDigits roundSignificantSlow(double magnitude, int count);

} // namespace huelinx
