// What a file handed to the program is, from its first bytes and its name.
#include "exchange/file_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace huelinx {
namespace {

TEST(FileKind, SignaturesComeBeforeNamesAndCgatsIsFoundByItsKeywords) {
    using std::string_literals::operator""s;
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s;
    // A picture is a picture whatever it is called.
    EXPECT_EQ(kindOfFile(png, "shot.csv"), FileKind::Picture);
    EXPECT_EQ(kindOfFile("\xff\xd8\xff\xe0\0\x10JFIF"s, "a"), FileKind::Picture);
    EXPECT_EQ(kindOfFile("II*\0\x08\0\0\0"s, "scan.TIF"), FileKind::Picture);
    EXPECT_EQ(kindOfFile("MM\0*\0\0\0\x08"s, "scan"), FileKind::Picture);
    // A cut-short signature is no picture.
    EXPECT_EQ(kindOfFile("\x89PN", "x.png"), FileKind::Unknown);

    EXPECT_EQ(kindOfFile("CGATS.17\r\nORIGINATOR x\r\n", "m.csv"), FileKind::Cgats);
    EXPECT_EQ(kindOfFile("\xEF\xBB\xBF  CGATS.17\n", "m.txt"), FileKind::Cgats);
    EXPECT_EQ(kindOfFile("IT8.7/2\nNUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\n", "m.it8"),
              FileKind::Cgats);
    // The keyword counts only within the bytes looked at.
    const std::string late = std::string(fileKindBytes, ' ') + "BEGIN_DATA_FORMAT";
    EXPECT_EQ(kindOfFile(late, "m.txt"), FileKind::Unknown);

    EXPECT_EQ(kindOfFile("\"12-17-2022\",\"10:30:00\",\"t\",\"5R\"", "mine.CSV"),
              FileKind::Palette);
    EXPECT_EQ(kindOfFile("", "empty.csv"), FileKind::Palette);
    EXPECT_EQ(kindOfFile("just words", "notes.txt"), FileKind::Unknown);
    EXPECT_EQ(kindOfFile("just words", "csv"), FileKind::Unknown);
}

} // namespace
} // namespace huelinx
