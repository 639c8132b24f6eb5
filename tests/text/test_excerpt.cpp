#include "text/excerpt.h"

#include <gtest/gtest.h>

namespace huelinx {
namespace {

TEST(Excerpt, ShortTextsStandLongOnesAreCutAndControlsShowAsQuestionMarks) {
    EXPECT_EQ(excerpt("12x"), "12x");
    EXPECT_EQ(excerpt(std::string(40, 'a')), std::string(40, 'a'));
    EXPECT_EQ(excerpt(std::string(5'000'000, 'z')), std::string(40, 'z') + "...");
    EXPECT_EQ(excerpt("a\r\nb\tc\0d"), "a??b?c");
    EXPECT_EQ(excerpt(std::string_view("x\0y", 3)), "x?y");
    // A cut never splits a character: "é" is two bytes, the 40th and 41st.
    const std::string accented = std::string(39, 'e') + "\xC3\xA9" + "tail";
    EXPECT_EQ(excerpt(accented), std::string(39, 'e') + "...");
    EXPECT_EQ(excerpt("abcdef", 3), "abc...");
    // C1 controls (the one-character CSI a terminal may obey) and line
    // separators in UTF-8 are controls too; other letters stand.
    EXPECT_EQ(excerpt("1\xC2\x9B"
                      "2J\xE2\x80\xA8x\xE2\x80\xA9\xC2\xA0\xE2\x80\x94"),
              "1?2J?x?\xC2\xA0\xE2\x80\x94");
    EXPECT_EQ(excerpt("\xC2"), "\xC2");
}

} // namespace
} // namespace huelinx
