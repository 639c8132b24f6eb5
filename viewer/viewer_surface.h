// The viewer's drawing area: an off-screen image as large as the widget, in
// drawing units (origin at the centre of the view, y up), that the widget
// paints. The view is 401 x 393 pixels at the window's opening size; when the
// window grows, the view is scaled to the largest rectangle of that shape that
// fits the widget, centred, and the space beside it shows the drawing beyond
// the view. Both axes keep one scale, so the Munsell solid keeps its shape.
#pragma once

#include "palette/palette_geometry.h"
#include "platform/image_surface.h"

#include <functional>

class QPainter;

namespace huelinx {

class ViewerSurface : public ImageSurface {
  public:
    // The view at the opening size: 6015 x 5895 twips, at 15 twips a pixel.
    static constexpr int pixelWidth = 401, pixelHeight = 393;

    explicit ViewerSurface(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {pixelWidth, pixelHeight}; }
    // Pixels of the drawing to one pixel of the opening size: 1 at the opening size.
    double scale() const;

    // Starts a drawing of `view`: the image, made as large as the widget,
    // cleared to light grey.
    QPainter* begin(const ViewParams& view);
    void end();
    // Drawing units to pixels and back, for the current view and size.
    QPointF toPixels(double x, double y) const;
    ViewPoint toUnits(double px, double py) const;
    double unitsToPixelsX(double units) const {
        return units * (pixelWidth * scale()) / (2 * view_.zoomHalf);
    }
    double unitsToPixelsY(double units) const {
        return units * (pixelHeight * scale()) / (2 * view_.zoomHalf);
    }
    // A round dot of `width` pixels at the opening size, wider by the scale,
    // as a wide pen draws a point, written straight into the image (the
    // painter of the drawing must be ended first).
    void dot(double x, double y, double width, QColor colour);
    // Whether dot() of `width` at (x, y) writes the pixel (px, py).
    bool covers(double x, double y, double width, int px, int py) const;
    // Ends the painter of the axes so that dots can be written.
    void endPainter();
    const QImage& image() const override { return image_; }
    // The image to draw on between drawings' steps.
    QImage& canvas() { return image_; }

    // Called after the widget changed size, to draw again at the new size.
    std::function<void()> onResized;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The top left corner of the view in the image.
    QPointF viewOrigin() const;
    // The radius in pixels of a dot of `width` pixels at the opening size.
    double dotRadius(double width) const;

    QImage image_;
    ViewParams view_;
    QPainter* painter_ = nullptr;
};

} // namespace huelinx
