// The MacAdam limit line of the hue and value pages: the search along
// chroma, with plain stand-in checks whose limit is known, and with the
// program's own check; the runs the pages draw; and the pages drawing it.
#include "main_window_fixture.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "charts/hue_page.h"
#include "charts/limit_line.h"
#include "charts/value_page.h"
#include "colour/macadam_limits.h"
#include "colour/mun2xyz.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace huelinx::testing {
namespace {

// Chromaticity of illuminant C's white.
constexpr double whiteX = 0.310063, whiteY = 0.316158;

double whiteDistance(const Tristimulus& c) {
    const double sum = double(c.X) + c.Y + c.Z;
    return std::hypot(c.X / sum - whiteX, c.Y / sum - whiteY);
}

// Within while the chromaticity lies within `radius` of the white.
LimitExcess disc(double radius) {
    return [radius](const Tristimulus& c) { return whiteDistance(c) - radius; };
}

Tristimulus colourOf(double hue, double value, double chroma, const MunTable& table) {
    const CieOfMunsell cie = mun2xyz(hue, value, chroma, table, ColourSettings{});
    return {float(cie.X), float(cie.Y), float(cie.Z)};
}

bool inData(double hue, double value, double chroma, const MunTable& table) {
    return mun2xyz(hue, value, chroma, table, ColourSettings{}).status == MunsellToCie::Ok;
}

class LimitLineTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    const MunTable& table() const { return session().table(); }
    // Every reached point is within and a little further is not; every other
    // point's colours are within up to where the data (or the page) end.
    void expectLimits(const std::vector<LimitPoint>& line, const LimitExcess& excess,
                      double maxChroma) {
        for (const LimitPoint& p : line) {
            SCOPED_TRACE(::testing::Message() << p.hue << " " << p.value << "/" << p.chroma);
            const double at = excess(colourOf(p.hue, p.value, p.chroma, table()));
            if (p.reached) {
                EXPECT_LE(at, 0);
                // Twice the search's tolerance further, but not past the data
                // step found beyond.
                const double further = std::min(p.chroma + 0.004, 2 * std::floor(p.chroma / 2) + 2);
                EXPECT_GT(excess(colourOf(p.hue, p.value, further, table())), 0);
                continue;
            }
            for (double c = 0; c <= p.chroma; c += 2)
                EXPECT_LE(excess(colourOf(p.hue, p.value, c, table())), 0);
            EXPECT_TRUE(p.chroma >= maxChroma || !inData(p.hue, p.value, p.chroma + 2, table()));
        }
    }
};

TEST_F(LimitLineTest, PointsFoundAreWithinAndAStepBeyondIsNot) {
    const LimitExcess real = macAdamCheckOfC(session().resources());
    ASSERT_TRUE(real);
    for (const LimitExcess& excess : {disc(0.08), real}) {
        int reached = 0;
        for (double hue : {5.0, 25.0, 65.0, 97.5}) {
            const auto line = hueLimitLine(hue, table(), excess);
            expectLimits(line, excess, 28);
            for (const LimitPoint& p : line)
                reached += p.reached;
        }
        for (double value : {2.5, 5.0, 8.0})
            expectLimits(valueLimitLine(value, table(), excess), excess, 40);
        EXPECT_GT(reached, 40); // the search is not passing every point over
    }
    // The renotation reaches far beyond real surfaces in the reds: at 5R 4/
    // the limit lies well inside the data.
    const LimitPoint red = limitAt(5, 4, 28, table(), real);
    EXPECT_TRUE(red.reached);
    EXPECT_GT(red.chroma, 4);
    EXPECT_TRUE(inData(5, 4, red.chroma + 2, table()));
}

// The line agrees with the check of a notation the main window converts
// (under C without PWD): just inside the line within, just outside beyond.
TEST_F(LimitLineTest, AgreesWithTheCheckOfAConvertedNotation) {
    const LimitExcess real = macAdamCheckOfC(session().resources());
    const Loaded<SpectralTables> tables =
        loadSpectralTables(session().resources().folders().searched);
    ASSERT_TRUE(tables.value) << tables.message;
    const MacAdamSolids solids = macAdamSolids(*tables.value);
    auto checked = [&](double value, double chroma) {
        ColourModel c = ColourModel::initial();
        c = edit(std::move(c), Box::Hue, "5R");
        c = edit(std::move(c), Box::Value, std::to_string(int(value)));
        c = edit(std::move(c), Box::Chroma, QString::number(chroma, 'f', 2).toStdString());
        return macAdamOf(enterMunsell(std::move(c), table()), solids);
    };
    for (double value : {3.0, 4.0, 6.0, 8.0}) {
        const LimitPoint p = limitAt(5, value, 28, table(), real);
        ASSERT_TRUE(p.reached) << value;
        const auto inside = checked(value, std::floor(p.chroma * 100) / 100 - 0.01);
        const auto outside = checked(value, std::ceil(p.chroma * 100) / 100 + 0.01);
        ASSERT_TRUE(inside && outside);
        EXPECT_TRUE(inside->within) << value << " " << p.chroma;
        EXPECT_FALSE(outside->within) << value << " " << p.chroma;
    }
}

// From the grey outwards the first colour beyond sets the limit, even when
// colours further out come back within; a grey beyond gives chroma 0; a hue
// whose data end first has no limit and keeps the data's edge.
TEST_F(LimitLineTest, FirstCrossingGreysBeyondAndTheDataEdge) {
    const LimitExcess band = [](const Tristimulus& c) {
        const double d = whiteDistance(c);
        return d > 0.06 && d < 0.1 ? 1.0 : -1.0;
    };
    const LimitPoint banded = limitAt(5, 5, 28, table(), band);
    const LimitPoint inner = limitAt(5, 5, 28, table(), disc(0.06));
    ASSERT_TRUE(banded.reached);
    EXPECT_NEAR(banded.chroma, inner.chroma, 0.002);
    EXPECT_GT(inner.chroma, 2);

    const LimitExcess darkOnly = [](const Tristimulus& c) { return c.Y - 30.0; };
    const LimitPoint light = limitAt(5, 8, 28, table(), darkOnly);
    EXPECT_TRUE(light.reached);
    EXPECT_EQ(light.chroma, 0);
    const LimitPoint dark = limitAt(5, 3, 40, table(), darkOnly);
    EXPECT_FALSE(dark.reached);
    EXPECT_GT(dark.chroma, 8);
    EXPECT_TRUE(inData(5, 3, dark.chroma, table()));
    EXPECT_FALSE(inData(5, 3, dark.chroma + 2, table()));
    // The page's edge stops the search where the data go on.
    const LimitPoint edge = limitAt(5, 3, 6, table(), darkOnly);
    EXPECT_FALSE(edge.reached);
    EXPECT_EQ(edge.chroma, 6);
}

// Each point: 'R' a limit found at chroma 10 + k, 'u' none found with the
// data ending at chroma 5 (short of a chord between limits), 'U' none found
// with the data reaching chroma 50 (beyond any chord).
std::vector<LimitPoint> limitPoints(const char* pattern) {
    std::vector<LimitPoint> line;
    for (int k = 0; pattern[k]; ++k) {
        const bool reached = pattern[k] == 'R';
        line.push_back({double(k), 5,
                        reached             ? 10.0 + k
                        : pattern[k] == 'u' ? 5.0
                                            : 50.0,
                        reached});
    }
    return line;
}

std::vector<std::vector<int>> runHues(const std::vector<std::vector<LimitPoint>>& runs) {
    std::vector<std::vector<int>> out;
    for (const auto& run : runs) {
        out.emplace_back();
        for (const LimitPoint& p : run)
            out.back().push_back(int(p.hue));
    }
    return out;
}

using Runs = std::vector<std::vector<int>>;

TEST(LimitRuns, BreakWhereTheDataEndFirstAndCloseRoundTheCircle) {
    // A lone reached point draws nothing.
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRURURR"), false)), (Runs{{0, 1}, {5, 6}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRURURR"), true)), (Runs{{5, 6, 0, 1}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("RURR"), true)), (Runs{{2, 3, 0}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRRR"), true)), (Runs{{0, 1, 2, 3, 0}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRRR"), false)), (Runs{{0, 1, 2, 3}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("URRU"), true)), (Runs{{1, 2}}));
    EXPECT_TRUE(limitRuns(limitPoints("UUU"), true).empty());
}

// Up to three points short of the data between two limits are crossed on the
// chord between them; longer gaps, and ends with no limit beyond, are not.
TEST(LimitRuns, ShortGapsWithinTheDataAreCrossedOnTheChord) {
    const auto crossed = limitRuns(limitPoints("RRuuuRR"), false);
    ASSERT_EQ(runHues(crossed), (Runs{{0, 1, 2, 3, 4, 5, 6}}));
    for (int k = 2; k <= 4; ++k)
        EXPECT_DOUBLE_EQ(crossed[0][k].chroma, 10.0 + k); // on the chord from 11 to 15
    EXPECT_EQ(crossed[0][1].chroma, 11);
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRuuuuRR"), false)), (Runs{{0, 1}, {6, 7}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("RRuURR"), false)), (Runs{{0, 1}, {4, 5}}));
    EXPECT_EQ(runHues(limitRuns(limitPoints("uRRu"), false)), (Runs{{1, 2}}));
    // Round the circle the gap at its ends is crossed too.
    const auto circle = limitRuns(limitPoints("uRRu"), true);
    ASSERT_EQ(runHues(circle), (Runs{{0, 1, 2, 3, 0}}));
    EXPECT_DOUBLE_EQ(circle[0][0].chroma, 12 - 2 / 3.0); // on the chord from 12 at 2 to 11 at 1
    EXPECT_DOUBLE_EQ(circle[0][3].chroma, 12 - 1 / 3.0);
}

class LimitOnPagesTest : public LimitLineTest {
  protected:
    // A disc check that counts how often it is asked.
    LimitExcess counted(double radius) {
        return [this, radius](const Tristimulus& c) {
            ++asked;
            return whiteDistance(c) - radius;
        };
    }
    void notation(const char* hue, const char* value, const char* chroma) {
        ui().munsellBoxes[0]->setText(hue);
        ui().munsellBoxes[1]->setText(value);
        enter(ui().munsellBoxes[2], chroma);
    }
    static bool onLine(const ChartSurface& surface, QPointF at) {
        const long c = surface.pixel(int(at.x()), int(at.y()));
        return c == 0 || c == 0xFFFFFF;
    }
    long asked = 0;
};

TEST_F(LimitOnPagesTest, TheHuePageDrawsTheLineOnceForEachHue) {
    notation("5R", "5", "10");
    ui().huePageCheck->setChecked(true);
    HuePage* page = form->findChild<HuePage*>();
    ASSERT_NE(page, nullptr);
    // The program's own check draws a line on 5R from the start.
    EXPECT_FALSE(page->surface->lines().empty());
    EXPECT_TRUE(page->limitLegend->isVisible());

    page->setLimitCheck({});
    const QImage without = page->surface->image();
    EXPECT_TRUE(page->surface->lines().empty());
    EXPECT_FALSE(page->limitLegend->isVisible());

    page->setLimitCheck(counted(0.08));
    const auto line = hueLimitLine(5, table(), disc(0.08));
    const auto runs = limitRuns(line, false);
    ASSERT_EQ(runs.size(), 1u);
    const auto lines = page->surface->lines();
    ASSERT_EQ(lines.size(), 2u); // the line and the legend's sample
    ASSERT_EQ(lines[0].size(), runs[0].size());
    for (std::size_t i = 0; i < runs[0].size(); ++i)
        EXPECT_EQ(lines[0][i], HuePage::pointAt(runs[0][i].chroma, runs[0][i].value));
    // Drawn over the patches it crosses.
    int overPatches = 0;
    for (std::size_t k = 1; k + 1 < lines[0].size(); ++k) { // the ends have flat caps
        const QPoint p = lines[0][k].toPoint();
        SCOPED_TRACE(k);
        const bool onPatch = std::any_of(page->patches.begin(), page->patches.end(),
                                         [&](ChartShape* s) { return s->rect().contains(p); });
        const QRgb before = without.pixel(p) & 0xFFFFFF;
        if (!onPatch || before == 0 || before == 0xFFFFFF) continue;
        ++overPatches;
        EXPECT_TRUE(onLine(*page->surface, p));
    }
    EXPECT_GT(overPatches, 5);
    // The enlarged page draws it too, at its scale.
    page->resize(page->surface->layoutSize() * 1.5);
    QApplication::processEvents();
    const QImage enlarged = page->surface->grab().toImage();
    for (std::size_t k = 1; k + 1 < lines[0].size(); ++k) {
        const QColor c = enlarged.pixelColor(page->surface->toWidget(lines[0][k]).toPoint());
        // Black dashes on white, smoothed: a grey, where the patches are red.
        EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue()) << k;
    }
    page->resize(page->surface->layoutSize());
    EXPECT_TRUE(page->limitLegend->isVisible());

    // Kept: the same hue again asks the check nothing; another hue does.
    const long first = asked;
    EXPECT_GT(first, 0);
    page->showHuePage();
    notation("5R", "4", "6");
    EXPECT_EQ(asked, first);
    notation("5PB", "4", "6");
    EXPECT_GT(asked, first);
    EXPECT_NE(page->surface->lines()[0], lines[0]);
    const long second = asked;
    notation("5R", "4", "6");
    EXPECT_EQ(asked, second);
    EXPECT_EQ(page->surface->lines()[0], lines[0]);
}

TEST_F(LimitOnPagesTest, TheValuePageDrawsAClosedCurveOnceForEachValue) {
    notation("5R", "5", "10");
    ui().valuePageCheck->setChecked(true);
    ValuePage* page = form->findChild<ValuePage*>();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->surface->lines().empty());
    EXPECT_TRUE(page->limitLegend->isVisible());

    // A small disc: every hue reaches it at value 5, so the curve closes.
    page->setLimitCheck(counted(0.03));
    const auto line = valueLimitLine(5, table(), disc(0.03));
    const auto lines = page->surface->lines();
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 81u);
    EXPECT_EQ(lines[0].front(), lines[0].back());
    for (std::size_t k = 0; k < line.size(); ++k) {
        ASSERT_TRUE(line[k].reached);
        EXPECT_EQ(lines[0][k], page->circleAt(float(line[k].hue), line[k].chroma));
    }
    EXPECT_TRUE(onLine(*page->surface, (lines[0][30] + lines[0][31]) / 2));
    // The read-out gives the colour of a circle the curve crosses, not the curve.
    platform.setAdvancePerRead(0.004);
    int readOver = 0;
    for (const QPointF at : lines[0]) {
        const QPoint p = at.toPoint();
        const long under = page->surface->pixelUnderLines(p.x(), p.y());
        const int r = under & 0xFF, g = (under >> 8) & 0xFF, b = (under >> 16) & 0xFF;
        if (!onLine(*page->surface, p) || std::min({r, g, b}) < 1 || std::max({r, g, b}) > 254 ||
            under == colourValue(pageGrey))
            continue;
        page->onMouseMove(p.x(), p.y());
        EXPECT_EQ(colourValue(page->readOutSwatch->fillColor()), under);
        ++readOver;
    }
    EXPECT_GT(readOver, 10);

    const long first = asked;
    float value = 5;
    page->showValuePage(value);
    EXPECT_EQ(asked, first);
    value = 7;
    page->showValuePage(value);
    EXPECT_GT(asked, first);

    // A check under which every colour is within draws nothing.
    page->setLimitCheck([](const Tristimulus&) { return -1.0; });
    EXPECT_TRUE(page->surface->lines().empty());
    EXPECT_FALSE(page->limitLegend->isVisible());
}

} // namespace
} // namespace huelinx::testing
