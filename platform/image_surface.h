// A widget that shows an off-screen image: the drawing surfaces of the charts,
// the picture window and the palette viewer. Pixels are read as 24-bit values
// with red in the lowest byte, green in the middle and blue in the highest; a
// pixel outside the image reads -1. Presses, moves and tooltips are handed on
// in the image's pixels, and only over the image. An image drawn at a device
// pixel ratio above 1 is counted in the widget's pixels: a pixel reads the
// device pixel at the middle of it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace huelinx {

class ImageSurface : public QWidget {
  public:
    ImageSurface(const QString& objectName, QWidget* parent);

    // What the surface shows, pixel for pixel.
    virtual const QImage& image() const = 0;
    bool inside(int x, int y) const {
        const QSizeF shown = image().deviceIndependentSize();
        return x >= 0 && y >= 0 && x < shown.width() && y < shown.height();
    }
    long pixel(int x, int y) const;
    // The image pixel under a point of the widget.
    virtual QPoint pixelAt(QPointF widgetPoint) const { return widgetPoint.toPoint(); }

    // A button pressed, and the pointer moved, over a pixel of the image.
    std::function<void(int x, int y, Qt::MouseButton button)> onMouseDown;
    std::function<void(int x, int y)> onMouseMove;
    // The tooltip at a pixel of the image; empty for none. A tooltip shown
    // follows the pointer and goes where this gives none.
    std::function<QString(int x, int y)> tooltipAt;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // The tooltip at a widget point: shown at `globalPos`, or hidden; false
    // when there is none.
    bool showTooltip(QPointF widgetPoint, QPoint globalPos);
};

} // namespace huelinx
