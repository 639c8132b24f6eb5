// The drawing surfaces' common ground: pixels read as 24-bit values with -1
// off the image, presses and moves handed on in image pixels only over the
// image, and tooltips from the surface's items, or the window's elsewhere.
#include "platform/image_surface.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <vector>

namespace huelinx {
namespace {

// A 4 x 3 image in a larger widget; `zoom` widget pixels to an image pixel.
class SmallImage : public ImageSurface {
  public:
    explicit SmallImage(QWidget* parent = nullptr, int zoom = 1)
        : ImageSurface("small", parent), image_(4, 3, QImage::Format_RGB32), zoom_(zoom) {
        image_.fill(QColor(10, 20, 30));
        image_.setPixel(3, 2, qRgb(1, 2, 3));
        resize(20, 20);
    }
    const QImage& image() const override { return image_; }
    QPoint pixelAt(QPointF p) const override { return (p / zoom_).toPoint(); }

  private:
    QImage image_;
    int zoom_;
};

struct Press {
    int x, y;
    Qt::MouseButton button;
    bool operator==(const Press&) const = default;
};

TEST(ImageSurface, PixelsAreRedInTheLowestByteAndMinusOneOffTheImage) {
    SmallImage surface;
    EXPECT_EQ(surface.pixel(0, 0), 10L | 20L << 8 | 30L << 16);
    EXPECT_EQ(surface.pixel(3, 2), 0x030201L);
    for (const QPoint off : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 0), QPoint(0, 3)})
        EXPECT_EQ(surface.pixel(off.x(), off.y()), -1) << off.x() << "," << off.y();
    // Within the widget but beyond the image there is no pixel either.
    EXPECT_EQ(surface.pixel(10, 10), -1);
}

TEST(ImageSurface, PressesAndMovesComeInImagePixelsOnlyOverTheImage) {
    SmallImage surface(nullptr, 2);
    std::vector<Press> presses;
    std::vector<QPoint> moves;
    surface.onMouseDown = [&](int x, int y, Qt::MouseButton b) { presses.push_back({x, y, b}); };
    surface.onMouseMove = [&](int x, int y) { moves.emplace_back(x, y); };
    surface.show();
    QTest::mouseClick(&surface, Qt::RightButton, {}, QPoint(6, 4));
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(15, 15)); // beyond the image
    QTest::mouseMove(&surface, QPoint(2, 2));
    QTest::mouseMove(&surface, QPoint(12, 2)); // beyond the image
    EXPECT_EQ(presses, (std::vector<Press>{{3, 2, Qt::RightButton}}));
    EXPECT_EQ(moves, (std::vector<QPoint>{{1, 1}}));
}

TEST(ImageSurface, TooltipsComeFromTheItemsOrFromTheWindowBehind) {
    QWidget window;
    window.setToolTip("the window");
    SmallImage surface(&window);
    surface.tooltipAt = [](int x, int y) { return x == 3 && y == 2 ? "the corner" : QString(); };
    window.show();
    const auto hover = [&](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, surface.mapToGlobal(at));
        QApplication::sendEvent(&surface, &help);
        return QToolTip::text();
    };
    EXPECT_EQ(hover(QPoint(3, 2)), "the corner");
    EXPECT_EQ(hover(QPoint(1, 1)), "the window");
    EXPECT_EQ(hover(QPoint(15, 15)), "the window"); // beyond the image
    QToolTip::hideText();
}

} // namespace
} // namespace huelinx
