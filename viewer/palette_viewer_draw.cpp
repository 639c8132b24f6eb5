// Drawing the palette: the axes, the hue direction marks and the chroma rings
// of the Munsell solid, then every entry as a dot whose size grows with its
// value, in file order.
#include "platform/standard_colours.h"
#include "text/number_format.h"
#include "text/number_read.h"
#include "viewer/palette_viewer.h"
#include "viewer/viewer_surface.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

// The width of an entry's dot in pixels at the opening size: larger for lighter colours.
double dotWidth(float value) {
    return roundHalfEven(2.0 * value + 2.0);
}

} // namespace

void PaletteViewer::drawAxes(QPainter& painter, const ViewParams& view) {
    // Lines and rings first with the painter; the dots of the marks go on top.
    const ViewerSurface& s = *drawing;
    const double t = view.tiltDeg * viewerDegree;
    const double top = 20 * std::sin(t);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    ViewPoint marks[4];
    for (int m = 0; m < 4; ++m) {
        const double a = view.rotationRad + 90 * m * viewerDegree;
        marks[m] = {20 * std::cos(a), 20 * std::sin(a) * std::cos(t)};
        painter.drawLine(s.toPixels(0, 0), s.toPixels(marks[m].x, marks[m].y));
    }
    painter.drawLine(s.toPixels(0, top), s.toPixels(0, -top));
    for (double radius : {20.0, 10.0, 5.0, 1.0})
        painter.drawEllipse(s.toPixels(0, 0), s.unitsToPixelsX(radius),
                            s.unitsToPixelsY(radius * std::cos(t)));
    drawing->endPainter();
    drawing->dot(0, -top, 10, Qt::black);
    drawing->dot(0, top, 10, standardColour(15));
    const int markColours[4] = {12, 14, 10, 9};
    for (int m = 0; m < 4; ++m)
        drawing->dot(marks[m].x, marks[m].y, 10, standardColour(markColours[m]));
}

void PaletteViewer::drawPalette() {
    const ViewParams view =
        viewFromSliders(rotationSlider->value(), tiltSlider->value(), zoomSlider->value(),
                        panXSlider->value(), panYSlider->value());
    lastView_ = view;
    drawAxes(*drawing->begin(view), view);
    const int selected = paletteList->currentRow() + 1; // 0 when no row is selected
    const std::vector<PaletteEntry>& shown = entries();
    dots_.resize(shown.size() + 1);
    for (std::size_t i = 1; i <= shown.size(); ++i) {
        const PaletteEntry& e = shown[i - 1];
        const ViewPoint p = projectEntry(e.hueAngle, e.value, e.chroma, view);
        dots_[i] = p;
        // A colour the display can't show: its clipped colour, ringed.
        drawing->dot(p.x, p.y, dotWidth(e.value),
                     QColor(e.shownRgb[0], e.shownRgb[1], e.shownRgb[2]), e.outOfRange);
        if (static_cast<int>(i) == selected)
            drawing->dot(p.x, p.y, roundHalfEven(e.value + 2.0), Qt::white);
    }
    if (sampleNumbersCheck->isChecked()) drawNumbers();
    drawing->end();
}

void PaletteViewer::drawNumbers() {
    // The sample numbers go over the dots, each beside its own dot.
    QPainter painter(&drawing->canvas());
    painter.setFont(QFont("Times New Roman", 8));
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    for (std::size_t i = 1; i < dots_.size(); ++i) {
        const QPointF at = drawing->toPixels(dots_[i].x, dots_[i].y);
        painter.drawText(at + QPointF(0, ascent), QString::number(i));
    }
}

int PaletteViewer::entryNearest(int px, int py) const {
    // Dots drawn before entries were loaded or dropped pick nothing beyond them.
    const int count = std::min(pointCount(), static_cast<int>(dots_.size()) - 1);
    const ViewPoint at = drawing->toUnits(px, py);
    return pickEntry(dots_, count, at.x, at.y);
}

int PaletteViewer::entryUnder(int px, int py) const {
    // Over any dot, the entry is the one a click there picks, so the tooltip
    // names what a click would show.
    const int count = std::min(pointCount(), static_cast<int>(dots_.size()) - 1);
    bool overADot = false;
    for (int i = 1; i <= count && !overADot; ++i)
        overADot = drawing->covers(dots_[i].x, dots_[i].y, dotWidth(entry(i).value), px, py);
    return overADot ? entryNearest(px, py) : 0;
}

QString PaletteViewer::tooltipAt(int px, int py) const {
    const int i = entryUnder(px, py);
    if (i == 0) return {};
    // The box keeps the blanks the hue is padded with; one blank does here.
    QStringList parts{QString::fromStdString(entry(i).tag), notationOf(i).simplified(),
                      colourNameOf(i)};
    parts.removeAll(QString());
    if (entry(i).outOfRange) parts << "(outside the display's range)";
    return parts.join("  ");
}

} // namespace huelinx
