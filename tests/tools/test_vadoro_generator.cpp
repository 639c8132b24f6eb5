#include "tools/vadoro_generator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace huelinx {
namespace {

std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(HUELINX_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Record (block, k, j) of a generated file, as "x,y"; blocks 0..10 are the
// whole values, 11..14 the values 0.2..0.8.
std::string record(const std::string& file, int block, int k, int j) {
    std::istringstream lines(file);
    std::string line;
    for (int i = 0; i <= block * 680 + k * 17 + j; ++i)
        std::getline(lines, line);
    return line.substr(0, line.size() - 1); // without the CR
}

TEST(VadoroGenerator, RegeneratesTheCommittedFileByteForByte) {
    const auto table = generateVadoro(dataFile("munsell-renotation-all.csv"), "renotation.csv");
    ASSERT_TRUE(table.value) << table.message;
    EXPECT_EQ(*table.value, dataFile("Vadoro.dat"));
}

TEST(VadoroGenerator, GridRules) {
    const std::string csv = "hue,value,chroma,x,y,Y\n"
                            "5R,3,4,0.4000,0.3000,6.5\n"
                            "5R,3,40,0.6000,0.3000,6.5\n"  // beyond chroma 32: left out
                            "10RP,1,2,0.3629,0.2710,1.2\n" // hue index 0
                            "5R,0.2,2,0.5000,0.2000,0.2\n"
                            "5R,0.4,2,0.4500,0.2500,0.4\n"
                            "10Y,0.4,2,0.5420,0.6700,0.4\n"; // value 0.2 lacks 10Y
    const auto table = generateVadoro(csv, "small.csv");
    ASSERT_TRUE(table.value) << table.message;
    EXPECT_EQ(record(*table.value, 3, 2, 2), "4000,3000");
    EXPECT_EQ(record(*table.value, 3, 2, 3), "0,0");
    EXPECT_EQ(record(*table.value, 3, 2, 0), "3101,3163");
    EXPECT_EQ(record(*table.value, 1, 0, 1), "3629,2710");
    EXPECT_EQ(record(*table.value, 0, 2, 1), "5000,2000");
    EXPECT_EQ(record(*table.value, 0, 12, 1), "5420,6700");
    EXPECT_EQ(record(*table.value, 0, 5, 1), "0,0");
    // The dark levels follow the whole values: 0.2, 0.4, 0.6, 0.8.
    EXPECT_EQ(record(*table.value, 11, 2, 1), "5000,2000");
    EXPECT_EQ(record(*table.value, 12, 2, 1), "4500,2500");
    EXPECT_EQ(record(*table.value, 12, 12, 1), "5420,6700");
    EXPECT_EQ(record(*table.value, 11, 12, 1), "5420,6700"); // 10Y from 0.4, as value 0
    EXPECT_EQ(record(*table.value, 13, 2, 1), "0,0");
    EXPECT_EQ(record(*table.value, 14, 2, 0), "3101,3163");
    EXPECT_EQ(std::count(table.value->begin(), table.value->end(), '\n'), 10200);
}

TEST(VadoroGenerator, MalformedLinesAreNamed) {
    const auto table =
        generateVadoro("hue,value,chroma,x,y,Y\r\n5R,3,4,0.4,0.3\r\n5Q,3,4,0.4,0.3\r\n", "bad.csv");
    EXPECT_FALSE(table.value);
    EXPECT_EQ(table.message,
              "\"bad.csv\", line 3: expected hue,value,chroma,x,y, found \"5Q,3,4,0.4,0.3\".");
}

} // namespace
} // namespace huelinx
