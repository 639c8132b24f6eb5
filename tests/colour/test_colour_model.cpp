// The colour model: entries checked against the boxes written out in full.
// Refusals, sliders, gamma, white balance and swatch clicks are tested through
// the main window (tests/mainwindow), which calls the same functions.
#include "colour/colour_model.h"
#include "colour/mun2xyz.h"
#include "table_fixture.h"
#include "text/number_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace huelinx {

// Outcomes by name in a failed expectation.
void PrintTo(const EntryOutcome& outcome, std::ostream* out) {
    static const std::pair<Outcome, const char*> names[] = {
        {Outcome::Refused, "refused"},
        {Outcome::FormatError, "format error"},
        {Outcome::OutOfMunsellRange, "out of Munsell range"},
        {Outcome::OutsideData, "outside data"},
        {Outcome::NoNotation, "no notation"},
        {Outcome::OutOfDisplayRange, "out of display range"}};
    *out << "{";
    for (const auto& [o, name] : names)
        if (outcome.has(o)) *out << " " << name;
    *out << " }";
}

namespace {

using testing::renotationTable;

// The eighteen boxes joined by commas, as the converter prints them.
std::string row(const ColourModel& colour) {
    std::string text;
    for (const std::string& box : colour.box)
        text += (text.empty() ? "" : ",") + box;
    return text;
}

ColourModel started() {
    return selectIlluminant(ColourModel::initial(), Illuminant::C, renotationTable());
}

ColourModel typed(ColourModel colour, Notation notation, std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* text : texts)
        colour = edit(std::move(colour),
                      static_cast<Box>(static_cast<int>(firstBox(notation)) + i++), text);
    return colour;
}

ColourModel entered(Notation notation, std::initializer_list<const char*> texts,
                    ColourModel colour = started()) {
    return enter(typed(std::move(colour), notation, texts), notation, renotationTable());
}

TEST(ColourModel, StartUpShowsTheInitialNotationInEveryNotation) {
    const ColourModel colour = started();
    EXPECT_EQ(row(colour), "6.4Y,8.6,10.4,65.10,70.37,15.75,0.4305,0.4654,87.18,-8.59,75.75,"
                           "242,219,62,5,14,75,0");
    EXPECT_EQ(colour.slider, (std::array<int, 6>{53, 17, 10, 242, 219, 62}));
    EXPECT_EQ(colour.red, 242);
    EXPECT_TRUE(colour.munsellConverted);
    EXPECT_TRUE(colour.messages.empty());
}

TEST(ColourModel, BlackFromEveryNotationIsNZero) {
    const ColourModel xyz = entered(Notation::Xyz, {"0", "0", "0"});
    const ColourModel rgb = entered(Notation::Rgb, {"0", "0", "0"});
    const ColourModel cmyk = entered(Notation::Cmyk, {"0", "0", "0", "100"});
    const ColourModel xy = entered(Notation::Chromaticity, {"0.4", "0.3"},
                                   typed(started(), Notation::Xyz, {"", "0", ""}));
    for (const ColourModel* c : {&xyz, &rgb, &cmyk, &xy}) {
        EXPECT_EQ((*c)[Box::Hue] + " " + (*c)[Box::Value] + "/" + (*c)[Box::Chroma], "N 0.00/0.00");
        EXPECT_EQ(c->red + c->green + c->blue, 0);
        EXPECT_FALSE(c->rgbOutOfRange);
        EXPECT_FALSE(c->outsideData);
        EXPECT_TRUE(c->messages.empty());
    }
    EXPECT_EQ(xyz[Box::A] + " " + xyz[Box::B], ".00 .00");
    // And N 0/ entered is black again, not "Out of Munsell Range".
    const ColourModel n0 = entered(Notation::Munsell, {"N", "0", "0"});
    EXPECT_TRUE(n0.messages.empty());
    EXPECT_EQ(n0[Box::X] + " " + n0[Box::Y] + " " + n0[Box::Z], "0.00 0.00 0.00");
    EXPECT_EQ(n0.red + n0.green + n0.blue, 0);
    EXPECT_FALSE(n0.rgbOutOfRange);
}

TEST(ColourModel, GreysAreNeutralInEveryNotationAndUnderEveryIlluminant) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65})
        for (const char* hue : {"N", "N5/", "5R", "n 5"}) {
            const ColourModel grey =
                entered(Notation::Munsell, {hue, "5", "0"},
                        selectIlluminant(ColourModel::initial(), ill, renotationTable()));
            EXPECT_TRUE(grey.messages.empty()) << hue;
            EXPECT_EQ(grey[Box::A] + " " + grey[Box::B], ".00 .00") << hue;
            EXPECT_EQ(grey.red, grey.green) << hue;
            EXPECT_EQ(grey.green, grey.blue) << hue;
            // Converted back from X, Y, Z (read as illuminant-C values) it
            // is N again.
            if (ill != Illuminant::C) continue;
            const ColourModel back = enter(grey, Notation::Xyz, renotationTable());
            EXPECT_EQ(back[Box::Hue], "N") << hue;
            EXPECT_EQ(back[Box::Chroma], "0.00") << hue;
        }
}

TEST(ColourModel, AReadingConvertsAtFullPrecisionThoughItsBoxesShowTwoDecimals) {
    // 5YR 1/6 of the data, as an instrument might read it.
    const float Y = 1.2101314f, X = 0.656f * Y / 0.384f, Z = (1 - 0.656f - 0.384f) * Y / 0.384f;
    const ColourModel read = enterXyzValues(started(), {X, Y, Z}, renotationTable());
    EXPECT_EQ(read[Box::X] + " " + read[Box::Y] + " " + read[Box::Z], "2.07 1.21 -.13");
    EXPECT_EQ(read[Box::Hue] + " " + read[Box::Value] + "/" + read[Box::Chroma],
              "5.00YR 1.00/6.00");
    // The same boxes entered as typed give the notation of their rounded text.
    const ColourModel typedIn = enter(read, Notation::Xyz, renotationTable());
    EXPECT_NE(typedIn[Box::Chroma], "6.00");
}

TEST(ColourModel, AColourOutsideTheDataLeavesHueAndChromaEmpty) {
    const ColourModel outside = entered(Notation::Xyz, {"5", "10", "90"});
    EXPECT_TRUE(outside.outsideData);
    EXPECT_EQ(outside[Box::Hue], "");
    EXPECT_EQ(outside[Box::Chroma], "");
    EXPECT_EQ(outside[Box::Value], "3.68");
    // A colour inside again fills them.
    const ColourModel inside = entered(Notation::Xyz, {"20", "20", "20"}, outside);
    EXPECT_FALSE(inside.outsideData);
    EXPECT_NE(inside[Box::Hue], "");
}

// X, Y, Z of some light whose sum is not above 0 have no chromaticity: typed
// in any notation the entry is refused and every box but the typed ones keeps
// the colour before; read from a file, the notation is left empty, never the
// notation of the colour before.
TEST(ColourModel, LightWithoutChromaticityHasNoNotation) {
    struct Case {
        Notation notation;
        std::initializer_list<const char*> texts;
        const char* message;
    };
    const ColourModel before = started();
    for (const Case& c :
         {Case{Notation::Xyz, {"-50", "10", "-50"}, "X + Y + Z needs to be above 0."},
          Case{Notation::Xyz, {"-5", "5", "0"}, "X + Y + Z needs to be above 0."},
          Case{Notation::Chromaticity, {"0.3", "-0.2"}, "y needs a number above 0."},
          Case{Notation::Lab,
               {"10", "0", "500"},
               "L*, a*, b* give no colour: X + Y + Z is not above 0."}}) {
        const ColourModel typedIn = typed(before, c.notation, c.texts);
        const ColourModel refused = enter(typedIn, c.notation, renotationTable());
        EXPECT_EQ(refused.outcome, EntryOutcome{Outcome::Refused}) << c.message;
        EXPECT_EQ(refused.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(row(refused), row(typedIn)) << c.message;
        EXPECT_EQ(refused.slider, before.slider);
    }
    // Y of 0 or less is black, as before, whatever X and Z are.
    EXPECT_EQ(entered(Notation::Xyz, {"-50", "0", "-50"})[Box::Hue], "N");

    const ColourModel read = enterXyzValues(before, {-50, 10, -50}, renotationTable());
    for (Box box : {Box::Hue, Box::Value, Box::Chroma, Box::SmallX, Box::SmallY})
        EXPECT_EQ(read[box], "") << static_cast<int>(box);
    EXPECT_EQ(read[Box::X] + " " + read[Box::Y] + " " + read[Box::Z], "-50.00 10.00 -50.00");
    EXPECT_EQ(read.messages.back(), "No Munsell notation: X + Y + Z is not above 0");
}

// Each entry says what it came to beside the model; callers decide by it, not
// by the messages. The outcome is the change's alone: a refusal after a colour
// outside the data is a refusal only.
TEST(ColourModel, EveryEntrySaysWhatItCameTo) {
    using O = Outcome;
    const ColourModel outside = entered(Notation::Xyz, {"5", "10", "90"});
    struct Case {
        Notation notation;
        std::initializer_list<const char*> texts;
        EntryOutcome expected;
        ColourModel before;
    };
    const Case cases[] = {
        {Notation::Munsell, {"5R", "5", "10"}, {}, started()},
        {Notation::Munsell, {"X", "5", "10"}, {O::FormatError}, started()},
        {Notation::Munsell, {"5X", "5", "10"}, {O::FormatError, O::OutOfMunsellRange}, started()},
        {Notation::Munsell, {"nanR", "5", "10"}, {O::FormatError}, started()},
        {Notation::Munsell, {"-infYR", "5", "10"}, {O::FormatError}, started()},
        {Notation::Munsell, {"5R", "11", "10"}, {O::OutOfMunsellRange}, started()},
        {Notation::Munsell, {"5R", "5", "ten"}, {O::OutOfMunsellRange}, started()},
        {Notation::Munsell, {"5G", "2", "30"}, {O::OutsideData}, started()},
        {Notation::Munsell, {"5R", "5", "20"}, {O::OutOfDisplayRange}, started()},
        {Notation::Xyz, {"20", "20", "20"}, {}, started()},
        {Notation::Xyz, {"20", "30", "40"}, {O::OutOfDisplayRange}, started()},
        {Notation::Xyz, {"5", "10", "90"}, {O::OutsideData, O::OutOfDisplayRange}, started()},
        // The X, Y, Z 2.5R 1/12 shows: the data hold it at value 1 but not at 1.0003.
        {Notation::Xyz,
         {"3.82", "1.21", "2.13"},
         {O::OutsideData, O::OutOfDisplayRange},
         started()},
        {Notation::Xyz, {"20", "blue", "20"}, {O::Refused}, outside},
        {Notation::Xyz, {"-50", "10", "-50"}, {O::Refused}, started()},
        {Notation::Chromaticity, {"0.3", "0"}, {O::Refused}, started()},
        {Notation::Lab, {"50", "0", "0"}, {}, outside},
        {Notation::Lab, {"-20", "0", "0"}, {O::Refused}, started()},
        {Notation::Rgb, {"300", "-5", "12.5"}, {}, started()},
        {Notation::Cmyk, {"10", "20", "30", "0"}, {}, started()},
        {Notation::Cmyk, {"10", "20", "1e39", "0"}, {O::Refused}, started()},
    };
    for (const Case& c : cases) {
        const ColourModel after = entered(c.notation, c.texts, c.before);
        EXPECT_EQ(after.outcome, c.expected) << *c.texts.begin() << " " << *(c.texts.end() - 1);
        // A change that is forgotten leaves no outcome for the next reader.
        ColourModel shown = after;
        shown.forgetChange();
        EXPECT_TRUE(shown.outcome.empty());
    }
    // Values read that have no notation, and the display can't show either.
    EXPECT_EQ(enterXyzValues(started(), {-50, 10, -50}, renotationTable()).outcome,
              (EntryOutcome{O::NoNotation, O::OutOfDisplayRange}));
    EXPECT_EQ(enterXyzValues(started(), {20, 20, 20}, renotationTable()).outcome, EntryOutcome{});
    // A slider past the data's last chroma converts the notation as an entry does.
    EXPECT_TRUE(moveSlider(entered(Notation::Munsell, {"5G", "2", "10"}), Slider::Chroma, 40,
                           renotationTable())
                    .outcome.has(O::OutsideData));
}

TEST(ColourModel, EachNotationConvertsToAllOthers) {
    EXPECT_EQ(
        row(entered(Notation::Rgb, {"300", "-5", "12.5"})),
        "7.51R,5.16,21.02,42.58,21.28,2.22,.6444,.3220,53.25,80.12,66.21,255,0,12,0,100,95,0");
    // Illuminant C's white is a grey: N, chroma 0, no a* or b*. The table's
    // four-decimal white lies a hundredth of a chroma step off it.
    const std::string grey = row(entered(Notation::Chromaticity, {"0.310061", "0.316150"},
                                         typed(started(), Notation::Xyz, {"", "50", ""})));
    EXPECT_EQ(grey, "N,7.46,0.00,49.04,50,59.12,.3101,.3162,76.07,.00,.00,186,186,186,20,20,20,7");
    const std::string fourDecimals = row(entered(Notation::Chromaticity, {"0.3101", "0.3163"},
                                                 typed(started(), Notation::Xyz, {"", "50", ""})));
    EXPECT_EQ(fourDecimals.substr(fourDecimals.find(',') + 1, 10), "7.46,0.01,");
    // x, y and Y convert at full precision, not as the two decimals of the X
    // and Z boxes: 5YR 1/6 of the data comes back as itself.
    const ColourModel dark = entered(Notation::Chromaticity, {"0.656", "0.384"},
                                     typed(started(), Notation::Xyz, {"", "1.2101314", ""}));
    EXPECT_EQ(dark[Box::Hue] + " " + dark[Box::Value] + "/" + dark[Box::Chroma],
              "5.00YR 1.00/6.00");
    EXPECT_EQ(dark[Box::X] + " " + dark[Box::Z], "2.07 -.13");
    EXPECT_EQ(
        row(entered(Notation::Cmyk, {"10", "20", "30", "0"})),
        "7.35YR,8.27,2.70,64.83,63.93,56.66,.3496,.3448,83.93,4.82,15.78,229,204,178,10,20,30,0");
    const ColourModel munsell = entered(Notation::Munsell, {"5R", "5", "10"});
    EXPECT_EQ(row(munsell), "5R,5,10,29.08,19.77,12.41,0.4747,0.3227,51.57,42.14,22.16,"
                            "195,91,88,20,60,61,3");
    ASSERT_TRUE(munsell.labShown);
    EXPECT_NEAR(munsell.labShown->L, 51.5718f, 1e-4f);

    // L*a*b* under D65 are relative to the D65 white, and the X, Y, Z shown
    // are D65 values too.
    ColourModel d65 = selectIlluminant(started(), Illuminant::D65, renotationTable());
    EXPECT_EQ(row(entered(Notation::Lab, {"50", "20", "-30"}, d65)).substr(0, 60),
              "1.24P,4.86,8.22,21.41,18.42,39.88,.2686,.2311,50,20,-30,126,");
}

TEST(ColourModel, AColourTheDisplayCantShowIsZeroedAndLabelled) {
    const ColourModel colour = entered(Notation::Xyz, {"20", "30", "40"});
    EXPECT_EQ(row(colour),
              "4.76BG,6.00,8.22,20,30,40,.2222,.3333,61.65,-40.41,-5.47,0,0,0,85,20,24,14");
    EXPECT_TRUE(colour.rgbOutOfRange);
    EXPECT_TRUE(colour.outOfRangeShown);
    // Inks and display levels entered next say whether the display shows
    // them: the label of the colour before doesn't stay.
    const ColourModel cmyk = entered(Notation::Cmyk, {"0", "0", "0", "0"}, colour);
    EXPECT_EQ(row(cmyk).substr(0, 80).find(",255,255,255,") != std::string::npos, true);
    EXPECT_FALSE(cmyk.outOfRangeShown);
    EXPECT_FALSE(cmyk.rgbOutOfRange);
    const ColourModel rgb = entered(Notation::Rgb, {"10", "20", "30"}, colour);
    EXPECT_FALSE(rgb.outOfRangeShown);
    EXPECT_FALSE(rgb.rgbOutOfRange);
}

// A colour the data hold at one level around its value only has no notation:
// that level's notation is another colour.
TEST(ColourModel, AColourInTheDataAtOneLevelOnlyIsOutsideTheData) {
    const ColourModel outside = entered(Notation::Xyz, {"3.82", "1.21", "2.13"});
    EXPECT_EQ(outside[Box::Hue] + " " + outside[Box::Value] + "/" + outside[Box::Chroma], " 1.00/");
    EXPECT_TRUE(outside.outsideData);
    EXPECT_TRUE(std::isnan(outside.exactOf(Box::Hue)));
    EXPECT_TRUE(std::isnan(outside.exactOf(Box::Chroma)));
}

// Values below the value slider's first place (0.5) are shown as they are,
// and the slider stays at its first place; black stays N 0.00/.
TEST(ColourModel, ValuesBelowHalfAreShownAsTheyAre) {
    for (float value : {0.1f, 0.3f}) {
        const CieOfMunsell cie = mun2xyz(75.0f, value, 4.0f, renotationTable(), {});
        ASSERT_EQ(cie.status, MunsellToCie::Ok) << value;
        const ColourModel read = enterXyzValues(started(), singleXyz(cie), renotationTable());
        EXPECT_EQ(read[Box::Hue] + " " + read[Box::Value] + "/" + read[Box::Chroma],
                  value < 0.2f ? "5.00PB 0.10/4.00" : "5.00PB 0.30/4.00");
        EXPECT_EQ(read.position(Slider::Value), sliderMinimum(Slider::Value));
        EXPECT_NEAR(read.exactOf(Box::Value), value, 1e-4) << value;
        // The notation shown, entered, is the same colour.
        const ColourModel again = enter(read, Notation::Munsell, renotationTable());
        for (Box box : {Box::X, Box::Y, Box::Z})
            EXPECT_NEAR(strictNumber(again[box]).value_or(-1), strictNumber(read[box]).value_or(1),
                        0.011)
                << value;
    }
    const ColourModel black = enterXyzValues(started(), {0, 0, 0}, renotationTable());
    EXPECT_EQ(black[Box::Hue] + " " + black[Box::Value] + "/", "N 0.00/");
}

// The distance between two hues on the circle.
double hueApart(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 100.0 - d);
}

// Every box means a value under the illuminant selected: the X, Y, Z a
// notation shows, searched again at full precision, give that notation back.
TEST(ColourModel, TheShownTristimulusGivesItsNotationBackUnderEveryIlluminant) {
    const MunTable& table = renotationTable();
    for (Illuminant illuminant : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        ColourSettings s;
        s.illuminant = illuminant;
        std::mt19937 rng(25);
        std::uniform_real_distribution<double> hue(0.0, 100.0), value(0.2, 9.8), chroma(0.5, 24.0);
        int tried = 0, back = 0;
        while (tried < 1000) {
            const double H = hue(rng), V = value(rng), C = chroma(rng);
            const CieOfMunsell cie = mun2xyz(H, V, C, table, s);
            if (cie.status != MunsellToCie::Ok) continue;
            ++tried;
            const MunsellOfXyz m = munsellOfXyz(cie.X, cie.Y, cie.Z, table, s);
            back += m.fit == MunsellFit::InData && hueApart(m.H, H) <= 0.01 &&
                    std::fabs(m.V - V) <= 0.01 && std::fabs(m.C - C) <= 0.01;
        }
        EXPECT_EQ(back, 1000) << "illuminant " << static_cast<int>(illuminant);
    }
}

// A reading (X, Y, Z under C) under D65 shows what its notation shows: the
// boxes hold D65 values, and the notation is the reading's.
TEST(ColourModel, AReadingUnderD65ShowsWhatItsNotationShows) {
    const ColourModel d65 = selectIlluminant(started(), Illuminant::D65, renotationTable());
    const ColourModel notation = entered(Notation::Munsell, {"5R", "4", "14"}, d65);
    const CieOfMunsell underC = mun2xyz(5.0f, 4.0f, 14.0f, renotationTable(), {});
    const ColourModel read = enterXyzValues(d65, singleXyz(underC), renotationTable());
    EXPECT_EQ(read[Box::Hue] + " " + read[Box::Value] + "/" + read[Box::Chroma],
              "5.00R 4.00/14.00");
    for (Box box : {Box::X, Box::Y, Box::Z, Box::SmallX, Box::SmallY, Box::L, Box::A, Box::B,
                    Box::Red, Box::Green, Box::Blue})
        EXPECT_NEAR(strictNumber(read[box]).value_or(-1e9),
                    strictNumber(notation[box]).value_or(1e9), 1e-9)
            << static_cast<int>(box);
}

TEST(ColourModel, AQuietDisplayComputesTheColourButLeavesItsBoxes) {
    ColourModel quiet = started();
    quiet.quietDisplay = true;
    const ColourModel after = entered(Notation::Munsell, {"5R", "5", "10"}, quiet);
    EXPECT_EQ(after[Box::X], "29.08");
    EXPECT_EQ(after[Box::Red], "242");
    EXPECT_EQ(after.red, 195);
    EXPECT_EQ(after.position(Slider::Red), 242);
}

// The settings a caller without boxes takes are those the window has after
// start-up with the same choices, gamma texts that round, repeat 2.2 or are
// refused among them.
TEST(ColourModel, StartedSettingsAreThoseOfTheStartedWindow) {
    const auto same = [](const ColourSettings& a, const ColourSettings& b) {
        return a.illuminant == b.illuminant && a.pwd == b.pwd && a.channelScale == b.channelScale &&
               a.gammaInv == b.gammaInv && a.cmyExponent == b.cmyExponent;
    };
    for (Illuminant illuminant : {Illuminant::C, Illuminant::D5000, Illuminant::D65})
        for (bool pwd : {false, true})
            for (std::optional<int> balance : {std::optional<int>{}, std::optional<int>{50},
                                               std::optional<int>{83}, std::optional<int>{100}})
                for (const char* gamma :
                     {"", "2.2", "2.20", "2.24", "1.85", "1.75", "1", "3", "3.1", "0.9", "x"}) {
                    const ColourModel window =
                        startedWindow(renotationTable(), illuminant, pwd, balance, gamma);
                    EXPECT_TRUE(
                        same(startedSettings(illuminant, pwd, balance, gamma), window.settings))
                        << static_cast<int>(illuminant) << " " << pwd << " " << balance.value_or(-1)
                        << " " << gamma;
                }
    // The settings differ where the choices do.
    EXPECT_FALSE(same(startedSettings(Illuminant::C, false, 80, "1.8"),
                      startedSettings(Illuminant::C, false, 100, "1.8")));
    EXPECT_FALSE(same(startedSettings(Illuminant::C, false, 80, "1.8"),
                      startedSettings(Illuminant::C, false, 80, "1.9")));
}

} // namespace
} // namespace huelinx
