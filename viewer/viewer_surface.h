// The viewer's drawing area: an off-screen image in drawing units (origin at
// the centre of the view, y up) that the widget paints.
#pragma once

#include "viewer/palette_geometry.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class QPainter;

namespace huelinx {

class ViewerSurface : public QWidget {
  public:
    // The drawing area of 6015 x 5895 twips, at 15 twips a pixel.
    static constexpr int pixelWidth = 401, pixelHeight = 393;

    explicit ViewerSurface(QWidget* parent = nullptr);

    // Starts a drawing of `view`: the image cleared to light grey.
    QPainter* begin(const ViewParams& view);
    void end();
    // Drawing units to pixels and back, for the current view.
    QPointF toPixels(double x, double y) const;
    ViewPoint toUnits(double px, double py) const;
    double unitsToPixelsX(double units) const { return units * pixelWidth / (2 * view_.zoomHalf); }
    double unitsToPixelsY(double units) const { return units * pixelHeight / (2 * view_.zoomHalf); }
    // A round dot of `width` pixels, as a wide pen draws a point, written
    // straight into the image (the painter of the drawing must be ended first).
    void dot(double x, double y, double width, QColor colour);
    // Ends the painter of the axes so that dots can be written.
    void endPainter();
    const QImage& image() const { return image_; }
    // The image to draw on between drawings' steps.
    QImage& canvas() { return image_; }
    // The colour of a pixel as a 24-bit value, red in the lowest byte; -1 outside.
    long pixel(int px, int py) const;

    std::function<void(int button, int px, int py)> onMouseDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage image_;
    ViewParams view_;
    QPainter* painter_ = nullptr;
};

} // namespace huelinx
