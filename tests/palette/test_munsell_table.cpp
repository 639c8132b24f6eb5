#include "colour/colorimetry.h"
#include "colour/mun2xyz.h"
#include "palette/munsell_table.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace huelinx {
namespace {

const MunTable& table() {
    static MunTable t;
    static bool loaded = loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", t).ok;
    EXPECT_TRUE(loaded);
    return t;
}

std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t start = 0, end;
    while ((end = text.find(by, start)) != std::string::npos) {
        parts.push_back(text.substr(start, end - start));
        start = end + by.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

TEST(MunsellTableFile, HeadLinesAndRowsOfEveryPointInsideTheData) {
    bool outOfRange = false;
    const std::string text =
        munsellTableText(table(), {}, "Huelinx  - Version  12.23.1   Dec 17 2022", outOfRange);
    auto lines = split(text, "\r\n");
    ASSERT_EQ(lines.back(), "");
    lines.pop_back();
    EXPECT_EQ(lines[0].rfind("Huelinx  - Version  12.23.1   Dec 17 2022  Munsell data: ", 0), 0u);
    EXPECT_EQ(lines[2], "Angle\tHue\tValue\tChroma\tX\tY\tZ\tL*\ta*\tb*\tR\tG\tB");

    // Count the grid points whose X, Y, Z clear 0.01 by converting them here.
    int expected = 0;
    std::set<std::string> values, chromas;
    for (float v = 1; v <= 9; v += v < 8 ? 1.0f : 0.25f)
        for (float h = 0; h <= 99; h += 2.5f)
            for (float c = 0; c <= 30; c += c < 8 ? 1.0f : 2.0f) {
                const CieOfMunsell cie = mun2xyz(h + 0.001f, v, c, table(), {});
                expected += cie.X > 0.01f && cie.Y > 0.01f && cie.Z > 0.01f;
            }
    ASSERT_EQ(static_cast<int>(lines.size()) - 3, expected);
    EXPECT_GT(expected, 3000);
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const auto columns = split(lines[i], "\t");
        ASSERT_EQ(columns.size(), 13u) << lines[i];
        values.insert(columns[2]);
        chromas.insert(columns[3]);
    }
    EXPECT_EQ(split(lines[3], "\t")[0], " 0 ");
    EXPECT_EQ(split(lines[3], "\t")[1], ".00R");
    EXPECT_EQ(split(lines[3], "\t")[2], " 1 ");
    EXPECT_EQ(split(lines[3], "\t")[3], " 0 ");
    EXPECT_EQ(values, (std::set<std::string>{" 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ", " 7 ", " 8 ",
                                             " 8.25 ", " 8.5 ", " 8.75 ", " 9 "}));
    EXPECT_EQ(chromas.count(" 9 "), 0u);
    EXPECT_EQ(chromas.count(" 10 "), 1u);
    EXPECT_EQ(chromas.count(" 7 "), 1u);
}

} // namespace
} // namespace huelinx
