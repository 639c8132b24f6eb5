// make-icons: the program's icons for the desktop's menus, drawn as the logo
// beside the window's title is. Writes huelinx.svg and huelinx-SIZE.png for
// each size given into a folder:
//
//     make-icons FOLDER 16 32 48 ...
//
// The PNGs are the logo itself (makeLogo); the SVG draws the same ten hue
// sectors and grey centre as paths, so it scales to any size.
#include "mainwindow/logo.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr int svgSize = 256;

// A point of the logo's ring at `degrees` (counterclockwise from 3 o'clock,
// as the painter measures), in SVG coordinates (y down).
QString ringPoint(double centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return QString("%1 %2")
        .arg(centre + radius * std::cos(radians), 0, 'f', 3)
        .arg(centre - radius * std::sin(radians), 0, 'f', 3);
}

// The logo as SVG: sector i runs clockwise from 90 - 36 i degrees, as
// makeLogo draws it, in the same colours.
QString logoSvg() {
    const double centre = svgSize / 2.0, radius = (svgSize - 4) / 2.0;
    QString svg;
    QTextStream out(&svg);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << svgSize << "\" height=\""
        << svgSize << "\" viewBox=\"0 0 " << svgSize << " " << svgSize << "\">\n";
    for (int i = 0; i < 10; ++i) {
        const QString colour = QColor::fromHsvF(i / 10.0, 0.75, 0.9).name();
        out << "  <path fill=\"" << colour << "\" d=\"M " << centre << " " << centre << " L "
            << ringPoint(centre, radius, 90 - i * 36) << " A " << radius << " " << radius
            << " 0 0 1 " << ringPoint(centre, radius, 90 - (i + 1) * 36) << " Z\"/>\n";
    }
    out << "  <circle fill=\"" << QColor(200, 200, 200).name() << "\" cx=\"" << centre << "\" cy=\""
        << centre << "\" r=\"" << svgSize / 5.0 << "\"/>\n</svg>\n";
    return svg;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-icons FOLDER SIZE...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QFile svg(folder + "/huelinx.svg");
    if (!svg.open(QIODevice::WriteOnly) || svg.write(logoSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "make-icons: %s can't be written\n", qPrintable(svg.fileName()));
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = QString(argv[i]).toInt();
        const QString name = folder + QString("/huelinx-%1.png").arg(size);
        if (size < 8 || !huelinx::makeLogo(size).save(name, "PNG")) {
            std::fprintf(stderr, "make-icons: %s can't be written\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
