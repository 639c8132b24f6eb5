#include "viewer/viewer_surface.h"

#include <QMouseEvent>
#include <QPainter>

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

void ViewerSurface::end() {
    delete painter_;
    painter_ = nullptr;
    update();
}

QPointF ViewerSurface::toPixels(double x, double y) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    return {(x - left) * pixelWidth / (2 * view_.zoomHalf), (top - y) * pixelHeight / (2 * view_.zoomHalf)};
}

ViewPoint ViewerSurface::toUnits(double px, double py) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    return {left + px * 2 * view_.zoomHalf / pixelWidth, top - py * 2 * view_.zoomHalf / pixelHeight};
}

void ViewerSurface::dot(QPainter& painter, double x, double y, double width, QColor colour) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPointF centre = toPixels(x, y);
    if (width <= 1) {
        painter.fillRect(QRectF(centre.x() - 0.5, centre.y() - 0.5, 1, 1), colour);
        return;
    }
    painter.drawEllipse(centre, width / 2, width / 2);
}

long ViewerSurface::pixel(int px, int py) const {
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return -1;
    const QRgb p = image_.pixel(px, py);
    return static_cast<long>(qRed(p)) | static_cast<long>(qGreen(p)) << 8 | static_cast<long>(qBlue(p)) << 16;
}

void ViewerSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void ViewerSurface::mousePressEvent(QMouseEvent* event) {
    const int button = event->button() == Qt::LeftButton ? 1 : event->button() == Qt::RightButton ? 2 : 0;
    const QPoint p = event->position().toPoint();
    if (onMouseDown) onMouseDown(button, p.x(), p.y());
}

} // namespace huelinx
