#include "text/list_input.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace huelinx {
namespace {

TEST(ListReader, SplitsItemsAtCommasAndEveryKindOfLineEnd) {
    ListReader r("  a b ,\"x, y\"junk,\t\"z\"\r\nd\re\n,\n\"open, item\r\nlast");
    for (const char* item : {"a b ", "x, y", "z", "d", "e", "", ""})
        EXPECT_EQ(r.field(), item);
    EXPECT_EQ(r.lineNumber(), 5u);
    EXPECT_EQ(r.field(), "open, item");
    EXPECT_EQ(r.lineNumber(), 6u);
    EXPECT_EQ(r.field(), "last");
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.field(), std::nullopt);
}

// The reader holds a view of its text: a string that dies at the end of the
// statement must not compile, while named strings, views and literals do.
static_assert(!std::is_constructible_v<ListReader, std::string>);
static_assert(!std::is_constructible_v<ListReader, std::string&&>);
static_assert(std::is_constructible_v<ListReader, std::string&>);
static_assert(std::is_constructible_v<ListReader, const std::string&>);
static_assert(std::is_constructible_v<ListReader, std::string_view>);
static_assert(std::is_constructible_v<ListReader, const char (&)[4]>);

TEST(ListReader, ReadsLinesAndSkipsBlankLines) {
    ListReader r("first, line\r\n\r\n \t\n\r  2,3\n\nend");
    EXPECT_EQ(r.line(), "first, line");
    EXPECT_EQ(r.field(), ""); // an empty line is one empty item
    r.skipBlankLines();
    EXPECT_EQ(r.lineNumber(), 5u);
    EXPECT_EQ(r.field(), "2");
    for (const char* text : {"3", "", "end"})
        EXPECT_EQ(r.line(), text);
    EXPECT_EQ(r.line(), std::nullopt);
}

} // namespace
} // namespace huelinx
