// The viewer's drawing area: an off-screen image as large as the widget, in
// drawing units (origin at the centre of the view, y up), that the widget
// paints. The view is 401 x 393 pixels at the window's opening size; when the
// window grows, the view is scaled to the largest rectangle of that shape that
// fits the widget, centred, and the space beside it shows the drawing beyond
// the view. Both axes keep one scale, so the Munsell solid keeps its shape.
//
// The image holds the device's pixels (twice the widget's size at twice the
// scale), and everything outside it counts in the widget's pixels: positions,
// dot sizes, clicks, tooltips and pixel(). Lines are drawn antialiased, and
// dots get a soft edge.
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
    // painter of the drawing must be ended first). Every pixel whose centre
    // lies within it takes `colour`, and those within half a pixel beyond are
    // blended into what lies below. A `ringed` dot has a one-pixel rim of
    // black and white arcs.
    void dot(double x, double y, double width, QColor colour, bool ringed = false);
    // Whether dot() of `width` at (x, y) gives the widget's pixel (px, py) its colour.
    bool covers(double x, double y, double width, int px, int py) const;
    // Device pixels to one pixel of the widget, as the image was made.
    double pixelRatio() const { return image_.devicePixelRatio(); }
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
    // A dot in device pixels: its centre, radius and colour, and the radius
    // within its rim (below 0 for none).
    struct DotShape {
        QPointF centre;
        double radius, rim;
        QRgb rgb;
    };
    struct Span {
        int from, to; // empty when from > to
    };
    Span dotSpan(const DotShape& dot, double radius, double dy) const;
    void dotRow(const DotShape& dot, int py);
    // A new image for the widget's size at the screen's pixel ratio.
    void makeImage();
    // The top left corner of the view in the widget.
    QPointF viewOrigin() const;
    // The radius in pixels of a dot of `width` pixels at the opening size.
    double dotRadius(double width) const;

    QImage image_;
    QSize size_; // the widget's size the image was made for
    ViewParams view_;
    QPainter* painter_ = nullptr;
};

} // namespace huelinx
