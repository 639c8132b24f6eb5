#include "colour/chip_set.h"
#include "colour/colour_naming.h"
#include "colour/mun2xyz.h"
#include "table_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace huelinx {
namespace {

using testing::renotationTable;

ChipSet realChips() {
    auto load = renotationRealChips(testing::dataFile("munsell-renotation-real.csv"), "real");
    if (!load.value) throw std::runtime_error(load.message);
    return std::move(*load.value);
}

ColourSettings settingsOf(Illuminant illuminant, bool pwd = false) {
    ColourSettings s;
    s.illuminant = illuminant;
    s.pwd = pwd;
    return s;
}

// Colours spread over and beyond the chips: uniformly in a box around the
// solid, and close to a chip (within a few units, or exactly on it).
std::vector<Lab> randomColours(ChipSearch& search, const ColourSettings& s, int count,
                               unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> lightness(-5, 105), axis(-90, 90), nearby(-4, 4);
    std::uniform_int_distribution<std::size_t> chip(0, search.set().chips.size() - 1);
    std::vector<Lab> colours;
    for (int i = 0; i < count; ++i) {
        if (i % 3 == 0) {
            colours.push_back({lightness(rng), axis(rng), axis(rng)});
            continue;
        }
        Lab c = search.chipLab(chip(rng), s);
        if (i % 30 != 1) c = {c.L + nearby(rng), c.a + nearby(rng), c.b + nearby(rng)};
        colours.push_back(c);
    }
    return colours;
}

void expectSameAsEveryChip(ChipSearch& search, const ColourSettings& s, int count, unsigned seed) {
    int mismatches = 0;
    for (const Lab& c : randomColours(search, s, count, seed)) {
        const auto fast = search.nearestIndex(c, s);
        const auto all = search.nearestIndexByAllChips(c, s);
        ASSERT_TRUE(fast && all);
        if (fast->index != all->index || fast->de00 != all->de00) {
            if (++mismatches <= 5)
                ADD_FAILURE() << "L*a*b* " << c.L << ", " << c.a << ", " << c.b << ": chip "
                              << fast->index << " (" << fast->de00 << ") against chip "
                              << all->index << " (" << all->de00 << ")";
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The comparison with every chip takes most of a minute for 100,000 colours;
// the sanitized build, several times slower, checks a tenth of them.
#if defined(__SANITIZE_ADDRESS__)
constexpr int agreementColours = 10000;
#else
constexpr int agreementColours = 100000;
#endif

TEST(NearestChip, SearchAgreesWithComparingEveryRealChip) {
    ChipSearch real(realChips(), renotationTable());
    expectSameAsEveryChip(real, settingsOf(Illuminant::C), agreementColours, 1);
}

TEST(NearestChip, SearchAgreesWithComparingEveryChipUnderOtherSettings) {
    ChipSearch real(realChips(), renotationTable());
    expectSameAsEveryChip(real, settingsOf(Illuminant::D65, true), 10000, 2);
    ChipSearch soil(soilChips(renotationTable()), renotationTable());
    expectSameAsEveryChip(soil, settingsOf(Illuminant::D5000), 20000, 3);
}

// CIE 1976 L*a*b* as the CIE defines it, written out here as the reference
// the chips are compared with.
Lab cieLab(double X, double Y, double Z, const Tristimulus& w) {
    const auto f = [](double t) {
        return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16) / 116;
    };
    const double fx = f(X / w.X), fy = f(Y / w.Y), fz = f(Z / w.Z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Every chip's L*a*b* is its colour's CIE L*a*b*, the darkest chips with an
// X or Z near 0 included, so that the nearest chip found is the one a
// comparison by the CIE formulas finds.
TEST(NearestChip, ChipsHaveTheCieLabOfTheirColours) {
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const ColourSettings s = settingsOf(ill);
        ChipSearch soil(soilChips(renotationTable()), renotationTable());
        int wrong = 0;
        for (std::size_t i = 0; i < soil.set().chips.size(); ++i) {
            const Chip& chip = soil.set().chips[i];
            const CieOfMunsell cie =
                mun2xyz(chip.hue, chip.value, chip.chroma, renotationTable(), s);
            if (cie.status != MunsellToCie::Ok) continue;
            const Lab want = cieLab(cie.X, cie.Y, cie.Z, whiteOf(ill));
            const Lab& got = soil.chipLab(i, s);
            const bool same = std::abs(got.L - want.L) < 2e-4 && std::abs(got.a - want.a) < 2e-4 &&
                              std::abs(got.b - want.b) < 2e-4;
            if (!same && ++wrong <= 3)
                ADD_FAILURE() << chip.notation << ": " << got.L << " " << got.a << " " << got.b
                              << " against " << want.L << " " << want.a << " " << want.b;
        }
        EXPECT_EQ(wrong, 0) << "illuminant " << static_cast<int>(ill);
    }
}

TEST(NearestChip, TiesGoToTheFirstChip) {
    ChipSet set{"twins", {}};
    for (const char* text : {"5R 4/8", "5Y 8/4", "5R 4/8", "5Y 8/4"})
        set.chips.push_back(*readChipNotation(text));
    set.chips[2].label = "second";
    ChipSearch search(std::move(set), renotationTable());
    const ColourSettings s;
    for (std::size_t i : {0u, 1u, 2u, 3u}) {
        const auto found = search.nearestIndex(search.chipLab(i, s), s);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->index, i % 2);
        EXPECT_EQ(found->de00, 0.0);
    }
    // A colour halfway between two chips of equal lightness.
    ChipSet pair{"pair", {*readChipNotation("N 5/"), *readChipNotation("N 5/")}};
    ChipSearch greys(std::move(pair), renotationTable());
    EXPECT_EQ(greys.nearestIndex({60, 0, 0}, s)->index, 0u);
}

TEST(NearestChip, ReportsTheChipAndTheMunsellSteps) {
    ChipSearch soil(soilChips(renotationTable()), renotationTable());
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const auto exact = soil.nearestToNotation({15, 4, 6, false}, settingsOf(ill));
        ASSERT_TRUE(exact);
        EXPECT_EQ(exact->notation, "5YR 4/6");
        EXPECT_EQ(exact->de00, 0.0);
        EXPECT_TRUE(exact->withinLimit);
        EXPECT_EQ(exact->steps.dH, 0.0f);
    }
    const auto near = soil.nearestToNotation({16, 4.2f, 5.5f, false}, ColourSettings{});
    ASSERT_TRUE(near);
    EXPECT_EQ(near->notation, "5YR 4/6");
    EXPECT_GT(near->de00, 0.0);
    EXPECT_NEAR(near->steps.dH, 1.0f, 1e-5);
    EXPECT_NEAR(near->steps.dV, 0.2f, 1e-6);
    EXPECT_NEAR(near->steps.dC, -0.5f, 1e-6);

    const auto grey = soil.nearestToNotation({0, 6.1f, 0, true}, ColourSettings{});
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->notation, "N 6/");
    EXPECT_EQ(grey->steps.dH, 0.0f);
    // Far from every chip of the set: a saturated blue.
    const auto blue = soil.nearestToNotation({75, 4, 16, false}, ColourSettings{});
    ASSERT_TRUE(blue);
    EXPECT_FALSE(blue->withinLimit);
    EXPECT_GT(blue->de00, chipMatchLimit);
}

TEST(NearestChip, AGreyFindsItsNeutralChipAmongTheRealColours) {
    ChipSearch real(realChips(), renotationTable());
    for (Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const auto exact = real.nearestToNotation({0, 5, 0, true}, settingsOf(ill));
        ASSERT_TRUE(exact);
        EXPECT_EQ(exact->notation, "N 5/");
        EXPECT_EQ(exact->de00, 0.0);
        EXPECT_TRUE(exact->withinLimit);
    }
    // A grey between two values, and the palest grey, a step beyond N 9/.
    const auto between = real.nearestToNotation({0, 3.4f, 0, true}, ColourSettings{});
    ASSERT_TRUE(between);
    EXPECT_EQ(between->notation, "N 3/");
    EXPECT_NEAR(between->steps.dV, 0.4f, 1e-6);
    EXPECT_TRUE(between->withinLimit);
    const auto pale = real.nearestToNotation({0, 9.6f, 0, true}, ColourSettings{});
    ASSERT_TRUE(pale);
    EXPECT_EQ(pale->notation, "N 9.5/");
}

TEST(NearestChip, HueStepsGoTheShortWayRound) {
    const Chip redPurple = *readChipNotation("10RP 5/4"); // hue 0
    const Chip red = *readChipNotation("2.5R 5/4");       // hue 2.5
    EXPECT_FLOAT_EQ(munsellSteps({2.5f, 5, 4, false}, redPurple).dH, 2.5f);
    EXPECT_FLOAT_EQ(munsellSteps({99, 5, 4, false}, red).dH, -3.5f);
    EXPECT_FLOAT_EQ(munsellSteps({97.5f, 5, 4, false}, red).dH, -5.0f);
    EXPECT_FLOAT_EQ(munsellSteps({52.5f, 5, 4, false}, red).dH, 50.0f);
    // Neutral on either side, or no chroma: no hue difference.
    EXPECT_EQ(munsellSteps({40, 5, 4, false}, *readChipNotation("N 5/")).dH, 0.0f);
    EXPECT_EQ(munsellSteps({40, 5, 0, true}, red).dH, 0.0f);
    EXPECT_EQ(munsellSteps({40, 5, 0, false}, red).dH, 0.0f);
    const MunsellSteps steps = munsellSteps({0, 6.5f, 0, true}, red);
    EXPECT_FLOAT_EQ(steps.dV, 1.5f);
    EXPECT_FLOAT_EQ(steps.dC, -4.0f);
}

TEST(NearestChip, NothingToFind) {
    ChipSearch empty(ChipSet{"empty", {}}, renotationTable());
    EXPECT_FALSE(empty.nearestIndex({50, 0, 0}, {}));
    ChipSearch soil(soilChips(renotationTable()), renotationTable());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(soil.nearestIndex({nan, 0, 0}, {}));
    EXPECT_FALSE(soil.nearestIndex({50, inf, 0}, {}));
    EXPECT_FALSE(soil.nearestIndexByAllChips({50, 0, -inf}, {}));
    // A notation outside the data has no L*a*b* to search with.
    EXPECT_FALSE(soil.nearestToNotation({5, 5, 50, false}, {}));
    // Far outside the solid, the search still finds the chip comparing all would.
    for (const Lab c : {Lab{1e6, 0, 0}, Lab{-1e6, 3e5, -2e5}, Lab{50, 1e8, 1e8}}) {
        const auto fast = soil.nearestIndex(c, {});
        const auto all = soil.nearestIndexByAllChips(c, {});
        ASSERT_EQ(fast.has_value(), all.has_value());
        if (fast) {
            EXPECT_EQ(fast->index, all->index);
        }
    }
}

TEST(NearestChip, ChipColoursFollowTheIlluminantAndPwd) {
    ChipSearch soil(soilChips(renotationTable()), renotationTable());
    const Lab c = soil.chipLab(0, settingsOf(Illuminant::C));
    const Lab d65 = soil.chipLab(0, settingsOf(Illuminant::D65));
    const Lab pwd = soil.chipLab(0, settingsOf(Illuminant::C, true));
    EXPECT_NE(c.a, d65.a);
    EXPECT_NE(c.L, pwd.L);
    const auto expected =
        labOfMunsell(soil.set().chips[0].hue, soil.set().chips[0].value, soil.set().chips[0].chroma,
                     renotationTable(), settingsOf(Illuminant::D65));
    ASSERT_TRUE(expected);
    EXPECT_EQ(d65.L, expected->L);
    EXPECT_EQ(d65.b, expected->b);
    // Each setting keeps its own colours.
    EXPECT_EQ(soil.chipLab(0, settingsOf(Illuminant::C)).a, c.a);
}

TEST(NearestChip, TextsForTheWindowRoundStepsWithoutANegativeZero) {
    NearestChip chip{3, "10YR 5/3", "page 12", 2.284, {-0.004f, 0.2f, -1.256f}, true};
    EXPECT_EQ(chipText(chip),
              "10YR 5/3 page 12  \u0394E00 2.28  (\u0394H +0.00 \u0394V +0.20 \u0394C -1.26)");
    chip.withinLimit = false;
    EXPECT_EQ(chipText(chip), "no chip within 5");
    EXPECT_EQ(chipText(std::nullopt), "");
    EXPECT_EQ(nameText(nullptr), "");
}

} // namespace
} // namespace huelinx
