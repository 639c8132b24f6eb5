#include "colour/chip_set.h"
#include "colour/mun2xyz.h"
#include "table_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace huelinx {
namespace {

using testing::renotationTable;
namespace fs = std::filesystem;

Loaded<ChipSet> read(const std::string& text) {
    return readChipSet(text, "mine.csv", "mine", renotationTable());
}

TEST(ChipNotation, ReadsTheWrittenForms) {
    struct Case {
        const char* text;
        float hue, value, chroma;
        bool neutral;
    } cases[] = {
        {"5R 6/8", 5, 6, 8, false},
        {"5R6/8", 5, 6, 8, false},
        {" 7.5YR 4/6 ", 17.5, 4, 6, false},
        {"7.5 yr 4 / 6", 17.5, 4, 6, false},
        {"10RP 5/4", 0, 5, 4, false},
        {"2.5PB 8.5/1.5", 72.5, 8.5, 1.5, false},
        {"N 5/", 0, 5, 0, true},
        {"N5/", 0, 5, 0, true},
        {"n 9.5/0", 0, 9.5, 0, true},
        {"10Y 9/2", 30, 9, 2, false},
    };
    for (const Case& c : cases) {
        const auto chip = readChipNotation(c.text);
        ASSERT_TRUE(chip) << c.text;
        EXPECT_EQ(chip->hue, c.hue) << c.text;
        EXPECT_EQ(chip->value, c.value) << c.text;
        EXPECT_EQ(chip->chroma, c.chroma) << c.text;
        EXPECT_EQ(chip->neutral, c.neutral) << c.text;
    }
}

TEST(ChipNotation, RefusesWhatIsNoNotation) {
    for (const char* text :
         {"",       "/",         "5R",      "5R 6",    "5X 6/8",   "5 6/8",   "R 6/8",
          "0R 6/8", "10.5R 6/8", "-5R 6/8", "5R 11/2", "5R /2",    "5R 6/",   "5R 6/-2",
          "5R 6/x", "N 5/2",     "N/",      "5RR 6/8", "5R 6/8/2", "5R 1e1/2"})
        EXPECT_FALSE(readChipNotation(text)) << text;
}

TEST(ChipSetFile, ReadsChipsLabelsAndLineEnds) {
    const auto load = read("notation,label\r\n5R 6/8,Brick\r\n\r\nN 5/\r\n"
                           "7.5YR 4/6,\"Brown, dark\"\n10YR 7/2");
    ASSERT_TRUE(load.value) << load.message;
    const auto& chips = load.value->chips;
    ASSERT_EQ(chips.size(), 4u);
    EXPECT_EQ(load.value->name, "mine");
    EXPECT_EQ(chips[0].notation, "5R 6/8");
    EXPECT_EQ(chips[0].label, "Brick");
    EXPECT_EQ(chips[1].label, "");
    EXPECT_TRUE(chips[1].neutral);
    EXPECT_EQ(chips[2].label, "Brown, dark");
    EXPECT_EQ(chips[3].notation, "10YR 7/2");
    // A header without the label column, in capitals, after a byte-order mark.
    const auto bare = read("\xEF\xBB\xBFNOTATION\n5R 6/8\n");
    ASSERT_TRUE(bare.value) << bare.message;
    EXPECT_EQ(bare.value->chips.size(), 1u);
}

TEST(ChipSetFile, NamesTheFileAndTheFirstBadLine) {
    EXPECT_EQ(read("notation,label\n5R 6/8,a\n5Q 6/8,b\n5X 1/1\n").message,
              "mine.csv, line 3: \"5Q 6/8\" is not a Munsell notation.");
    EXPECT_EQ(read("notation\n5R 6/8,a,b\n").message,
              "mine.csv, line 2: \"5R 6/8,a,b\" has more than two fields.");
    // Inside the notation rules but beyond the data.
    EXPECT_EQ(read("notation\n5R 2/30\n").message,
              "mine.csv, line 2: \"5R 2/30\" lies outside the Munsell data.");
    EXPECT_EQ(read("hue,value,chroma\n5R,6,8\n").message,
              "mine.csv, line 1: the first line must be the header notation,label.");
    EXPECT_EQ(read("").message,
              "mine.csv, line 1: the first line must be the header notation,label.");
    EXPECT_EQ(read("notation,label\n\n").message, "mine.csv: the file holds no chips.");
    // A long bad notation is quoted by its first 40 characters, control characters hidden.
    const std::string junk(5000, 'Z');
    const auto message = read("notation\n5R 6/8\n" + junk + "\x01\n").message;
    EXPECT_EQ(message,
              "mine.csv, line 3: \"" + std::string(40, 'Z') + "...\" is not a Munsell notation.");
}

TEST(BuiltInChipSets, RenotationRealHoldsEveryRealColourAndTheNeutralSeries) {
    const auto load = renotationRealChips(testing::dataFile("munsell-renotation-real.csv"), "real");
    ASSERT_TRUE(load.value) << load.message;
    const auto& chips = load.value->chips;
    // The 2,734 real colours, then ten greys.
    ASSERT_EQ(chips.size(), 2744u);
    EXPECT_EQ(chips.front().notation, "10RP 1/2");
    EXPECT_EQ(chips.front().hue, 0.0f);
    std::vector<std::string> greys;
    for (std::size_t i = 2734; i < chips.size(); ++i)
        greys.push_back(chips[i].notation);
    EXPECT_EQ(greys, (std::vector<std::string>{"N 1/", "N 2/", "N 3/", "N 4/", "N 5/", "N 6/",
                                               "N 7/", "N 8/", "N 9/", "N 9.5/"}));
    for (const Chip& chip : chips) {
        const auto read = readChipNotation(chip.notation);
        ASSERT_TRUE(read) << chip.notation;
        EXPECT_EQ(read->hue, chip.hue) << chip.notation;
        EXPECT_EQ(read->value, chip.value) << chip.notation;
        EXPECT_EQ(read->neutral, chip.neutral) << chip.notation;
        EXPECT_EQ(mun2xyz(chip.hue, chip.value, chip.chroma, renotationTable(), {}).status,
                  MunsellToCie::Ok)
            << chip.notation;
    }
    EXPECT_FALSE(renotationRealChips("hue,value,chroma\n5R,x,2\n", "real").value);
}

TEST(BuiltInChipSets, SoilKeepsTheChipsTheDataHold) {
    const ChipSet soil = soilChips(renotationTable());
    EXPECT_EQ(soil.name, "soil");
    // 7 hues x 10 values x 6 chromas and 10 neutrals, less two the data don't hold.
    EXPECT_EQ(soil.chips.size(), 428u);
    int neutrals = 0;
    for (const Chip& chip : soil.chips) {
        const auto read = readChipNotation(chip.notation);
        ASSERT_TRUE(read) << chip.notation;
        EXPECT_EQ(read->hue, chip.hue);
        EXPECT_EQ(read->value, chip.value);
        EXPECT_EQ(read->chroma, chip.chroma);
        neutrals += chip.neutral;
    }
    EXPECT_EQ(neutrals, 10);
    EXPECT_EQ(soil.chips.front().notation, "10R 2/1");
    EXPECT_EQ(soil.chips.back().notation, "N 9.5/");
}

class ChipSetFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("huelinx-chipsets-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "here" / "chipsets");
        fs::create_directories(root / "program" / "chipsets");
        places.dataFolders = {HUELINX_DATA_DIR};
        places.chipFolders = {(root / "here" / "chipsets").string(),
                              (root / "program" / "chipsets").string()};
    }
    void TearDown() override { fs::remove_all(root); }
    void write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

    fs::path root;
    ChipSetPlaces places;
};

TEST_F(ChipSetFolders, ListsBuiltInThenUserSetsAndLoadsThem) {
    write(root / "here" / "chipsets" / "reds.csv", "notation\n5R 6/8\n");
    write(root / "program" / "chipsets" / "reds.csv", "notation\n5R 4/8\n5R 3/8\n");
    write(root / "program" / "chipsets" / "Browns.CSV", "notation\n5YR 4/4\n");
    write(root / "program" / "chipsets" / "soil.csv", "notation\n5YR 4/4\n");
    write(root / "program" / "chipsets" / "notes.txt", "notation\n5YR 4/4\n");
    EXPECT_EQ(availableChipSets(places),
              (std::vector<std::string>{"renotation-real", "soil", "Browns", "reds"}));

    const auto reds = loadChipSet("reds", places, renotationTable());
    ASSERT_TRUE(reds.value) << reds.message;
    EXPECT_EQ(reds.value->chips.size(), 1u); // the working directory's file
    const auto soil = loadChipSet("soil", places, renotationTable());
    ASSERT_TRUE(soil.value);
    EXPECT_GT(soil.value->chips.size(), 1u); // the built-in set, not the file
    const auto real = loadChipSet("renotation-real", places, renotationTable());
    ASSERT_TRUE(real.value) << real.message;
    EXPECT_EQ(real.value->chips.size(), 2744u);

    const auto byPath = loadChipSet((root / "program" / "chipsets" / "reds.csv").string(), places,
                                    renotationTable());
    ASSERT_TRUE(byPath.value) << byPath.message;
    EXPECT_EQ(byPath.value->name, "reds");
    EXPECT_EQ(byPath.value->chips.size(), 2u);
}

TEST_F(ChipSetFolders, ReportsWhatItCannotLoad) {
    EXPECT_EQ(loadChipSet("blues", places, renotationTable()).message,
              "There is no chip set named \"blues\".");
    const std::string missing = (root / "none.csv").string();
    EXPECT_EQ(loadChipSet(missing, places, renotationTable()).message,
              missing + ": the file can't be read.");
    places.dataFolders = {root.string()};
    EXPECT_FALSE(loadChipSet("renotation-real", places, renotationTable()).value);
    // Folders that don't exist hold no sets.
    places.chipFolders = {(root / "nowhere").string()};
    EXPECT_EQ(availableChipSets(places).size(), 2u);
    EXPECT_EQ(chipSetFolders("/opt/huelinx"),
              (std::vector<std::string>{"chipsets", "/opt/huelinx/chipsets"}));
}

} // namespace
} // namespace huelinx
