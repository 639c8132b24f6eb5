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
}

} // namespace
} // namespace huelinx
