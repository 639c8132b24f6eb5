#include "colour/ciede2000.h"
#include "table_fixture.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace huelinx {
namespace {

struct PublishedPair {
    int pair;
    Lab first, second;
    double de00;
};

// data/ciede2000-sharma-2005.csv: pair,L1,a1,b1,L2,a2,b2,dE00.
std::vector<PublishedPair> publishedPairs() {
    std::vector<PublishedPair> pairs;
    const std::string csv = testing::dataFile("ciede2000-sharma-2005.csv");
    ListReader reader(csv);
    reader.line();
    while (!reader.atEnd()) {
        const std::string line = *reader.line();
        ListReader fields(line);
        double n[8];
        for (double& number : n)
            number = strictNumber(fields.field().value_or("")).value();
        pairs.push_back({static_cast<int>(n[0]), {n[1], n[2], n[3]}, {n[4], n[5], n[6]}, n[7]});
    }
    return pairs;
}

TEST(Ciede2000, PublishedPairsInBothOrders) {
    const auto pairs = publishedPairs();
    ASSERT_EQ(pairs.size(), 34u);
    for (const auto& p : pairs) {
        EXPECT_NEAR(ciede2000(p.first, p.second), p.de00, 1e-4) << "pair " << p.pair;
        EXPECT_NEAR(ciede2000(p.second, p.first), p.de00, 1e-4) << "pair " << p.pair << " swapped";
    }
}

TEST(Ciede2000, SameColourAndGreys) {
    EXPECT_EQ(ciede2000({50, 20, -30}, {50, 20, -30}), 0.0);
    EXPECT_EQ(ciede2000({0, 0, 0}, {0, 0, 0}), 0.0);
    // Two greys differ in lightness alone: at mean L* 50, S_L = 1.
    EXPECT_NEAR(ciede2000({45, 0, 0}, {55, 0, 0}), 10.0, 1e-12);
    // A grey against a colour: the undefined hue is taken as 0 and gives a finite result.
    EXPECT_TRUE(std::isfinite(ciede2000({50, 0, 0}, {50, 0, -10})));
}

TEST(Ciede2000, WeightsDivideTheirOwnTerm) {
    const Lab grey1{45, 0, 0}, grey2{55, 0, 0};
    EXPECT_NEAR(ciede2000(grey1, grey2, {2, 1, 1}), 5.0, 1e-12);
    EXPECT_NEAR(ciede2000(grey1, grey2, {1, 3, 3}), 10.0, 1e-12);
    // Same hue, other chroma: only kC matters.
    const Lab c1{50, 10, 10}, c2{50, 20, 20};
    EXPECT_DOUBLE_EQ(ciede2000(c1, c2, {5, 1, 5}), ciede2000(c1, c2));
    EXPECT_NEAR(ciede2000(c1, c2, {1, 2, 1}), ciede2000(c1, c2) / 2, 1e-12);
}

TEST(Ciede2000, LowerBoundNeverExceedsTheDifference) {
    std::mt19937 rng(2000);
    std::uniform_real_distribution<double> lightness(-20, 120), axis(-150, 150), nearby(-3, 3);
    std::uniform_int_distribution<int> weight(1, 3);
    int tight = 0;
    for (int i = 0; i < 200000; ++i) {
        const Lab p{lightness(rng), axis(rng), axis(rng)};
        // Half the pairs close together, where the bound matters.
        const Lab q = i % 2 ? Lab{lightness(rng), axis(rng), axis(rng)}
                            : Lab{p.L + nearby(rng), p.a + nearby(rng), p.b + nearby(rng)};
        const De2000Weights w{double(weight(rng)), double(weight(rng)), double(weight(rng))};
        const double d = ciede2000(p, q, w);
        const double bound = ciede2000LowerBoundSquared(withChroma(p), withChroma(q), w);
        ASSERT_LE(std::sqrt(bound), d * (1 + 1e-12) + 1e-12) << i;
        if (std::sqrt(bound) > 0.5 * d) ++tight;
    }
    // It is worth computing: for most pairs at least half the difference.
    EXPECT_GT(tight, 100000);
}

TEST(Ciede2000, LowerBoundHoldsInTheBlueRotationRegion) {
    // Mean hue near 275 degrees at high chroma: the rotation term is at its strongest.
    for (double c = 5; c <= 120; c += 5)
        for (double dh = -20; dh <= 20; dh += 0.5)
            for (double dc = -10; dc <= 10; dc += 1) {
                const double h1 = (275 - dh / 2) * std::numbers::pi / 180,
                             h2 = (275 + dh / 2) * std::numbers::pi / 180;
                const Lab p{50, c * std::cos(h1), c * std::sin(h1)};
                const Lab q{50, (c + dc) * std::cos(h2), (c + dc) * std::sin(h2)};
                const double bound = ciede2000LowerBoundSquared(withChroma(p), withChroma(q));
                ASSERT_LE(std::sqrt(bound), ciede2000(p, q) * (1 + 1e-12) + 1e-12)
                    << c << " " << dh << " " << dc;
            }
}

} // namespace
} // namespace huelinx
