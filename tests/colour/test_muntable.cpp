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
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (int k = 0; k < MunTable::hueCount; ++k)
            for (int j = 0; j < MunTable::chromaCount; ++j)
                for (int c = 0; c < 2; ++c)
                    if (a.at(v, k, j, c) != b.at(v, k, j, c)) return false;
    return true;
}

TEST(MunsellTable, CommittedFileHoldsTheGridWithItsInvariants) {
    EXPECT_EQ(fileNumbers().size(), 20400u);
    const MunTable& t = renotationTable();
    for (int v = 0; v < MunTable::levelCount; ++v) {
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
    EXPECT_EQ(t.at(MunTable::wholeLevel(1), 0, 1, 0), 3629);
    EXPECT_EQ(t.at(MunTable::wholeLevel(1), 0, 1, 1), 2710);
    // 5R 0.6/4 of the data, at record 7480 + 2 x 680 + 2 x 17 + 2: level 0.6.
    EXPECT_EQ(MunTable::levelValue[3], 0.6);
    EXPECT_EQ(t.at(3, 2, 2, 0), 4690);
    EXPECT_EQ(t.at(3, 2, 2, 1), 2460);
}

TEST(MunsellTable, ValuesFindTheirTwoLevels) {
    const struct {
        double value;
        int lower;
        double f;
    } cases[] = {{0, 0, 0},     {0.1, 0, 0.5}, {0.2, 1, 0}, {0.2f, 1, 0},    {0.6f, 3, 0},
                 {0.5, 2, 0.5}, {0.9, 4, 0.5}, {1, 5, 0},   {1.25, 5, 0.25}, {9.5, 13, 0.5},
                 {10, 14, 0},   {12, 14, 0},   {-1, 0, 0},  {NAN, 0, 0}};
    for (const auto& c : cases) {
        const LevelPosition p = levelOf(c.value);
        EXPECT_EQ(p.lower, c.lower) << c.value;
        EXPECT_NEAR(p.f, c.f, 1e-12) << c.value;
        // The value lies f of the way between its two levels.
        const double* level = MunTable::levelValue;
        if (p.f > 0) {
            const double between = level[p.lower] + p.f * (level[p.lower + 1] - level[p.lower]);
            EXPECT_NEAR(between, c.value, 1e-12);
        }
    }
}

TEST(MunsellTable, AFileOfWholeValuesOnlyGetsItsDarkLevelsOnTheLineToValueOne) {
    // The first 7480 records, as files made before the dark levels were kept.
    auto numbers = fileNumbers();
    numbers.resize(MunTable::baseNumbers);
    MunTable old;
    const auto result = loadMunTable(join(numbers, 2), "Vadoro.dat", old);
    ASSERT_TRUE(result.ok) << result.message;
    const MunTable& t = renotationTable();
    int blended = 0;
    for (int k = 0; k < MunTable::fileHues; ++k)
        for (int j = 0; j < MunTable::chromaCount; ++j) {
            EXPECT_EQ(old.at(0, k, j, 0), t.at(0, k, j, 0));
            const int top = MunTable::wholeLevel(1);
            for (int d = 1; d <= MunTable::darkLevels; ++d)
                for (int c = 0; c < 2; ++c) {
                    const int low = t.at(0, k, j, c), high = t.at(top, k, j, c);
                    const bool both = t.at(0, k, j, 0) != 0 && t.at(top, k, j, 0) != 0;
                    const double expected = both ? low + (high - low) * 0.2 * d : 0.0;
                    ASSERT_NEAR(old.at(d, k, j, c), expected, 0.5) << d << " " << k << " " << j;
                    blended += both && j > 0;
                }
        }
    EXPECT_GT(blended, 900);
}

TEST(MunsellTable, APartOfTheDarkLevelsIsRefused) {
    auto numbers = fileNumbers();
    numbers.resize(MunTable::baseNumbers + 2);
    MunTable t;
    t.set(3, 3, 3, 0, 77);
    const auto result = loadMunTable(join(numbers, 2), "Vadoro.dat", t);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              "\"Vadoro.dat\" ends after 14962 numbers; 14960 or 20400 are needed.");
    EXPECT_EQ(t.at(3, 3, 3, 0), 77);
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
    // The dark levels are checked as strictly as the rest.
    auto darkText = numbers;
    darkText[MunTable::baseNumbers + 5] = "x";
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
        {join(darkText, 2), "\"Vadoro.dat\", line 7483: expected a number, found \"x\"."},
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
    // Points at y 0 or below are no chromaticity and stay out.
    std::map<std::tuple<int, int, int>, std::pair<int, int>> rows;
    for (const testing::RenotationPoint& p : testing::renotationPoints()) {
        if (p.chroma <= 32 || p.y <= 0) continue;
        const HueOfText hue = converth(p.hue);
        const int k = static_cast<int>(std::lround(hue.hue / 2.5f)) % MunTable::fileHues;
        const int tenths = static_cast<int>(std::lround(p.value * 10));
        rows[{tenths, k, static_cast<int>(p.chroma / 2)}] = {p.x, p.y};
    }
    ASSERT_EQ(rows.size(), highChromas().size());
    for (const HighChroma& h : highChromas())
        EXPECT_EQ(rows.at({h.tenths, h.hue, h.chroma}), std::make_pair(int{h.x}, int{h.y}));

    // The loaded table holds exactly them beyond chroma 32 (7.5PB 1/34 ..
    // 1/38 among them), where the file's data reach chroma 32.
    const MunTable& t = testing::renotationTable();
    int beyond = 0;
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = MunTable::fileChromas; j < MunTable::chromaCount; ++j)
                beyond += t.at(v, k, j, 0) != 0;
    EXPECT_EQ(beyond, static_cast<int>(highChromas().size()));
    for (int j = 17; j <= 19; ++j)
        EXPECT_NE(t.at(MunTable::wholeLevel(1), 31, j, 0), 0) << j;
    // 10PB 0.8/34 at the darkest level that reaches chroma 32.
    EXPECT_EQ(t.at(4, 32, 17, 0), 1900);
    // A file whose data end before chroma 32 gets nothing beyond it.
    std::string text;
    for (int i = 0; i < MunTable::baseNumbers / 2; ++i)
        text += "0,0\r\n";
    MunTable empty;
    ASSERT_TRUE(loadMunTable(text, "zeros", empty).ok);
    for (int j = 17; j < MunTable::chromaCount; ++j)
        EXPECT_EQ(empty.at(MunTable::wholeLevel(1), 31, j, 0), 0);
}

} // namespace
} // namespace huelinx
