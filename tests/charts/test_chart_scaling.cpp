// The chart windows open at their layout size and can be enlarged: the
// drawing, the shapes and the controls scale together, clicks still hit what
// is under the pointer, and every patch says what it is in a tooltip.
#include "main_window_fixture.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>

namespace huelinx::testing {
namespace {

class ChartScaling : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        ui().munsellBoxes[0]->setText("5R");
        ui().munsellBoxes[1]->setText("5");
        enter(ui().munsellBoxes[2], "10");
    }
    // Enlarges a window by half and lets the layout follow.
    static void enlarge(QWidget* window, ChartSurface* surface) {
        window->show();
        window->resize(surface->layoutSize() * 1.5);
        QApplication::processEvents();
    }
    QString name(float hue, float value, float chroma) const {
        const IsccNbsName* n = chroma == 0
                                   ? session().resources().names().nameOfNeutral(value)
                                   : session().resources().names().nameOf(hue, value, chroma);
        return n ? QString::fromStdString(n->name) : QString();
    }
};

TEST_F(ChartScaling, EveryChartOpensAtItsLayoutSizeAndCanBeEnlarged) {
    for (QCheckBox* check :
         {ui().huePageCheck, ui().valuePageCheck, ui().colorCheckerCheck, ui().toleranceSetCheck})
        check->setChecked(true);
    QApplication::processEvents();
    const std::vector<std::pair<QWidget*, ChartSurface*>> charts = {
        {form->findChild<HuePage*>(), form->findChild<HuePage*>()->surface},
        {form->findChild<ValuePage*>(), form->findChild<ValuePage*>()->surface},
        {form->findChild<ColorCheckerChart*>(), form->findChild<ColorCheckerChart*>()->surface},
        {form->findChild<ToleranceSet*>(), form->findChild<ToleranceSet*>()->surface}};
    for (const auto& [window, surface] : charts) {
        EXPECT_EQ(window->size(), surface->layoutSize()) << window->objectName().toStdString();
        EXPECT_EQ(surface->scale(), 1.0);
        QPushButton* print = window->findChild<QPushButton*>("Command1");
        const int buttonWidth = print->width();
        const QImage before = surface->image();
        enlarge(window, surface);
        EXPECT_EQ(window->size(), surface->layoutSize() * 1.5)
            << window->objectName().toStdString();
        EXPECT_NEAR(surface->scale(), 1.5, 0.01);
        // The controls grow with the drawing; what the surface holds is unchanged.
        EXPECT_NEAR(print->width(), buttonWidth * 1.5, 1.0);
        EXPECT_EQ(surface->image(), before);
    }
}

TEST_F(ChartScaling, ClosingAChartClearsItsOwnCheckBoxAlone) {
    QCheckBox* const checks[] = {ui().huePageCheck, ui().valuePageCheck, ui().colorCheckerCheck,
                                 ui().toleranceSetCheck};
    for (QCheckBox* check : checks)
        check->setChecked(true);
    QWidget* const charts[] = {form->findChild<HuePage*>(), form->findChild<ValuePage*>(),
                               form->findChild<ColorCheckerChart*>(),
                               form->findChild<ToleranceSet*>()};
    for (int closed = 0; closed < 4; ++closed) {
        charts[closed]->close();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(checks[i]->isChecked(), i > closed)
                << charts[closed]->objectName().toStdString() << " closed, box " << i;
        EXPECT_TRUE(charts[closed]->isHidden());
    }
}

TEST_F(ChartScaling, AClickOnAnEnlargedChartHitsThePatchUnderThePointer) {
    ui().huePageCheck->setChecked(true);
    auto* page = form->findChild<HuePage*>();
    enlarge(page, page->surface);
    const QColor patch = page->patches[44]->fillColor(); // 5R 5/8
    const QPoint target = page->surface->toWidget(page->patches[44]->rect().center()).toPoint();
    // What the enlarged surface shows there is the patch...
    EXPECT_EQ(page->surface->grab().toImage().pixelColor(target), patch);
    // ...and a click there sends the patch's notation.
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, target);
    EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                  text(ui().munsellBoxes[2]),
              "5R 5/8");

    ui().valuePageCheck->setChecked(true);
    auto* values = form->findChild<ValuePage*>();
    enlarge(values, values->surface);
    const QPoint circle = values->circleAt(25, 4).toPoint(); // 5Y 5/4
    QTest::mouseClick(values->surface, Qt::LeftButton, {},
                      values->surface->toWidget(circle).toPoint());
    EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                  text(ui().munsellBoxes[2]),
              "5Y 5/4");
}

TEST_F(ChartScaling, PatchesAndSlidersSayWhatTheyAre) {
    ui().huePageCheck->setChecked(true);
    auto* page = form->findChild<HuePage*>();
    const QPoint patch = page->patches[44]->rect().center();
    EXPECT_EQ(page->tooltipAt(patch.x(), patch.y()),
              "5R 5/8  " + name(5, 5, 8) + "\n" + clickSendsLine);
    EXPECT_TRUE(page->tooltipAt(2, 2).isEmpty());
    const QPoint outside = page->patches[140]->rect().center(); // 5R 9/28: no data
    EXPECT_TRUE(page->tooltipAt(outside.x(), outside.y()).isEmpty());
    // The surface shows it on hover, also when enlarged.
    enlarge(page, page->surface);
    const QPoint at = page->surface->toWidget(patch).toPoint();
    QHelpEvent hover(QEvent::ToolTip, at, page->surface->mapToGlobal(at));
    QApplication::sendEvent(page->surface, &hover);
    EXPECT_TRUE(QToolTip::text().startsWith("5R 5/8")) << QToolTip::text().toStdString();
    EXPECT_EQ(page->hueSlider->toolTip(), "Hue: 5.00R");
    page->hueSlider->setValue(25);
    EXPECT_EQ(page->hueSlider->toolTip(), "Hue: 5.00Y");

    ui().valuePageCheck->setChecked(true);
    auto* values = form->findChild<ValuePage*>();
    const QPoint grey = values->circleAt(5, 0).toPoint();
    EXPECT_TRUE(values->tooltipAt(grey.x(), grey.y()).startsWith("N 5/  " + name(0, 5, 0)));
    EXPECT_EQ(values->valueSlider->toolTip(), "Value: 5.00");

    ui().colorCheckerCheck->setChecked(true);
    auto* checker = form->findChild<ColorCheckerChart*>();
    const QPoint first = checker->patches[0]->rect().center();
    EXPECT_TRUE(checker->tooltipAt(first.x(), first.y()).startsWith("1 "))
        << checker->tooltipAt(first.x(), first.y()).toStdString();
    EXPECT_FALSE(checker->tooltipAt(first.x(), first.y()).contains(clickSendsLine));

    ui().toleranceSetCheck->setChecked(true);
    auto* set = form->findChild<ToleranceSet*>();
    const QPoint lighter = set->patches[1]->rect().center();
    EXPECT_TRUE(set->tooltipAt(lighter.x(), lighter.y()).startsWith("Lighter: "));
    EXPECT_EQ(set->stepSliders[0]->toolTip(), "Step of L*: 5.0");

    ui().redSlider->setValue(128);
    EXPECT_EQ(ui().redSlider->toolTip(), "R: 128");
    EXPECT_EQ(ui().gammaSlider->toolTip(), "Gamma: 2.2");
}

TEST_F(ChartScaling, AShownTooltipFollowsThePointerFromPatchToPatch) {
    ui().huePageCheck->setChecked(true);
    auto* page = form->findChild<HuePage*>();
    enlarge(page, page->surface);
    const auto widgetPoint = [&](int patch) {
        return page->surface->toWidget(page->patches[patch]->rect().center()).toPoint();
    };
    const auto tipOf = [&](int patch) {
        const QPoint p = page->patches[patch]->rect().center();
        return page->tooltipAt(p.x(), p.y());
    };
    ASSERT_NE(tipOf(44), tipOf(64));
    const QPoint first = widgetPoint(44); // 5R 5/8
    QHelpEvent hover(QEvent::ToolTip, first, page->surface->mapToGlobal(first));
    QApplication::sendEvent(page->surface, &hover);
    ASSERT_EQ(QToolTip::text(), tipOf(44));
    // Moving on to another patch names that patch, not the one left.
    QTest::mouseMove(page->surface, widgetPoint(64)); // 5R 5/12
    EXPECT_EQ(QToolTip::text(), tipOf(64));
    // Off the patches the tooltip goes (after Qt's short fade, well before
    // the seconds a tooltip left alone stays).
    QTest::mouseMove(page->surface, page->surface->toWidget(QPointF(2, 2)).toPoint());
    for (int wait = 0; wait < 40 && QToolTip::isVisible(); ++wait)
        QTest::qWait(50);
    EXPECT_FALSE(QToolTip::isVisible());
    QToolTip::hideText();
}

} // namespace
} // namespace huelinx::testing
