#include "colour/muntable.h"
#include "colour/soil_contrast.h"
#include "converter_run.h"
#include "palette/palette_file.h"
#include "text/number_format.h"
#include "tools/converter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace huelinx {
namespace {

using testing::Args;
using testing::convert;
using testing::lines;
using testing::Outcome;

const MunTable& table() {
    static MunTable loaded;
    static const bool ok =
        loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", loaded).ok;
    if (!ok) throw std::runtime_error("no Munsell table");
    return loaded;
}

MunsellColour colourOf(const std::string& text) {
    const auto chip = readChipNotation(text);
    if (!chip) throw std::runtime_error("not a notation: " + text);
    return {static_cast<float>(chip->hue), static_cast<float>(chip->value),
            static_cast<float>(chip->chroma), chip->neutral};
}

// The line the converter should print for a pair, from the core's comparison.
std::string expectedRow(SoilComparer& soil, const std::string& a, const std::string& b) {
    const SoilContrast c = soil.compare(colourOf(a), colourOf(b));
    if (c.status != SoilContrast::Status::Ok) return ",,,,,,," + soilContrastProblem(c);
    std::string row = std::string(contrastClassName(c.contrast)) + "," +
                      formatNumber(c.de00, "0.00") + "," + plainText(c.steps.pages) + "," +
                      plainText(c.steps.dV) + "," + plainText(c.steps.dC);
    for (int i = 0; i < 2; ++i)
        row += "," + (c.takenToChip[i] ? soil.chips().chips[c.chip[i]].notation : "");
    return row + ",";
}

TEST(ConverterContrast, EveryLineAgreesWithTheCoreWhateverTheSeparator) {
    SoilComparer soil(table(), ColourSettings{});
    const auto& chips = soil.chips().chips;
    const char* separators[] = {",", ";", "\t", " , "};
    std::string input;
    std::vector<std::string> expected;
    // Every 13th chip against every 5th (half steps of value included), and
    // notations between chips, which name the chip they were taken to.
    std::vector<std::string> notations;
    for (std::size_t i = 0; i < chips.size(); i += 5)
        notations.push_back(chips[i].notation);
    for (const char* off : {"10YR 5.3/3.2", "7.6YR 4/6.2", "N 5.2/", "2.5y 7/2.1"})
        notations.push_back(off);
    std::size_t n = 0;
    for (std::size_t i = 0; i < chips.size(); i += 13)
        for (const std::string& other : notations) {
            input += chips[i].notation + separators[n++ % 4] + other + "\n";
            expected.push_back(expectedRow(soil, chips[i].notation, other));
        }
    const Outcome run = convert({"--contrast", "--csv"}, input);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), expected.size() + 1);
    EXPECT_EQ(out[0], "class,dE00,dH,dV,dC,chip1,chip2,message");
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(out[i + 1], expected[i]) << "line " << i + 1;
    EXPECT_NE(run.out.find(",10YR 5/3,"), std::string::npos); // a chip taken to is named
}

TEST(ConverterContrast, APairOnTheCommandLine) {
    for (const Args& args :
         {Args{"--contrast", "10YR 6/3", "5YR 3/4"}, Args{"--contrast", "10YR 6/3; 5YR 3/4"}}) {
        const Outcome run = convert(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto out = lines(run.out);
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[1].substr(0, 10), "Prominent,");
        EXPECT_EQ(out[1].substr(out[1].size() - 9), ",2,3,1,,,");
    }
    const Outcome blue = convert({"--contrast", "10YR 6/3", "5PB 4/10"});
    EXPECT_EQ(blue.status, 1);
    EXPECT_EQ(lines(blue.out)[1], ",,,,,,,the second notation has no soil chip within 5");
    EXPECT_EQ(blue.err, "huelinx-convert: the second notation has no soil chip within 5\n");
}

TEST(ConverterContrast, BadLinesGiveEmptyFieldsAndTheirNumber) {
    const std::string input = "10YR 6/3, 5YR 3/4\n"
                              "\n"
                              "10YR 6/3 5YR 3/4\n"
                              "10YR 6/3,5YR 3/4,N 5/\n"
                              "10YR 6/3,10QQ 3/4\n"
                              "\"10YR 6/3\",\"5YR 3/4\"\r\n"
                              "5R 1/40;10YR 5/3\n";
    const Outcome run = convert({"--contrast", "--csv"}, input);
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[2], ",,,,,,,");
    EXPECT_EQ(out[3].substr(0, 8), ",,,,,,,\"");
    EXPECT_EQ(out[4], out[3]);
    EXPECT_EQ(out[5], ",,,,,,,\"\"\"10QQ 3/4\"\" is not a Munsell notation\"");
    EXPECT_EQ(out[6], out[1]);
    EXPECT_EQ(out[7], ",,,,,,,the first notation lies outside the Munsell data");
    const auto errors = lines(run.err);
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].substr(0, 8), "line 3: ");
    EXPECT_EQ(errors[1].substr(0, 8), "line 4: ");
    EXPECT_EQ(errors[2], "line 5: \"10QQ 3/4\" is not a Munsell notation");
    EXPECT_EQ(errors[3], "line 7: the first notation lies outside the Munsell data");
}

TEST(ConverterSoil, MoistAndDryChecks) {
    const Outcome run = convert({"--soil", "--csv"}, "10YR 3/2, 10YR 5/2\n"
                                                     "10YR 3/3; 10YR 5/3\n"
                                                     "10YR 3/2\t10YR 5.5/2\n"
                                                     "10YR 3.5/1,N 4/\n"
                                                     "10YR 3/2\n");
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0], "mollic_colour,chernic_colour,message");
    EXPECT_EQ(out[1], "yes,yes,");
    EXPECT_EQ(out[2], "yes,no,");
    EXPECT_EQ(out[3], "no,no,");
    EXPECT_EQ(out[4], "no,no,");
    EXPECT_EQ(out[5].substr(0, 3), ",,\"");
    EXPECT_EQ(run.err.substr(0, 8), "line 5: ");
}

// The readings as palette records carry them, and as a spreadsheet's columns
// named in a header line: the rows are those of the same pairs given alone.
TEST(ConverterSoil, ReadsTheReadingsOfPaletteRecordsAndOfNamedColumns) {
    PaletteRecord record;
    record.munsell = {"10YR", "5.00", "2.00"};
    record.moist = "10YR 3/2";
    record.dry = "10YR 5/2";
    PaletteRecord onlyMoist = record;
    onlyMoist.dry.clear();
    onlyMoist.moist = "10YR 3/3";
    PaletteRecord without = record;
    without.moist.clear(), without.dry.clear();
    const Outcome records =
        convert({"--soil", "--csv"}, paletteLine(record) + paletteLine(without) +
                                         paletteLine(onlyMoist) + "10YR 3/3, 10YR 5/3\n");
    EXPECT_EQ(records.status, 1);
    const auto out = lines(records.out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[1], "yes,yes,");
    EXPECT_EQ(out[2], ",,the palette record holds no moist and dry readings");
    EXPECT_EQ(out[3].substr(0, 3), ",,\""); // a dry reading that is no notation
    EXPECT_EQ(out[4], "yes,no,");
    EXPECT_EQ(lines(records.err)[0], "line 2: the palette record holds no moist and dry readings");

    // A header names the columns, in any order and case; it gives no row of
    // its own (the output's header stands for it).
    const Outcome named = convert({"--soil", "--csv"}, "site,Dry,depth,MOIST\n"
                                                       "\"pit 1, Ap\",10YR 5/2,0-20,10YR 3/2\n"
                                                       "pit 2,10YR 6/3,20-40,10YR 4/3\n"
                                                       "pit 3,10YR 5/2\n");
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(lines(named.out),
              (std::vector<std::string>{"mollic_colour,chernic_colour,message", "yes,yes,",
                                        "no,no,", ",,the line has no moist or no dry column"}));
    EXPECT_EQ(named.err, "line 4: the line has no moist or no dry column\n");
    // --contrast reads pairs only: a header there is a line without a pair.
    EXPECT_EQ(convert({"--contrast", "--csv"}, "moist,dry\n").status, 1);
}

TEST(ConverterSoil, CommandLinesThatCannotBeUsed) {
    const Args wrong[] = {
        {"--contrast", "--soil", "--csv"},           {"--contrast", "--names", "--csv"},
        {"--contrast", "--chips", "soil", "--csv"},  {"--soil", "--full", "a", "b"},
        {"--contrast", "--csv", "10YR 6/3"},         {"--contrast"},
        {"--contrast", "10YR", "6/3", "5YR", "3/4"}, {"--soil", "--cgats", "x.txt"},
    };
    for (const Args& args : wrong) {
        const Outcome run = convert(args);
        EXPECT_EQ(run.status, 2) << args[1];
        EXPECT_TRUE(run.out.empty());
    }
}

} // namespace
} // namespace huelinx
