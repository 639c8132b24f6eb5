#include "exchange/cgats.h"
#include "exchange/cgats_samples.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// The values of every set, set by set.
std::vector<std::vector<std::string>> setsOf(const CgatsTable& t) {
    std::vector<std::vector<std::string>> sets(t.setCount());
    for (std::size_t s = 0; s < sets.size(); ++s)
        for (std::size_t f = 0; f < t.fields.size(); ++f)
            sets[s].emplace_back(t.value(s, f));
    return sets;
}

TEST(CgatsReader, ReadsKeywordsFieldsAndSetsWithAnyLineEnd) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const Loaded<CgatsTable> read = readCgats(withLineEnds(sampleFile, end), "m.txt");
        ASSERT_TRUE(read.value) << read.message;
        const CgatsTable& t = *read.value;
        using Pair = std::pair<std::string, std::string>;
        EXPECT_EQ(t.keywords, (std::vector<Pair>{{"", "CGATS.17"},
                                                 {"ORIGINATOR", "Shop #2 scanner"},
                                                 {"KEYWORD", "PAPER"},
                                                 {"PAPER", "Matte coated"},
                                                 {"NUMBER_OF_FIELDS", "4"},
                                                 {"NUMBER_OF_SETS", "2"}}));
        EXPECT_EQ(t.fields,
                  (std::vector<std::string>{"SAMPLE_ID", "SAMPLE_NAME", "XYZ_Y", "LAB_L"}));
        EXPECT_EQ(setsOf(t), (std::vector<std::vector<std::string>>{
                                 {"1", "Light grey", "62.1", "83"}, {"2", "Black", "3.5", "22"}}));
        EXPECT_EQ(t.setLines, (std::vector<std::size_t>{13, 15}));
        EXPECT_EQ(t.formatLine, 8u);
        ASSERT_TRUE(t.keyword("originator"));
        EXPECT_EQ(*t.keyword("originator"), "Shop #2 scanner");
        EXPECT_EQ(t.keyword("DESCRIPTOR"), nullptr);
        EXPECT_EQ(t.field("xyz_y"), 2);
        EXPECT_EQ(t.field("XYZ_X"), -1);
    }
    // No identifier line: the first line is a keyword like the others.
    const Loaded<CgatsTable> bare = readCgats("ORIGINATOR me\nBEGIN_DATA_FORMAT A END_DATA_FORMAT\n"
                                              "BEGIN_DATA\n1\nEND_DATA",
                                              "m.txt");
    ASSERT_TRUE(bare.value) << bare.message;
    EXPECT_EQ(bare.value->keyword(""), nullptr);
    EXPECT_EQ(*bare.value->keyword("ORIGINATOR"), "me");
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
        const Loaded<CgatsTable> read = readCgats(c.text, "m.txt");
        EXPECT_FALSE(read.value) << c.text;
        EXPECT_EQ(read.message, c.message) << c.text;
    }
    // A long line of junk is quoted by its first 40 characters.
    const std::string junk = head + "BEGIN_DATA\n1 2 \"" + std::string(5000, 'x') + "\n";
    const Loaded<CgatsTable> read = readCgats(junk, "m.txt");
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

TEST(CgatsReader, EmptyAndQuotedValuesKeepTheirPlaces) {
    const Loaded<CgatsTable> read =
        readCgats("T\nBEGIN_DATA_FORMAT\nA B C\nEND_DATA_FORMAT\nBEGIN_DATA\n"
                  "\"\" \"\" 1\n\"a b\" \"\" \"\"\n\"#\" x\"y \"\"\nEND_DATA\n",
                  "t.txt");
    ASSERT_TRUE(read.value) << read.message;
    EXPECT_EQ(setsOf(*read.value), (std::vector<std::vector<std::string>>{
                                       {"", "", "1"}, {"a b", "", ""}, {"#", "x\"y", ""}}));
    // A count far beyond what the file holds is a fault, not a reason to make room.
    std::string wide = "W\nNUMBER_OF_SETS 100000\nBEGIN_DATA_FORMAT\n";
    for (int i = 0; i < 10'000; ++i)
        wide += "F" + std::to_string(i) + (i % 100 == 99 ? "\n" : " ");
    wide += "END_DATA_FORMAT\nBEGIN_DATA\n";
    for (int i = 0; i < 10'000; ++i)
        wide += "1 ";
    EXPECT_EQ(readCgats(wide + "\nEND_DATA\n", "w.txt").message,
              "w.txt, line 107: expected 100000 sets (NUMBER_OF_SETS, line 2), found 1.");
}

// A file of `fields` and one data line per entry of `sets`.
std::string table(const std::string& keywords, const std::string& fields,
                  const std::vector<std::string>& sets) {
    std::string text = "CGATS.17\n" + keywords + "BEGIN_DATA_FORMAT\n" + fields +
                       "\nEND_DATA_FORMAT\nBEGIN_DATA\n";
    for (const std::string& set : sets)
        text += set + "\n";
    return text + "END_DATA\n";
}

TEST(CgatsSamples, ScalesXyzToWhiteY100ByKeywordOrData) {
    const std::string fields = "XYZ_Z SAMPLE_LABEL XYZ_Y XYZ_X";
    const std::vector<std::string> unitSets{"0.8 \"Paper white\" 0.95 0.9", "0.1 Dark 0.12 0.11"};
    const struct {
        std::string keywords;
        std::vector<std::string> sets;
        float scale;
        std::string noteStart;
    } cases[] = {
        {"", unitSets, 100, "XYZ with white Y = 1 (largest Y of the data 0.95), scaled to 100"},
        {"",
         {"80 \"Paper white\" 95 90", "10 Dark 12 11"},
         1,
         "XYZ with white Y = 100 (largest Y of the data 95)"},
        {"MEDIA_WHITE \"96.42 100 82.49\"\n", unitSets, 1,
         "XYZ with white Y = 100 (MEDIA_WHITE Y 100)"},
        {"ILLUMINANT_WHITE_POINT 0.9642,1,0.8249\n",
         {"80 a 95 90", "10 b 12 11"},
         100,
         "XYZ with white Y = 1 (ILLUMINANT_WHITE_POINT Y 1), scaled to 100"},
        // A white keyword without three numbers leaves the data to decide.
        {"MEDIA_WHITE \"paper\"\nPAPER_WHITE 1 2\n", unitSets, 100,
         "XYZ with white Y = 1 (largest Y of the data 0.95)"},
    };
    for (const auto& c : cases) {
        const CgatsSamples read = readCgatsSamples(table(c.keywords, fields, c.sets), "x.txt");
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(read.data, CgatsData::Xyz);
        EXPECT_EQ(read.note.substr(0, c.noteStart.size()), c.noteStart);
        ASSERT_EQ(read.samples.size(), 2u);
        const CgatsSample& white = read.samples[0];
        EXPECT_EQ(white.id, "1");
        EXPECT_EQ(read.samples[1].id, "2");
        EXPECT_EQ(white.line, 6u + std::count(c.keywords.begin(), c.keywords.end(), '\n'));
        const float unit = c.sets[0][0] == '0' ? 1.0f : 100.0f;
        EXPECT_FLOAT_EQ(white.xyz.X, 0.9f * unit * c.scale);
        EXPECT_FLOAT_EQ(white.xyz.Y, 0.95f * unit * c.scale);
        EXPECT_FLOAT_EQ(white.xyz.Z, 0.8f * unit * c.scale);
    }
    const CgatsSamples named = readCgatsSamples(table("", fields, unitSets), "x.txt");
    EXPECT_EQ(named.samples[0].name, "Paper white");
    EXPECT_EQ(named.illuminant, Illuminant::D5000);
}

TEST(CgatsSamples, ReadsLabWithTheStatedIlluminant) {
    const std::string fields = "SAMPLE_ID SAMPLE_NAME LAB_B LAB_A LAB_L XYZ_X";
    const std::vector<std::string> sets{"A1 Red 20 55.5 -4e1 0.3"};
    const struct {
        std::string keywords;
        Illuminant illuminant;
    } cases[] = {
        {"", Illuminant::D5000},
        {"ILLUMINATION_NAME d65\n", Illuminant::D65},
        {"ILLUMINATION_NAME \"D5000\"\n", Illuminant::D5000},
        {"MEASUREMENT_SOURCE \"Illumination=C ObserverAngle=2\"\n", Illuminant::C},
    };
    for (const auto& c : cases) {
        const CgatsSamples read = readCgatsSamples(table(c.keywords, fields, sets), "l.txt");
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(read.data, CgatsData::Lab);
        EXPECT_EQ(read.illuminant, c.illuminant) << c.keywords;
        ASSERT_EQ(read.samples.size(), 1u);
        EXPECT_EQ(read.samples[0].id, "A1");
        EXPECT_EQ(read.samples[0].name, "Red");
        EXPECT_EQ(read.samples[0].lab.L, -40);
        EXPECT_EQ(read.samples[0].lab.a, 55.5);
        EXPECT_EQ(read.samples[0].lab.b, 20);
    }
    EXPECT_EQ(readCgatsSamples(table("ILLUMINATION_NAME F2\n", fields, sets), "l.txt").message,
              "l.txt: expected the illuminant C, D50 or D65, found \"F2\" (ILLUMINATION_NAME).");
    // With XYZ beside L*a*b*, the XYZ are read.
    const CgatsSamples both =
        readCgatsSamples(table("", fields + " XYZ_Y XYZ_Z", {sets[0] + " 0.4 0.5"}), "l.txt");
    ASSERT_TRUE(both.ok) << both.message;
    EXPECT_EQ(both.data, CgatsData::Xyz);
    EXPECT_FLOAT_EQ(both.samples[0].xyz.Z, 50);
}

// Spectral field names from `fromNm` to `toNm` and one set of a value per
// wavelength.
std::string spectralFile(const std::string& prefix, int fromNm, int toNm, int step,
                         double (*value)(int nm)) {
    std::string fields = "SAMPLE_ID", set = "s1";
    for (int nm = fromNm; nm <= toNm; nm += step) {
        fields += " " + prefix + std::to_string(nm);
        set += " " + std::to_string(value(nm));
    }
    return table("ILLUMINATION_NAME A\n", fields, {set});
}

TEST(CgatsSamples, ReadsSpectraOnTheGridAndExtendsTheirEnds) {
    const CgatsSamples fractions = readCgatsSamples(
        spectralFile("SPECTRAL_NM", 380, 730, 10, [](int nm) { return (nm - 300) / 1000.0; }),
        "s.txt");
    ASSERT_TRUE(fractions.ok) << fractions.message;
    EXPECT_EQ(fractions.data, CgatsData::Spectral);
    EXPECT_EQ(fractions.illuminant, Illuminant::C);
    EXPECT_EQ(fractions.note, "reflectance as fractions, scaled to percent (largest 0.43), "
                              "380-730 nm, ends extended to 360-750 nm");
    const Reflectance& r = fractions.samples[0].reflectance;
    for (int i = 3; i <= 38; ++i)
        EXPECT_NEAR(r[i], (350 + 10 * i - 300) / 10.0, 1e-4) << i;
    EXPECT_EQ(r[1], r[3]);
    EXPECT_EQ(r[2], r[3]);
    EXPECT_EQ(r[39], r[38]);
    EXPECT_EQ(r[40], r[38]);

    // A flat 50% curve over the whole grid weighs to half the white of C;
    // wavelengths beyond the grid are left out.
    for (const char* prefix : {"SPECTRAL_", "SPECTRAL_NM_"}) {
        const CgatsSamples percent = readCgatsSamples(
            spectralFile(prefix, 340, 780, 10,
                         [](int nm) { return nm < 360 || nm > 750 ? 90.0 : 50.0; }),
            "s.txt");
        ASSERT_TRUE(percent.ok) << percent.message;
        EXPECT_EQ(percent.note, "reflectance in percent (largest 50), 360-750 nm; wavelengths "
                                "outside 360-750 nm left out");
        const Tristimulus xyz = tris(percent.samples[0].reflectance);
        EXPECT_NEAR(xyz.X, 98.074 / 2, 1e-3);
        EXPECT_NEAR(xyz.Y, 100.0 / 2, 1e-3);
        // The Z weights sum to 118.230, not quite the white's 118.232.
        EXPECT_NEAR(xyz.Z, 118.232 / 2, 2e-3);
    }
}

TEST(CgatsSamples, FaultsNameTheFileTheLineAndTheField) {
    const auto half = [](int) { return 0.5; };
    const struct {
        std::string text, message;
    } cases[] = {
        {table("", "SAMPLE_ID XYZ_X XYZ_Y XYZ_Z", {"1 1 2 3", "2 1 n/a 3"}),
         "f.txt, line 7: expected a number for \"XYZ_Y\", found \"n/a\"."},
        {table("", "LAB_L LAB_A LAB_B", {"1 2 1e300"}),
         "f.txt, line 6: expected a number from -1e6 to 1e6 for \"LAB_B\", found \"1e300\"."},
        {table("", "SAMPLE_ID XYZ_X XYZ_Y RGB_R", {"1 2 3 4"}),
         "f.txt, line 2: no colour fields: expected XYZ_X XYZ_Y XYZ_Z, LAB_L LAB_A LAB_B or "
         "SPECTRAL_NM380 ... in BEGIN_DATA_FORMAT."},
        {spectralFile("SPECTRAL_NM", 380, 420, 5, half),
         "f.txt, line 3: unknown spectral spacing: expected 10 nm steps, found 5 nm (380 to 385 "
         "nm)."},
        {spectralFile("SPECTRAL_", 400, 700, 20, half),
         "f.txt, line 3: unknown spectral spacing: expected 10 nm steps, found 20 nm (400 to 420 "
         "nm)."},
        {spectralFile("SPECTRAL_NM", 385, 425, 10, half),
         "f.txt, line 3: unknown spectral spacing: expected 10 nm steps, found 385 nm, off the "
         "10 nm grid."},
        {table("", "SPECTRAL_NM400 SPECTRAL_400", {"1 2"}),
         "f.txt, line 2: unknown spectral spacing: expected 10 nm steps, found 400 nm twice."},
        {spectralFile("SPECTRAL_NM", 750, 800, 10, half),
         "f.txt, line 3: expected at least 2 wavelengths within 360-750 nm, found 1."},
    };
    for (const auto& c : cases) {
        const CgatsSamples read = readCgatsSamples(c.text, "f.txt");
        EXPECT_FALSE(read.ok) << c.text;
        EXPECT_TRUE(read.samples.empty());
        EXPECT_EQ(read.message, c.message) << c.text;
    }
}

TEST(CgatsSamples, ReadsTenThousandWideSets) {
    std::string fields = "SAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z LAB_L LAB_A LAB_B STDEV_DE";
    for (int nm = 380; nm <= 730; nm += 10)
        fields += " SPECTRAL_NM" + std::to_string(nm);
    std::vector<std::string> sets;
    for (int s = 0; s < 10'000; ++s) {
        std::string set = "P" + std::to_string(s) + " \"patch " + std::to_string(s) + "\"";
        for (int v = 0; v < 43; ++v)
            set += " " + std::to_string((s * 43 + v) % 9973 / 100.0);
        sets.push_back(std::move(set));
    }
    const std::string text = table("", fields, sets);
    const CgatsSamples read = readCgatsSamples(text, "big.txt");
    ASSERT_TRUE(read.ok) << read.message;
    ASSERT_EQ(read.samples.size(), 10'000u);
    EXPECT_EQ(read.samples[9999].id, "P9999");
    EXPECT_EQ(read.samples[9999].name, "patch 9999");
    EXPECT_EQ(read.samples[9999].line, 10'005u);
    EXPECT_FLOAT_EQ(read.samples[9999].xyz.Y, (9999 * 43 + 1) % 9973 / 100.0f);
}

} // namespace
} // namespace huelinx
