// Undo, redo and the recent colours, as the session records them from the
// changes of the current colour.
#include "colour/colour_model.h"
#include "session/resources.h"
#include "session/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace huelinx {
namespace {

class ColourHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(resources.loadTable().ok);
        // The window after start-up: a setting, which is no step.
        session.setColour(selectIlluminant(session.colour(), Illuminant::C, resources.table()),
                          Change::Settings);
    }
    // The current colour with a Munsell notation entered.
    ColourModel munsell(const std::string& hue, const std::string& value,
                        const std::string& chroma) const {
        ColourModel c = edit(session.colour(), Box::Hue, hue);
        c = edit(std::move(c), Box::Value, value);
        return enterMunsell(edit(std::move(c), Box::Chroma, chroma), resources.table());
    }
    void enterNotation(const std::string& hue, const std::string& value,
                       const std::string& chroma) {
        session.setColour(munsell(hue, value, chroma), Change::Entry);
    }
    std::string shown() const { return historyLabel(session.colour()); }
    std::vector<std::string> recent() const {
        std::vector<std::string> labels;
        for (const ColourModel& c : session.history().recent())
            labels.push_back(historyLabel(c));
        return labels;
    }

    Resources resources = Resources::inFolders({HUELINX_DATA_DIR}, ".");
    Session session{resources};
};

TEST_F(ColourHistoryTest, UndoAndRedoWalkTheStepsAndANewStepForgetsTheRedo) {
    const std::string start = shown();
    EXPECT_FALSE(session.history().canUndo());
    enterNotation("5R", "4", "14");
    enterNotation("5B", "6", "4");
    // Text typed and not entered is no part of a step.
    session.type(Box::Hue, "7");
    int heard = 0, historyHeard = 0;
    Connection listener = session.colourChanged.connect([&](const ColourChange& c) {
        ++heard;
        EXPECT_EQ(c.what, Change::Entry);
        EXPECT_EQ(c.origin, nullptr);
        // The hue and value pages and the tolerance set follow it.
        EXPECT_TRUE(c.colour.munsellConverted);
        EXPECT_TRUE(c.colour.labShown.has_value());
    });
    Connection history = session.historyChanged.connect([&] { ++historyHeard; });
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), "5R 4/14");
    EXPECT_EQ(session.colour().box, munsell("5R", "4", "14").box) << "boxes as entered";
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), start);
    EXPECT_FALSE(session.undo());
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(shown(), "5R 4/14");
    EXPECT_EQ(heard, 3);
    EXPECT_EQ(historyHeard, 3);
    EXPECT_TRUE(session.history().canRedo());
    listener.reset();
    enterNotation("N", "5", "0");
    EXPECT_FALSE(session.history().canRedo());
    EXPECT_FALSE(session.redo());
    EXPECT_EQ(recent(), (std::vector<std::string>{"N 5/", "5R 4/14", start, "5B 6/4"}));
    // A colour of the list is a new step.
    ASSERT_TRUE(session.bringBack(3));
    EXPECT_EQ(shown(), "5B 6/4");
    EXPECT_EQ(recent().front(), "5B 6/4");
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), "N 5/");
    EXPECT_FALSE(session.bringBack(10));
}

TEST_F(ColourHistoryTest, ASliderDragIsOneStepAndSettingsRefusalsAndSameTextsAreNone) {
    const std::string start = shown();
    enterNotation("5R", "4", "14");
    for (int position : {20, 21, 22})
        session.setColour(moveSlider(session.colour(), Slider::Chroma, position, resources.table()),
                          Change::Slider);
    const std::string dragged = shown();
    EXPECT_EQ(recent(), (std::vector<std::string>{dragged, "5R 4/14", start}))
        << "one row per drag";
    // Another change between two drags ends the first.
    session.setColour(selectIlluminant(session.colour(), Illuminant::C, resources.table()),
                      Change::Settings);
    session.setColour(moveSlider(session.colour(), Slider::Value, 10, resources.table()),
                      Change::Slider);
    // Refusals and entries that show the same texts are no steps.
    const ColourModel refused = munsell("5R", "11", "4");
    ASSERT_TRUE(refused.outcome.has(Outcome::OutOfMunsellRange));
    session.setColour(refused, Change::Entry);
    session.setColour(session.colour(), Change::Entry);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), dragged);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), "5R 4/14");
    // Reads under the moving pointer are a run too; a slider after them is
    // a step of its own.
    session.setColour(munsell("5Y", "8", "6"), Change::Hover);
    session.setColour(munsell("5Y", "8", "8"), Change::Hover);
    session.setColour(moveSlider(session.colour(), Slider::Chroma, 4, resources.table()),
                      Change::Slider);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), "5Y 8/8");
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(shown(), "5R 4/14");
}

TEST_F(ColourHistoryTest, AStepMadeUnderOtherSettingsComesBackConvertedUnderTheCurrentOnes) {
    enterNotation("5R", "4", "14");
    enterNotation("5B", "6", "4");
    session.setColour(selectIlluminant(session.colour(), Illuminant::D65, resources.table()),
                      Change::Settings);
    session.keep(setPwd(session.colour(), true));
    const auto shownBefore = session.colour().box;
    ASSERT_TRUE(session.undo());
    const ColourModel expected = munsell("5R", "4", "14");
    EXPECT_EQ(session.colour().settings.illuminant, Illuminant::D65);
    EXPECT_TRUE(session.colour().settings.pwd);
    EXPECT_EQ(session.colour().box, expected.box);
    // Redo gives what was shown before the undo, under the same settings.
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(session.colour().box, shownBefore);
}

TEST_F(ColourHistoryTest, AHundredStepsAndTenColoursAreKept) {
    for (int i = 0; i < 120; ++i)
        enterNotation(std::to_string(i % 10 + 1) + "R", std::to_string(i / 10 % 8 + 2), "2");
    EXPECT_EQ(recent().size(), ColourHistory::recentLimit);
    EXPECT_EQ(recent().front(), "10R 5/2");
    int undone = 0;
    while (session.undo())
        ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(shown(), "10R 3/2") << "the colour 100 steps back";
    // Colours met again move to the front, each listed once.
    enterNotation("5R", "4", "14");
    enterNotation("1R", "3", "2");
    const auto labels = recent();
    EXPECT_EQ(labels.front(), "1R 3/2");
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "1R 3/2"), 1);
    EXPECT_EQ(labels.size(), ColourHistory::recentLimit);
}

} // namespace
} // namespace huelinx
