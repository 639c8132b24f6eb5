// The state every window shares: who hears of a change of the current
// colour, what the palette document writes and announces, and where the
// resources are read from.
#include "colour/colour_model.h"
#include "session/palette_document.h"
#include "session/resources.h"
#include "session/session.h"
#include "session/signal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <utility>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

TEST(Signal, ListenersComeAndGoEvenWhileASendRuns) {
    Signal<int> signal;
    std::vector<std::string> heard;
    Connection late;
    Connection second;
    bool joined = false;
    Connection first = signal.connect([&](int n) {
        heard.push_back("first " + std::to_string(n));
        // The second listener is dropped before its turn and a new one joins.
        second.reset();
        if (!std::exchange(joined, true))
            late = signal.connect([&](int m) { heard.push_back("late " + std::to_string(m)); });
    });
    second = signal.connect([&](int n) { heard.push_back("second " + std::to_string(n)); });
    signal.send(1);
    EXPECT_EQ(heard, (std::vector<std::string>{"first 1"}));
    heard.clear();
    signal.send(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"first 2", "late 2"}));
    // A connection moved keeps its listener; one destroyed ends it.
    Connection moved = std::move(late);
    heard.clear();
    signal.send(3);
    EXPECT_EQ(heard, (std::vector<std::string>{"first 3", "late 3"}));
    EXPECT_FALSE(late.active());
    { Connection gone = std::move(moved); }
    first.reset();
    heard.clear();
    signal.send(4);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(signal.listenerCount(), 0u);
}

TEST(Signal, AConnectionOutlivingItsSignalIsHarmless) {
    Connection kept;
    {
        Signal<> signal;
        kept = signal.connect([] {});
    }
    kept.reset();
    SUCCEED();
}

// A session on resources whose table is never read: the changes tested here
// convert nothing.
class SessionTest : public ::testing::Test {
  protected:
    Resources resources = Resources::inFolders({}, ".");
    Session session{resources};
};

TEST_F(SessionTest, EveryListenerButTheOriginHearsTheChangeWithWhatItDid) {
    ColourModel changed = ColourModel::initial();
    changed.messages = {"Format Error"};
    changed.munsellConverted = true;
    int mainHeard = 0, chartHeard = 0;
    const int chart = 0; // stands for the window that made the change
    Connection main = session.colourChanged.connect([&](const ColourChange& c) {
        ++mainHeard;
        EXPECT_EQ(c.what, Change::Entry);
        EXPECT_TRUE(c.colour.munsellConverted);
        EXPECT_EQ(c.colour.messages, std::vector<std::string>{"Format Error"});
    });
    Connection fromChart = session.colourChanged.connect([&](const ColourChange& c) {
        if (c.origin != &chart) ++chartHeard;
    });
    session.setColour(changed, Change::Entry, &chart);
    EXPECT_EQ(mainHeard, 1);
    EXPECT_EQ(chartHeard, 0);
    // Once told, the stored colour starts clean for the next reader.
    EXPECT_TRUE(session.colour().messages.empty());
    EXPECT_FALSE(session.colour().munsellConverted);
    // Typing and keeping change the colour without a word to anyone.
    session.type(Box::Hue, "5R");
    ColourModel kept = session.colour();
    kept.settings.pwd = true;
    session.keep(kept);
    EXPECT_EQ(session.colour()[Box::Hue], "5R");
    EXPECT_TRUE(session.colour().settings.pwd);
    EXPECT_EQ(mainHeard, 1);
}

TEST_F(SessionTest, AColourSetWhileAnotherIsSentIsTheOneKept) {
    ColourModel first = ColourModel::initial();
    first[Box::Hue] = "first";
    ColourModel second = ColourModel::initial();
    second[Box::Hue] = "second";
    second.messages = {"from the listener"};
    std::vector<std::string> heard;
    Connection listener = session.colourChanged.connect([&](const ColourChange& c) {
        heard.push_back(c.colour[Box::Hue]);
        if (c.colour[Box::Hue] == "first") session.setColour(second, Change::Entry);
    });
    session.setColour(first, Change::Entry);
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(session.colour()[Box::Hue], "second");
    EXPECT_TRUE(session.colour().messages.empty());
}

TEST_F(SessionTest, BusySpellsAreSentAroundTheWork) {
    std::vector<bool> sent;
    Connection c = session.busy.connect([&](bool on) { sent.push_back(on); });
    {
        const Session::Busy outer(session);
        const Session::Busy inner(session);
    }
    EXPECT_EQ(sent, (std::vector<bool>{true, true, false, false}));
}

// A scratch working folder, made current for the test.
class FolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static std::string contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    fs::path previous_ = fs::current_path();
    fs::path dir_ = fs::temp_directory_path() / ("huelinx-session-" + std::to_string(getpid()));
};

using PaletteDocumentTest = FolderTest;

TEST_F(PaletteDocumentTest, NamesBecomePaletteFilesOnceWhateverTheCase) {
    EXPECT_EQ(PaletteDocument::fileNamed("soil"), "soil.csv");
    EXPECT_EQ(PaletteDocument::fileNamed("soil.CSV"), "soil.CSV");
    EXPECT_EQ(PaletteDocument::fileNamed("soil.csv.txt"), "soil.csv.txt.csv");
    EXPECT_EQ(PaletteDocument::fileNamed(""), ".csv");
    // An existing palette in another case is the one meant.
    std::ofstream("Field Notes.CSV") << "x\r\n";
    EXPECT_EQ(PaletteDocument::fileNamed("field notes"), "Field Notes.CSV");
}

TEST_F(PaletteDocumentTest, WritesAreWholeAndAnnouncedOnlyWhenDone) {
    PaletteDocument palette;
    std::vector<PaletteDocument::Write> heard;
    Connection c = palette.changed.connect([&](PaletteDocument::Write w) { heard.push_back(w); });
    palette.setFile("pots");
    ASSERT_TRUE(palette.append("a\r\n").ok);
    ASSERT_TRUE(palette.append("b\r\nc\r\n").ok);
    EXPECT_EQ(palette.file(), "pots.csv");
    EXPECT_EQ(contents("pots.csv"), "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(palette.replace("d\r\n").ok);
    EXPECT_EQ(contents("pots.csv"), "d\r\n");
    EXPECT_EQ(heard, (std::vector<PaletteDocument::Write>{PaletteDocument::Write::Appended,
                                                          PaletteDocument::Write::Appended,
                                                          PaletteDocument::Write::Replaced}));
    // A folder in the palette's place: nothing written, nothing announced,
    // and the message names the file.
    fs::create_directory("taken.csv");
    palette.setFile("taken");
    const Result appended = palette.append("e\r\n");
    const Result replaced = palette.replace("e\r\n");
    EXPECT_FALSE(appended.ok);
    EXPECT_FALSE(replaced.ok);
    EXPECT_NE(appended.message.find("taken.csv"), std::string::npos) << appended.message;
    EXPECT_NE(replaced.message.find("taken.csv"), std::string::npos) << replaced.message;
    EXPECT_EQ(heard.size(), 3u);
}

using ResourcesTest = FolderTest;

TEST_F(ResourcesTest, TheWorkingFolderComesFirstAndAFailedChoiceKeepsTheSetBefore) {
    Resources resources = Resources::withWorkingFolder({HUELINX_DATA_DIR});
    ASSERT_TRUE(resources.loadTable().ok);
    EXPECT_FALSE(resources.locate(munsellTableFile).fromWorkingFolder);
    std::ofstream(munsellTableFile) << "3101,3163\r\n";
    EXPECT_TRUE(resources.locate(munsellTableFile).fromWorkingFolder);
    const Result broken = resources.loadTable();
    EXPECT_FALSE(broken.ok);
    EXPECT_NE(broken.message.find("Vadoro.dat"), std::string::npos) << broken.message;
    fs::remove(munsellTableFile);
    ASSERT_TRUE(resources.loadTable().ok);

    EXPECT_EQ(resources.chips(), nullptr);
    const std::vector<std::string> sets = resources.chipSetNames();
    ASSERT_FALSE(sets.empty());
    ASSERT_TRUE(resources.chooseChipSet(sets.front()).ok);
    ChipSearch* chosen = resources.chips();
    ASSERT_NE(chosen, nullptr);
    const Result missing = resources.chooseChipSet("no such set");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.message.empty());
    EXPECT_EQ(resources.chips(), chosen);
    EXPECT_EQ(resources.chipSetName(), sets.front());
}

TEST_F(ResourcesTest, BindingsReadTheirFoldersAloneNeverTheWorkingFolder) {
    std::ofstream(munsellTableFile) << "3101,3163\r\n";
    Resources resources = Resources::inFolders({HUELINX_DATA_DIR}, ".");
    EXPECT_FALSE(resources.locate(munsellTableFile).fromWorkingFolder);
    EXPECT_TRUE(resources.loadTable().ok);
    EXPECT_TRUE(resources.loadNames().ok);
    EXPECT_FALSE(resources.names().empty());
    Resources nowhere = Resources::inFolders({"no-such-folder"}, ".");
    EXPECT_FALSE(nowhere.locate(munsellTableFile).found);
    EXPECT_FALSE(nowhere.loadTable().ok);
    EXPECT_FALSE(nowhere.loadNames().ok);
}

} // namespace
} // namespace huelinx
