#include "picture/picture_surface.h"

#include "platform/colour_value.h"

#include <QMouseEvent>
#include <QPainter>

namespace huelinx {

PictureSurface::PictureSurface(const QString& objectName, QWidget* parent)
    : ImageSurface(objectName, parent) {}

void PictureSurface::setPicture(const QImage& image) {
    original_ = image;
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    marks_.clear();
    ++serial_;
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

void PictureSurface::setMarks(std::vector<Mark> marks) {
    marks_ = std::move(marks);
    update();
}

void PictureSurface::paintEvent(QPaintEvent* event) {
    ImageSurface::paintEvent(event);
    if (marks_.empty()) return;
    QPainter painter(this);
    for (const Mark& mark : marks_) {
        // A dark line under a light one keeps each mark visible on any patch.
        for (const auto& [pen, width] : {std::pair{QColor(Qt::black), 4}, {mark.colour, 2}}) {
            painter.setPen(QPen(pen, width));
            if (mark.shape == Mark::Square) {
                painter.drawRect(mark.rect);
            } else {
                const QPointF c = mark.rect.center();
                const double h = mark.rect.width() / 2;
                painter.drawLine(QPointF(c.x() - h, c.y()), QPointF(c.x() + h, c.y()));
                painter.drawLine(QPointF(c.x(), c.y() - h), QPointF(c.x(), c.y() + h));
            }
        }
    }
}

void PictureSurface::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = pixelAt(event->position());
    if (onMouseUp) onMouseUp(p.x(), p.y());
}

} // namespace huelinx
