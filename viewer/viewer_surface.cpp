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
    // The pixel ranges are cut to the image before they become whole numbers: a
    // palette row may put a dot anywhere (a chroma of 1e30, or not a number), and
    // such a dot draws nothing.
    const int lastY = image_.height() - 1, lastX = image_.width() - 1;
    const double top = std::ceil(c.y() - r - 0.5), bottom = std::floor(c.y() + r - 0.5);
    if (!(top <= lastY && bottom >= 0.0)) return;
    const int firstRow = static_cast<int>(std::max(0.0, top));
    const int lastRow = static_cast<int>(std::min(double(lastY), bottom));
    for (int py = firstRow; py <= lastRow; ++py) {
        const double dy = py + 0.5 - c.y();
        const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
        const double left = std::ceil(c.x() - half - 0.5), right = std::floor(c.x() + half - 0.5);
        if (!(left <= lastX && right >= 0.0)) continue;
        const int from = static_cast<int>(std::max(0.0, left));
        const int to = static_cast<int>(std::min(double(lastX), right));
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
