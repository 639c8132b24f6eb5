#include "mainwindow/swatch.h"

#include "platform/colour_value.h"

#include <QMouseEvent>
#include <QPainter>

namespace huelinx {

Swatch::Swatch(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(color_);
}

void Swatch::setBackColor(QColor color) {
    color_ = color;
    image_.fill(color_);
    update();
}

long Swatch::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return -1;
    return colourValue(image_.pixel(x, y));
}

void Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void Swatch::resizeEvent(QResizeEvent*) {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(color_);
}

void Swatch::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (onMouseDown) onMouseDown(p.x(), p.y());
}

} // namespace huelinx
