#include "mainwindow/swatch.h"

namespace huelinx {

Swatch::Swatch(const QString& objectName, QWidget* parent) : ImageSurface(objectName, parent) {
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(color_);
}

void Swatch::setBackColor(QColor color) {
    color_ = color;
    image_.fill(color_);
    update();
}

void Swatch::resizeEvent(QResizeEvent*) {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(color_);
}

} // namespace huelinx
