// How the viewer and the logo look: a colour the display can't show drawn in
// its clipped colour with a black and white rim, and, at twice the scale (the
// ctest entry HighDpi.AtTwiceTheScale), the drawing and the logo made of the
// device's pixels, with smooth edges, while clicks and tooltips still count
// in the widget's pixels.
#include "main_window_fixture.h"

#include "viewer/palette_viewer.h"
#include "viewer/viewer_surface.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

#include <cmath>
#include <cstdlib>

namespace huelinx::testing {
namespace {

class ViewerDisplay : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    // The viewer, stopped, showing the palette of `rows` (tag, hue, value, chroma).
    PaletteViewer& show(const std::vector<std::array<QString, 4>>& rows) {
        QFile f("shown.csv");
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        for (const auto& [tag, hue, value, chroma] : rows)
            f.write(QString("\"12-17-2022\",\"10:30:00\",\"%1\",\"%2\",\"%3\",\"%4\",\"1\",\r\n")
                        .arg(tag, hue, value, chroma)
                        .toLatin1());
        f.close();
        ui().viewerCheck->setChecked(true);
        PaletteViewer& v = *companions().viewer();
        v.onStop();
        platform.clear();
        setPaletteFile("shown.csv");
        v.loadPalette(PaletteSource::CurrentFile);
        v.drawPalette();
        return v;
    }
    static QPointF centre(const PaletteViewer& v, int i) {
        return v.drawing->toPixels(v.dotAt(i).x, v.dotAt(i).y);
    }
    static QRgb rgbOf(long pixel) {
        return qRgb(pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF);
    }
    // The colours of the widget pixels of entry i's dot between a half and one
    // pixel inside its edge.
    static QSet<QRgb> rimColours(const PaletteViewer& v, int i) {
        const double width = 2 * v.entry(i).value + 2;
        const ViewPoint at = v.dotAt(i);
        const QPointF c = centre(v, i);
        QSet<QRgb> colours;
        for (int py = int(c.y()) - int(width); py <= int(c.y()) + int(width); ++py)
            for (int px = int(c.x()) - int(width); px <= int(c.x()) + int(width); ++px)
                if (v.drawing->covers(at.x, at.y, width - 1, px, py) &&
                    !v.drawing->covers(at.x, at.y, width - 2, px, py))
                    colours.insert(rgbOf(v.drawing->pixel(px, py)));
        return colours;
    }
};

TEST_F(ViewerDisplay, DotsTheDisplayCannotShowAreTheirClippedColourWithABlackAndWhiteRim) {
    PaletteViewer& v = show({{"teal", "5BG", "5", "12"}, {"red", "5R", "4", "14"}});
    ASSERT_EQ(v.pointCount(), 2);
    const PaletteEntry& teal = v.entry(1);
    ASSERT_TRUE(teal.outOfRange);
    ASSERT_TRUE(teal.swatch);
    // The clipped colour is the one the export writes; the display levels stay.
    EXPECT_EQ(teal.shownRgb, teal.swatch->rgb);
    EXPECT_NE(teal.shownRgb, (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(v.entry(2).shownRgb, v.entry(2).rgb);
    EXPECT_FALSE(v.entry(2).outOfRange);

    const QPointF c = centre(v, 1);
    EXPECT_EQ(rgbOf(v.drawing->pixel(int(c.x()), int(c.y()))),
              qRgb(teal.shownRgb[0], teal.shownRgb[1], teal.shownRgb[2]));
    const QSet<QRgb> rim = rimColours(v, 1);
    EXPECT_TRUE(rim.contains(qRgb(0, 0, 0)));
    EXPECT_TRUE(rim.contains(qRgb(255, 255, 255)));
    // A colour in range has no rim.
    const auto& red = v.entry(2).rgb;
    EXPECT_EQ(rimColours(v, 2), QSet<QRgb>{qRgb(red[0], red[1], red[2])});
    // The tooltip says it too.
    EXPECT_TRUE(v.tooltipAt(int(c.x()), int(c.y())).endsWith("  (outside the display's range)"));
    const QPointF r = centre(v, 2);
    EXPECT_FALSE(v.tooltipAt(int(r.x()), int(r.y())).contains("display"));
    // Picked, it fills its side's swatch in the colour of its dot, and the
    // swatch says why.
    v.onDrawingClicked(1, int(c.x()), int(c.y()));
    v.onDrawingClicked(2, int(r.x()), int(r.y()));
    EXPECT_EQ(v.leftPickSwatch->palette().color(QPalette::Window),
              QColor(teal.shownRgb[0], teal.shownRgb[1], teal.shownRgb[2]));
    EXPECT_TRUE(v.leftPickSwatch->toolTip().contains("display"));
    EXPECT_EQ(v.rightPickSwatch->palette().color(QPalette::Window), QColor(red[0], red[1], red[2]));
    EXPECT_TRUE(v.rightPickSwatch->toolTip().isEmpty());
}

// The ratio the screen gives, checked to be 2 when the run asks for twice the scale.
qreal screenRatio(const QWidget& widget) {
    const char* scale = std::getenv("QT_SCALE_FACTOR");
    if (scale && QByteArray(scale) == "2") {
        EXPECT_EQ(widget.devicePixelRatioF(), 2.0);
    }
    return widget.devicePixelRatioF();
}

using HighDpi = ViewerDisplay;

TEST_F(HighDpi, TheViewerDrawsInDevicePixelsAntialiasedAndPicksAsBefore) {
    PaletteViewer& v = show({{"red", "5R", "5", "12"}, {"blue", "5PB", "4", "10"}});
    ViewerSurface& s = *v.drawing;
    const qreal ratio = screenRatio(s);
    EXPECT_EQ(s.size(), QSize(ViewerSurface::pixelWidth, ViewerSurface::pixelHeight));
    EXPECT_EQ(s.image().size(), s.size() * ratio);
    EXPECT_EQ(s.image().devicePixelRatio(), ratio);
    // The rings and lines of the solid are antialiased: greys between black
    // and the background.
    int greys = 0;
    for (int y = 0; y < s.image().height(); ++y)
        for (int x = 0; x < s.image().width(); ++x) {
            const QRgb p = s.image().pixel(x, y);
            greys += qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) > 16 && qRed(p) < 208;
        }
    EXPECT_GT(greys, 100);
    // Clicks and tooltips at a dot's centre in the widget find it.
    for (int i = 1; i <= 2; ++i) {
        const QPoint at = centre(v, i).toPoint();
        const auto& rgb = v.entry(i).shownRgb;
        EXPECT_EQ(rgbOf(s.pixel(at.x(), at.y())), qRgb(rgb[0], rgb[1], rgb[2])) << i;
        QTest::mouseClick(&s, Qt::LeftButton, {}, at);
        EXPECT_EQ(v.pickedTags[0]->text().toStdString(), v.entry(i).tag);
        EXPECT_TRUE(v.tooltipAt(at.x(), at.y()).startsWith(v.pickedTags[0]->text() + "  "));
    }

    // A dot alone: as wide in device pixels as the ratio makes it, with a
    // blended edge.
    s.begin(ViewParams{});
    s.endPainter();
    const ViewPoint middle = s.toUnits(200.5, 196.5);
    s.dot(middle.x, middle.y, 20, Qt::red);
    const int row = int(196.5 * ratio);
    int full = 0;
    QSet<QRgb> edge;
    for (int x = 0; x < s.image().width(); ++x) {
        const QRgb p = s.image().pixel(x, row);
        full += p == qRgb(255, 0, 0);
    }
    for (int y = int(186 * ratio) - 2; y < int(207 * ratio) + 2; ++y)
        for (int x = int(190 * ratio) - 2; x < int(211 * ratio) + 2; ++x)
            edge.insert(s.image().pixel(x, y));
    s.end();
    EXPECT_NEAR(full, 20 * ratio, 1);
    EXPECT_GT(edge.size(), 2);
}

TEST_F(HighDpi, TheLogoIsDrawnInDevicePixels) {
    auto* logo = form->findChild<QLabel*>("Picture2");
    ASSERT_NE(logo, nullptr);
    const qreal ratio = screenRatio(*logo);
    const QPixmap shown = logo->pixmap();
    EXPECT_EQ(shown.devicePixelRatio(), ratio);
    EXPECT_EQ(shown.size(), QSize(56, 56) * ratio);
    EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(56, 56));
}

} // namespace
} // namespace huelinx::testing
