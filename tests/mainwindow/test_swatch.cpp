// The colour swatch as a drawing surface: its image is the widget's size and
// holds the shown colour at every pixel, and a press on it, read through the
// surface's pixel, sends that colour to the conversions.
#include "main_window_fixture.h"

#include "mainwindow/swatch.h"
#include "platform/colour_value.h"
#include "platform/image_surface.h"

#include <QApplication>

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

} // namespace
} // namespace huelinx::testing
