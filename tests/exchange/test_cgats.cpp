#include "exchange/cgats.h"

#include <gtest/gtest.h>


namespace huelinx {
namespace {

// Keywords, comments, quotes, tabs and field names over two lines, LF ends.
const std::string sampleFile = "CGATS.17  \n"
                               "# written by hand\n"
                               "ORIGINATOR \"Shop #2 scanner\"   # the quoted # stays\n"
                               "KEYWORD \"PAPER\"\n"
                               "PAPER Matte coated\n"
                               "\n"
                               "NUMBER_OF_FIELDS 4\n"
                               "BEGIN_DATA_FORMAT\n"
                               "SAMPLE_ID\tSAMPLE_NAME\n"
                               "  XYZ_Y LAB_L END_DATA_FORMAT\n"
                               "NUMBER_OF_SETS 2\n"
                               "BEGIN_DATA\n"
                               "1 \"Light grey\"\t62.1 83\n"
                               "\n"
                               "2\tBlack  3.5 22 # last\n"
                               "END_DATA\n"
                               "anything after END_DATA \"is not read\n";

std::string withLineEnds(std::string text, const std::string& end) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? end : std::string(1, c);
    return out;
}

TEST(CgatsReader, ReadsKeywordsFieldsAndSetsWithAnyLineEnd) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const CgatsRead read = readCgats(withLineEnds(sampleFile, end), "m.txt");
        ASSERT_TRUE(read.table) << read.message;
        const CgatsTable& t = *read.table;
        using Pair = std::pair<std::string, std::string>;
        EXPECT_EQ(t.keywords, (std::vector<Pair>{{"", "CGATS.17"},
                                                 {"ORIGINATOR", "Shop #2 scanner"},
                                                 {"KEYWORD", "PAPER"},
                                                 {"PAPER", "Matte coated"},
                                                 {"NUMBER_OF_FIELDS", "4"},
                                                 {"NUMBER_OF_SETS", "2"}}));
        EXPECT_EQ(t.fields,
                  (std::vector<std::string>{"SAMPLE_ID", "SAMPLE_NAME", "XYZ_Y", "LAB_L"}));
        EXPECT_EQ(t.sets, (std::vector<std::vector<std::string>>{{"1", "Light grey", "62.1", "83"},
                                                                 {"2", "Black", "3.5", "22"}}));
        EXPECT_EQ(t.setLines, (std::vector<std::size_t>{13, 15}));
        EXPECT_EQ(t.formatLine, 8u);
        ASSERT_TRUE(t.keyword("originator"));
        EXPECT_EQ(*t.keyword("originator"), "Shop #2 scanner");
        EXPECT_EQ(t.keyword("DESCRIPTOR"), nullptr);
        EXPECT_EQ(t.field("xyz_y"), 2);
        EXPECT_EQ(t.field("XYZ_X"), -1);
    }
    // No identifier line: the first line is a keyword like the others.
    const CgatsRead bare = readCgats("ORIGINATOR me\nBEGIN_DATA_FORMAT A END_DATA_FORMAT\n"
                                     "BEGIN_DATA\n1\nEND_DATA",
                                     "m.txt");
    ASSERT_TRUE(bare.table) << bare.message;
    EXPECT_EQ(bare.table->keyword(""), nullptr);
    EXPECT_EQ(*bare.table->keyword("ORIGINATOR"), "me");
}

TEST(CgatsReader, FaultsNameTheFileTheLineAndWhatWasExpected) {
    const std::string head = "CGATS.17\nBEGIN_DATA_FORMAT\nA B C\nEND_DATA_FORMAT\n";
    const struct {
        std::string text, message;
    } cases[] = {
        {"CGATS.17\nNUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nA B C\nEND_DATA_FORMAT\n",
         "m.txt, line 5: expected 4 field names (NUMBER_OF_FIELDS, line 2), found 3."},
        {head + "NUMBER_OF_FIELDS 2\n",
         "m.txt, line 5: expected NUMBER_OF_FIELDS 3 (the field names of BEGIN_DATA_FORMAT, "
         "line 2), found 2."},
        {head + "NUMBER_OF_SETS 3\nBEGIN_DATA\n1 2 3\n4 5 6\nEND_DATA\n",
         "m.txt, line 9: expected 3 sets (NUMBER_OF_SETS, line 5), found 2."},
        {head + "BEGIN_DATA\n1 2 3\n4 5\n",
         "m.txt, line 7: expected 3 values (the fields of BEGIN_DATA_FORMAT), found 2."},
        {"X\nNUMBER_OF_FIELDS 3\nBEGIN_DATA_FORMAT\nA B C\nEND_DATA_FORMAT\nBEGIN_DATA\n1 2 3 4\n",
         "m.txt, line 7: expected 3 values (NUMBER_OF_FIELDS), found 4."},
        {head + "BEGIN_DATA\n1 \"two 3\n",
         "m.txt, line 6: expected a closing quote after \"two 3\", found the line end."},
        {head + "BEGIN_DATA\n1 2 3\n\n",
         "m.txt, line 7: expected END_DATA for the BEGIN_DATA of line 5, found the end of the "
         "file."},
        {"CGATS.17\nBEGIN_DATA_FORMAT\nA\nBEGIN_DATA\n",
         "m.txt, line 4: expected END_DATA_FORMAT before BEGIN_DATA."},
        {"CGATS.17\nBEGIN_DATA_FORMAT\nA B\r\n",
         "m.txt, line 3: expected END_DATA_FORMAT for the BEGIN_DATA_FORMAT of line 2, found the "
         "end of the file."},
        {"CGATS.17\nBEGIN_DATA\n1\nEND_DATA\n",
         "m.txt, line 2: expected BEGIN_DATA_FORMAT before BEGIN_DATA."},
        {"CGATS.17\nDESCRIPTOR x\n", "m.txt, line 2: expected BEGIN_DATA_FORMAT, found the end of "
                                     "the file."},
        {"", "m.txt, line 1: expected BEGIN_DATA_FORMAT, found the end of the file."},
        {head, "m.txt, line 4: expected BEGIN_DATA, found the end of the file."},
        {"CGATS.17\nNUMBER_OF_SETS many\n",
         "m.txt, line 2: expected a whole number after NUMBER_OF_SETS, found \"many\"."},
        {"CGATS.17\nNUMBER_OF_FIELDS 2.5\n",
         "m.txt, line 2: expected a whole number after NUMBER_OF_FIELDS, found \"2.5\"."},
        {"CGATS.17\nNUMBER_OF_SETS 100001\n",
         "m.txt, line 2: expected at most 100000 after NUMBER_OF_SETS, found \"100001\"."},
        {"CGATS.17\nBEGIN_DATA_FORMAT\nA b a\nEND_DATA_FORMAT\n",
         "m.txt, line 4: expected each field name once in BEGIN_DATA_FORMAT, found \"A\" twice."},
        {"CGATS.17\nBEGIN_DATA_FORMAT END_DATA_FORMAT\n",
         "m.txt, line 2: expected field names between BEGIN_DATA_FORMAT (line 2) and "
         "END_DATA_FORMAT, found none."},
        {head + "BEGIN_DATA\nEND_DATA\n",
         "m.txt, line 6: expected at least one set between BEGIN_DATA (line 5) and END_DATA, found "
         "none."},
    };
    for (const auto& c : cases) {
        const CgatsRead read = readCgats(c.text, "m.txt");
        EXPECT_FALSE(read.table) << c.text;
        EXPECT_EQ(read.message, c.message) << c.text;
    }
    // A long line of junk is quoted by its first 40 characters.
    const std::string junk = head + "BEGIN_DATA\n1 2 \"" + std::string(5000, 'x') + "\n";
    const CgatsRead read = readCgats(junk, "m.txt");
    EXPECT_LT(read.message.size(), 120u) << read.message;
}

TEST(CgatsReader, RefusesTablesOverTheLimits) {
    std::string wide = "W\nBEGIN_DATA_FORMAT\n";
    for (std::size_t i = 0; i <= cgatsMaxFields; ++i)
        wide += "F" + std::to_string(i) + (i % 20 == 19 ? "\n" : " ");
    EXPECT_EQ(readCgats(wide, "w.txt").message,
              "w.txt, line 503: expected at most 10000 field names, found more.");
    std::string tall = "T\nBEGIN_DATA_FORMAT\nA\nEND_DATA_FORMAT\nBEGIN_DATA\n";
    for (std::size_t i = 0; i <= cgatsMaxSets; ++i)
        tall += "1\n";
    EXPECT_EQ(readCgats(tall, "t.txt").message,
              "t.txt, line 100006: expected at most 100000 sets, found more.");
}

} // namespace
} // namespace huelinx
