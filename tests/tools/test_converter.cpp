#include "converter_run.h"
#include "tools/converter.h"

#include "colour/mun2xyz.h"
#include "colour/muntable.h"
#include "palette/palette_file.h"
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace huelinx {
namespace {

using testing::Args;
using testing::convert;
using testing::Files;
using testing::lines;
using testing::Outcome;

TEST(Converter, PrintsTheFieldsTheWindowShows) {
    const Outcome run = convert({"munsell", "5R", "5", "10"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], converterHeader);
    MunTable table;
    ASSERT_TRUE(loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", table).ok);
    const CieOfMunsell cie = mun2xyz(5, 5, 10, table, {});
    const std::string start = "5R,5,10," + formatNumber(cie.X, "##0.00") + "," +
                              formatNumber(cie.Y, "##0.00") + "," + formatNumber(cie.Z, "##0.00") +
                              "," + formatNumber(cie.x, "0.0000") + ",";
    EXPECT_EQ(out[1].substr(0, start.size()), start);
    EXPECT_EQ(out[1].back(), ','); // no message
    EXPECT_EQ(std::count(out[1].begin(), out[1].end(), ','), 18);
    EXPECT_EQ(out[1],
              "5R,5,10,29.08,19.77,12.41,0.4747,0.3227,51.57,42.14,22.16,195,91,88,20,60,61,3,");
}

TEST(Converter, MessagesOfTheWindowEndTheLine) {
    Outcome run = convert({"xyz", "20", "30", "40"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.ends_with(",Out of RGB Range\n")) << run.out;
    EXPECT_NE(run.out.find(",0,0,0,"), std::string::npos) << run.out;
    run = convert({"munsell", "5Y", "9", "40"});
    EXPECT_TRUE(run.out.ends_with("Outside the Munsell data\n")) << run.out;
    run = convert({"munsell", "5x", "5", "4"});
    EXPECT_TRUE(run.out.ends_with(",Format Error; Out of Munsell Range\n")) << run.out;
}

TEST(Converter, OptionsSetTheWindowBeforeConverting) {
    const auto field = [](const Outcome& run, int index) {
        std::istringstream in(lines(run.out).at(1));
        std::string item;
        for (int i = 0; i <= index; ++i)
            std::getline(in, item, ',');
        return item;
    };
    const Outcome plain = convert({"munsell", "5R", "5", "10"});
    const Outcome d65 = convert({"--illuminant", "D65", "munsell", "5R", "5", "10"});
    const Outcome pwd = convert({"--pwd", "munsell", "5R", "5", "10"});
    const Outcome gamma = convert({"--gamma", "1.5", "munsell", "5R", "5", "10"});
    const Outcome white = convert({"--white-balance", "50", "munsell", "5R", "5", "10"});
    EXPECT_NE(field(d65, 5), field(plain, 5));                           // Z adapted
    EXPECT_LT(std::stof(field(pwd, 4)), std::stof(field(plain, 4)));     // Y scaled
    EXPECT_LT(std::stoi(field(gamma, 12)), std::stoi(field(plain, 12))); // a lower gamma darkens
    EXPECT_LT(std::stoi(field(white, 13)), std::stoi(field(plain, 13)));
    EXPECT_EQ(field(white, 11), field(plain, 11)); // red keeps its level
}

// The eighteen number fields of a line, empty: how a line that gives no
// colour begins.
const std::string noNumbers(18, ',');

TEST(Converter, CsvRunGivesOneLinePerInputLineAndGoesOnAfterBadOnes) {
    const Outcome run = convert({"--csv"}, "rgb,255,0,0\n\nfoo,1,2,3\nxyz,1,2\nlab,abc,1,2\n"
                                           "xy,0.3,0,50\ncmyk, 0, 0, 0, 0\n");
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0], converterHeader);
    EXPECT_NE(out[1].find(",255,0,0,0,100,100,0,"), std::string::npos) << out[1];
    EXPECT_EQ(out[2], noNumbers); // a blank line keeps its place, with no message
    EXPECT_EQ(out[3], noNumbers + "\"unknown kind \"\"foo\"\"\"");
    EXPECT_EQ(out[4], noNumbers + "\"xyz needs 3 values, found 2\"");
    EXPECT_EQ(out[5], noNumbers + "\"\"\"abc\"\" is not a number\"");
    EXPECT_EQ(out[6], noNumbers + "y needs a number other than 0.");
    EXPECT_NE(out[7].find(",255,255,255,0,0,0,0,"), std::string::npos) << out[7];
    EXPECT_EQ(run.err, "line 3: unknown kind \"foo\"\n"
                       "line 4: xyz needs 3 values, found 2\n"
                       "line 5: \"abc\" is not a number\n"
                       "line 6: y needs a number other than 0.\n");
}

// A Munsell notation the window can't convert leaves the other notations as
// the colour before it had them; the converter must not print those.
TEST(Converter, NotationsTheWindowCannotConvertGiveNoNumbersButWarningsDo) {
    const Outcome run =
        convert({"--csv"}, "munsell,5R,5,10\nmunsell,5x,5,4\nmunsell,5R,50,4\nmunsell,abc,5,4\n"
                           "xyz,20,50,5\nmunsell,5Y,9,40\nrgb,10,20,30\n");
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[1], lines(convert({"munsell", "5R", "5", "10"}).out).at(1));
    EXPECT_EQ(out[2], noNumbers + "Format Error; Out of Munsell Range");
    EXPECT_EQ(out[3], noNumbers + "Out of Munsell Range");
    EXPECT_EQ(out[4], noNumbers + "Format Error"); // no family: not the hue it would convert
    EXPECT_EQ(run.err, "line 2: Format Error; Out of Munsell Range\n"
                       "line 3: Out of Munsell Range\n"
                       "line 4: Format Error\n");
    // A colour converted with a warning keeps its numbers.
    EXPECT_TRUE(out[5].starts_with(".38G,7.46,22.31,20,50,5,") &&
                out[5].ends_with(",Out of RGB Range"))
        << out[5];
    EXPECT_TRUE(out[6].starts_with("5Y,9,40,") && out[6].ends_with(",Outside the Munsell data"))
        << out[6];
    // The lines that failed change nothing that follows.
    EXPECT_EQ(out[7], lines(convert({"rgb", "10", "20", "30"}).out).at(1));

    const Outcome warned = convert({"--csv"}, "xyz,20,60,5\nmunsell,5Y,9,40\n");
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, "");
}

TEST(Converter, TypedLevelsAndInksSayTheirOwnDisplayRangeNotTheLineBefores) {
    // After a colour the display can't show (and the data don't hold), display levels and inks the
    // display shows print as they do on a line of their own.
    for (const std::vector<std::string>& settings :
         {std::vector<std::string>{}, {"--gamma", "1", "--white-balance", "50"}}) {
        auto args = settings;
        args.push_back("--csv");
        const auto out =
            lines(convert(args, "xyz,20,60,5\nrgb,10,20,30\nxyz,20,60,5\ncmyk,10,20,30,40\n").out);
        ASSERT_EQ(out.size(), 5u);
        EXPECT_NE(out[1].find(",Out of RGB Range"), std::string::npos) << out[1];
        const auto alone = [&](std::vector<std::string> colour) {
            colour.insert(colour.begin(), settings.begin(), settings.end());
            return lines(convert(colour).out).at(1);
        };
        EXPECT_EQ(out[2], alone({"rgb", "10", "20", "30"}));
        EXPECT_FALSE(out[2].ends_with(",Out of RGB Range")) << out[2];
        EXPECT_EQ(out[4], alone({"cmyk", "10", "20", "30", "40"}));
        EXPECT_FALSE(out[4].ends_with(",Out of RGB Range")) << out[4];
    }
}

TEST(Converter, ASingleColourThatFailsStillPrintsItsLine) {
    Outcome run = convert({"munsell", "5x", "5", "4"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines(run.out),
              (std::vector<std::string>{converterHeader,
                                        noNumbers + "Format Error; Out of Munsell Range"}));
    EXPECT_EQ(run.err, "huelinx-convert: Format Error; Out of Munsell Range\n");
    run = convert({"xy", "0.3", "0", "50"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines(run.out).at(1), noNumbers + "y needs a number other than 0.");
}

// Numbers a double holds but single precision doesn't, numbers no double
// holds, and finite entries whose colour comes out beyond single precision.
TEST(Converter, NumbersTooLargeForSinglePrecisionAreOutOfRange) {
    const Outcome run = convert({"--csv"}, "xyz,1e308,1,1\ncmyk,0,-1e39,0,0\nrgb,1,1e999,2\n"
                                           "lab,1e30,0,0\nxyz,10,1e30,10\nlab,50,0,-1e30\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "line 1: X is out of range: \"1e308\".\n"
                       "line 2: M is out of range: \"-1e39\".\n"
                       "line 3: G is out of range: \"1e999\".\n"
                       "line 4: out of range: X would be Inf\n"
                       "line 5: out of range: value would be NaN\n"
                       "line 6: out of range: Z would be Inf\n");
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 7u);
    EXPECT_EQ(out[1], noNumbers + "\"X is out of range: \"\"1e308\"\".\"");
    for (std::size_t i = 1; i < out.size(); ++i)
        EXPECT_TRUE(out[i].starts_with(noNumbers)) << out[i];
    // The display channels take any number and clamp it, as the window does.
    const Outcome clamped = convert({"rgb", "1e308", "0", "0"});
    EXPECT_EQ(clamped.status, 0);
    EXPECT_NE(lines(clamped.out).at(1).find(",255,0,0,"), std::string::npos) << clamped.out;
}

// X, Y, Z whose sum is not above 0 with Y above 0 have no notation: the line
// must not show the notation of the line before.
TEST(Converter, LightWithoutChromaticityGivesNoNumbers) {
    const Outcome single = convert({"xyz", "-50", "10", "-50"});
    EXPECT_EQ(single.status, 1);
    EXPECT_EQ(lines(single.out).at(1), noNumbers + "X + Y + Z needs to be above 0.");
    EXPECT_EQ(single.err, "huelinx-convert: X + Y + Z needs to be above 0.\n");
    const Outcome run = convert({"--csv"}, "munsell,5R,5,10\nxy,0.3,-0.2,30\nlab,10,0,500\n"
                                           "munsell,5R,5,10\nxyz,-50,10,-50\n");
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[2], noNumbers + "y needs a number above 0.");
    EXPECT_EQ(out[3], noNumbers + "\"L*, a*, b* give no colour: X + Y + Z is not above 0.\"");
    EXPECT_EQ(out[5], noNumbers + "X + Y + Z needs to be above 0.");
}

// A hue number that is no number (NaN, infinity) is a hue without a family:
// the line has no numbers, whatever the line before showed.
TEST(Converter, HueNumbersThatAreNoNumberAreAFormatError) {
    for (const char* hue : {"nanR", "infR", "-InfYR", "NaN PB", "nan"}) {
        const Outcome single = convert({"munsell", hue, "5", "10"});
        EXPECT_EQ(single.status, 1) << hue;
        EXPECT_EQ(lines(single.out).at(1), noNumbers + "Format Error") << hue;
        EXPECT_EQ(single.err, "huelinx-convert: Format Error\n") << hue;
    }
    const Outcome run = convert({"--csv"}, "munsell,5R,5,10\nmunsell,nanR,5,10\n"
                                           "munsell,5R,5,10\nmunsell,infR,5,10\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "line 2: Format Error\nline 4: Format Error\n");
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[2], noNumbers + "Format Error");
    EXPECT_EQ(out[4], noNumbers + "Format Error");
    // A number within the text is read as before.
    const auto after = [](const char* hue) {
        const std::string line = lines(convert({"munsell", hue, "5", "10"}).out).at(1);
        return line.substr(line.find(','));
    };
    EXPECT_EQ(after("5R"), after("5.0R"));
}

// The fields of one CSV line without quotes.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    if (line.ends_with(',')) fields.emplace_back();
    return fields;
}

// --full prints the numbers as computed, so X, Y, Z printed and entered again
// give the notation back under every illuminant; the window's texts stay.
TEST(Converter, FullPrintsEveryNumberAsComputed) {
    for (const char* illuminant : {"C", "D50", "D65"}) {
        const Args options{"--full", "--illuminant", illuminant};
        Args munsell = options;
        for (const char* part : {"munsell", "3.7YR", "2.3", "5.1"})
            munsell.push_back(part);
        const Outcome forward = convert(munsell);
        ASSERT_EQ(forward.status, 0) << forward.err;
        EXPECT_EQ(lines(forward.out).at(0),
                  "hue,hue_number,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message");
        const auto row = fieldsOf(lines(forward.out).at(1));
        ASSERT_EQ(row.size(), 20u);
        EXPECT_EQ(row[0] + " " + row[1] + " " + row[2] + " " + row[3], "3.7YR 13.7 2.3 5.1");
        Args xyz = options;
        xyz.insert(xyz.end(), {"xyz", row[4], row[5], row[6]});
        const Outcome back = convert(xyz);
        ASSERT_EQ(back.status, 0) << back.err;
        const auto found = fieldsOf(lines(back.out).at(1));
        ASSERT_EQ(found.size(), 20u);
        EXPECT_EQ(found[0], "3.70YR") << illuminant;
        EXPECT_NEAR(std::stod(found[1]), 13.7, 0.01) << illuminant;
        EXPECT_NEAR(std::stod(found[2]), 2.3, 0.01) << illuminant;
        EXPECT_NEAR(std::stod(found[3]), 5.1, 0.01) << illuminant;
        // The same colour without --full: the window's texts.
        Args plain(xyz.begin() + 1, xyz.end());
        const auto shown = fieldsOf(lines(convert(plain).out).at(1));
        EXPECT_EQ(shown[1] + "/" + shown[2], "2.30/5.10") << illuminant;
        EXPECT_EQ(std::vector<std::string>(shown.begin() + 11, shown.end()),
                  std::vector<std::string>(found.begin() + 12, found.end()));
    }
    // A grey has no hue number and no chroma; a dark value is as computed.
    const auto grey =
        fieldsOf(lines(convert({"--full", "xyz", "19.6148", "20", "23.6464"}).out)[1]);
    EXPECT_EQ(grey[0] + "," + grey[1] + "," + grey[3], "N,,0");
    const auto dark = fieldsOf(lines(convert({"--full", "munsell", "5PB", "0.1", "4"}).out)[1]);
    EXPECT_EQ(dark[2], "0.1");
    // A line that can't be converted has one empty field more.
    const Outcome failed = convert({"--full", "--csv"}, "munsell,nanR,5,10\n\n");
    EXPECT_EQ(lines(failed.out).at(1), "," + noNumbers + "Format Error");
    EXPECT_EQ(lines(failed.out).at(2), std::string(19, ','));
    for (const Args& args :
         {Args{"--full", "--cgats", "x.txt"}, Args{"--full", "--export", "gpl", "a.csv", "b.gpl"}})
        EXPECT_EQ(convert(args).status, 2) << args[1];
}

TEST(Converter, CsvLinesEndInCrLfOrCrAndFieldsMayBeQuoted) {
    const Outcome run = convert({"--csv"}, "rgb,255,0,0\rmunsell,\"5R\",5,10\r\n"
                                           "\"xyz\",\"1,5\",2,3\r\r lab, \"50\" ,0,0\n"
                                           "\"rgb\",\"10\",\"20\",\"30\"\r");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "line 3: \"1,5\" is not a number\n");
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 7u);
    EXPECT_NE(out[1].find(",255,0,0,0,100,100,0,"), std::string::npos) << out[1];
    EXPECT_EQ(out[2], lines(convert({"munsell", "5R", "5", "10"}).out).at(1));
    EXPECT_EQ(out[3], noNumbers + "\"\"\"1,5\"\" is not a number\"");
    EXPECT_EQ(out[4], noNumbers);
    EXPECT_EQ(out[5], lines(convert({"lab", "50", "0", "0"}).out).at(1));
    EXPECT_EQ(out[6], lines(convert({"rgb", "10", "20", "30"}).out).at(1));
}

TEST(Converter, CommandLinesThatCannotBeUsedGiveUsage) {
    for (const Args& args : {Args{}, Args{"--gamma", "9", "rgb", "1", "2", "3"},
                             Args{"--illuminant", "A", "rgb", "1", "2", "3"},
                             Args{"--white-balance", "49.5", "rgb", "1", "2", "3"},
                             Args{"--csv", "rgb"}, Args{"--bogus"}}) {
        const Outcome run = convert(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? std::string() : args[0]);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
    const Outcome help = convert({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: huelinx-convert", 0), 0u);
    const Outcome bad = convert({"rgb", "1", "2"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "huelinx-convert: rgb needs 3 values, found 2\n");
}

std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(HUELINX_DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Converter, VersionNamesTheDataFilesInUseAndAWorkingFolderCopyIsSaid) {
    const std::string data = std::filesystem::weakly_canonical(HUELINX_DATA_DIR).string();
    const Outcome own = convert({"--version"});
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(lines(own.out),
              (std::vector<std::string>{"huelinx-convert " HUELINX_VERSION,
                                        "Data files:", "Vadoro.dat: " + data + "/Vadoro.dat",
                                        "iscc-nbs-blocks.csv: " + data + "/iscc-nbs-blocks.csv",
                                        "iscc-nbs-names.csv: " + data + "/iscc-nbs-names.csv",
                                        "munsell-renotation-real.csv: " + data +
                                            "/munsell-renotation-real.csv"}));
    EXPECT_EQ(convert({"munsell", "5R", "5", "10"}).err, "");

    const Files copy{{"Vadoro.dat", dataFile("Vadoro.dat")}};
    const Outcome version = convert({"--version"}, "", copy);
    EXPECT_NE(
        version.out.find("/Vadoro.dat (working folder, instead of " + data + "/Vadoro.dat)\n"),
        std::string::npos)
        << version.out;
    // A run says which table it used, and converts as before.
    const Outcome run = convert({"munsell", "5R", "5", "10"}, "", copy);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, convert({"munsell", "5R", "5", "10"}).out);
    EXPECT_EQ(run.err, "huelinx-convert: note: The working folder's Vadoro.dat is used, not the "
                       "program's own " +
                           data + "/Vadoro.dat.\n");
    // The name tables are noted only by a run that reads them.
    const Files names{{"iscc-nbs-blocks.csv", dataFile("iscc-nbs-blocks.csv")},
                      {"iscc-nbs-names.csv", dataFile("iscc-nbs-names.csv")}};
    EXPECT_EQ(convert({"munsell", "5R", "5", "10"}, "", names).err, "");
    EXPECT_NE(convert({"--names", "munsell", "5R", "5", "10"}, "", names)
                  .err.find("The working folder's iscc-nbs-blocks.csv is used"),
              std::string::npos);
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

TEST(ConverterExtras, NamesAndTheNearestChipFollowEveryLineAndFailedLinesStayAligned) {
    const Outcome run =
        convert({"--csv", "--names", "--chips", "renotation-real"}, "munsell,5R,4,14\n"
                                                                    "munsell,5x,5,4\n"
                                                                    "\n"
                                                                    "munsell,N,5,0\n"
                                                                    "xyz,5,10,90\n"
                                                                    "munsell,5Y,9,40\n"
                                                                    "munsell,5R,4.1,13.9\n");
    EXPECT_EQ(run.status, 1);
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0],
              std::string(converterHeader) + ",name,abbreviation,chip,chip_label,dE00,dH,dV,dC");
    // A chip of the set itself: its own chip at no distance, and its name.
    EXPECT_TRUE(out[1].ends_with(",vivid red,viv.R,5R 4/14,,0.00,0.00,0.00,0.00")) << out[1];
    // A line that doesn't convert and a blank line: every added column empty.
    EXPECT_TRUE(out[2].ends_with(std::string(8, ','))) << out[2];
    EXPECT_EQ(out[3], std::string(18 + 8, ','));
    // The real colours are followed by the neutral series: N 5/ is its own chip.
    EXPECT_TRUE(out[4].ends_with(",medium gray,m.Gy,N 5/,,0.00,0.00,0.00,0.00")) << out[4];
    // Outside the data, found from X, Y, Z or entered as a notation that
    // stays in its boxes: no name and no chip.
    for (int line : {5, 6})
        EXPECT_TRUE(out[line].ends_with("Outside the Munsell data" + std::string(8, ',')))
            << out[line];
    // Near a chip: the differences in Munsell steps, colour minus chip.
    EXPECT_TRUE(out[7].find(",5R 4/14,,") != std::string::npos) << out[7];
    EXPECT_TRUE(out[7].ends_with(",0.00,0.10,-0.10")) << out[7];
}

TEST(ConverterExtras, UnknownSetsAndFilesAreNamedAndNothingIsConverted) {
    const Outcome none = convert({"--chips", "no-such-set", "munsell", "5R", "4", "14"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("no-such-set"), std::string::npos) << none.err;
    const Outcome missing = convert({"--chips"});
    EXPECT_EQ(missing.status, 2);
    // Without the options the output is as it was.
    const Outcome plain = convert({"munsell", "5R", "4", "14"});
    EXPECT_EQ(lines(plain.out)[0], converterHeader);
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

// A scratch folder for the files of the file modes, named by absolute paths.
struct Scratch {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("huelinx-convert-files-" + std::to_string(getpid()));
    Scratch() { std::filesystem::create_directories(dir); }
    ~Scratch() { std::filesystem::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST(ConverterFiles, ExportWritesEachFormatAndNothingForAPaletteWithoutColours) {
    const Scratch s;
    s.write("field.csv", "\"d\",\"t\",\"Brick\",\"5R\",\"4\",\"14\",\r\n"
                         "\"d\",\"t\",\"\",\"\",\"3.1\",\"\",\r\n"
                         "\"d\",\"t\",\"\",\"5PB\",\"4\",\"8\",\r\n");
    const Outcome gpl = convert({"--export", "gpl", s.path("field.csv"), s.path("field.gpl")});
    EXPECT_EQ(gpl.status, 0) << gpl.err;
    EXPECT_TRUE(gpl.out.empty());
    EXPECT_NE(gpl.err.find("1 row(s)"), std::string::npos) << gpl.err; // the row with no notation
    EXPECT_EQ(s.read("field.gpl"), "GIMP Palette\nName: field\nColumns: 0\n#\n"
                                   "186  38  55\tBrick 5R 4/14 vivid red\n"
                                   " 62  98 151\t5PB 4/8 moderate blue\n");
    EXPECT_EQ(convert({"--export", "ASE", s.path("field.csv"), s.path("field.ase")}).status, 0);
    EXPECT_EQ(s.read("field.ase").substr(0, 4), "ASEF");
    // Under D65 the CGATS file says so.
    EXPECT_EQ(convert({"--illuminant", "D65", "--export", "cgats", s.path("field.csv"),
                       s.path("field.txt")})
                  .status,
              0);
    EXPECT_NE(s.read("field.txt").find("MEASUREMENT_SOURCE \"Illumination=D65 ObserverAngle=10\""),
              std::string::npos);
    // Its X, Y, Z are D65 values: read back under D65 or C, the notations come back.
    for (const char* illuminant : {"D65", "C"}) {
        const auto back =
            lines(convert({"--illuminant", illuminant, "--cgats", s.path("field.txt")}).out);
        ASSERT_EQ(back.size(), 3u) << illuminant;
        EXPECT_EQ(back[1].rfind("1,Brick,5.00R,4.00,14.00,", 0), 0u) << back[1];
        EXPECT_EQ(back[2].rfind("2,5PB 4/8,5.00PB,4.00,8.00,", 0), 0u) << back[2];
    }

    s.write("empty.csv", "\"d\",\"t\",\"\",\"\",\"3.1\",\"\",\r\n");
    const Outcome none = convert({"--export", "gpl", s.path("empty.csv"), s.path("empty.gpl")});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("holds no colour to export"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(s.path("empty.gpl")));
    const Outcome missing = convert({"--export", "gpl", s.path("nope.csv"), s.path("nope.gpl")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nope.csv"), std::string::npos);
}

TEST(ConverterFiles, ExportedNamesCannotForgeColourLines) {
    const Scratch s;
    // A tag with an overlong line feed (E0 80 8A) before a colour line of its own.
    s.write("forged.csv", "\"d\",\"t\",\"Brick\xE0\x80\x8A  0   0 255\tforged\",\"5R\",\"4\","
                          "\"14\",\r\n\"d\",\"t\",\"\",\"5PB\",\"4\",\"8\",\r\n");
    const Outcome gpl = convert({"--export", "gpl", s.path("forged.csv"), s.path("forged.gpl")});
    ASSERT_EQ(gpl.status, 0) << gpl.err;
    EXPECT_EQ(s.read("forged.gpl"),
              "GIMP Palette\nName: forged\nColumns: 0\n#\n"
              "186  38  55\tBrick\xC3\xA0    0   0 255 forged 5R 4/14 vivid red\n"
              " 62  98 151\t5PB 4/8 moderate blue\n");
}

TEST(ConverterFiles, CgatsPrintsTheReportAndAppendsThePaletteOrNothingAtAll) {
    const Scratch s;
    s.write("meter.txt", "CGATS.17\r\nBEGIN_DATA_FORMAT\r\nSAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y "
                         "XYZ_Z\r\nEND_DATA_FORMAT\r\nILLUMINATION_NAME \"C\"\r\nBEGIN_DATA\r\n"
                         "1\t\"red tile\"\t22.51 12.00 4.75\r\n2 \"\" 19.39 19.77 23.37\r\n"
                         "END_DATA\r\n");
    const Outcome run = convert({"--cgats", s.path("meter.txt"), "--names", "--chips",
                                 "renotation-real", "--palette", s.path("out.csv")});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], std::string("sample_id,sample_name,") + converterHeader +
                          ",name,abbreviation,chip,chip_label,dE00,dH,dV,dC");
    EXPECT_EQ(out[1].rfind("1,red tile,5.00R,4.00,14.00,", 0), 0u) << out[1];
    // X, Y, Z to two decimals lie 0.01 from the chip.
    EXPECT_TRUE(out[1].ends_with(",vivid red,viv.R,5R 4/14,,0.01,0.00,0.00,0.00")) << out[1];
    EXPECT_EQ(out[2].rfind("2,,N,5.00,", 0), 0u) << out[2];
    const auto records = readPaletteRows(s.read("out.csv"));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields[2], "red tile");
    EXPECT_EQ(records[1].fields[2], "2");

    // A set cut short: no report, the palette as it was.
    s.write("bad.txt", "CGATS.17\nBEGIN_DATA_FORMAT\nXYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\n"
                       "BEGIN_DATA\n20 21 22\n20 21\nEND_DATA\n");
    const std::string before = s.read("out.csv");
    const Outcome bad = convert({"--cgats", s.path("bad.txt"), "--palette", s.path("out.csv")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("bad.txt, line 7: expected 3 values"), std::string::npos) << bad.err;
    EXPECT_EQ(s.read("out.csv"), before);

    // A palette named as a report would be only gains the records.
    s.write("meter-report.csv", before);
    const Outcome again =
        convert({"--cgats", s.path("meter.txt"), "--palette", s.path("meter-report.csv")});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readPaletteRows(s.read("meter-report.csv")).size(), 4u);

    for (const Args& args :
         {Args{"--cgats", "x.txt", "rgb", "1", "2", "3"}, Args{"--export", "gpl", "only.csv"},
          Args{"--export", "aco", "a", "b"}, Args{"--palette", "p.csv", "rgb", "1", "2", "3"},
          Args{"--cgats", "x.txt", "--csv"}})
        EXPECT_EQ(convert(args).status, 2) << args[0] << " " << args[1];
}

bool hasControl(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7f) return true;
        // A C1 control in UTF-8: C2 80..C2 9F.
        if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xa0)
            return true;
    }
    return false;
}

TEST(ConverterFiles, CgatsNamesReachTheTerminalWithoutControlsAndSpreadsheetsAsText) {
    const Scratch s;
    s.write("esc.txt",
            "CGATS.17\nMEDIA\xC2\x9B"
            "2J_WHITE \"96.42 100 82.49\"\n"
            "BEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\n"
            "BEGIN_DATA\n1 \"\x1B[2J\x1B]0;owned\x07\" 22.51 12.00 4.75\n"
            "2 \"=cmd|' /C calc'!A0\" 19.39 19.77 23.37\nEND_DATA\n");
    const Outcome run = convert({"--cgats", s.path("esc.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(hasControl(run.out)) << run.out;
    EXPECT_FALSE(hasControl(run.err)) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].rfind("1, [2J ]0;owned ,", 0), 0u) << out[1];
    EXPECT_EQ(out[2].rfind("2,\"'=cmd|' /C calc'!A0\",", 0), 0u) << out[2];
    // Labels of a chip set file go the same way.
    s.write("chips.csv", "notation,label\n5R 4/14,\x1B[31mbrick\xC2\x9B\n");
    const Outcome chips = convert({"--chips", s.path("chips.csv"), "munsell", "5R", "4", "14"});
    ASSERT_EQ(chips.status, 0) << chips.err;
    EXPECT_FALSE(hasControl(chips.out)) << chips.out;
    EXPECT_NE(chips.out.find(",5R 4/14, [31mbrick ,"), std::string::npos) << chips.out;
    // A file with a fault: its message is clean too.
    s.write("bad.txt", "CGATS.17\nBEGIN_DATA_FORMAT\nXYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\n"
                       "BEGIN_DATA\n20 21 \xC2\x9B"
                       "31m\nEND_DATA\n");
    const Outcome bad = convert({"--cgats", s.path("bad.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("bad.txt, line 6"), std::string::npos) << bad.err;
    EXPECT_FALSE(hasControl(bad.err)) << bad.err;
}

TEST(ConverterFiles, OnlyPlainFilesOfBoundedSizeAreRead) {
    const Scratch s;
    const std::string fifo = s.path("meter.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A device that never ends and a FIFO nobody writes: refused, not waited on.
    for (const std::string& file : {std::string("/dev/zero"), fifo})
        for (const Args& args :
             {Args{"--cgats", file}, Args{"--export", "gpl", file, s.path("o.gpl")},
              Args{"--chips", file, "munsell", "5R", "4", "14"}}) {
            const Outcome run = convert(args);
            EXPECT_EQ(run.status, 1) << args[0] << " " << file;
            EXPECT_TRUE(run.out.empty()) << run.out;
            EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
            EXPECT_NE(run.err.find("is not a plain file"), std::string::npos) << run.err;
        }
    EXPECT_FALSE(std::filesystem::exists(s.path("o.gpl")));
    // A file beyond the limit is refused before a byte is read (sparse: no disk used).
    std::filesystem::resize_file((s.write("big.txt", ""), s.path("big.txt")), 257ull << 20);
    const Outcome big = convert({"--cgats", s.path("big.txt")});
    EXPECT_EQ(big.status, 1);
    EXPECT_NE(big.err.find("big.txt\": it is larger than 256 MB"), std::string::npos) << big.err;
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

// A stream buffer with room for `room` bytes that then refuses every write as
// a full disk does; `failSync` makes the flush fail too, as a close can.
class FullAfter : public std::streambuf {
  public:
    explicit FullAfter(std::size_t room, bool failSync = false)
        : room_(room), failSync_(failSync) {}
    std::string taken;

  protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const auto fits =
            std::min(static_cast<std::size_t>(count), room_ - std::min(room_, taken.size()));
        taken.append(text, fits);
        if (fits < static_cast<std::size_t>(count)) errno = ENOSPC;
        return static_cast<std::streamsize>(fits);
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char one = traits_type::to_char_type(c);
        return xsputn(&one, 1) == 1 ? c : traits_type::eof();
    }
    int sync() override {
        if (!failSync_) return 0;
        errno = EIO;
        return -1;
    }

  private:
    std::size_t room_;
    bool failSync_;
};

Outcome convertInto(std::streambuf& buffer, const Args& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostream out(&buffer);
    std::ostringstream err;
    const int status = runConverter(args, {HUELINX_DATA_DIR}, in, out, err);
    return {status, {}, err.str()};
}

// 5,000 good lines and a bad one at the end, whose message only a run that
// went on after its output failed would print.
std::string manyLines() {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "rgb," + std::to_string(i % 256) + ",20,30\n";
    return text + "foo,1,2,3\n";
}

// The same for the soil modes: 5,000 pairs and a bad line.
std::string manyPairs() {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += i % 2 ? "10YR 6/3, 5YR 3/4\n" : "10YR 3/2; 10YR 5.2/2.1\n";
    return text + "foo\n";
}

const char* const meterText = "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y "
                              "XYZ_Z\nEND_DATA_FORMAT\nILLUMINATION_NAME \"C\"\nBEGIN_DATA\n"
                              "1 red 22.51 12.00 4.75\n2 grey 19.39 19.77 23.37\nEND_DATA\n";

TEST(ConverterOutput, AWriteTheOutputRefusesEndsEveryModeWithStatus1AndTheReason) {
    const Scratch s;
    s.write("meter.txt", meterText);
    const std::vector<std::pair<Args, std::string>> runs = {
        {{"--csv"}, manyLines()},
        {{"--csv", "--names"}, "\nmunsell,5R,4,14\n"},
        {{"munsell", "5R", "4", "14"}, ""},
        {{"--cgats", s.path("meter.txt")}, ""},
        {{"--help"}, ""},
        {{"--contrast", "--csv"}, manyPairs()},
        {{"--soil", "--csv"}, manyPairs()}};
    for (const auto& [args, input] : runs)
        for (std::size_t room : {0, 30, 100}) {
            FullAfter full(room);
            const Outcome run = convertInto(full, args, input);
            EXPECT_EQ(run.status, 1) << args[0] << " room " << room;
            EXPECT_NE(run.err.find("huelinx-convert: the output could not be written"),
                      std::string::npos)
                << args[0] << " room " << room << ": " << run.err;
            EXPECT_NE(run.err.find(std::strerror(ENOSPC)), std::string::npos) << run.err;
            // The run stops where the output failed.
            EXPECT_EQ(run.err.find("line 5001"), std::string::npos) << run.err;
        }
    FullAfter full(20000);
    const Outcome csv = convertInto(full, {"--csv"}, manyLines());
    EXPECT_NE(csv.err.find("could not be written at line "), std::string::npos) << csv.err;
    EXPECT_LT(std::count(full.taken.begin(), full.taken.end(), '\n'), 5001);
}

TEST(ConverterOutput, AFlushTheOutputRefusesIsAFailureToo) {
    const Scratch s;
    s.write("meter.txt", meterText);
    for (const Args& args :
         {Args{"--csv"}, Args{"rgb", "1", "2", "3"}, Args{"--cgats", s.path("meter.txt")}}) {
        FullAfter closing(1 << 20, true);
        const Outcome run = convertInto(closing, args, "rgb,1,2,3\n");
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find(std::strerror(EIO)), std::string::npos) << run.err;
    }
}

TEST(ConverterOutput, AReportTheOutputRefusesAddsNothingToThePalette) {
    const Scratch s;
    s.write("meter.txt", meterText);
    FullAfter full(10);
    const Outcome run =
        convertInto(full, {"--cgats", s.path("meter.txt"), "--palette", s.path("field.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(s.path("field.csv")));
}

TEST(ConverterOutput, AnExportThatCannotBeWrittenSaysSoAndLeavesNoFile) {
    const Scratch s;
    s.write("field.csv", "\"d\",\"t\",\"Brick\",\"5R\",\"4\",\"14\",\r\n");
    const std::string out = s.path("no-such-folder/field.gpl");
    const Outcome run = convert({"--export", "gpl", s.path("field.csv"), out});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("can't be written"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The built program writing to a full device: the failure reaches its exit
// status, however the standard library buffers standard output.
TEST(ConverterOutput, TheProgramWritingToAFullDeviceExitsNonZeroWithTheReason) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const Scratch s;
    s.write("in.csv", manyLines());
    s.write("meter.txt", meterText);
    for (const std::string& args : {"--csv < " + s.path("in.csv"), "--cgats " + s.path("meter.txt"),
                                    std::string("rgb 1 2 3")}) {
        const std::string command =
            std::string(HUELINX_CONVERT_PATH) + " " + args + " > /dev/full 2> " + s.path("err.txt");
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << args;
        EXPECT_EQ(WEXITSTATUS(status), 1) << args;
        EXPECT_NE(s.read("err.txt").find(std::strerror(ENOSPC)), std::string::npos)
            << args << ": " << s.read("err.txt");
    }
}

} // namespace
} // namespace huelinx
