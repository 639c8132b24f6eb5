#include "tools/accuracy_display.h"

#include "../colour/table_fixture.h"
#include "colour/mun2xyz.h"
#include "colour/xyz2mun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace huelinx::accuracy {
namespace {

using huelinx::testing::renotationTable;

// The cube sweep splits red among threads: every colour whose levels are
// multiples of the step is counted once whatever the split (four ranges
// starting at 64, 128 and 192 for steps of 51; three at 85 and 170, multiples
// of 17), and every colour that isn't exact has exactly one cause.
TEST(AccuracyCube, EveryColourCountedOnceWithOneCause) {
    const ColourSettings s;
    const CubeTally coarse = displayThroughMunsell(renotationTable(), s, 51, 4);
    EXPECT_EQ(coarse.all, 6 * 6 * 6);
    const CubeTally one = displayThroughMunsell(renotationTable(), s, 17, 1);
    const CubeTally three = displayThroughMunsell(renotationTable(), s, 17, 3);
    EXPECT_EQ(one.all, 16 * 16 * 16);
    EXPECT_EQ(three.all, one.all);
    EXPECT_EQ(three.exact, one.exact);
    EXPECT_EQ(three.withinOne, one.withinOne);
    EXPECT_EQ(three.xyzBack, one.xyzBack);
    EXPECT_EQ(three.causes, one.causes);
    long causes = 0;
    for (const auto& [cause, n] : one.causes)
        causes += n;
    EXPECT_EQ(causes, one.all - one.exact);
    EXPECT_LE(one.exact, one.withinOne);

    // Steps that don't divide the levels still reach 255's neighbours.
    const Count xyz = displayThroughXyz(s, 10);
    EXPECT_EQ(xyz.all, 26 * 26 * 26);
    EXPECT_EQ(xyz.good, xyz.all);
}

std::vector<DataRow> darkRows() {
    std::vector<DataRow> dark;
    for (const DataRow& r :
         readRenotationRows(std::string(HUELINX_DATA_DIR) + "/munsell-renotation-all.csv"))
        if (r.notation.value < 1) dark.push_back(r);
    return dark;
}

// The data's points below value 1: the forward conversion of each lies on the
// point, and a point moved off its place is caught both ways.
TEST(AccuracyDarkPoints, ConvertToThemselvesAndAMovedPointIsCaught) {
    std::vector<DataRow> rows = darkRows();
    ASSERT_EQ(rows.size(), 765u);
    const DarkPoints d = darkPoints(rows, renotationTable());
    EXPECT_EQ(d.points, 765);
    EXPECT_EQ(d.noColour, 3); // y at or below 0
    EXPECT_EQ(d.forward.good, d.forward.all);
    EXPECT_EQ(d.closeForward.good, d.closeForward.all);
    EXPECT_LE(d.medianDe, d.maxDe);
    EXPECT_LE(d.maxDe, 0.02);
    EXPECT_EQ(d.sameFromLevelY.good, d.sameFromLevelY.all);
    long notInData = 0;
    for (const auto& [fit, n] : d.notInData)
        notInData += n;
    EXPECT_EQ(notInData, d.inData.all - d.inData.good);

    // 5PB 0.6/4 moved by 0.01 in x, well inside the data.
    const auto moved = std::find_if(rows.begin(), rows.end(), [](const DataRow& r) {
        return r.notation.hue == 75.0f && r.notation.value == 0.6f && r.notation.chroma == 4.0f;
    });
    ASSERT_NE(moved, rows.end());
    moved->x += 0.01;
    const DarkPoints off = darkPoints(rows, renotationTable());
    EXPECT_EQ(off.closeForward.good, d.closeForward.good - 1);
    EXPECT_EQ(off.sameFromLevelY.good, d.sameFromLevelY.good - 1);
    EXPECT_GT(off.maxDe, 0.5);
}

// X, Y, Z read by the search as they are, whatever the illuminant.
TypedBack readAsC(double X, double Y, double Z, const MunTable& table, const ColourSettings& s) {
    ColourSettings c = s;
    c.illuminant = Illuminant::C;
    const MunsellOfXyz m = xyz2mun(X, Y, Z, table, c);
    return {m.fit == MunsellFit::InData, m.C == 0, m.H, m.V, m.C};
}

// Re-entry draws notations inside the data: under C they come back through
// the search at full precision; a path that reads D65 values as C values
// (the illuminant taken for C) is caught.
TEST(AccuracyReentry, CatchesXyzReadUnderAnotherIlluminant) {
    ColourSettings s;
    const Count c = reentry(renotationTable(), s, 300, 7, readAsC);
    EXPECT_EQ(c.all, 300);
    EXPECT_EQ(c.good, c.all);
    s.illuminant = Illuminant::D65;
    const Count d65 = reentry(renotationTable(), s, 300, 7, readAsC);
    EXPECT_EQ(d65.all, 300);
    EXPECT_LT(d65.good, 30);
}

} // namespace
} // namespace huelinx::accuracy
