// The colour swatch as a drawing surface: its image is the widget's size and
// holds the shown colour at every pixel, and a press on it, read through the
// surface's pixel, sends that colour to the conversions.
#include "main_window_fixture.h"

#include "mainwindow/swatch.h"
#include "platform/colour_value.h"
#include "platform/image_surface.h"

#include <QApplication>
#include <QLabel>
#include <QSet>

#include <utility>

namespace huelinx::testing {
namespace {

TEST(Swatch, HoldsItsColourAtEveryPixelOfTheWidgetWhateverTheOrder) {
    Swatch swatch("swatch");
    swatch.setBackColor(QColor(10, 20, 30)); // before the widget has its size
    swatch.resize(30, 20);
    swatch.show();
    const ImageSurface& surface = swatch;
    const long colour = colourValue(qRgb(10, 20, 30));
    EXPECT_EQ(surface.image().size(), QSize(30, 20));
    EXPECT_EQ(surface.pixel(0, 0), colour);
    EXPECT_EQ(surface.pixel(29, 19), colour);
    EXPECT_EQ(surface.pixel(30, 0), -1);
    EXPECT_EQ(surface.pixel(0, -1), -1);
    swatch.setBackColor(QColor(200, 100, 0)); // after
    swatch.resize(50, 40);
    EXPECT_EQ(surface.pixel(49, 39), colourValue(qRgb(200, 100, 0)));
    EXPECT_EQ(swatch.backColor(), QColor(200, 100, 0));
}

// The distinct colours of the swatch's pixels as painted, inside `area`.
QSet<QRgb> paintedColours(Swatch& swatch, QRect area) {
    const QImage shown = swatch.grab().toImage();
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(shown.pixel(x, y) | 0xFF000000u);
    return colours;
}

TEST(Swatch, AMarkedColourIsPaintedInsideAHatchedBorderWhileAClickReadsTheBackColour) {
    Swatch swatch("swatch");
    swatch.resize(120, 80);
    const QColor clipped(0, 145, 139);
    swatch.setColour(Qt::black, clipped, true);
    EXPECT_TRUE(swatch.marked());
    EXPECT_EQ(swatch.shownColor(), clipped);
    const QRect border(0, 0, 120, Swatch::markWidth);
    const QRect left(0, 40, Swatch::markWidth, 1);
    const QSet<QRgb> stripes = paintedColours(swatch, border) + paintedColours(swatch, left);
    EXPECT_TRUE(stripes.contains(qRgb(0, 0, 0)));
    EXPECT_TRUE(stripes.contains(qRgb(255, 255, 255)));
    EXPECT_FALSE(stripes.contains(clipped.rgb()));
    // The middle and the lower part are the clipped colour; the badge sits top right.
    EXPECT_EQ(paintedColours(swatch, QRect(Swatch::markWidth, 30, 120 - 2 * Swatch::markWidth, 44)),
              QSet<QRgb>{clipped.rgb()});
    const int badge = 120 - Swatch::markWidth - 2 - Swatch::badgeSize / 2;
    EXPECT_TRUE(
        paintedColours(swatch, QRect(badge - 3, Swatch::markWidth + 2, 6, Swatch::badgeSize))
            .contains(qRgb(0, 0, 0)));
    // A click reads the back colour wherever it lands, border included.
    EXPECT_EQ(swatch.pixel(60, 40), colourValue(qRgb(0, 0, 0)));
    EXPECT_EQ(swatch.pixel(1, 1), colourValue(qRgb(0, 0, 0)));
    // A colour in range is painted as it is, edge to edge, unmarked.
    swatch.setBackColor(clipped);
    EXPECT_FALSE(swatch.marked());
    EXPECT_EQ(paintedColours(swatch, swatch.rect()), QSet<QRgb>{clipped.rgb()});
}

class SwatchClick : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
};

TEST_F(SwatchClick, AnyButtonAnywhereOnTheEnlargedSwatchSendsTheColourUnderIt) {
    form->show();
    auto* swatch = dynamic_cast<Swatch*>(form->findChild<QWidget*>("Picture1"));
    ASSERT_NE(swatch, nullptr);
    auto* surface = dynamic_cast<ImageSurface*>(swatch);
    ASSERT_NE(surface, nullptr);
    const QColor shown(text(ui().rgbBoxes[0]).toInt(), text(ui().rgbBoxes[1]).toInt(),
                       text(ui().rgbBoxes[2]).toInt());
    const QSize before = surface->size();
    EXPECT_EQ(surface->pixel(before.width() - 1, before.height() - 1), colourValue(shown.rgb()));
    // The window enlarged, the swatch grows with it, and so does its image.
    form->resize(form->size() + QSize(300, 200));
    QApplication::processEvents();
    const QPoint far(surface->width() - 2, surface->height() - 2);
    ASSERT_GT(far.x(), before.width());
    ASSERT_GT(far.y(), before.height());
    EXPECT_EQ(surface->pixel(far.x(), far.y()), colourValue(shown.rgb()));
    // A colour painted into the swatch alone is what a click there converts.
    const std::pair<Qt::MouseButton, QColor> clicks[] = {{Qt::LeftButton, QColor(100, 150, 200)},
                                                         {Qt::RightButton, QColor(90, 60, 30)}};
    for (const auto& [button, painted] : clicks) {
        const QString hue = text(ui().munsellBoxes[0]);
        swatch->setBackColor(painted);
        QTest::mouseClick(surface, button, {}, far);
        EXPECT_EQ(text(ui().rgbBoxes[0]).toInt(), painted.red()) << button;
        EXPECT_EQ(text(ui().rgbBoxes[1]).toInt(), painted.green()) << button;
        EXPECT_EQ(text(ui().rgbBoxes[2]).toInt(), painted.blue()) << button;
        EXPECT_NE(text(ui().munsellBoxes[0]), hue) << button;
    }
}

TEST_F(SwatchClick, AColourTheDisplayCannotShowIsPaintedClippedAndMarkedAndItsBoxesStay) {
    form->show();
    auto* swatch = dynamic_cast<Swatch*>(form->findChild<QWidget*>("Picture1"));
    ASSERT_NE(swatch, nullptr);
    ui().munsellBoxes[0]->setText("5BG");
    ui().munsellBoxes[1]->setText("5");
    enter(ui().munsellBoxes[2], "12");
    const ColourModel outside = form->colour();
    ASSERT_TRUE(outside.rgbOutOfRange);
    const QColor clipped(outside.clippedRgb[0], outside.clippedRgb[1], outside.clippedRgb[2]);
    ASSERT_NE(clipped, QColor(Qt::black));
    // The label and the R, G, B boxes say what they said; the swatch shows the
    // clipped colour in its middle, inside the hatched border.
    EXPECT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    const int levels[3] = {outside.red, outside.green, outside.blue};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(text(ui().rgbBoxes[i]).toInt(), levels[i]) << i;
    EXPECT_TRUE(swatch->marked());
    const QPoint middle = swatch->rect().center();
    EXPECT_EQ(paintedColours(*swatch, QRect(middle, QSize(1, 1))), QSet<QRgb>{clipped.rgb()});
    EXPECT_EQ(paintedColours(*swatch, QRect(0, middle.y(), Swatch::markWidth, 1)).size(), 2);
    // A click converts the display levels, as before the mark.
    const ColourModel expected =
        clickSwatch(outside, outside.red, outside.green, outside.blue, session().table());
    QTest::mouseClick(swatch, Qt::LeftButton, {}, middle);
    EXPECT_EQ(form->colour().box, expected.box);
    // A colour in range takes the mark away.
    ui().munsellBoxes[0]->setText("5R");
    ui().munsellBoxes[1]->setText("4");
    enter(ui().munsellBoxes[2], "14");
    EXPECT_FALSE(swatch->marked());
    const QColor shown(form->colour().red, form->colour().green, form->colour().blue);
    EXPECT_EQ(paintedColours(*swatch, swatch->rect()), QSet<QRgb>{shown.rgb()});
}

} // namespace
} // namespace huelinx::testing
