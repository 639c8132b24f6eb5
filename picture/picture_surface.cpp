#include "picture/picture_surface.h"

#include "platform/colour_value.h"

#include <QPainter>

namespace huelinx {

PictureSurface::PictureSurface(const QString& objectName, QWidget* parent)
    : ImageSurface(objectName, parent) {}

void PictureSurface::setPicture(const QImage& image) {
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    setFixedSize(image_.isNull() ? QSize(0, 0) : image_.size());
    update();
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

} // namespace huelinx
