// Drawing the palette: the axes, the hue direction marks and the chroma rings
// of the Munsell solid, then every entry as a dot whose size grows with its
// value, in file order.
#include "platform/standard_colours.h"
#include "text/number_format.h"
#include "text/number_read.h"
#include "viewer/form3.h"
#include "viewer/viewer_surface.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace huelinx {

void Form3::drawAxes(QPainter& painter, const ViewParams& view) {
    const ViewerSurface& s = *Picture1;
    const double t = view.tiltDeg * viewerDegree;
    const double top = 20 * std::sin(t);
    s.dot(painter, 0, -top, 10, Qt::black);
    s.dot(painter, 0, top, 10, standardColour(15));
    const int markColours[4] = {12, 14, 10, 9};
    for (int m = 0; m < 4; ++m) {
        const double a = view.rotationRad + 90 * m * viewerDegree;
        const double x = 20 * std::cos(a), y = 20 * std::sin(a) * std::cos(t);
        s.dot(painter, x, y, 10, standardColour(markColours[m]));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(s.toPixels(0, 0), s.toPixels(x, y));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(s.toPixels(0, top), s.toPixels(0, -top));
    painter.setBrush(Qt::NoBrush);
    for (double radius : {20.0, 10.0, 5.0, 1.0})
        painter.drawEllipse(s.toPixels(0, 0), s.unitsToPixelsX(radius), s.unitsToPixelsY(radius * std::cos(t)));
}

void Form3::drawPalette() {
    const ViewParams view = viewFromSliders(HScroll1->value(), VScroll1->value(), VScroll2->value(),
                                            HScroll2->value(), VScroll3->value());
    lastView_ = view;
    QPainter& painter = *Picture1->begin(view);
    drawAxes(painter, view);
    const int selected = List1->currentRow() + 1; // 0 when no row is selected
    const bool numbers = Check1->isChecked();
    if (numbers) painter.setFont(QFont("Times New Roman", 8));
    const ViewerSurface& s = *Picture1;
    for (int i = 1; i <= pointCount; ++i) {
        const auto& [hue, value, chroma] = pointHVC[i];
        const ViewPoint p = projectEntry(hue, value, chroma, view);
        pointScreen[i] = p;
        const auto& rgb = pointRGB[i];
        s.dot(painter, p.x, p.y, roundHalfEven(2.0 * value + 2.0), QColor(rgb[0], rgb[1], rgb[2]));
        if (i == selected) s.dot(painter, p.x, p.y, roundHalfEven(value + 2.0), Qt::white);
        if (numbers) {
            painter.setPen(Qt::black);
            const QPointF at = s.toPixels(p.x, p.y);
            painter.drawText(at + QPointF(0, painter.fontMetrics().ascent()), QString::number(i));
        }
    }
    Picture1->end();
}

} // namespace huelinx
