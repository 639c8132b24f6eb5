#include "main_window_fixture.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"
#include "mainwindow/swatch.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <set>

namespace huelinx::testing {
namespace {

class HuePageTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        ui().huePageCheck->setChecked(true);
        page = form->findChild<HuePage*>();
        ASSERT_NE(page, nullptr);
    }
    void notation(const char* hue, const char* value, const char* chroma) {
        ui().munsellBoxes[0]->setText(hue);
        ui().munsellBoxes[1]->setText(value);
        enter(ui().munsellBoxes[2], chroma);
    }
    long centre(int i) const {
        const QPoint p = page->patches[i]->rect().center();
        return page->surface->pixel(p.x(), p.y());
    }
    // Every field, slider and flag of the main window that a chart could disturb.
    QStringList mainState() const {
        QStringList all;
        for (auto* group : {&ui().munsellBoxes, &ui().xyzBoxes, &ui().labBoxes, &ui().rgbBoxes})
            for (auto* box : *group)
                all << box->text();
        for (auto* box : ui().chromaticityBoxes)
            all << box->text();
        for (auto* box : ui().cmykBoxes)
            all << box->text();
        for (auto* s : {ui().hueSlider, ui().valueSlider, ui().chromaSlider, ui().redSlider,
                        ui().greenSlider, ui().blueSlider})
            all << QString::number(s->value());
        all << ui().outOfRangeLabel->text() << ui().swatch->backColor().name();
        all << QString("%1 %2 %3 %4")
                   .arg(form->colour().red)
                   .arg(form->colour().green)
                   .arg(form->colour().blue)
                   .arg(form->colour().rgbOutOfRange);
        return all;
    }
    HuePage* page = nullptr;
};

TEST_F(HuePageTest, ChartsLeaveTheMainWindowAlone) {
    ui().toleranceSetCheck->setChecked(true);
    ui().valuePageCheck->setChecked(true);
    ui().colorCheckerCheck->setChecked(true);
    notation("5R", "9", "6"); // out of the display's range: the warning line shows
    ASSERT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    const QStringList before = mainState();
    page->showHuePage();
    float value = 3;
    form->findChild<ValuePage*>()->showValuePage(value);
    form->findChild<ToleranceSet*>()->buildAround(40, 60, -30);
    form->findChild<ColorCheckerChart*>()->drawChart();
    EXPECT_EQ(mainState(), before);
    // A typed display colour stays as typed with the tolerance set open.
    ui().rgbBoxes[0]->setText("200");
    ui().rgbBoxes[1]->setText("31");
    enter(ui().rgbBoxes[2], "47");
    EXPECT_EQ(form->colour().red * 65536 + form->colour().green * 256 + form->colour().blue,
              200 * 65536 + 31 * 256 + 47);
    EXPECT_TRUE(messages().empty());
}

TEST_F(HuePageTest, PageOf5RFromNeutralToOutOfData) {
    notation("5R", "5", "10");
    EXPECT_EQ(page->windowTitle(), "Munsell Book of Color");
    EXPECT_EQ(page->hueSlider->value(), 5);
    EXPECT_EQ(page->hueTitle->text(), "5R");
    EXPECT_EQ(page->size(), QSize(812, 530));
    EXPECT_EQ(page->patches[0]->rect(), QRect(88, 8, 41, 41));
    EXPECT_EQ(page->patches[149]->rect(), QRect(760, 440, 41, 41));
    // Chroma 0: greys from N9 down, black at the bottom.
    int previous = 256;
    for (int r = 0; r < 9; ++r) {
        const QColor c = page->patches[r]->fillColor();
        EXPECT_NEAR(c.red(), c.green(), 2);
        EXPECT_LT(c.red(), previous);
        previous = c.red();
        EXPECT_EQ(centre(r), colourValue(c));
    }
    EXPECT_EQ(centre(9), 0);
    // 5R 9/28 lies outside the data, 5R 9/6 outside the display's range.
    EXPECT_EQ(centre(140), colourValue(QColor(192, 192, 192)));
    EXPECT_EQ(page->patches[140]->borderStyle(), BorderStyle::Solid);
    ASSERT_EQ(page->patches[30]->borderStyle(), BorderStyle::Dot);
    const QRect dotted = page->patches[30]->rect();
    const long fill = colourValue(page->patches[30]->fillColor());
    // Its border: two rings in dashes of black and white, then the fill.
    std::set<long> dashes;
    for (int x = dotted.left(); x < dotted.left() + 6; ++x)
        for (int ring = 0; ring < 2; ++ring)
            dashes.insert(page->surface->pixel(x, dotted.top() + ring));
    EXPECT_EQ(dashes, (std::set<long>{0, 0xFFFFFF}));
    EXPECT_EQ(page->surface->pixel(dotted.left() + 2, dotted.top() + 2), fill);
    const QRect solid = page->patches[44]->rect();
    EXPECT_EQ(page->surface->pixel(solid.left() + 1, solid.top() + 1),
              colourValue(page->patches[44]->fillColor()));
    EXPECT_EQ(page->patches[44]->borderStyle(), BorderStyle::Solid); // 5R 5/8
    EXPECT_TRUE(messages().empty());

    // 10RP is drawn as hue 0 with the slider at 0.
    notation(".00R", "5", "10");
    const QImage hue0 = page->surface->image();
    notation("10RP", "5", "10");
    EXPECT_EQ(page->hueSlider->value(), 0);
    EXPECT_EQ(page->surface->image(), hue0);
}

// A click on a patch enters the notation the patch shows, as if typed into
// the Munsell boxes; the page's grey between and around the patches, and the
// patches the data don't hold, send nothing. The page stays on its hue.
TEST_F(HuePageTest, ClicksOffThePatchesDoNothingAndAPatchSendsItsNotation) {
    notation("5R", "4", "14");
    const QStringList typed = mainState();
    const QString typedName = ui().colourNameBox->text();
    notation("5R", "5", "10");
    const QImage page5R = page->surface->image();
    const QStringList before = mainState();
    const QString name = ui().colourNameBox->text();
    const QRect patch = page->patches[44]->rect(); // 5R 5/8
    const QPoint gaps[] = {
        {patch.right() + 3, patch.center().y()}, {patch.center().x(), patch.bottom() + 3}, {2, 2}};
    for (const QPoint gap : gaps) {
        ASSERT_EQ(page->surface->pixel(gap.x(), gap.y()), colourValue(pageGrey));
        QTest::mouseClick(page->surface, Qt::LeftButton, {}, gap);
    }
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, page->patches[140]->rect().center());
    EXPECT_EQ(mainState(), before);
    EXPECT_EQ(ui().colourNameBox->text(), name);

    // 5R 4/14 (column 7, row 5) gives what typing it gives, not the round
    // trip of its display colour.
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, page->patches[75]->rect().center());
    EXPECT_EQ(mainState(), typed);
    EXPECT_EQ(ui().colourNameBox->text(), typedName);
    EXPECT_EQ(page->surface->image(), page5R);
    // A grey patch sends its neutral notation.
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, page->patches[3]->rect().center());
    EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                  text(ui().munsellBoxes[2]),
              "N 6/0");
    EXPECT_EQ(page->hueTitle->text(), "5R");
    EXPECT_TRUE(messages().empty());
    // Other conversions turn the page.
    notation("5Y", "7", "6");
    EXPECT_EQ(page->hueTitle->text(), "5Y");
    EXPECT_NE(page->surface->image(), page5R);
}

TEST_F(HuePageTest, HueSliderRewritesTheHueFieldOnly) {
    notation("5R", "5", "10");
    const QString x = text(ui().xyzBoxes[0]);
    const QImage red = page->surface->image();
    page->hueSlider->setValue(25);
    EXPECT_EQ(text(ui().munsellBoxes[0]), "5.00Y");
    EXPECT_EQ(page->hueTitle->text(), "5.00Y");
    EXPECT_NE(page->surface->image(), red);
    EXPECT_EQ(text(ui().xyzBoxes[0]), x); // no conversion in the main window
    page->hueSlider->setValue(100);       // 10RP is hue 0 again
    EXPECT_EQ(text(ui().munsellBoxes[0]), "10.00RP");
    EXPECT_EQ(page->hueSlider->value(), 0);
}

TEST_F(HuePageTest, BadHuesPrintingAndTheCheckBox) {
    // A hue without family is refused in the main window, with no box to
    // close, and the page stays on its hue.
    notation("5R", "5", "4");
    notation("X", "5", "4");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(page->hueTitle->text(), "5R");
    // A hue far beyond the circle: the slider at its end, nothing in the data.
    ui().munsellBoxes[0]->setText("250R");
    page->showHuePage();
    EXPECT_EQ(page->hueSlider->value(), 100);
    EXPECT_EQ(centre(0), colourValue(QColor(192, 192, 192)));
    page->printButton->click();
    EXPECT_EQ(messages(), std::vector<QString>{"Printer not Found"});
    // Clearing the box hides the page and keeps it; closing it clears the box.
    ui().huePageCheck->setChecked(false);
    EXPECT_TRUE(page->isHidden());
    ui().huePageCheck->setChecked(true);
    EXPECT_EQ(form->findChild<HuePage*>(), page);
    page->close();
    EXPECT_FALSE(ui().huePageCheck->isChecked());
    EXPECT_TRUE(page->isHidden());
}

} // namespace
} // namespace huelinx::testing
