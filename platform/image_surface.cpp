#include "platform/image_surface.h"

#include "platform/colour_value.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace huelinx {

ImageSurface::ImageSurface(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    // Moves are followed for the read-outs and so that a tooltip follows the pointer.
    setMouseTracking(true);
}

long ImageSurface::pixel(int x, int y) const {
    if (!inside(x, y)) return -1;
    const QImage& shown = image();
    const double ratio = shown.devicePixelRatio();
    const int px = std::min(static_cast<int>((x + 0.5) * ratio), shown.width() - 1);
    const int py = std::min(static_cast<int>((y + 0.5) * ratio), shown.height() - 1);
    return colourValue(shown.pixel(px, py));
}

void ImageSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!image().isNull()) painter.drawImage(0, 0, image());
}

void ImageSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint p = pixelAt(event->position());
    if (inside(p.x(), p.y()) && onMouseDown) onMouseDown(p.x(), p.y(), event->button());
}

void ImageSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = pixelAt(event->position());
    if (inside(p.x(), p.y()) && onMouseMove) onMouseMove(p.x(), p.y());
    // A tooltip already shown follows the pointer from item to item; the
    // first one waits for Qt's delay.
    if (tooltipAt && QToolTip::isVisible())
        showTooltip(event->position(), event->globalPosition().toPoint());
}

bool ImageSurface::showTooltip(QPointF widgetPoint, QPoint globalPos) {
    const QPoint p = pixelAt(widgetPoint);
    const QString tip = inside(p.x(), p.y()) ? tooltipAt(p.x(), p.y()) : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(globalPos, tip, this);
    return true;
}

bool ImageSurface::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !tooltipAt) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    // Where the surface has no tooltip the window behind it may have one.
    if (!showTooltip(help->pos(), help->globalPos())) event->ignore();
    return true;
}

} // namespace huelinx
