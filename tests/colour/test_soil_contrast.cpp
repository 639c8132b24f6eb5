#include "colour/soil_contrast.h"
#include "table_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace huelinx {
namespace {

using testing::renotationTable;

MunsellColour colourOf(const Chip& chip) {
    return {static_cast<float>(chip.hue), static_cast<float>(chip.value),
            static_cast<float>(chip.chroma), chip.neutral};
}

MunsellColour notation(const std::string& text) {
    const auto chip = readChipNotation(text);
    if (!chip) throw std::runtime_error("not a notation: " + text);
    return colourOf(*chip);
}

SoilComparer& comparer() {
    static SoilComparer soil(renotationTable(), ColourSettings{});
    return soil;
}

// The class table written out clause by clause, as soil describers read it.
// `page` is the chip's hue page in the soil book (10R first, -1 for a grey).
struct BookChip {
    int page;
    double value, chroma;
};

const char* expectedClass(const BookChip& a, const BookChip& b) {
    if (a.value <= 3 && a.chroma <= 2 && b.value <= 3 && b.chroma <= 2) return "Faint";
    int dH = std::abs(a.page - b.page);
    if ((a.page < 0) != (b.page < 0)) dH = 1; // a grey against a chromatic chip
    if (a.page < 0 && b.page < 0) dH = 0;
    const double dV = std::abs(a.value - b.value), dC = std::abs(a.chroma - b.chroma);
    if (dH == 0) {
        if (dV <= 2 && dC <= 1) return "Faint";
        if ((dV <= 2 && 1 < dC && dC < 4) || (2 < dV && dV < 4 && dC < 4)) return "Distinct";
    } else if (dH == 1) {
        if (dV <= 1 && dC <= 1) return "Faint";
        if ((dV <= 1 && 1 < dC && dC < 3) || (1 < dV && dV < 3 && dC < 3)) return "Distinct";
    } else if (dH == 2) {
        if (dV == 0 && dC == 0) return "Faint";
        if ((dV == 0 && 0 < dC && dC < 2) || (0 < dV && dV < 2 && dC < 2)) return "Distinct";
    }
    return "Prominent";
}

// The page of a soil chip from its notation's hue text.
BookChip bookChip(const Chip& chip) {
    static const std::array<std::string, 7> pages = {"10R",  "2.5YR", "5YR", "7.5YR",
                                                     "10YR", "2.5Y",  "5Y"};
    const std::string hue = chip.notation.substr(0, chip.notation.find(' '));
    if (hue == "N") return {-1, chip.value, 0};
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i] == hue) return {static_cast<int>(i), chip.value, chip.chroma};
    throw std::runtime_error("not a soil page: " + chip.notation);
}

TEST(SoilContrast, EveryPairOfSoilChipsFollowsTheClassTable) {
    const auto& chips = comparer().chips().chips;
    ASSERT_EQ(chips.size(), 428u);
    std::array<int, 3> counts{};
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < chips.size(); ++i) {
        const BookChip a = bookChip(chips[i]);
        for (std::size_t j = 0; j < chips.size(); ++j) {
            const BookChip b = bookChip(chips[j]);
            const SoilContrast got = comparer().compare(colourOf(chips[i]), colourOf(chips[j]));
            ASSERT_EQ(got.status, SoilContrast::Status::Ok) << chips[i].notation;
            ASSERT_STREQ(contrastClassName(got.contrast), expectedClass(a, b))
                << chips[i].notation << " against " << chips[j].notation;
            // A chip is compared as itself, never as a neighbour.
            ASSERT_EQ(got.chip[0], i);
            ASSERT_EQ(got.chip[1], j);
            ASSERT_FALSE(got.takenToChip[0] || got.takenToChip[1]);
            ASSERT_EQ(got.steps.dV, std::abs(a.value - b.value));
            ASSERT_EQ(got.de00 == 0, i == j) << chips[i].notation << " " << chips[j].notation;
            ++counts[static_cast<std::size_t>(got.contrast)];
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 183184u);
    for (int count : counts)
        EXPECT_GT(count, 1000); // every class is met many times
}

TEST(SoilContrast, WorkedExampleAndItsSteps) {
    const SoilContrast got = comparer().compare(notation("10YR 6/3"), notation("5YR 3/4"));
    ASSERT_EQ(got.status, SoilContrast::Status::Ok);
    EXPECT_EQ(got.contrast, ContrastClass::Prominent);
    EXPECT_EQ(got.steps.pages, 2);
    EXPECT_EQ(got.steps.dV, 3);
    EXPECT_EQ(got.steps.dC, 1);
    EXPECT_GT(got.de00, 15);
    EXPECT_EQ(comparer().chips().chips[got.chip[0]].notation, "10YR 6/3");
    EXPECT_EQ(comparer().chips().chips[got.chip[1]].notation, "5YR 3/4");
}

struct RuleCase {
    const char *a, *b;
    ContrastClass expected;
    double pages;
};

// Greys one page from every hue, dark pairs Faint whatever their hues, hue
// pages the short way round the circle, and a part page as the next whole one.
TEST(SoilContrast, GreysDarkPairsAndTheShortWayRound) {
    const RuleCase cases[] = {
        // One page from a grey: dV 2 is no longer Faint, as it would be on one page.
        {"N 5/", "10YR 7/1", ContrastClass::Distinct, 1},
        {"N 5/", "10YR 6/1", ContrastClass::Faint, 1},
        {"N 5/", "5Y 5/3", ContrastClass::Prominent, 1},
        {"N 5/", "N 7/", ContrastClass::Faint, 0},
        {"5YR 5/0", "10YR 6/1", ContrastClass::Faint, 1}, // chroma 0 is a grey
        // Dark and dull: six pages apart, still Faint; one step out of the corner is not.
        {"10R 3/2", "5Y 2/1", ContrastClass::Faint, 6},
        {"10R 3/2", "N 2/", ContrastClass::Faint, 1},
        {"10R 3/2", "5Y 4/1", ContrastClass::Prominent, 6},
        {"10R 3/3", "5Y 2/1", ContrastClass::Prominent, 6},
        // The short way round through 10RP.
        {"10RP 5/4", "2.5R 6/4", ContrastClass::Faint, 1},
        {"5R 5/4", "2.5R 5/6", ContrastClass::Distinct, 1},
        {"7.5RP 5/4", "2.5R 5/4", ContrastClass::Faint, 2},
        {"5RP 5/4", "2.5R 5/4", ContrastClass::Prominent, 3},
        // Half a page counts as a whole one: dV 2 is Distinct, not Faint.
        {"10YR 5/4", "1.25Y 7/4", ContrastClass::Distinct, 0.5},
    };
    for (const RuleCase& c : cases) {
        const MunsellColour a = notation(c.a), b = notation(c.b);
        EXPECT_EQ(contrastClassOfChips(a, b), c.expected) << c.a << " against " << c.b;
        EXPECT_EQ(contrastClassOfChips(b, a), c.expected) << c.b << " against " << c.a;
        EXPECT_NEAR(contrastSteps(a, b).pages, c.pages, 1e-9) << c.a << " against " << c.b;
    }
}

TEST(SoilContrast, NotationsOffTheChipsAreTakenToTheNearestChip) {
    SoilComparer& soil = comparer();
    const auto& chips = soil.chips().chips;
    const SoilContrast near = soil.compare(notation("10YR 6.1/3.1"), notation("5YR 3/4"));
    ASSERT_EQ(near.status, SoilContrast::Status::Ok);
    EXPECT_TRUE(near.takenToChip[0]);
    EXPECT_FALSE(near.takenToChip[1]);
    EXPECT_EQ(chips[near.chip[0]].notation, "10YR 6/3");
    EXPECT_EQ(near.contrast, ContrastClass::Prominent);
    // The difference is that of the notations as given, not of their chips.
    const SoilContrast exact = soil.compare(notation("10YR 6/3"), notation("5YR 3/4"));
    EXPECT_NE(near.de00, exact.de00);
    EXPECT_NEAR(near.de00, exact.de00, 1.5);

    // A chip's own notation in another spelling is still that chip.
    const SoilContrast spelt = soil.compare(notation("10yr6/3.0"), notation("N 5/0"));
    EXPECT_FALSE(spelt.takenToChip[0] || spelt.takenToChip[1]);
    EXPECT_EQ(chips[spelt.chip[1]].notation, "N 5/");

    // A blue lies far from every soil chip; a notation beyond the data has no colour.
    const SoilContrast blue = soil.compare(notation("10YR 5/3"), notation("5PB 5/10"));
    EXPECT_EQ(blue.status, SoilContrast::Status::NoChipWithin5);
    EXPECT_EQ(blue.which, 1);
    EXPECT_NE(soilContrastProblem(blue).find("second"), std::string::npos);
    const SoilContrast outside = soil.compare(notation("5R 1/40"), notation("10YR 5/3"));
    EXPECT_EQ(outside.status, SoilContrast::Status::OutsideData);
    EXPECT_EQ(outside.which, 0);
    const SoilContrast nan = soil.compare({NAN, 5, 3, false}, notation("10YR 5/3"));
    EXPECT_NE(nan.status, SoilContrast::Status::Ok);
}

TEST(SoilContrast, ClassesAgreeUnderOtherIlluminants) {
    // The class is of the chips; only the difference follows the illuminant.
    ColourSettings d65;
    d65.illuminant = Illuminant::D65;
    SoilComparer soil(renotationTable(), d65);
    const SoilContrast c = comparer().compare(notation("10YR 6/3"), notation("5YR 3/4"));
    const SoilContrast d = soil.compare(notation("10YR 6/3"), notation("5YR 3/4"));
    EXPECT_EQ(c.contrast, d.contrast);
    EXPECT_NE(c.de00, d.de00);
}

struct CheckCase {
    const char *moist, *dry;
    bool mollic, chernic;
};

TEST(SoilColourChecks, MollicAndChernicColoursAtTheirEdges) {
    const CheckCase cases[] = {
        {"10YR 3/3", "10YR 5/3", true, false},     {"10YR 3/2", "10YR 5/2", true, true},
        {"10YR 2/1", "10YR 4/1", true, true},      {"N 3/", "N 5/", true, true},
        {"10YR 3.5/2", "10YR 5/2", false, false},  {"10YR 3/2", "10YR 5.5/2", false, false},
        {"10YR 3/4", "10YR 5/3", false, false},    {"10YR 3/2.5", "10YR 4/3", true, false},
        {"7.5YR 2.5/3", "7.5YR 5/6", true, false},
    };
    for (const CheckCase& c : cases) {
        const SoilColourChecks got = soilColourChecks(notation(c.moist), notation(c.dry));
        EXPECT_EQ(got.mollicColour, c.mollic) << c.moist << " moist, " << c.dry << " dry";
        EXPECT_EQ(got.chernicColour, c.chernic) << c.moist << " moist, " << c.dry << " dry";
    }
    // The two readings are not interchangeable: a light moist colour fails.
    EXPECT_FALSE(soilColourChecks(notation("10YR 5/2"), notation("10YR 3/2")).mollicColour);
}

} // namespace
} // namespace huelinx
