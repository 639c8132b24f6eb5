// The integer fast path of significant-digit rounding against std::to_chars,
// over the values the program meets (single-precision numbers widened to
// double, two-decimal values, exact halves at the 15th digit, neighbours of
// powers of ten) and over arbitrary bit patterns.
#include "text/decimal_digits.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace huelinx {
namespace {

std::vector<double> sampleValues() {
    std::mt19937_64 random(7);
    std::vector<double> values;
    std::uniform_real_distribution<double> logScale(-14, 16);
    for (int i = 0; i < 300000; ++i) {
        const double v = std::pow(10.0, logScale(random));
        values.push_back(v);
        values.push_back(static_cast<float>(v));
        values.push_back(std::round(v * 100) / 100);
        // Halves at the second and fourth decimal, where the digits decide
        // the rounding, and their neighbours (for one value in eight).
        if (i % 8 != 0) continue;
        for (const double scale : {100.0, 10000.0}) {
            const double half = (std::floor(v * scale) + 0.5) / scale;
            values.push_back(half);
            values.push_back(std::nextafter(half, 0.0));
            values.push_back(std::nextafter(half, 1e300));
        }
    }
    for (int i = 0; i < 200000; ++i) {
        const double v = std::bit_cast<double>(random());
        if (std::isfinite(v) && v != 0) values.push_back(std::fabs(v));
    }
    // Exact halves at the 15th significant digit, and powers of ten with
    // their neighbours.
    for (double whole = 1e14; whole < 1e14 + 50; ++whole)
        values.push_back(whole + 0.5);
    for (int k = -14; k <= 16; ++k) {
        const double p = std::pow(10.0, k);
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0));
        values.push_back(std::nextafter(p, 1e300));
        values.push_back(p * 0.99999999999999995);
        values.push_back(p * 9.999999999999995);
    }
    values.push_back(5e-324);
    values.push_back(1.7976931348623157e308);
    return values;
}

TEST(SignificantDigits, IntegerPathAgreesWithToChars) {
    int mismatches = 0;
    for (double v : sampleValues())
        for (int count : {1, 7, 15, 17}) {
            const SignificantDigits fast = roundSignificant(v, count);
            const SignificantDigits slow = roundSignificantSlow(v, count);
            if (fast.digits != slow.digits || fast.exponent != slow.exponent) {
                if (++mismatches < 10)
                    ADD_FAILURE() << v << " to " << count << " digits: " << fast.digits << "e"
                                  << fast.exponent << ", to_chars gives " << slow.digits << "e"
                                  << slow.exponent;
            }
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(SignificantDigits, TiesGoToTheEvenDigit) {
    EXPECT_EQ(roundSignificant(100000000000000.5, 15).digits, 100000000000000u);
    EXPECT_EQ(roundSignificant(100000000000001.5, 15).digits, 100000000000002u);
    EXPECT_EQ(roundSignificant(2.5, 1).digits, 2u);
    const SignificantDigits carried = roundSignificant(999.99999999999999, 15);
    EXPECT_EQ(carried.digits, 100000000000000u);
    EXPECT_EQ(carried.exponent, 3);
}

// The general form as printf's %g writes it, with an upper-case E.
std::string referenceGeneral(double value, int precision) {
    if (value == 0) return "0";
    char text[64];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision).ptr;
    std::string out(text, static_cast<std::size_t>(end - text));
    std::replace(out.begin(), out.end(), 'e', 'E');
    return out;
}

TEST(SignificantDigits, PlainTextIsThePrintfGeneralForm) {
    int mismatches = 0;
    for (double v : sampleValues()) {
        const float f = static_cast<float>(v);
        const std::string checks[][2] = {{plainText(v), referenceGeneral(v, 15)},
                                         {plainText(-v), referenceGeneral(-v, 15)},
                                         {plainText(f), referenceGeneral(f, 7)}};
        for (const auto& [got, want] : checks)
            if (std::isfinite(f) && got != want && ++mismatches < 10)
                ADD_FAILURE() << v << ": " << got << " instead of " << want;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(plainText(41.2f), "41.2");
    EXPECT_EQ(plainText(1e30), "1E+30");
    EXPECT_EQ(plainText(0.0001f), "0.0001");
    EXPECT_EQ(plainText(0.00001f), "1E-05");
    EXPECT_EQ(plainText(1234567.0f), "1234567");
    EXPECT_EQ(plainText(12345678.0f), "1.234568E+07");
}

TEST(SignificantDigits, PatternsWriteTheSameDigitsEitherWay) {
    int mismatches = 0;
    for (double v : sampleValues())
        for (const char* pattern : {"###.00", "##0.00", "0.0000", ".0000", "##0", "##.00", "#.##"})
            for (double signed_ : {v, -v, static_cast<double>(static_cast<float>(v))}) {
                const std::string fast = formatNumber(signed_, pattern);
                const std::string slow = formatNumberByDigits(signed_, pattern);
                if (fast != slow && ++mismatches < 10)
                    ADD_FAILURE() << signed_ << " with " << pattern << ": " << fast << " / "
                                  << slow;
            }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(formatNumber(0.005, "#.##"), ".01");
    EXPECT_EQ(formatNumber(-0.004, "###.00"), ".00");
    EXPECT_EQ(formatNumber(999.995, "##0.00"), "1000.00");
    EXPECT_EQ(formatNumber(1e30, "##0.00"), "1000000000000000000000000000000.00");
}

TEST(SignificantDigits, NumbersAsWrittenReadBackAsTheirText) {
    int mismatches = 0;
    const std::vector<double> values = sampleValues();
    for (std::size_t i = 0; i < values.size(); i += 3)
        for (const double v = values[i];
             const char* pattern : {"###.00", "##0.00", "0.0000", "##0", "#.##", " ##.00"})
            for (double signed_ : {v, -v}) {
                const double got = numberAsWritten(signed_, pattern);
                const double read = strictNumber(formatNumber(signed_, pattern)).value_or(0.0);
                if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(read) &&
                    ++mismatches < 10)
                    ADD_FAILURE() << signed_ << " with " << pattern << ": " << got << " / " << read;
            }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(numberAsWritten(-0.004, "###.00")), 0u); // not -0
    EXPECT_EQ(numberAsWritten(2.675, "###.00"), 2.68);
    EXPECT_EQ(numberAsWritten(std::nan(""), "###.00"), 0.0);
}

} // namespace
} // namespace huelinx
