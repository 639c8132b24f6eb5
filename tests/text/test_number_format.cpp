#include "text/number_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace huelinx {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(FormatNumber, WritesPatternsAndRoundsDecimalHalvesAwayFromZero) {
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    // clang-format off
    const Case cases[] = {
        {0.5, "###.00", ".50"},   {-0.25, "###.00", "-.25"},  {1234.5, "###.00", "1234.50"},
        {0.5, "##0.00", "0.50"},  {0, "##0.00", "0.00"},      {1.5, ".0000", "1.5000"},
        {5, "#.##", "5."},        {0.5, "#.##", ".5"},        {0.995, "#.##", "1."},
        {0.5, " ##.00", " .50"},  {-0.5, " ##.00", "- .50"},  {5, "   #.##", "   5."},
        // 2.675 and 0.31015 lie just below the half in binary; 15 digits put them on it.
        {2.675, "0.00", "2.68"},  {-0.125, "0.00", "-0.13"},  {0.31015, ".0000", ".3102"},
        {254.5, "##0", "255"},    {9.999, "##.00", "10.00"},  {999.996, "##0.00", "1000.00"},
        // Nothing left after rounding: no minus sign.
        {-0.001, "0.00", "0.00"}, {-0.004, "##.00", ".00"},   {-0.0, "##0", "0"},
        {1e20, "##0", "100000000000000000000"},               {1e-300, "##0.00", "0.00"},
        {-inf, "##0", "-Inf"},    {std::numeric_limits<double>::quiet_NaN(), "##0", "NaN"},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    EXPECT_EQ(formatNumber(-1e308, "#.##").size(), 311u);
}

TEST(PlainText, WritesShortestFormWithSignAndPrintPositions) {
    EXPECT_EQ(plainText(0.1f), "0.1");
    EXPECT_EQ(plainText(1e-4f), "0.0001");
    EXPECT_EQ(plainText(1e-5f), "1E-05");
    EXPECT_EQ(plainText(12345678.f), "1.234568E+07");
    EXPECT_EQ(plainText(123456789012345.0), "123456789012345");
    EXPECT_EQ(plainText(1e15), "1E+15");
    EXPECT_EQ(plainText(std::numeric_limits<long long>::min()), "-9223372036854775808");
    EXPECT_EQ(signedText(120), " 120");
    EXPECT_EQ(signedText(-2.5), "-2.5");
    EXPECT_EQ(signedText(inf), " Inf");
    EXPECT_EQ(printText(2.5f), " 2.5 ");
    EXPECT_EQ(printText(-0.0), " 0 ");
    EXPECT_EQ(quoted("a, \"b\""), "\"a, \"b\"\"");
}

TEST(PrintLine, PadsItemsToFourteenCharacterZones) {
    EXPECT_EQ(PrintLine().zoned("ab").text(), "ab" + std::string(12, ' '));
    EXPECT_EQ(PrintLine().zoned(std::string(14, 'x')).zoned("y").text().find('y'), 28u);
    EXPECT_EQ(PrintLine().zoned(std::string(15, 'x')).text().size(), 28u);
    // Zones are counted from the start of the line, not from the last item.
    EXPECT_EQ(PrintLine().joined("12345").joined("678").zoned("90").joined("z").text(),
              "1234567890    z");
}

} // namespace
} // namespace huelinx
