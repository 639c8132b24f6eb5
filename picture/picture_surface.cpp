#include "picture/picture_surface.h"

#include "platform/colour_value.h"

#include <QMouseEvent>
#include <QPainter>

namespace huelinx {

PictureSurface::PictureSurface(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setMouseTracking(true);
}

void PictureSurface::setPicture(const QImage& image) {
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    setFixedSize(image_.isNull() ? QSize(0, 0) : image_.size());
    update();
}

long PictureSurface::pixel(int x, int y) const {
    if (!inside(x, y)) return -1;
    return colourValue(image_.pixel(x, y));
}

void PictureSurface::setPixel(int x, int y, long colour) {
    if (!inside(x, y)) return;
    image_.setPixel(x, y, rgbOfValue(colour));
    update(x, y, 1, 1);
}

void PictureSurface::drawLine(int x1, int y1, int x2, int y2, QColor colour) {
    if (image_.isNull()) return;
    QPainter painter(&image_);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(x1, y1, x2, y2);
    update();
}

void PictureSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!image_.isNull()) painter.drawImage(0, 0, image_);
}

void PictureSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (inside(p.x(), p.y()) && onMouseDown) onMouseDown(p.x(), p.y());
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (inside(p.x(), p.y()) && onMouseMove) onMouseMove(p.x(), p.y());
}

} // namespace huelinx
