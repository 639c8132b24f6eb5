#include "palette/palette_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace huelinx {
namespace {

PaletteRecord sample() {
    PaletteRecord r;
    r.date = "12-17-2022";
    r.time = "10:30:00";
    r.tag = "brick, north wall";
    r.munsell = {"5R", "5.00", "10.00"};
    r.xyz = {"29.08", "19.77", "12.41"};
    r.lab = {"51.57", "42.14", "22.16"};
    r.linear = {0.5f, 0.25f, 1.0f};
    r.rgb = {"194", "90", "87"};
    r.cmyk = {"20", "60", "61", "3"};
    return r;
}

TEST(PaletteFile, RecordsHoldTwentyTwoFieldsAndReadBackWhole) {
    PaletteRecord r = sample();
    const std::string line = paletteLine(r);
    EXPECT_EQ(line, "\"12-17-2022\",\"10:30:00\",\"brick, north wall\",\"5R\",\"5.00\",\"10.00\","
                    "\"29.08\",\"19.77\",\"12.41\",\"51.57\",\"42.14\",\"22.16\",0.5,0.25,1,"
                    "\"194\",\"90\",\"87\",\"20\",\"60\",\"61\",\"3\",\r\n");
    // A double quote in a text would end its field early: it is written as two
    // single quotes, and the record still reads back field by field.
    r.tag = "the \"good\" red";
    r.munsell[0] = " 5r";
    const auto rows = readPaletteRows(paletteLine(r) + paletteLine(sample()));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].complete);
    EXPECT_EQ(rows[0].fields[2], "the ''good'' red");
    EXPECT_EQ(rows[0].fields[3], "5r");
    EXPECT_EQ(rows[0].fields[5], "10.00");
    EXPECT_EQ(rows[1].fields[2], "brick, north wall");
    EXPECT_EQ(rows[1].line, 2u);
}

TEST(PaletteFile, ASoilSamplesMoistAndDryReadingsFollowTheRecordAndReadBack) {
    PaletteRecord r = sample();
    r.moist = "10YR 3/2";
    r.dry = "10YR 5/2";
    const std::string line = paletteLine(r);
    // The readings come after K; the 22 fields before them are as ever.
    EXPECT_EQ(line, paletteLine(sample()).substr(0, paletteLine(sample()).size() - 2) +
                        "\"10YR 3/2\",\"10YR 5/2\",\r\n");
    PaletteRecord onlyDry = sample();
    onlyDry.dry = "=1+2"; // a text a spreadsheet would run, read back as given
    // A file mixing records with readings and without, as appended over time,
    // and a line cut after the moist reading.
    const auto rows =
        readPaletteRows(line + paletteLine(sample()) + paletteLine(onlyDry) +
                        "d,t,tag,5R,5,4,1,2,3,4,5,6,7,8,9,1,2,3,4,5,6,7, 10YR 2/1 \n");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].moist, "10YR 3/2");
    EXPECT_EQ(rows[0].dry, "10YR 5/2");
    EXPECT_EQ(rows[0].fields[2], "brick, north wall");
    EXPECT_EQ(rows[1].moist, "");
    EXPECT_EQ(rows[1].dry, "");
    EXPECT_EQ(rows[2].moist, "");
    EXPECT_EQ(rows[2].dry, "=1+2");
    EXPECT_EQ(rows[3].moist, "10YR 2/1");
    EXPECT_EQ(rows[3].dry, "");
    // A short record's later fields are never taken for readings.
    EXPECT_EQ(readPaletteRows("d,t,tag,5R,5,4,x,y,z\n")[0].moist, "");
}

TEST(PaletteFile, ReaderTakesQuotedOrPlainFieldsAndIgnoresTheRest) {
    const std::string text = "d,t, plain tag ,5YR , 6 ,4,anything,else\n"
                             "\n"
                             "\"d\",\"t\",\"x\",\"2.5PB\"\r\n"
                             "\"d\",\"t\",\"y\",\"10RP\",\"3\",\"2\"";
    const auto rows = readPaletteRows(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fields[2], "plain tag");
    EXPECT_EQ(rows[0].fields[3], "5YR");
    EXPECT_EQ(rows[0].fields[4], "6");
    EXPECT_FALSE(rows[1].complete);
    EXPECT_EQ(rows[1].line, 3u);
    EXPECT_TRUE(rows[2].complete);
    EXPECT_EQ(rows[2].fields[3], "10RP");
    // Lines cut short after a comma and blanks, with any line end, are
    // incomplete: no field is made up from another.
    for (const char* cut : {"d,t,x,5R,6, ", "d,t,x,5R,6, \r\n", "d,t,x,5R,6,\t\r", "d, "}) {
        const auto short_ = readPaletteRows(cut);
        ASSERT_EQ(short_.size(), 1u) << cut;
        EXPECT_FALSE(short_[0].complete) << cut;
        EXPECT_EQ(short_[0].fields[5], "") << cut;
    }
    std::string many;
    for (int i = 0; i < 10005; ++i)
        many += "d,t,tag,5R,5,4\r\n";
    EXPECT_EQ(readPaletteRows(many).size(), 10000u);
}

TEST(PaletteFile, RowsWithNotationAfterALineAreThoseAViewWouldShow) {
    const std::string text = "d,t,a,5R,5,4\r\n"     // 1
                             "d,t,grey,N,5,\r\n"    // 2: a hue alone is a notation
                             "\r\n"                 // 3
                             "d,t,plain,,5,\r\n"    // 4: no hue, no chroma
                             "d,t,cut,5Y\r\n"       // 5: cut short
                             "d,t,c, , 6 ,\"3\"\n"; // 6: a chroma alone
    EXPECT_TRUE(rowsWithNotationAfter(text, 0));
    EXPECT_TRUE(rowsWithNotationAfter(text, 1));
    EXPECT_TRUE(rowsWithNotationAfter(text, 2));
    EXPECT_TRUE(rowsWithNotationAfter(text, 5));
    EXPECT_FALSE(rowsWithNotationAfter(text, 6));
    EXPECT_FALSE(rowsWithNotationAfter(text.substr(0, text.find("d,t,c")), 2));
    EXPECT_FALSE(rowsWithNotationAfter("", 0));
}

TEST(PaletteFile, TagsASpreadsheetWouldRunAreMarkedAndReadBackAsTyped) {
    PaletteRecord r = sample();
    r.lab = {"31.20", "-12.50", "+4.00"};
    for (const std::string tag :
         {"=HYPERLINK(\"http://x\")", "+1+2", "-cmd|' /C calc'!A0", "@SUM(1)", "'=x", "-"}) {
        r.tag = tag;
        const std::string line = paletteLine(r);
        // The tag starts with the apostrophe spreadsheets read as "text";
        // the numbers, signed or not, stay numbers.
        EXPECT_EQ(line.substr(24, 2), "\"'") << line;
        EXPECT_NE(line.find(",\"31.20\",\"-12.50\",\"+4.00\","), std::string::npos) << line;
        const auto rows = readPaletteRows(line);
        ASSERT_EQ(rows.size(), 1u);
        std::string typed = tag;
        for (std::size_t q; (q = typed.find('"')) != std::string::npos;)
            typed.replace(q, 1, "''");
        EXPECT_EQ(rows[0].fields[2], typed);
    }
    // Plain tags and a tag that is a number are written as before.
    for (const std::string tag : {"brick", "-12", "'quoted'"}) {
        r.tag = tag;
        EXPECT_NE(paletteLine(r).find(",\"" + tag + "\","), std::string::npos);
        EXPECT_EQ(readPaletteRows(paletteLine(r))[0].fields[2], tag);
    }
}

TEST(PaletteFile, AppendsAddWholeLinesAndReportFilesThatCannotBeWritten) {
    const auto dir = std::filesystem::temp_directory_path() / "huelinx-palette-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "taken.csv");
    const std::string path = (dir / "colours.csv").string();
    ASSERT_TRUE(appendPaletteLine(path, paletteLine(sample())).ok);
    ASSERT_TRUE(appendPaletteLine(path, paletteLine(sample())).ok);
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, paletteLine(sample()) + paletteLine(sample()));
    const Result taken = appendPaletteLine((dir / "taken.csv").string(), "x\r\n");
    EXPECT_FALSE(taken.ok);
    EXPECT_NE(taken.message.find("taken.csv"), std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace huelinx
