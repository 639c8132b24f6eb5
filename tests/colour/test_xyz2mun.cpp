#include "colour/cellindex.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/xyz2mun.h"
#include "table_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace huelinx {
namespace {

using testing::renotationPoints;
using testing::renotationTable;

MunsellOfXyz toMunsell(float X, float Y, float Z, const ColourSettings& s = {}) {
    return xyz2mun(X, Y, Z, renotationTable(), s);
}

// Hue difference on the circle.
float hueDistance(float a, float b) {
    const float d = std::fabs(a - b);
    return std::min(d, 100.0f - d);
}

TEST(InQuad, EdgesAndCornersCountAsInsideOfAClockwiseQuad) {
    // A (0,0), B (0,1), C (1,1), D (1,0): clockwise with x right, y up.
    const auto test = [](float px, float py) { return inquad(px, py, 0, 0, 0, 1, 1, 1, 1, 0); };
    EXPECT_TRUE(test(0.5f, 0.5f));
    EXPECT_TRUE(test(0.0f, 0.5f));
    EXPECT_TRUE(test(1.0f, 1.0f));
    EXPECT_FALSE(test(1.5f, 0.5f));
    EXPECT_FALSE(test(0.5f, -0.01f));
    EXPECT_FALSE(inquad(0.5f, 0.5f, 0, 0, 1, 0, 1, 1, 0, 1)); // counter-clockwise
}

TEST(FindCell, WhiteSharedCornersAndNotFound) {
    const MunTable& t = renotationTable();
    const CellPosition white = findcell(whiteX, whiteY, 5, t);
    EXPECT_TRUE(white.found());
    EXPECT_EQ(white.k, 0);
    EXPECT_EQ(white.j, 0);
    // Grid point (5, 6, 3) is a corner of four cells; the first in search
    // order, the lower hue and chroma index, wins.
    const CellPosition corner = findcell(t.x(5, 6, 3), t.y(5, 6, 3), 5, t);
    EXPECT_EQ(corner.k, 5);
    EXPECT_EQ(corner.j, 2);
    for (const CellPosition none :
         {findcell(0.9f, 0.05f, 5, t), findcell(whiteX, whiteY, MunTable::levelCount, t),
          findcell(whiteX, whiteY, -1, t)}) {
        EXPECT_FALSE(none.found());
        EXPECT_EQ(none.k, 40);
        EXPECT_EQ(none.j, 0);
    }
}

TEST(FindCell, PreparedCellsFindExactlyWhatTheFullSearchFinds) {
    const MunTable& t = renotationTable();
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> ux(-0.3f, 1.5f), uy(-0.1f, 2.2f), near(-2e-4f, 2e-4f);
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < 60000; ++i)
        points.emplace_back(ux(rng), uy(rng));
    // Grid points, points a float step off them and points just around them,
    // where edge tests are closest to their rounding.
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 1; j < MunTable::fileChromas; ++j) {
                if (t.at(v, k, j, 0) == 0) continue;
                const float x = t.x(v, k, j), y = t.y(v, k, j);
                points.emplace_back(x, y);
                points.emplace_back(std::nextafter(x, 2.0f), y);
                points.emplace_back(x, std::nextafter(y, -1.0f));
                for (int n = 0; n < 4; ++n)
                    points.emplace_back(x + near(rng), y + near(rng));
            }
    points.emplace_back(NAN, 0.3f);
    int found = 0;
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (const auto& [x, y] : points) {
            const CellPosition full = findcell(x, y, static_cast<std::int16_t>(v), t);
            const CellPosition prepared = t.cells().find(x, y, v);
            ASSERT_EQ(full.k, prepared.k) << x << "," << y << " at value " << v;
            ASSERT_EQ(full.j, prepared.j) << x << "," << y << " at value " << v;
            found += full.found();
        }
    EXPECT_GT(found, 100000);
}

TEST(FindCell, CellsBetweenLevelsAreThoseOfBothAndTheirBucketsMissNone) {
    const MunTable& t = renotationTable();
    const auto has = [&](int v, int k, int j) {
        return t.at(v, k, j, 0) != 0 && t.at(v, k, j, 1) != 0;
    };
    std::mt19937 rng(77);
    std::uniform_real_distribution<float> ux(-0.1f, 0.9f), uy(-0.1f, 1.2f);
    for (int v = 0; v + 1 < MunTable::levelCount; ++v) {
        // Every cell whose rings both levels hold, in search order.
        std::vector<std::pair<int, int>> expected;
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j + 1 < MunTable::chromaCount; ++j) {
                if (!(has(v, k, j + 1) && has(v, k + 1, j + 1) && has(v + 1, k, j + 1) &&
                      has(v + 1, k + 1, j + 1)))
                    break;
                expected.emplace_back(k, j);
            }
        const auto cells = t.cells().cellsBetween(v);
        ASSERT_EQ(cells.size(), expected.size()) << v;
        for (std::size_t i = 0; i < cells.size(); ++i)
            ASSERT_EQ(std::make_pair(int{cells[i].k}, int{cells[i].j}), expected[i]);
        // A point in a cell's box is among the candidates of its bucket.
        for (int n = 0; n < 2000; ++n) {
            const float x = ux(rng), y = uy(rng);
            const auto [first, last] = t.cells().candidatesBetween(x, y, v);
            const std::set<std::uint16_t> listed(first, last);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const auto& c = cells[i];
                const bool inBox = x >= c.minX && x <= c.maxX && y >= c.minY && y <= c.maxY;
                const bool isListed = listed.count(static_cast<std::uint16_t>(i)) != 0;
                ASSERT_TRUE(!inBox || isListed) << v << " " << i;
            }
        }
    }
    EXPECT_TRUE(t.cells().cellsBetween(MunTable::levelCount - 1).empty());
}

// The bisection as written out in full: 50 rounds across the hue, 50 across
// the chroma, no stopping early; each round keeps the half on the point's
// side of the dividing line.
HueChroma cellsplitAllRounds(float x, float y, int v, int k, int j, const MunTable& t) {
    struct Pt {
        float x, y;
    };
    const auto mid = [](Pt a, Pt b) { return Pt{(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f}; };
    const auto leftOf = [&](Pt u, Pt w) {
        return (u.y - w.y) * (x - u.x) + (w.x - u.x) * (y - u.y) <= 0.0f;
    };
    const auto corner = [&](int kk, int jj) { return Pt{t.x(v, kk, jj), t.y(v, kk, jj)}; };
    Pt a = corner(k, j), b = corner(k + 1, j), c = corner(k + 1, j + 1), d = corner(k, j + 1);
    Pt m2{}, n1{};
    for (int i = 0; i < 50; ++i) {
        const Pt m1 = mid(a, b);
        m2 = mid(d, c);
        if (leftOf(m1, m2))
            b = m1, c = m2;
        else
            a = m1, d = m2;
    }
    a = corner(k, j), b = corner(k + 1, j), c = corner(k + 1, j + 1), d = corner(k, j + 1);
    for (int i = 0; i < 50; ++i) {
        n1 = mid(a, d);
        const Pt n2 = mid(b, c);
        if (leftOf(n2, n1))
            d = n1, c = n2;
        else
            a = n1, b = n2;
    }
    a = corner(k, j), b = corner(k + 1, j), c = corner(k + 1, j + 1), d = corner(k, j + 1);
    const auto dist = [](Pt p, Pt q) {
        const double dx = p.x - q.x, dy = p.y - q.y;
        return std::sqrt(dx * dx + dy * dy);
    };
    const float fh = dist(c, d) > 0 ? static_cast<float>(dist(d, m2) / dist(c, d)) : 0.0f;
    const float fc = dist(d, a) > 0 ? static_cast<float>(dist(a, n1) / dist(d, a)) : 0.0f;
    return {(static_cast<float>(k) + fh) * 2.5f, (static_cast<float>(j) + fc) * 2.0f};
}

TEST(CellSplit, GivesExactlyTheResultOfAllFiftyRounds) {
    const MunTable& t = renotationTable();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-0.2f, 1.2f);
    int compared = 0;
    for (int v = 0; v < MunTable::levelCount; ++v)
        for (int k = 0; k <= 40; ++k)
            for (int j = 0; j < MunTable::fileChromas; ++j) {
                const float ax = t.x(v, k, j), ay = t.y(v, k, j);
                const float cx = t.x(v, k + 1, j + 1), cy = t.y(v, k + 1, j + 1);
                // Points inside and around the cell, and its own corner.
                for (int n = 0; n < 4; ++n) {
                    const float s = u(rng), r = u(rng);
                    const float px = n == 0 ? ax : ax + (cx - ax) * s;
                    const float py = n == 0 ? ay : ay + (cy - ay) * r;
                    const HueChroma split =
                        cellsplit(px, py, static_cast<std::int16_t>(v),
                                  static_cast<std::int16_t>(k), static_cast<std::int16_t>(j), t);
                    const HueChroma full = cellsplitAllRounds(px, py, v, k, j, t);
                    ASSERT_EQ(split.H, full.H) << v << " " << k << " " << j;
                    ASSERT_EQ(split.C, full.C) << v << " " << k << " " << j;
                    ++compared;
                }
            }
    EXPECT_EQ(compared, MunTable::levelCount * 41 * 17 * 4);
}

TEST(CieToMunsell, TheInitialColourGivesItsKnownNotation) {
    // The tristimulus the window shows for 6.4Y 8.6/10.4, to two decimals:
    // the notation comes back to within their rounding.
    const MunsellOfXyz n = toMunsell(65.10f, 70.37f, 15.75f);
    EXPECT_EQ(n.fit, MunsellFit::InData);
    EXPECT_NEAR(n.H, 26.39f, 0.005f);
    EXPECT_NEAR(n.V, 8.60f, 0.005f);
    EXPECT_NEAR(n.C, 10.40f, 0.005f);
}

TEST(CieToMunsell, GridPointsComeBack) {
    // A grid point lies on the edges of its cells, where the edge tests of the
    // search and the bisection work on rounding noise: a point on the rim of
    // the data can fall just outside it, and a point on a cell edge can be
    // bisected to the far side of its cell. The rest must come back exactly.
    int checked = 0, exact = 0;
    for (const auto& p : renotationPoints()) {
        if (p.value < 2 || p.value > 8 || p.value != std::floor(p.value) || p.chroma > 30) continue;
        float hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        const CieOfMunsell cie = mun2xyz(hue, p.value, p.chroma, renotationTable(), {});
        if (cie.status != MunsellToCie::Ok) continue;
        // Points on the rim of the data (the last chroma of their hue and
        // value) are counted by huelinx-accuracy.
        if (mun2xyz(hue, p.value, p.chroma + 2, renotationTable(), {}).status != MunsellToCie::Ok)
            continue;
        const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
        ASSERT_NEAR(n.V, p.value, 1e-4f);
        ++checked;
        exact += hueDistance(n.H, hue) < 0.01f && std::fabs(n.C - p.chroma) < 0.01f;
    }
    EXPECT_GT(checked, 2500);
    EXPECT_GT(exact, checked * 98 / 100);
}

TEST(CieToMunsell, NotationsBetweenGridPointsComeBack) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> hue(0, 100), chroma(0.2f, 14);
    std::uniform_int_distribution<int> value(2, 8);
    int checked = 0;
    double hueError = 0, chromaError = 0;
    while (checked < 3000) {
        const float h = hue(rng), c = chroma(rng);
        const float v = static_cast<float>(value(rng));
        const CieOfMunsell cie = mun2xyz(h, v, c, renotationTable(), {});
        if (cie.status != MunsellToCie::Ok) continue;
        const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
        ASSERT_NE(n.fit, MunsellFit::OutsideData);
        hueError += hueDistance(n.H, h);
        chromaError += std::fabs(n.C - c);
        ++checked;
    }
    // Inside a cell at a whole value the bisection inverts the interpolation.
    EXPECT_LT(hueError / checked, 0.01);
    EXPECT_LT(chromaError / checked, 0.01);
}

TEST(CieToMunsell, NotationsAtAnyValueComeBackExactlyEvenOnCellEdges) {
    // Between two value levels the search runs in the blended cells, so the
    // interpolation is inverted there too; standard hues and even chromas lie
    // on cell edges, where a half chosen on rounding noise used to drift
    // round after round to the far edge (3.3YR 5/8 came back as 5YR).
    const struct {
        float h, v, c;
    } edges[] = {{13.3f, 5, 8},     {100.0f - 0.001f, 5, 10.6f}, {25, 5.5f, 6},
                 {45, 3.25f, 8.7f}, {72.5f, 6.8f, 12},           {0, 4.4f, 4}};
    for (const auto& e : edges) {
        const CieOfMunsell cie = mun2xyz(e.h, e.v, e.c, renotationTable(), {});
        ASSERT_EQ(cie.status, MunsellToCie::Ok);
        const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
        EXPECT_EQ(n.fit, MunsellFit::InData);
        EXPECT_LT(hueDistance(n.H, e.h), 0.01f) << e.h << " " << e.v << " " << e.c;
        EXPECT_NEAR(n.V, e.v, 0.01f);
        EXPECT_NEAR(n.C, e.c, 0.01f) << e.h << " " << e.v << " " << e.c;
    }
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> hue(0, 100), value(1, 9), chroma(0.1f, 16);
    int checked = 0;
    float worst = 0;
    while (checked < 3000) {
        const float h = hue(rng), v = value(rng), c = chroma(rng);
        const CieOfMunsell cie = mun2xyz(h, v, c, renotationTable(), {});
        if (cie.status != MunsellToCie::Ok) continue;
        const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
        const float error = std::max(hueDistance(n.H, h), std::fabs(n.C - c));
        EXPECT_LT(error, 0.01f) << h << " " << v << " " << c;
        worst = std::max(worst, error);
        ++checked;
    }
    EXPECT_LT(worst, 0.01f);
}

TEST(CieToMunsell, PointsOnTheRimOfTheDataLieOnIt) {
    // 10Y 6/16 given by its own x, y, Y lies on the data's rim, a rounding
    // error outside in single precision.
    const float x = 0.465f, y = 0.546f, Y = 30.05f;
    const MunsellOfXyz n = toMunsell(x * Y / y, Y, (1 - x - y) * Y / y);
    EXPECT_NE(n.fit, MunsellFit::OutsideData);
    EXPECT_NEAR(n.H, 30, 0.01f);
    EXPECT_NEAR(n.C, 16, 0.01f);
    // The data's last chroma at a hue whose neighbours end sooner: 5R 6/24
    // converts forward and back.
    const CieOfMunsell last = mun2xyz(5, 6, 24, renotationTable(), {});
    ASSERT_EQ(last.status, MunsellToCie::Ok);
    const MunsellOfXyz back = toMunsell(last.X, last.Y, last.Z);
    EXPECT_NEAR(back.H, 5, 0.01f);
    EXPECT_NEAR(back.C, 24, 0.01f);
    // Along each grid hue up to its last chroma, also where its data reach
    // beyond both neighbours' (no cell has that line as an edge).
    int alongHue = 0;
    for (int v = 1; v <= 9; ++v)
        for (int k = 0; k < 40; ++k)
            for (float c = 0.5f; c <= 50.0f; c += 0.5f) {
                const CieOfMunsell cie = mun2xyz(k * 2.5f, v, c, renotationTable(), {});
                if (cie.status != MunsellToCie::Ok) break;
                const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
                ASSERT_LT(hueDistance(n.H, k * 2.5f), 0.01f) << v << " " << k << " " << c;
                ASSERT_NEAR(n.C, c, 0.01f) << v << " " << k << " " << c;
                ++alongHue;
            }
    EXPECT_GT(alongHue, 10000);
    // Every grid point of the data at values 1 to 9 is inside it.
    const MunTable& t = renotationTable();
    for (int value = 1; value <= 9; ++value)
        for (int k = 0; k < 40; ++k) {
            const int v = MunTable::wholeLevel(value);
            for (int j = 1; j < MunTable::fileChromas && t.at(v, k, j, 0) != 0; ++j) {
                const float px = t.x(v, k, j), py = t.y(v, k, j);
                const float pY = val2y(static_cast<float>(value), {});
                const MunsellOfXyz g = toMunsell(px * pY / py, pY, (1 - px - py) * pY / py);
                ASSERT_NE(g.fit, MunsellFit::OutsideData) << v << " " << k << " " << j;
                EXPECT_NEAR(g.C, 2.0f * j, 0.01f) << v << " " << k << " " << j;
            }
        }
}

TEST(CieToMunsell, DarkDataPointsAndColoursBetweenThemComeBackInTheData) {
    // Every point of the data below value 1 (but those at y 0 or below, which
    // are no colour) is found in the data as itself.
    int points = 0;
    for (const auto& p : renotationPoints()) {
        if (p.value >= 1 || p.y <= 0) continue;
        const float x = p.x / 10000.0f, y = p.y / 10000.0f, Y = val2y(p.value, {});
        const MunsellOfXyz n = toMunsell(Y * x / y, Y, Y * (1 - x - y) / y);
        float hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        ASSERT_EQ(n.fit, MunsellFit::InData) << p.hue << " " << p.value << "/" << p.chroma;
        EXPECT_LT(hueDistance(n.H, hue), 0.01f) << p.hue << " " << p.value << "/" << p.chroma;
        EXPECT_NEAR(n.C, p.chroma, 0.01f) << p.hue << " " << p.value << "/" << p.chroma;
        EXPECT_NEAR(n.V, p.value, 1e-4f);
        ++points;
    }
    EXPECT_EQ(points, 762);
    // Notations between the dark levels that convert come back, as notations
    // the forward conversion takes.
    std::mt19937 rng(25);
    std::uniform_real_distribution<float> hue(0, 100), value(0.2f, 1), chroma(0.1f, 30);
    int checked = 0;
    while (checked < 3000) {
        const float h = hue(rng), v = value(rng), c = chroma(rng);
        const CieOfMunsell cie = mun2xyz(h, v, c, renotationTable(), {});
        if (cie.status != MunsellToCie::Ok) continue;
        const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
        ASSERT_EQ(n.fit, MunsellFit::InData) << h << " " << v << " " << c;
        EXPECT_EQ(mun2xyz(n.H, n.V, n.C, renotationTable(), {}).status, MunsellToCie::Ok);
        EXPECT_LT(hueDistance(n.H, h), 0.01f) << h << " " << v << " " << c;
        EXPECT_NEAR(n.C, c, 0.01f) << h << " " << v << " " << c;
        ++checked;
    }
}

TEST(CieToMunsell, HuesNearTenRedPurpleBlendAcrossTheWrap) {
    for (float h : {98.5f, 99.5f, 0.5f, 1.5f})
        for (float v : {3.5f, 5.5f, 7.3f}) {
            const CieOfMunsell cie = mun2xyz(h, v, 6, renotationTable(), {});
            ASSERT_EQ(cie.status, MunsellToCie::Ok);
            const MunsellOfXyz n = toMunsell(cie.X, cie.Y, cie.Z);
            EXPECT_LT(hueDistance(n.H, h), 1.0f) << h << " " << v;
            EXPECT_GE(n.H, 0.0f);
            EXPECT_LT(n.H, 100.0f);
        }
}

TEST(CieToMunsell, ValueTenAndAboveUseTheTopLevelAlone) {
    // The chromaticity of 5Y 9.5/4 at the luminance of value 10 and beyond.
    const CieOfMunsell cie = mun2xyz(25, 9.5f, 4, renotationTable(), {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    for (float scale : {102.568f / cie.Y, 1.5f, 40.0f}) {
        const MunsellOfXyz n = toMunsell(cie.X * scale, cie.Y * scale, cie.Z * scale);
        EXPECT_EQ(n.fit, MunsellFit::InData) << scale;
        EXPECT_GE(n.V, 9.99f);
        EXPECT_NEAR(n.H, 25, 1.5f);
        EXPECT_NEAR(n.C, 4, 1.0f);
    }
}

TEST(CieToMunsell, ALevelWithoutTheColourLeavesTheOtherLevelsNotation) {
    // Saturated reds at value 5.5 that value 6 holds but value 5 does not, or
    // the other way round, take the notation of the level that holds them.
    const MunTable& t = renotationTable();
    int oneLevel = 0;
    for (float c = 10; c < 30; c += 0.5f) {
        const CieOfMunsell cie = mun2xyz(5, 5.5f, c, t, {});
        if (cie.status != MunsellToCie::Ok) break;
        const float Y = cie.Y, x = cie.x, y = cie.y;
        for (float boost : {1.0f, 1.05f, 1.1f}) {
            const float sx = 0.3101f + (x - 0.3101f) * boost, sy = 0.3163f + (y - 0.3163f) * boost;
            const float X1 = Y * sx / sy, Z1 = Y * (1 - sx - sy) / sy;
            const MunsellOfXyz n = toMunsell(X1, Y, Z1);
            if (n.fit != MunsellFit::OneLevel) continue;
            ++oneLevel;
            const float px = X1 / (X1 + Y + Z1), py = Y / (X1 + Y + Z1);
            const int five = MunTable::wholeLevel(5), six = MunTable::wholeLevel(6);
            const CellPosition at5 = findcell(px, py, five, t), at6 = findcell(px, py, six, t);
            ASSERT_NE(at5.found(), at6.found());
            const CellPosition& only = at5.found() ? at5 : at6;
            const HueChroma split = cellsplit(px, py, at5.found() ? five : six, only.k, only.j, t);
            EXPECT_EQ(n.H, split.H);
            EXPECT_EQ(n.C, split.C);
        }
    }
    EXPECT_GT(oneLevel, 0);
}

TEST(CieToMunsell, ColoursOutsideTheSolidAndNonNumbersAreReported) {
    const float Y = 20;
    const MunsellOfXyz outside = toMunsell(Y * 0.9f / 0.05f, Y, Y * 0.05f / 0.05f);
    // No notation is made up beside the report.
    EXPECT_EQ(outside.fit, MunsellFit::OutsideData);
    EXPECT_EQ(outside.H, 0.0f);
    EXPECT_EQ(outside.C, 0.0f);
    EXPECT_EQ(toMunsell(NAN, 10, 10).fit, MunsellFit::NotANumber);
    EXPECT_EQ(toMunsell(0, 0, 0).fit, MunsellFit::NotANumber);
    EXPECT_EQ(toMunsell(10, 10, INFINITY).fit, MunsellFit::NotANumber);
}

TEST(CieToMunsell, NegativeLuminanceCountsAsZeroInTheChromaticityToo) {
    // Y is raised to 0 before x, y are taken: x = 0.5, y = 0 for both.
    const MunsellOfXyz negative = toMunsell(10, -3, 10), zero = toMunsell(10, 0, 10);
    EXPECT_EQ(negative.fit, zero.fit);
    EXPECT_EQ(negative.V, 0.0f);
    EXPECT_EQ(negative.H, zero.H);
    EXPECT_EQ(negative.C, zero.C);
}

TEST(CieToMunsell, PwdRaisesTheValueOfTheSameSample) {
    ColourSettings pwd;
    pwd.pwd = true;
    EXPECT_GT(toMunsell(18, 20, 22, pwd).V, toMunsell(18, 20, 22).V);
}

} // namespace
} // namespace huelinx
