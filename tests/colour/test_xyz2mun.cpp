#include "colour/cellindex.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
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

MunsellOfXyz toMunsell(double X, double Y, double Z, const ColourSettings& s = {}) {
    return xyz2mun(X, Y, Z, renotationTable(), s);
}

// Hue difference on the circle.
double hueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 100.0 - d);
}

// How far the forward conversion of a notation lies from X, Y, Z, relative
// to the largest of them; infinity where it refuses the notation.
double residualOf(const MunsellOfXyz& n, double X, double Y, double Z) {
    const CieOfMunsell c = mun2xyz(n.H, n.V, n.C, renotationTable(), {});
    if (c.status != MunsellToCie::Ok) return INFINITY;
    return std::max({std::fabs(c.X - X), std::fabs(c.Y - Y), std::fabs(c.Z - Z)}) /
           std::max({X, Y, Z});
}

// Whether a notation lies on the rim of the data: a step outwards in chroma,
// or to either side in hue, leaves the data.
bool onTheRim(const MunsellOfXyz& n) {
    const auto refused = [&](double H, double C) {
        return mun2xyz(H < 0 ? H + 100 : H, n.V, C, renotationTable(), {}).status !=
               MunsellToCie::Ok;
    };
    return refused(n.H, n.C + 1e-6) || refused(n.H + 1e-6, n.C) || refused(n.H - 1e-6, n.C);
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

TEST(CellSplit, InvertsTheInterpolationInsideACellAndKeepsToItsEdges) {
    const MunTable& t = renotationTable();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0), around(-0.3, 1.3);
    int compared = 0;
    for (int v = 1; v < MunTable::levelCount; ++v)
        for (int k = 0; k < MunTable::fileHues; ++k)
            for (int j = 0; j < MunTable::fileChromas - 1; ++j) {
                if (t.at(v, k, j + 1, 0) == 0 || t.at(v, k + 1, j + 1, 0) == 0) continue;
                const double value = MunTable::levelValue[v];
                const auto k16 = static_cast<std::int16_t>(k), j16 = static_cast<std::int16_t>(j);
                const auto v16 = static_cast<std::int16_t>(v);
                // A notation inside the cell, converted forward, comes back.
                const double H = (k + u(rng)) * 2.5, C = (j + u(rng)) * 2.0;
                const CieOfMunsell in = mun2xyz(H, value, C, t, {});
                ASSERT_EQ(in.status, MunsellToCie::Ok);
                const HueChroma back = cellsplit(in.x, in.y, v16, k16, j16, t);
                ASSERT_NEAR(back.H, H, 1e-9) << v << " " << k << " " << j;
                ASSERT_NEAR(back.C, C, 1e-9) << v << " " << k << " " << j;
                // Any point, inside the cell or around it, gets a hue and a
                // chroma of the cell, its corner the corner's own.
                const HueChroma any =
                    cellsplit(t.x(v, k, j) + (t.x(v, k + 1, j + 1) - t.x(v, k, j)) * around(rng),
                              t.y(v, k, j) + (t.y(v, k + 1, j + 1) - t.y(v, k, j)) * around(rng),
                              v16, k16, j16, t);
                ASSERT_GE(any.H, k * 2.5);
                ASSERT_LE(any.H, (k + 1) * 2.5);
                ASSERT_GE(any.C, j * 2.0);
                ASSERT_LE(any.C, (j + 1) * 2.0);
                const HueChroma corner = cellsplit(t.exactX(v, k + 1, j + 1),
                                                   t.exactY(v, k + 1, j + 1), v16, k16, j16, t);
                ASSERT_NEAR(corner.H, (k + 1) * 2.5, 1e-9);
                ASSERT_NEAR(corner.C, (j + 1) * 2.0, 1e-9);
                ++compared;
            }
    EXPECT_GT(compared, 4000);
    // The white corner of the innermost ring, where the cell's map folds
    // into a point: chroma 0.
    EXPECT_NEAR(cellsplit(whiteExactX, whiteExactY, 9, 4, 0, t).C, 0.0, 1e-12);
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
        const float error = static_cast<float>(std::max(hueDistance(n.H, h), std::fabs(n.C - c)));
        EXPECT_LT(error, 0.01f) << h << " " << v << " " << c;
        worst = std::max(worst, error);
        ++checked;
    }
    EXPECT_LT(worst, 0.01f);
}

TEST(CieToMunsell, PointsOnTheRimOfTheDataLieOnIt) {
    // 10Y 6/16 given by its own x, y and Y lies on the data's rim.
    const double x = 0.465, y = 0.546, Y = val2y(6, {});
    const MunsellOfXyz n = toMunsell(x * Y / y, Y, (1 - x - y) * Y / y);
    EXPECT_EQ(n.fit, MunsellFit::InData);
    EXPECT_NEAR(n.H, 30, 1e-9);
    EXPECT_NEAR(n.C, 16, 1e-9);
    // With Y rounded to 30.05 its value lies just below 6, where value 5 has
    // no 10Y /16 to blend with: it takes value 6's notation, whose forward
    // conversion is off by the rounding of Y alone. Further below value 6
    // the same chromaticity is outside the data.
    const MunsellOfXyz rounded = toMunsell(x * 30.05 / y, 30.05, (1 - x - y) * 30.05 / y);
    EXPECT_EQ(rounded.fit, MunsellFit::InData);
    EXPECT_EQ(rounded.V, 6.0);
    EXPECT_NEAR(rounded.H, 30, 1e-6);
    EXPECT_NEAR(rounded.C, 16, 1e-6);
    EXPECT_NEAR(rounded.residual, std::fabs(30.05 - Y) / 30.05, 1e-9);
    const double below = val2y(5.99, {});
    const MunsellOfXyz off = toMunsell(x * below / y, below, (1 - x - y) * below / y);
    EXPECT_EQ(off.fit, MunsellFit::OutsideData);
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
    for (double scale : {102.568 / cie.Y, 1.5, 40.0}) {
        const MunsellOfXyz n = toMunsell(cie.X * scale, cie.Y * scale, cie.Z * scale);
        EXPECT_EQ(n.fit, MunsellFit::InData) << scale;
        EXPECT_GE(n.V, 9.99f);
        EXPECT_NEAR(n.H, 25, 1.5f);
        EXPECT_NEAR(n.C, 4, 1.0f);
    }
}

TEST(CieToMunsell, AColourOnlyOneLevelAroundItsValueHoldsIsOutsideTheData) {
    // The X, Y, Z printed for 2.5R 1/12: Y 1.21 lies just below value 1, and
    // between value 0.8 and 1 the data don't reach this red; no notation at
    // its value converts to it, so none is made up from one level's data.
    const MunsellOfXyz printed = toMunsell(3.82, 1.21, 2.13);
    EXPECT_EQ(printed.fit, MunsellFit::OutsideData);
    EXPECT_EQ(printed.H, 0.0);
    EXPECT_EQ(printed.C, 0.0);
    EXPECT_NEAR(printed.V, 1.0, 1e-3);
    // Saturated reds at value 5.5 that value 6 holds but value 5 does not,
    // or the other way round: a notation given converts back to the colour,
    // and those that only one level holds are outside.
    const MunTable& t = renotationTable();
    int oneLevel = 0;
    for (double c = 10; c < 30; c += 0.5) {
        const CieOfMunsell cie = mun2xyz(5, 5.5, c, t, {});
        if (cie.status != MunsellToCie::Ok) break;
        for (double boost : {1.0, 1.05, 1.1}) {
            const double x = 0.3101 + (cie.x - 0.3101) * boost,
                         y = 0.3163 + (cie.y - 0.3163) * boost;
            const double X = cie.Y * x / y, Z = cie.Y * (1 - x - y) / y;
            const MunsellOfXyz n = toMunsell(X, cie.Y, Z);
            const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
            const bool at5 = findcell(fx, fy, MunTable::wholeLevel(5), t).found();
            const bool at6 = findcell(fx, fy, MunTable::wholeLevel(6), t).found();
            if (n.fit == MunsellFit::InData) {
                EXPECT_LE(residualOf(n, X, cie.Y, Z), 1e-7) << c << " " << boost;
                continue;
            }
            ASSERT_EQ(n.fit, MunsellFit::OutsideData);
            EXPECT_EQ(n.H, 0.0);
            EXPECT_EQ(n.C, 0.0);
            oneLevel += at5 != at6;
        }
    }
    EXPECT_GT(oneLevel, 0);
}

TEST(CieToMunsell, DataPointsAtTheirPrintedLuminanceTakeTheirLevel) {
    // The data print Y to a few decimals, so a point's value lies a little
    // off its level (value 3's Y of 6.55 is value 2.9989), where the blend
    // with the next level may not reach the rim of the point's own level.
    // Every point with a chromaticity still gets a notation at its level.
    int checked = 0;
    for (const auto& p : renotationPoints()) {
        if (p.y <= 0) continue;
        const double x = p.x / 1e4, y = p.y / 1e4;
        const MunsellOfXyz n = toMunsell(x * p.Y / y, p.Y, (1 - x - y) * p.Y / y);
        ASSERT_EQ(n.fit, MunsellFit::InData) << p.hue << " " << p.value << "/" << p.chroma;
        EXPECT_NEAR(n.V, p.value, 0.005) << p.hue << " " << p.value << "/" << p.chroma;
        ++checked;
    }
    EXPECT_GT(checked, 4900);
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

TEST(CieToMunsellPrecision, DisplayColoursComeBackToTheirXyz) {
    // Every fifth display level (from 1, so that channels near 0 are in) on
    // the whole cube, X, Y, Z as the window computes them: the notation found
    // converts back to within a relative 1e-7, but on the data's rim, where
    // the colour lies a rounding error outside.
    const ColourSettings s;
    const auto linear = [&](int level, int channel) {
        return static_cast<float>(
            std::pow(level / double{s.channelScale[channel]} / 255.0, 1.0 / s.gammaInv[channel]));
    };
    std::vector<int> levels{0, 255};
    for (int l = 1; l < 256; l += 5)
        levels.push_back(l);
    int inData = 0, rim = 0, total = 0;
    double worst = 0;
    for (int r : levels)
        for (int g : levels)
            for (int b : levels) {
                if (r + g + b == 0) continue;
                const Tristimulus t = rgbxyz(linear(r, 1), linear(g, 2), linear(b, 3), s);
                const double X = t.X * 100.0f, Y = t.Y * 100.0f, Z = t.Z * 100.0f;
                const MunsellOfXyz n = toMunsell(X, Y, Z);
                ++total;
                if (n.fit != MunsellFit::InData) continue;
                ++inData;
                const double residual = residualOf(n, X, Y, Z);
                ASSERT_LE(residual, 1e-4) << r << " " << g << " " << b;
                EXPECT_NEAR(n.residual, residual, 1e-12);
                if (residual > 1e-7) {
                    ASSERT_TRUE(onTheRim(n)) << r << " " << g << " " << b << ": " << residual;
                    ++rim;
                    continue;
                }
                worst = std::max(worst, residual);
                // The display level comes back from the converted X, Y, Z.
                const CieOfMunsell c = mun2xyz(n.H, n.V, n.C, renotationTable(), s);
                const RgbOfXyz back = xyzrgb(static_cast<float>(c.X), static_cast<float>(c.Y),
                                             static_cast<float>(c.Z), s);
                ASSERT_EQ(back.R, r);
                ASSERT_EQ(back.G, g);
                ASSERT_EQ(back.B, b);
            }
    EXPECT_GT(inData, total * 99 / 100);
    EXPECT_LT(rim, total / 1000);
    EXPECT_LE(worst, 1e-7);
}

TEST(CieToMunsellPrecision, RenotationPointsComeBackToTheirXyz) {
    // Every point of the data from value 0.2 to 10 that converts forward, as
    // its exact x, y and luminance, is found as itself: the forward
    // conversion of the notation found gives its X, Y, Z to a relative 1e-7.
    int points = 0, dark = 0;
    for (const auto& p : renotationPoints()) {
        double hue = converth(p.hue).hue;
        if (hue >= 100) hue -= 100;
        if (p.y <= 0 ||
            mun2xyz(hue, p.value, p.chroma, renotationTable(), {}).status != MunsellToCie::Ok)
            continue;
        const double x = p.x / 10000.0, y = p.y / 10000.0, Y = val2y(p.value, {});
        const double X = Y * x / y, Z = Y * (1 - x - y) / y;
        const MunsellOfXyz n = toMunsell(X, Y, Z);
        const std::string name =
            p.hue + " " + std::to_string(p.value) + "/" + std::to_string(p.chroma);
        ASSERT_EQ(n.fit, MunsellFit::InData) << name;
        EXPECT_LE(residualOf(n, X, Y, Z), 1e-7) << name;
        EXPECT_LT(hueDistance(n.H, hue), 1e-5) << name;
        EXPECT_NEAR(n.C, p.chroma, 1e-5) << name;
        ++points;
        dark += p.value < 1;
    }
    EXPECT_GT(points, 4500);
    EXPECT_EQ(dark, 762);
}

TEST(CieToMunsellPrecision, GreysHaveNoChromaAndTheDarkestColoursKeepTheirValue) {
    // The white of illuminant C at any luminance is a grey: chroma 0 to
    // well below the 0.005 that shows as 0.00, and back to its X, Y, Z.
    for (double Y : {1e-8, 1e-4, 0.05, 0.5, 1.21, 12.0, 19.77, 50.0, 100.0, 102.568}) {
        const double X = Y * 98.074 / 100, Z = Y * 118.232 / 100;
        const MunsellOfXyz n = toMunsell(X, Y, Z);
        ASSERT_EQ(n.fit, MunsellFit::InData) << Y;
        EXPECT_LT(n.C, 1e-9) << Y;
        EXPECT_LE(residualOf(n, X, Y, Z), 1e-7) << Y;
    }
    // A colour far darker than any level keeps its own value: the value
    // converts back to its luminance, not to black.
    for (double Y : {1e-9, 6.5e-8, 1e-5}) {
        const double X = Y * 0.2, Z = Y * 0.24;
        const MunsellOfXyz n = toMunsell(X, Y, Z);
        ASSERT_EQ(n.fit, MunsellFit::InData) << Y;
        EXPECT_GT(n.V, 0.0) << Y;
        EXPECT_LE(residualOf(n, X, Y, Z), 1e-7) << Y;
    }
}

} // namespace
} // namespace huelinx
