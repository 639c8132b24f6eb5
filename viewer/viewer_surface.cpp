#include "viewer/viewer_surface.h"

#include "platform/colour_value.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace huelinx {

ViewerSurface::ViewerSurface(QWidget* parent)
    : QWidget(parent), image_(pixelWidth, pixelHeight, QImage::Format_RGB32) {
    setObjectName("Picture1");
    setFixedSize(pixelWidth, pixelHeight);
    image_.fill(QColor(224, 224, 224));
}

QPainter* ViewerSurface::begin(const ViewParams& view) {
    view_ = view;
    image_.fill(QColor(224, 224, 224));
    painter_ = new QPainter(&image_);
    return painter_;
}

void ViewerSurface::endPainter() {
    delete painter_;
    painter_ = nullptr;
}

void ViewerSurface::end() {
    endPainter();
    update();
}

QPointF ViewerSurface::toPixels(double x, double y) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    return {(x - left) * pixelWidth / (2 * view_.zoomHalf),
            (top - y) * pixelHeight / (2 * view_.zoomHalf)};
}

ViewPoint ViewerSurface::toUnits(double px, double py) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    return {left + px * 2 * view_.zoomHalf / pixelWidth,
            top - py * 2 * view_.zoomHalf / pixelHeight};
}

void ViewerSurface::dot(double x, double y, double width, QColor colour) {
    // Dots are many and small: their pixels are written straight into the
    // image, every pixel whose centre lies within the dot (at least one).
    const QPointF c = toPixels(x, y);
    const double r = std::max(width, 1.0) / 2.0;
    const QRgb rgb = colour.rgb();
    const int firstRow = std::max(0, static_cast<int>(std::ceil(c.y() - r - 0.5)));
    const int lastRow =
        std::min(image_.height() - 1, static_cast<int>(std::floor(c.y() + r - 0.5)));
    for (int py = firstRow; py <= lastRow; ++py) {
        const double dy = py + 0.5 - c.y();
        const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
        const int from = std::max(0, static_cast<int>(std::ceil(c.x() - half - 0.5)));
        const int to =
            std::min(image_.width() - 1, static_cast<int>(std::floor(c.x() + half - 0.5)));
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        for (int px = from; px <= to; ++px)
            line[px] = rgb;
    }
}

long ViewerSurface::pixel(int px, int py) const {
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return -1;
    return colourValue(image_.pixel(px, py));
}

void ViewerSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void ViewerSurface::mousePressEvent(QMouseEvent* event) {
    const int button = event->button() == Qt::LeftButton    ? 1
                       : event->button() == Qt::RightButton ? 2
                                                            : 0;
    const QPoint p = event->position().toPoint();
    if (onMouseDown) onMouseDown(button, p.x(), p.y());
}

} // namespace huelinx
