// huelinx-convert --limits: the MacAdam columns after every colour line.
#include "../colour/table_fixture.h"
#include "colour/macadam_limits.h"
#include "converter_run.h"
#include "tools/converter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status;
    std::string out, err;
};

// Runs the converter in the working directory as it is, with the data files
// of `dataFolder`.
Ran convert(const std::vector<std::string>& args, const std::string& input = {},
            const std::string& dataFolder = HUELINX_DATA_DIR) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runConverter(args, {dataFolder}, in, out, err);
    return {status, out.str(), err.str()};
}

using testing::lines;

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        result.push_back(field);
    if (!line.empty() && line.back() == ',') result.emplace_back();
    return result;
}

const MacAdamSolids& solids() {
    return testing::programSolids();
}

const char* const mixedLines = "munsell,5R,4,14\n"  // a real colour
                               "munsell,5R,6,24\n"  // extrapolated, beyond
                               "munsell,5x,5,4\n"   // no colour
                               "\n"                 // blank
                               "xyz,5,10,90\n"      // outside the data
                               "rgb,128,128,128\n"; // a grey

TEST(ConverterLimits, TheColumnsFollowEveryLineAndLeaveTheRestAsItWas) {
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{}, {"--names", "--chips", "renotation-real"}}) {
        std::vector<std::string> plainArgs{"--csv"};
        plainArgs.insert(plainArgs.end(), extra.begin(), extra.end());
        std::vector<std::string> limitArgs = plainArgs;
        limitArgs.push_back("--limits");
        const Ran plain = convert(plainArgs, mixedLines);
        const Ran limits = convert(limitArgs, mixedLines);
        EXPECT_EQ(limits.status, plain.status);
        EXPECT_EQ(limits.err, plain.err);
        const auto before = lines(plain.out), after = lines(limits.out);
        ASSERT_EQ(after.size(), 7u);
        ASSERT_EQ(before.size(), after.size());
        EXPECT_EQ(after[0], before[0] + ",macadam,macadam_excess");
        const std::vector<std::string> ends{"within", "beyond", "", "", "beyond", "within"};
        for (std::size_t i = 1; i < after.size(); ++i) {
            ASSERT_EQ(after[i].substr(0, before[i].size()), before[i]) << i;
            const auto added = fields(after[i].substr(before[i].size()));
            ASSERT_EQ(added.size(), 3u) << after[i]; // the empty field before the first comma
            EXPECT_EQ(added[1], ends[i - 1]) << after[i];
            // Empty without a colour; within up to the tolerance, beyond past it.
            const std::string& end = ends[i - 1];
            EXPECT_EQ(added[2].empty(), end.empty()) << after[i];
            if (!end.empty()) {
                EXPECT_EQ(std::stod(added[2]) <= macAdamTolerance, end == "within") << after[i];
            }
        }
    }
}

TEST(ConverterLimits, TheExcessIsThatOfTheShownXyzUnderTheIlluminantChosen) {
    const std::string input = "munsell,5R,6,24\nmunsell,5GY,8,20\nlab,50,80,-60\nmunsell,N,9,0\n";
    for (const char* ill : {"C", "D50", "D65"})
        for (const bool pwd : {false, true}) {
            std::vector<std::string> args{"--csv", "--full", "--limits", "--illuminant", ill};
            if (pwd) args.push_back("--pwd");
            const Ran run = convert(args, input);
            ASSERT_EQ(run.status, 0) << run.err;
            const auto out = lines(run.out);
            ASSERT_EQ(out.size(), 5u);
            ColourSettings settings;
            settings.illuminant = *illuminantNamed(ill);
            settings.pwd = pwd;
            for (std::size_t i = 1; i < out.size(); ++i) {
                // hue,hue_number,value,chroma,X,Y,Z,...,message,macadam,macadam_excess
                const auto f = fields(out[i]);
                ASSERT_EQ(f.size(), 22u) << out[i];
                const auto check = macAdamOfXyz(std::stod(f[4]), std::stod(f[5]), std::stod(f[6]),
                                                settings, solids());
                ASSERT_TRUE(check);
                EXPECT_EQ(f[20], check->within ? "within" : "beyond") << ill << " " << out[i];
                EXPECT_NEAR(std::stod(f[21]), check->excess, 0.00005) << ill << " " << out[i];
            }
        }
}

TEST(ConverterLimits, GoesWithCgatsButNotWithExportOrTheSoilModes) {
    const fs::path dir = fs::temp_directory_path() / ("huelinx-limits-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "meter.txt")
        << "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z\n"
           "END_DATA_FORMAT\nILLUMINATION_NAME \"C\"\nBEGIN_DATA\n"
           "1 red 22.51 12.00 4.75\n2 grey 19.39 19.77 23.37\nEND_DATA\n";
    const Ran cgats = convert({"--cgats", (dir / "meter.txt").string(), "--limits"});
    EXPECT_EQ(cgats.status, 0) << cgats.err;
    const auto out = lines(cgats.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(out[0].ends_with(",macadam,macadam_excess")) << out[0];
    EXPECT_NE(out[2].find(",within,-"), std::string::npos) << out[2];

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--limits", "--contrast", "10YR 3/2", "10YR 5/2"},
          {"--limits", "--export", "gpl", "a.csv", "b.gpl"}}) {
        const Ran run = convert(args);
        EXPECT_EQ(run.status, 2) << args[1];
        EXPECT_NE(run.err.find("--limits goes with colours"), std::string::npos) << run.err;
    }

    // Without the spectral tables the run says so and converts nothing.
    fs::create_directories(dir / "data");
    fs::copy_file(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", dir / "data/Vadoro.dat");
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const Ran missing = convert({"--limits", "munsell", "5R", "4", "14"}, "", "data");
    const Ran without = convert({"munsell", "5R", "4", "14"}, "", "data");
    fs::current_path(previous);
    fs::remove_all(dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("the MacAdam limits can't be given: "), std::string::npos)
        << missing.err;
    EXPECT_EQ(without.status, 0) << without.err;
}

} // namespace
} // namespace huelinx
