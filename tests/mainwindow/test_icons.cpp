// The desktop icons drawn at build time (make-icons): each PNG is the logo at
// its size, and the SVG, drawn as paths of its own, shows the same sectors in
// the same places and colours as the logo does, out to the ring's edge.
#include "mainwindow/logo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <cmath>
#include <numbers>

namespace huelinx::testing {
namespace {

const QString icons = HUELINX_ICONS_DIR;

TEST(Icons, EachPngIsTheLogoAtItsSize) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage png(icons + QString("/huelinx-%1.png").arg(size));
        ASSERT_FALSE(png.isNull()) << size;
        EXPECT_EQ(png.size(), QSize(size, size));
        EXPECT_EQ(png.convertToFormat(QImage::Format_ARGB32),
                  makeLogo(size).toImage().convertToFormat(QImage::Format_ARGB32))
            << size;
    }
}

// Sector i of the SVG, from its path: the fill and the angles (y down, so
// increasing angle is clockwise on screen) of its two ends on the ring.
struct Sector {
    QColor fill;
    double from = 0, to = 0;
};

TEST(Icons, TheSvgShowsTheLogosSectorsAndCentre) {
    QFile file(icons + "/huelinx.svg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    const QImage logo = makeLogo(256).toImage();
    const double centre = 128, ring = 126;
    const QRegularExpression path(
        "<path fill=\"(#[0-9a-f]{6})\" d=\"M 128 128 L ([-0-9.]+) ([-0-9.]+) A 126 126 0 0 1 "
        "([-0-9.]+) ([-0-9.]+) Z\"/>");
    int sectors = 0;
    for (auto match = path.globalMatch(svg); match.hasNext(); ++sectors) {
        const auto m = match.next();
        const Sector s{
            QColor(m.captured(1)),
            std::atan2(m.captured(3).toDouble() - centre, m.captured(2).toDouble() - centre),
            std::atan2(m.captured(5).toDouble() - centre, m.captured(4).toDouble() - centre)};
        const double sweep = std::remainder(s.to - s.from, 2 * std::numbers::pi);
        EXPECT_NEAR(sweep, 2 * std::numbers::pi / 10, 1e-3) << sectors; // a tenth, clockwise
        // Inside the sector near the ring, beyond the chord between its ends.
        const double middle = s.from + sweep / 2;
        const int x = static_cast<int>(centre + 0.97 * ring * std::cos(middle));
        const int y = static_cast<int>(centre + 0.97 * ring * std::sin(middle));
        EXPECT_EQ(logo.pixelColor(x, y).name(), s.fill.name()) << "sector " << sectors;
    }
    EXPECT_EQ(sectors, 10);
    const QRegularExpression circle(
        "<circle fill=\"(#[0-9a-f]{6})\" cx=\"128\" cy=\"128\" r=\"([0-9.]+)\"/>");
    const auto centreMatch = circle.match(svg);
    ASSERT_TRUE(centreMatch.hasMatch()) << svg.toStdString();
    EXPECT_EQ(logo.pixelColor(128, 128).name(), centreMatch.captured(1));
    EXPECT_DOUBLE_EQ(centreMatch.captured(2).toDouble(), 256 / 5.0);
}

} // namespace
} // namespace huelinx::testing
