#include "mainwindow/logo.h"

#include <QEvent>
#include <QPainter>

namespace huelinx {

QPixmap makeLogo(int size, qreal ratio) {
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Ten hue sectors around a neutral centre, lighter towards the middle.
    const QRectF ring(2, 2, size - 4, size - 4);
    for (int i = 0; i < 10; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsvF(i / 10.0, 0.75, 0.9));
        painter.drawPie(ring, 90 * 16 - i * 36 * 16, -36 * 16);
    }
    painter.setBrush(QColor(200, 200, 200));
    painter.drawEllipse(ring.center(), size / 5.0, size / 5.0);
    return pixmap;
}

Logo::Logo(int size, QWidget* parent) : QLabel(parent), size_(size) {
    draw();
}

void Logo::draw() {
    setPixmap(makeLogo(size_, devicePixelRatioF()));
}

bool Logo::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal && !pixmap().isNull() &&
        pixmap().devicePixelRatio() != devicePixelRatioF())
        draw();
    return QLabel::event(event);
}

} // namespace huelinx
