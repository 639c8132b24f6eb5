#include "mainwindow/swatch.h"

#include <QPainter>
#include <QPainterPath>

namespace huelinx {

Swatch::Swatch(const QString& objectName, QWidget* parent) : ImageSurface(objectName, parent) {
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(color_);
}

void Swatch::setBackColor(QColor color) {
    setColour(color, color, false);
}

void Swatch::setColour(QColor back, QColor shown, bool outOfRange) {
    color_ = back;
    shown_ = shown;
    marked_ = outOfRange;
    image_.fill(color_);
    update();
}

void Swatch::resizeEvent(QResizeEvent*) {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(color_);
}

void Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), shown_);
    if (marked_) paintMark(painter);
}

void Swatch::paintMark(QPainter& painter) const {
    // The border: white under black stripes at 45 degrees, 4 pixels apart.
    const QRect inner = rect().adjusted(markWidth, markWidth, -markWidth, -markWidth);
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(QRegion(inner)));
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 2));
    for (int d = -height(); d < width(); d += 4)
        painter.drawLine(d, height(), d + height(), 0);
    painter.restore();
    // The badge: a white "!" on a black disc inside the top right corner.
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(inner.right() + 1 - badgeSize - 2, inner.top() + 2, badgeSize, badgeSize);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawEllipse(badge);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(badgeSize - 5);
    painter.setFont(font);
    painter.drawText(badge, Qt::AlignCenter, "!");
}

} // namespace huelinx
