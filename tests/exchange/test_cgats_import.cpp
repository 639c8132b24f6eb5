// CGATS samples converted into colours: palette records and report lines, the
// round trip through the export, and files with a fault writing nothing.
#include "../colour/table_fixture.h"
#include "exchange/cgats_import.h"
#include "exchange/palette_export.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

using testing::renotationTable;

const IsccNbsTable& names() {
    return testing::isccNbsNames();
}

ColourModel windowColour() {
    return selectIlluminant(ColourModel::initial(), Illuminant::C, renotationTable());
}

CgatsImport run(const std::string& text, const CsvExtras& extras = {&names(), nullptr}) {
    return importCgats(text, "meter.txt", windowColour(), renotationTable(), extras, "12-08-2026",
                       "10:30:00");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        all.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return all;
}

TEST(CgatsImport, ExportedPalettesComeBackAsTheSameNotations) {
    std::string palette;
    const char* notations[][3] = {{"5R", "4", "14"},    {"7.5YR", "6", "6"}, {"10GY", "8", "4"},
                                  {"2.5PB", "3", "10"}, {"N", "6.5", ""},    {"5G", "6", "20"},
                                  {"10RP", "1", "2"},   {"5Y", "9", "2"}};
    for (const auto& n : notations)
        palette +=
            std::string("\"d\",\"t\",\"\",\"") + n[0] + "\",\"" + n[1] + "\",\"" + n[2] + "\",\r\n";
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourModel colour = selectIlluminant(ColourModel::initial(), ill, renotationTable());
        int skipped = 0;
        const auto swatches =
            paletteSwatches(readPaletteRows(palette), colour, renotationTable(), names(), skipped);
        ASSERT_EQ(swatches.size(), 8u);
        const CgatsImport back = run(cgatsText("round", swatches, ill, "now"));
        ASSERT_TRUE(back.ok) << back.message;
        // Taken to illuminant C, the Munsell data's own.
        EXPECT_EQ(back.last.settings.illuminant, Illuminant::C);
        const auto records = readPaletteRows(back.paletteText);
        ASSERT_EQ(records.size(), 8u);
        for (std::size_t i = 0; i < records.size(); ++i) {
            const auto& f = records[i].fields;
            // Untagged colours come back tagged with their notation.
            EXPECT_EQ(f[2],
                      swatches[i].notation + (swatches[i].outOfGamut ? " (out of gamut)" : ""));
            const double v = std::stod(notations[i][1]);
            EXPECT_NEAR(*strictNumber(f[4]), v, 0.01) << f[2];
            if (std::string(notations[i][0]) == "N") {
                EXPECT_EQ(f[3], "N") << f[2];
                continue;
            }
            EXPECT_NEAR(*strictNumber(f[5]), std::stod(notations[i][2]), 0.01) << f[2];
            const HueOfText hue = converth(f[3]), original = converth(notations[i][0]);
            EXPECT_NEAR(std::remainder(hue.hue - original.hue, 100.0f), 0.0f, 0.01f) << f[2];
        }
    }
}

TEST(CgatsImport, RecordsAndReportLinesOfEachKindOfData) {
    const std::string lab = "CGATS.17\n"
                            "BEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B\n"
                            "END_DATA_FORMAT\nBEGIN_DATA\n"
                            "A1 \"brick, dark\" 41.2 42.1 22.2\nA2 \"\" 51.57 0 0\nEND_DATA\n";
    const CgatsImport read = run(lab, {&names(), nullptr});
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_EQ(read.samples, 2u);
    // L*a*b* are relative to D50 when the file names no illuminant, and are
    // adapted to C: the D50 grey is a grey.
    EXPECT_EQ(read.last.settings.illuminant, Illuminant::C);
    EXPECT_TRUE(read.note.ends_with("; adapted from D50 to illuminant C")) << read.note;
    const auto report = lines(read.reportText);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0],
              std::string("sample_id,sample_name,") + colourCsvHeader + ",name,abbreviation");
    EXPECT_EQ(report[1].rfind("A1,\"brick, dark\",", 0), 0u) << report[1];
    EXPECT_EQ(report[2].rfind("A2,,N,", 0), 0u) << report[2];
    EXPECT_TRUE(report[2].ends_with(",medium gray,m.Gy")) << report[2];
    const auto records = readPaletteRows(read.paletteText);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields[2], "brick, dark");
    EXPECT_EQ(records[1].fields[2], "A2"); // no name: the id
    EXPECT_EQ(records[0].fields[0], "12-08-2026");

    // A flat 50 % reflectance is converted under illuminant C, as measured.
    std::string spectral = "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID";
    std::string values = "S1";
    for (int nm = 380; nm <= 730; nm += 10) {
        spectral += " SPECTRAL_NM" + std::to_string(nm);
        values += " 0.5";
    }
    spectral += "\nEND_DATA_FORMAT\nBEGIN_DATA\n" + values + "\nEND_DATA\n";
    const CgatsImport grey = run(spectral);
    ASSERT_TRUE(grey.ok) << grey.message;
    EXPECT_EQ(grey.last.settings.illuminant, Illuminant::C);
    EXPECT_EQ(grey.last[Box::Y], "50.00");
    EXPECT_EQ(grey.last[Box::Hue], "N");
}

// L*a*b* samples under the window's illuminant come back as the same
// L*a*b*: the import and the window share one inverse and one white, black
// (L* 0) included, and a dark sample keeps its a* and b*.
TEST(CgatsImport, LabSamplesComeBackAsTheSameLab) {
    const std::string file = "CGATS.17\nILLUMINATION_NAME \"C\"\n"
                             "BEGIN_DATA_FORMAT\nSAMPLE_ID LAB_L LAB_A LAB_B\n"
                             "END_DATA_FORMAT\nBEGIN_DATA\n"
                             "K 0 0 0\nD 3 2 -4\nM 62.5 -20.25 31\nEND_DATA\n";
    const CgatsImport read = run(file);
    ASSERT_TRUE(read.ok) << read.message;
    const auto report = lines(read.reportText);
    ASSERT_EQ(report.size(), 4u);
    const char* const wanted[] = {"0,0,0", "3,2,-4", "62.5,-20.25,31"};
    for (int i = 0; i < 3; ++i) {
        // L*, a*, b* follow the id, the name and eight columns of the colour.
        std::vector<std::string> fields;
        std::size_t at = 0;
        for (std::size_t comma; (comma = report[i + 1].find(',', at)) != std::string::npos;
             at = comma + 1)
            fields.push_back(report[i + 1].substr(at, comma - at));
        ASSERT_GT(fields.size(), 13u) << report[i + 1];
        std::string lab;
        for (int f = 10; f < 13; ++f) {
            const auto number = strictNumber(fields[static_cast<std::size_t>(f)]);
            ASSERT_TRUE(number) << report[i + 1];
            lab += (f > 10 ? "," : "") + plainText(*number);
        }
        EXPECT_EQ(lab, wanted[i]) << report[i + 1];
    }
}

TEST(CgatsImport, ASampleWithoutNotationIsInTheReportButNotThePalette) {
    // X + Y + Z below 0 has no chromaticity, so no notation: the sample keeps
    // its report line with the reason, and the palette takes the others.
    const CgatsImport read = run("CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID XYZ_X XYZ_Y XYZ_Z\n"
                                 "END_DATA_FORMAT\nBEGIN_DATA\n1 20 21 22\n2 -50 10 -50\n"
                                 "3 30 30 30\n4 40 10 2\nEND_DATA\n");
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_EQ(read.samples, 4u);
    EXPECT_EQ(read.withoutNotation, 1u);
    const auto report = lines(read.reportText);
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[2].rfind("2,,,,,", 0), 0u) << report[2];
    EXPECT_NE(report[2].find("X + Y + Z is not above 0"), std::string::npos) << report[2];
    const auto records = readPaletteRows(read.paletteText);
    // A colour outside the Munsell data keeps its record, as it always has.
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields[2], "1");
    EXPECT_EQ(records[1].fields[2], "3");
    EXPECT_EQ(records[2].fields[2], "4");
    EXPECT_TRUE(
        read.note.ends_with("; 1 sample(s) without a Munsell notation are in the report only"))
        << read.note;
}

TEST(CgatsImport, AFaultAnywhereWritesNothing) {
    const std::string head = "CGATS.17\nNUMBER_OF_SETS 3\nBEGIN_DATA_FORMAT\n"
                             "SAMPLE_ID XYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\nBEGIN_DATA\n";
    for (const auto& [data, line] :
         {std::pair<std::string, std::string>{"1 20 21 22\n2 30 31\n3 1 2 3\nEND_DATA\n", "line 8"},
          {"1 20 21 22\n2 30 31 32\nEND_DATA\n", "line 9"},
          {"1 20 21 22\n2 30 x 32\n3 1 2 3\nEND_DATA\n", "line 8"}}) {
        const CgatsImport read = run(head + data);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.paletteText.empty());
        EXPECT_TRUE(read.reportText.empty());
        EXPECT_NE(read.message.find("meter.txt, " + line), std::string::npos) << read.message;
    }
    // L* the program can't take back to X, Y, Z: the sample's line is named.
    const CgatsImport dark = run("CGATS.17\nBEGIN_DATA_FORMAT\nLAB_L LAB_A LAB_B\nEND_DATA_FORMAT\n"
                                 "BEGIN_DATA\n50 0 0\n-20 0 0\nEND_DATA\n");
    EXPECT_FALSE(dark.ok);
    EXPECT_EQ(dark.message.rfind("meter.txt, line 7: ", 0), 0u) << dark.message;
    EXPECT_TRUE(dark.paletteText.empty());
    EXPECT_EQ(cgatsReportName("/media/meter/run 3.txt"), "run 3-report.csv");
}

TEST(CgatsImport, SampleNamesCarryNoFormulaNorControlCharacter) {
    const std::string file =
        "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B\n"
        "END_DATA_FORMAT\nBEGIN_DATA\n"
        "=1+1 \"@SUM(A1)\" 50 -12.5 -3\n"
        "-2 \"\x1B]0;owned\x07\xC2\x9B"
        "2J\" 60 0 0\n"
        "3 \"-a\xE0\x80\x8A\" 40 10 10\nEND_DATA\n";
    const CgatsImport read = run(file);
    ASSERT_TRUE(read.ok) << read.message;
    const auto report = lines(read.reportText);
    ASSERT_EQ(report.size(), 4u);
    // Text fields a spreadsheet would run are quoted behind an apostrophe.
    EXPECT_EQ(report[1].rfind("\"'=1+1\",\"'@SUM(A1)\",", 0), 0u) << report[1];
    // The numbers stay numbers: the negative a* and b* in the boxes, the id -2.
    EXPECT_NE(report[1].find(",-"), std::string::npos) << report[1];
    EXPECT_EQ(report[1].find("'-"), std::string::npos) << report[1];
    EXPECT_EQ(report[2].rfind("-2, ]0;owned  2J,", 0), 0u) << report[2];
    EXPECT_EQ(report[3].rfind("3,\"'-a\xC3\xA0  \",", 0), 0u) << report[3];
    for (const std::string& line : report)
        for (unsigned char c : line)
            EXPECT_GE(c, 0x20) << line;
    // The palette records are tagged with the same names and read back as they are.
    const auto records = readPaletteRows(read.paletteText);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields[2], "@SUM(A1)");
    EXPECT_EQ(records[1].fields[2], "]0;owned  2J"); // the reader trims blanks
    EXPECT_EQ(records[2].fields[2], "-a\xC3\xA0");
}

TEST(CgatsImport, TheReportNeverTakesTheNameOfAFileToKeep) {
    EXPECT_EQ(cgatsReportName("/media/meter/measure.txt"), "measure-report.csv");
    EXPECT_EQ(cgatsReportName("/media/meter/measure.txt", {"field.csv", ""}), "measure-report.csv");
    EXPECT_EQ(cgatsReportName("/media/meter/measure.txt", {"measure-report.csv"}),
              "measure-report-2.csv");
    // The same file by another path or in another case, and several taken names.
    EXPECT_EQ(cgatsReportName("measure.txt", {"./sub/../Measure-Report.CSV"}),
              "measure-report-2.csv");
    EXPECT_EQ(cgatsReportName("m.txt", {"m-report-2.csv", "m-report.csv"}), "m-report-3.csv");
}

} // namespace
} // namespace huelinx
