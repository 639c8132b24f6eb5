#include "colour/macadam_limits.h"

#include "table_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace huelinx {
namespace {

using testing::renotationTable;

const MacAdamSolids& solids() {
    return testing::programSolids();
}

// The window after start-up with these settings, a Munsell notation entered.
ColourModel munsell(const char* hue, const char* value, const char* chroma, Illuminant ill,
                    bool pwd = false) {
    ColourModel colour = startedWindow(renotationTable(), ill, pwd, std::nullopt, "");
    colour = edit(std::move(colour), Box::Hue, hue);
    colour = edit(std::move(colour), Box::Value, value);
    colour = edit(std::move(colour), Box::Chroma, chroma);
    return enter(std::move(colour), Notation::Munsell, renotationTable());
}

ColourModel xyz(double X, double Y, double Z, Illuminant ill, bool pwd) {
    ColourModel colour = startedWindow(renotationTable(), ill, pwd, std::nullopt, "");
    colour = edit(std::move(colour), Box::X, std::to_string(X));
    colour = edit(std::move(colour), Box::Y, std::to_string(Y));
    colour = edit(std::move(colour), Box::Z, std::to_string(Z));
    return enter(std::move(colour), Notation::Xyz, renotationTable());
}

TEST(MacAdamLimits, TheWhiteOfTheValueScaleIsWithinWithAndWithoutPwd) {
    // N 10/ is Y = 102.568 without PWD: on the scale of a perfect white, 100.
    for (const Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65})
        for (const bool pwd : {false, true}) {
            const ColourModel white = munsell("N", "10", "0", ill, pwd);
            const auto check = macAdamOf(white, solids());
            ASSERT_TRUE(check) << int(ill) << pwd;
            EXPECT_TRUE(check->within) << int(ill) << pwd << " " << check->excess;
            EXPECT_GT(check->excess, -0.05) << int(ill) << pwd;
        }
    // A grey half way is deep inside.
    EXPECT_LT(macAdamOf(munsell("N", "5", "0", Illuminant::C), solids())->excess, -10);
}

TEST(MacAdamLimits, EachIlluminantIsCheckedAgainstItsOwnSolid) {
    // The perfect white of D65 (10 degrees), typed as X, Y, Z with PWD: the
    // white of the D65 solid, beyond that of C, which no surface exceeds in Y.
    const auto& d65 = solids().d65->white();
    const auto underD65 = macAdamOf(xyz(d65[0], 99.99, d65[2], Illuminant::D65, true), solids());
    ASSERT_TRUE(underD65);
    EXPECT_TRUE(underD65->within) << underD65->excess;
    const auto underC = macAdamOf(xyz(d65[0], 99.99, d65[2], Illuminant::C, true), solids());
    ASSERT_TRUE(underC);
    EXPECT_FALSE(underC->within) << underC->excess;
    // The same numbers without PWD are on the value scale: 2.5 % darker, inside.
    EXPECT_LT(macAdamOf(xyz(d65[0], 99.99, d65[2], Illuminant::C, false), solids())->excess, 0);
}

TEST(MacAdamLimits, ExtrapolatedNotationsAreBeyondAndTheNoteSaysBy) {
    // A vivid red of the renotation's extrapolated data.
    const ColourModel red = munsell("5R", "6", "24", Illuminant::C);
    ASSERT_TRUE(red.outcome.empty() || red.outcome.has(Outcome::OutOfDisplayRange));
    const auto check = macAdamOf(red, solids());
    ASSERT_TRUE(check);
    EXPECT_FALSE(check->within);
    EXPECT_GT(check->excess, 1);
    const std::string note = macAdamNote(*check);
    EXPECT_EQ(note.rfind("Beyond the MacAdam limits by ", 0), 0u) << note;
    EXPECT_NEAR(std::stod(note.substr(note.rfind(' '))), check->excess, 0.005);
    EXPECT_EQ(macAdamNote({true, -3}), "Within the MacAdam limits");
    // The limits change nothing of the conversion.
    EXPECT_EQ(red.outcome, munsell("5R", "6", "24", Illuminant::C).outcome);

    // A notation outside the data has no X, Y, Z (its boxes show zeros); X, Y,
    // Z outside the data are checked as they are.
    const ColourModel outside = munsell("5Y", "9", "40", Illuminant::C);
    ASSERT_TRUE(outside.outsideData);
    EXPECT_FALSE(macAdamOf(outside, solids()));
    const ColourModel blue = xyz(5, 10, 90, Illuminant::C, false);
    ASSERT_TRUE(blue.outsideData);
    ASSERT_TRUE(macAdamOf(blue, solids()));
    EXPECT_FALSE(macAdamOf(blue, solids())->within);
    // An entry that gives no colour has nothing to check.
    ColourModel refused = munsell("5R", "11", "4", Illuminant::C);
    ASSERT_TRUE(refused.outcome.hasAny(noNewColour));
    EXPECT_FALSE(macAdamOf(ColourModel::initial(), solids()));
    // Without the tables there are no solids.
    EXPECT_FALSE(macAdamOf(red, MacAdamSolids{}));
}

} // namespace
} // namespace huelinx
