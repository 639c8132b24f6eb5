#include "text/safe_text.h"

#include <gtest/gtest.h>

namespace huelinx {
namespace {

TEST(SafeText, OnlyShortestFormsDecodeAndOtherBytesStandForThemselves) {
    EXPECT_EQ(codePoints("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xA8"),
              (std::vector<char32_t>{U'a', 0xe9, 0x20ac, 0x1f3a8}));
    // Overlong forms of a line feed, a slash and U+FFFF, a surrogate, a point
    // past U+10FFFF and a cut sequence: each byte is a Latin-1 letter.
    for (std::string_view bytes : {"\xE0\x80\x8A", "\xC0\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
                                   "\xF4\x90\x80\x80", "\xE2\x82"}) {
        std::vector<char32_t> expected;
        for (char c : bytes)
            expected.push_back(static_cast<unsigned char>(c));
        EXPECT_EQ(codePoints(bytes), expected) << bytes.size();
    }
    // The smallest points each length may carry still decode.
    EXPECT_EQ(codePoints("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"),
              (std::vector<char32_t>{0x80, 0x800, 0x10000}));
}

TEST(SafeText, OneLineTextHasNoControlCharacterAfterDecoding) {
    EXPECT_EQ(oneLineText("Brick\tred\r\n"), "Brick red  ");
    EXPECT_EQ(oneLineText("caf\xE9"), "caf\xC3\xA9"); // Latin-1 becomes UTF-8
    EXPECT_EQ(oneLineText("x\xE0\x80\x8A"), "x\xC3\xA0  ");
    // C1 controls (NEL, CSI), DEL and the Unicode line and paragraph separators.
    EXPECT_EQ(oneLineText("a\xC2\x85"
                          "b\xC2\x9B"
                          "c\x7F"
                          "d\xE2\x80\xA8"
                          "e\xE2\x80\xA9"),
              "a b c d e ");
    EXPECT_EQ(oneLineText("\x1B[2J"), " [2J");
    // Everything else passes unchanged.
    const std::string fine = "5R 4/14 \xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xA8 \xC2\xA0";
    EXPECT_EQ(oneLineText(fine), fine);
}

TEST(SafeText, FormulasAreMarkedAsTextAndReadBackAsWritten) {
    for (std::string_view formula : {"=SUM(A1:A9)", "+1+2", "-2+3", "@cmd", "\t=1", "\r=1", "'=x",
                                     "''+y", "-", "=", "- 5", "-e5"}) {
        const std::string written = spreadsheetText(formula);
        EXPECT_EQ(written, "'" + std::string(formula));
        EXPECT_TRUE(hasSpreadsheetMark(written));
        EXPECT_EQ(withoutSpreadsheetMark(written), formula);
    }
    // Numbers and ordinary text stay as they are and read back unchanged.
    for (std::string_view plain :
         {"-12.5", "+3", "-1e5", "-.5", "Brick", "'quoted'", "5R 4/14", "", "a=b", " =1"}) {
        EXPECT_EQ(spreadsheetText(plain), plain);
        EXPECT_EQ(withoutSpreadsheetMark(plain), plain);
    }
}

} // namespace
} // namespace huelinx
