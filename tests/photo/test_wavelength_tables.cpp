// The spectral tables: the data files read whole, and faults named by file
// and line.
#include "synthetic_shot.h"

#include <gtest/gtest.h>

#include <numeric>

namespace huelinx::photo {
namespace {

// Header of a wide table: id,name,380,...,780.
std::string wideHeader() {
    std::string h = "patch,name";
    for (int nm = 380; nm <= 780; nm += 5)
        h += "," + std::to_string(nm);
    return h + "\n";
}
std::string wideRow(int id, const std::string& name, const std::string& value = "0.5") {
    std::string row = std::to_string(id) + "," + name;
    for (int i = 0; i < spectralCount; ++i)
        row += "," + value;
    return row + "\n";
}

TEST(Spectra, TheDataFilesReadWhole) {
    const auto& d = testing::photoData();
    ASSERT_EQ(d.chart.size(), 24u);
    EXPECT_EQ(d.chart[0].name, "dark skin");
    EXPECT_EQ(d.chart[23].name, "black 2");
    EXPECT_DOUBLE_EQ(d.chart[0].values[0], 0.048); // 380 nm
    EXPECT_EQ(d.training.size(), 190u);
    EXPECT_EQ(d.training[189].name, "patch190");
    EXPECT_EQ(d.lights.size(), 17u);
    ASSERT_TRUE(findSpectrum(d.lights, "ISO7589"));
    EXPECT_EQ(findSpectrum(d.lights, "D65")->values[36], 100); // 560 nm
    EXPECT_FALSE(findSpectrum(d.lights, "E"));
    ASSERT_EQ(d.cameras.size(), 11u);
    EXPECT_EQ(d.cameras[0].name, "arri_d21");
    EXPECT_DOUBLE_EQ(d.cameras[0].r[1], 0.000440222); // 385 nm
    EXPECT_EQ(d.cameras[10].name, "sony_ilce-7sm2");
    // The observer's sums as published beside the data.
    const double sums[3] = {21.371525, 21.371328, 21.371540};
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(std::accumulate(d.observer[j].values.begin(), d.observer[j].values.end(), 0.0),
                    sums[j], 1e-6);
}

TEST(Spectra, FaultsNameTheFileAndLine) {
    struct Bad {
        std::string text;
        std::string message;
    };
    std::string shortHeader = wideHeader();
    shortHeader.replace(shortHeader.find(",780"), 4, "");
    std::string wrongWavelength = wideHeader();
    wrongWavelength.replace(wrongWavelength.find(",385,"), 5, ",386,");
    const Bad rows[] = {
        {"", "t.csv: the file holds no spectra."},
        {wideHeader(), "t.csv: the file holds no spectra."},
        {shortHeader + wideRow(1, "a"), "t.csv, line 1: expected 83 columns"},
        {wrongWavelength, "t.csv, line 1: column 4 should be the wavelength 385, not \"386\"."},
        {wideHeader() + wideRow(1, "a") + "\n" + wideRow(3, "c"),
         "t.csv, line 4: the spectrum should be number 2, not \"3\"."},
        {wideHeader() + wideRow(1, "a", "-0.1"),
         "t.csv, line 2: the value \"-0.1\" is not a number of 0 or more."},
        {wideHeader() + wideRow(1, "a", "x"), "t.csv, line 2: the value \"x\" is not a number"},
        {wideHeader() + "1,a,0.5\n", "t.csv, line 2: expected 83 fields, found 3."},
    };
    for (const Bad& b : rows) {
        const auto read = readRowSpectra(b.text, "t.csv");
        EXPECT_FALSE(read.value) << b.message;
        EXPECT_EQ(read.message.substr(0, b.message.size()), b.message) << read.message;
    }

    std::string columns = "wavelength_nm,A,B\n";
    for (int nm = 380; nm <= 780; nm += 5)
        columns += std::to_string(nm) + ",1,2\n";
    ASSERT_TRUE(readColumnSpectra(columns, "c.csv").value);
    EXPECT_EQ(readColumnSpectra(columns, "c.csv").value->at(1).values[80], 2);
    std::string gap = columns, extra = columns;
    gap.replace(gap.find("400,1,2\n"), 8, "");
    extra.replace(extra.find("400,1,2"), 7, "400,1,2,3");
    EXPECT_EQ(readColumnSpectra(gap, "c.csv").message,
              "c.csv: expected 81 wavelengths (380 to 780 nm), found 80.");
    EXPECT_EQ(readColumnSpectra(extra, "c.csv").message,
              "c.csv, line 6: expected 3 fields, found 4.");
    EXPECT_EQ(readColumnSpectra("nm,A\n", "c.csv").message,
              "c.csv, line 1: the header should be wavelength_nm and a name a column.");

    std::string camera = "camera,wavelength_nm,r,g,b\n";
    for (int nm = 380; nm <= 780; nm += 5)
        camera += "one," + std::to_string(nm) + ",1,2,3\n";
    ASSERT_TRUE(readCameraSpectra(camera, "k.csv").value);
    const std::string twoCut = camera + "two,380,1,2,3\n";
    EXPECT_EQ(
        readCameraSpectra(twoCut, "k.csv").message,
        "k.csv, line 83: camera \"two\" ends before 780 nm; each camera needs 380 to 780 nm.");
    std::string changed = camera;
    changed.replace(changed.find("one,500"), 3, "two");
    EXPECT_EQ(readCameraSpectra(changed, "k.csv").message,
              "k.csv, line 26: camera \"one\" ends at 495 nm; each camera needs 380 to 780 nm.");
    EXPECT_EQ(readCameraSpectraFile("no-such-cameras.csv").message.substr(0, 19),
              "no-such-cameras.csv");
}

} // namespace
} // namespace huelinx::photo
