// huelinx-convert --cgats with --spectral-illuminant and --observer: the
// spectral samples' X, Y, Z and L*a*b* under another light and observer.
#include "converter_run.h"
#include "photo/wavelength_tables.h"
#include "tools/converter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

using testing::Args;
using testing::convert;
using testing::Outcome;

// A folder of its own for the files of one test, removed afterwards.
struct Scratch {
    fs::path dir = fs::temp_directory_path() / ("huelinx-spectral-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The last `n` fields of a report line, as numbers.
std::vector<double> lastNumbers(const std::string& line, std::size_t n) {
    const auto fields = split(line, ',');
    std::vector<double> numbers;
    for (std::size_t i = fields.size() - n; i < fields.size(); ++i)
        numbers.push_back(std::stod(fields[i]));
    return numbers;
}

// A CGATS file of the chart's red patch (a fraction, 380 to 750 nm at 10 nm,
// as an instrument writes it) and a perfect white.
std::string spectralFile() {
    const auto chart =
        photo::readRowSpectraFile(std::string(HUELINX_DATA_DIR) + "/photo/chart-reflectance.csv");
    if (!chart.value) throw std::runtime_error(chart.message);
    const photo::Spectrum& red = (*chart.value)[14].values;
    std::string format, redValues, whiteValues;
    for (int nm = 380; nm <= 750; nm += 10) {
        format += " SPECTRAL_NM" + std::to_string(nm);
        redValues += " " + std::to_string(red[(nm - 380) / 5]);
        whiteValues += " 1";
    }
    return "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID SAMPLE_NAME" + format +
           "\nEND_DATA_FORMAT\nBEGIN_DATA\n1 red" + redValues + "\n2 white" + whiteValues +
           "\nEND_DATA\n";
}

TEST(ConverterSpectral, CgatsSpectraGainColumnsUnderTheLightAndObserverChosen) {
    const Scratch s;
    s.write("chart.txt", spectralFile());
    const Outcome plain = convert({"--cgats", s.path("chart.txt")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const Outcome c2 = convert({"--cgats", s.path("chart.txt"), "--spectral-illuminant", "C"});
    ASSERT_EQ(c2.status, 0) << c2.err;
    const auto before = split(plain.out, '\n'), lines = split(c2.out, '\n');
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(lines[0], before[0] + ",X_C_2,Y_C_2,Z_C_2,L_C_2,a_C_2,b_C_2");
    // Every line is the report as before with the columns after it.
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_EQ(lines[i].rfind(before[i] + ",", 0), 0u) << lines[i];
    // The red patch as the published check table has it under C, 2 degrees,
    // within what its 10 nm sampling costs.
    const auto red = lastNumbers(lines[1], 6);
    EXPECT_NEAR(red[0], 20.75, 0.15);
    EXPECT_NEAR(red[1], 12.00, 0.15);
    EXPECT_NEAR(red[2], 5.65, 0.15);

    // A perfect white under F11 with the 10 degree observer (typed in lower
    // case): its own white, x, y = 0.3854, 0.3711.
    const Outcome f11 = convert(
        {"--cgats", s.path("chart.txt"), "--spectral-illuminant", "f11", "--observer", "10"});
    ASSERT_EQ(f11.status, 0) << f11.err;
    const auto f11Lines = split(f11.out, '\n');
    ASSERT_EQ(f11Lines.size(), 3u);
    EXPECT_TRUE(f11Lines[0].ends_with(",X_F11_10,Y_F11_10,Z_F11_10,L_F11_10,a_F11_10,b_F11_10"));
    const auto white = lastNumbers(f11Lines[2], 6);
    EXPECT_NEAR(white[0], 100 * 0.3854 / 0.3711, 0.05);
    EXPECT_EQ(white[1], 100.0);
    EXPECT_NEAR(white[2], 100 * (1 - 0.3854 - 0.3711) / 0.3711, 0.05);
    EXPECT_EQ(white[3], 100.0);
    EXPECT_EQ(white[4], 0.0);
    EXPECT_EQ(white[5], 0.0);
    // The red under another light is another colour.
    EXPECT_GT(std::abs(lastNumbers(f11Lines[1], 6)[0] - red[0]), 0.5);
}

TEST(ConverterSpectral, FilesWithoutSpectraKeepTheColumnsEmptyAndSaySo) {
    const Scratch s;
    s.write("xyz.txt", "CGATS.17\nBEGIN_DATA_FORMAT\nXYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\n"
                       "ILLUMINATION_NAME \"C\"\nBEGIN_DATA\n20 21 22\nEND_DATA\n");
    const Outcome run = convert({"--cgats", s.path("xyz.txt"), "--observer", "10"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = split(run.out, '\n');
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(",b_C_10")) << lines[0];
    EXPECT_TRUE(lines[1].ends_with(",,,,,,")) << lines[1];
    EXPECT_NE(run.err.find("holds no spectra: the spectral columns are empty"), std::string::npos)
        << run.err;
}

TEST(ConverterSpectral, UnknownLightsAndObserversAndTheOptionsAloneAreUsageErrors) {
    const Scratch s;
    s.write("chart.txt", spectralFile());
    const Outcome unknown = convert({"--cgats", s.path("chart.txt"), "--spectral-illuminant", "E"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_NE(unknown.err.find("unknown illuminant \"E\": --spectral-illuminant needs one of A, "
                               "C, D50, D65, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, "
                               "ISO7589"),
              std::string::npos)
        << unknown.err;
    for (const Args& args : {Args{"--cgats", s.path("chart.txt"), "--observer", "5"},
                             Args{"--cgats", s.path("chart.txt"), "--observer"},
                             Args{"--cgats", s.path("chart.txt"), "--spectral-illuminant"},
                             Args{"--spectral-illuminant", "D65", "munsell", "5R", "4", "14"},
                             Args{"--observer", "10", "--csv"}}) {
        const Outcome run = convert(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--spectral-illuminant NAME"), std::string::npos) << run.err;
    }
    EXPECT_NE(convert({"--observer", "10", "--csv"}).err.find("go with --cgats"),
              std::string::npos);
    EXPECT_NE(convert({"--cgats", s.path("chart.txt"), "--observer", "5"})
                  .err.find("--observer needs 2 or 10"),
              std::string::npos);
}

} // namespace
} // namespace huelinx
