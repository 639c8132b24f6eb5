#include "colour/high_chromas.h"
#include "colour/hue.h"
#include "colour/muntable.h"
#include "table_fixture.h"
#include "text/list_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

namespace huelinx {
namespace {

using testing::dataFile;
using testing::renotationTable;

// The numbers of the committed file, in file order.
std::vector<std::string> fileNumbers() {
    std::vector<std::string> numbers;
    const std::string text = dataFile("Vadoro.dat");
    ListReader reader(text);
    while (!reader.atEnd())
        numbers.push_back(*reader.field());
    return numbers;
}

std::string join(const std::vector<std::string>& numbers, std::size_t perLine) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        text += numbers[i] + ((i + 1) % perLine == 0 ? "\r\n" : ",");
    return text;
}

bool sameTable(const MunTable& a, const MunTable& b) {
    for (int v = 0; v < MunTable::valueCount; ++v)
        for (int k = 0; k < MunTable::hueCount; ++k)
            for (int j = 0; j < MunTable::chromaCount; ++j)
                for (int c = 0; c < 2; ++c)
                    if (a.at(v, k, j, c) != b.at(v, k, j, c)) return false;
    return true;
}

TEST(MunsellTable, CommittedFileHoldsTheGridWithItsInvariants) {
    EXPECT_EQ(fileNumbers().size(), 14960u);
    const MunTable& t = renotationTable();
    for (int v = 0; v < MunTable::valueCount; ++v) {
        for (int k = 0; k < MunTable::fileHues; ++k) {
            EXPECT_EQ(t.at(v, k, 0, 0), 3101);
            EXPECT_EQ(t.at(v, k, 0, 1), 3163);
        }
        for (int j = 0; j < MunTable::chromaCount; ++j)
            for (int c = 0; c < 2; ++c) {
                EXPECT_EQ(t.at(v, 40, j, c), t.at(v, 0, j, c));
                EXPECT_EQ(t.at(v, 41, j, c), 0);
            }
    }
    // 10RP 1/2 of the renotation data, at record 1 x 680 + 0 x 17 + 1.
    EXPECT_EQ(t.at(1, 0, 1, 0), 3629);
    EXPECT_EQ(t.at(1, 0, 1, 1), 2710);
}

TEST(MunsellTable, LayoutOfNumbersOverLinesCarriesNoMeaning) {
    const auto numbers = fileNumbers();
    auto extra = numbers;
    extra.push_back("99");
    extra.push_back("oops");
    auto chromaZero = numbers;
    for (std::size_t r = 0; r < chromaZero.size() / 2; r += MunTable::fileChromas)
        chromaZero[2 * r] = "-7", chromaZero[2 * r + 1] = " 12345 ";
    const std::string layouts[] = {
        join(numbers, 1),                 // one number a line
        join(numbers, 10),                // several records a line
        "\n" + join(numbers, 2) + "\n\n", // blank lines around
        join(extra, 2),                   // numbers after the last are ignored
        join(chromaZero, 2),              // chroma-0 records are replaced
    };
    for (const auto& text : layouts) {
        MunTable t;
        const auto result = loadMunTable(text, "Vadoro.dat", t);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_TRUE(sameTable(t, renotationTable()));
    }
}

TEST(MunsellTable, BadFilesAreReportedWithFileAndProblemAndLeaveTheTable) {
    auto numbers = fileNumbers();
    auto shortFile = numbers;
    shortFile.resize(14959);
    auto tooBig = numbers;
    tooBig[2 * 700 + 1] = "40000";
    auto text = numbers;
    text[501] = "3l01";
    const struct {
        std::string contents;
        std::string expected;
    } cases[] = {
        {join(shortFile, 2), "\"Vadoro.dat\" ends after 14959 numbers; 14960 are needed."},
        {"", "\"Vadoro.dat\" ends after 0 numbers; 14960 are needed."},
        {join(tooBig, 2), "\"Vadoro.dat\", line 701: the number 40000 is outside -32768..32767."},
        {join(text, 2), "\"Vadoro.dat\", line 251: expected a number, found \"3l01\"."},
        {"3101,,3163\r\n", "\"Vadoro.dat\", line 1: expected a number, found \"\"."},
        // A first line of 5 MB of junk is quoted by its first 40 characters.
        {std::string(5'000'000, '#') + "\r\n",
         "\"Vadoro.dat\", line 1: expected a number, found \"" + std::string(40, '#') + "...\"."},
    };
    for (const auto& c : cases) {
        MunTable t;
        t.set(3, 3, 3, 0, 77);
        const auto result = loadMunTable(c.contents, "Vadoro.dat", t);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.expected);
        EXPECT_EQ(t.at(3, 3, 3, 0), 77);
    }
}

TEST(MunsellTable, MissingFileIsNamedInTheMessage) {
    MunTable t;
    const auto result = loadMunTableFile("no/such/Vadoro.dat", t);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot open the Munsell data file \"no/such/Vadoro.dat\".");
    const auto dir = std::filesystem::temp_directory_path();
    EXPECT_FALSE(loadMunTableFile(dir.string(), t).ok);
}

} // namespace
} // namespace huelinx

namespace huelinx {
namespace {

TEST(MunsellTable, PointsBeyondChroma32AreTheDatasOwnAndFollowTheFile) {
    // Every built-in point is a row of the renotation data, and every row
    // beyond chroma 32 at a whole value is built in.
    std::map<std::tuple<int, int, int>, std::pair<int, int>> rows;
    for (const testing::RenotationPoint& p : testing::renotationPoints()) {
        if (p.chroma <= 32 || p.value < 1 || p.value != static_cast<int>(p.value)) continue;
        const HueOfText hue = converth(p.hue);
        const int k = static_cast<int>(std::lround(hue.hue / 2.5f)) % MunTable::fileHues;
        rows[{static_cast<int>(p.value), k, static_cast<int>(p.chroma / 2)}] = {p.x, p.y};
    }
    ASSERT_EQ(rows.size(), highChromas().size());
    for (const HighChroma& h : highChromas())
        EXPECT_EQ(rows.at({h.value, h.hue, h.chroma}), std::make_pair(int{h.x}, int{h.y}));

    // The loaded table holds exactly them beyond chroma 32 (7.5PB 1/34 ..
    // 1/38 among them), where the file's data reach chroma 32.
    const MunTable& t = testing::renotationTable();
    int beyond = 0;
    for (int v = 0; v < MunTable::valueCount; ++v)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = MunTable::fileChromas; j < MunTable::chromaCount; ++j)
                beyond += t.at(v, k, j, 0) != 0;
    EXPECT_EQ(beyond, static_cast<int>(highChromas().size()));
    for (int j = 17; j <= 19; ++j)
        EXPECT_NE(t.at(1, 31, j, 0), 0) << j;
    // A file whose data end before chroma 32 gets nothing beyond it.
    std::string text;
    for (int i = 0; i < MunTable::fileNumbers / 2; ++i)
        text += "0,0\r\n";
    MunTable empty;
    ASSERT_TRUE(loadMunTable(text, "zeros", empty).ok);
    for (int j = 17; j < MunTable::chromaCount; ++j)
        EXPECT_EQ(empty.at(1, 31, j, 0), 0);
}

} // namespace
} // namespace huelinx
