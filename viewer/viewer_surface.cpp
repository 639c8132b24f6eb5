#include "viewer/viewer_surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

const QColor background(224, 224, 224);

// `colour` laid over the pixel at `alpha` (0..1).
QRgb blended(QRgb below, QRgb colour, double alpha) {
    const auto mix = [alpha](int under, int over) {
        return static_cast<int>(under + (over - under) * alpha + 0.5);
    };
    return qRgb(mix(qRed(below), qRed(colour)), mix(qGreen(below), qGreen(colour)),
                mix(qBlue(below), qBlue(colour)));
}

// The rim of a ringed dot: eight arcs, black and white in turn. Crossing an
// axis or a diagonal flips exactly one of the three tests, so neighbouring
// eighths differ.
QRgb rimColour(double dx, double dy) {
    const bool black = ((dx < 0) != (dy < 0)) != (std::abs(dx) < std::abs(dy));
    return black ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
}

} // namespace

ViewerSurface::ViewerSurface(QWidget* parent) : ImageSurface("Picture1", parent) {
    // Never smaller than at the opening size; any larger space is taken.
    setMinimumSize(pixelWidth, pixelHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resize(pixelWidth, pixelHeight);
    makeImage();
}

void ViewerSurface::makeImage() {
    const double ratio = devicePixelRatioF();
    size_ = size();
    image_ = QImage(size_ * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background);
}

double ViewerSurface::scale() const {
    return std::min(double(size_.width()) / pixelWidth, double(size_.height()) / pixelHeight);
}

QPointF ViewerSurface::viewOrigin() const {
    const double k = scale();
    return {(size_.width() - pixelWidth * k) / 2, (size_.height() - pixelHeight * k) / 2};
}

QPainter* ViewerSurface::begin(const ViewParams& view) {
    view_ = view;
    // The window may have moved to a screen of another pixel ratio.
    if (size_ != size() || image_.devicePixelRatio() != devicePixelRatioF()) makeImage();
    image_.fill(background);
    painter_ = new QPainter(&image_);
    painter_->setRenderHint(QPainter::Antialiasing);
    return painter_;
}

void ViewerSurface::endPainter() {
    delete painter_;
    painter_ = nullptr;
}

void ViewerSurface::end() {
    endPainter();
    update();
}

QPointF ViewerSurface::toPixels(double x, double y) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    const double k = scale();
    const QPointF origin = viewOrigin();
    return {origin.x() + (x - left) * (pixelWidth * k) / (2 * view_.zoomHalf),
            origin.y() + (top - y) * (pixelHeight * k) / (2 * view_.zoomHalf)};
}

ViewPoint ViewerSurface::toUnits(double px, double py) const {
    const double left = view_.panX - view_.zoomHalf, top = view_.zoomHalf + view_.panY;
    const double k = scale();
    const QPointF origin = viewOrigin();
    return {left + (px - origin.x()) * 2 * view_.zoomHalf / (pixelWidth * k),
            top - (py - origin.y()) * 2 * view_.zoomHalf / (pixelHeight * k)};
}

double ViewerSurface::dotRadius(double width) const {
    return std::max(width * scale(), 1.0) / 2.0;
}

void ViewerSurface::dot(double x, double y, double width, QColor colour, bool ringed) {
    // Dots are many and small: their pixels are written straight into the
    // image, in device pixels. Pixels whose centre lies within the radius take
    // the colour; those up to half a pixel beyond are blended, so the edge
    // doesn't step.
    const double k = pixelRatio();
    const QPointF c = toPixels(x, y) * k;
    const double r = dotRadius(width) * k, outer = r + 0.5;
    // The pixel ranges are cut to the image before they become whole numbers: a
    // palette row may put a dot anywhere (a chroma of 1e30, or not a number), and
    // such a dot draws nothing.
    const double top = std::ceil(c.y() - outer - 0.5), bottom = std::floor(c.y() + outer - 0.5);
    if (!(top <= image_.height() - 1 && bottom >= 0.0)) return;
    const int firstRow = static_cast<int>(std::max(0.0, top));
    const int lastRow = static_cast<int>(std::min(double(image_.height() - 1), bottom));
    const DotShape shape{c, r, ringed ? r - std::max(1.0, k) : -1.0, colour.rgb()};
    for (int py = firstRow; py <= lastRow; ++py)
        dotRow(shape, py);
}

ViewerSurface::Span ViewerSurface::dotSpan(const DotShape& dot, double radius, double dy) const {
    // The pixels of the row whose centre lies within `radius`, cut to the image.
    if (!(radius >= 0 && dy * dy <= radius * radius)) return {0, -1};
    const double half = std::sqrt(radius * radius - dy * dy), x = dot.centre.x();
    const double left = std::ceil(x - half - 0.5), right = std::floor(x + half - 0.5);
    const double last = image_.width() - 1;
    if (!(left <= last && right >= 0.0 && left <= right)) return {0, -1};
    return {static_cast<int>(std::max(0.0, left)), static_cast<int>(std::min(last, right))};
}

void ViewerSurface::dotRow(const DotShape& dot, int py) {
    const double dy = py + 0.5 - dot.centre.y();
    const Span outer = dotSpan(dot, dot.radius + 0.5, dy);
    if (outer.from > outer.to) return;
    Span inner = dotSpan(dot, dot.radius, dy);
    if (inner.from > inner.to) inner = {outer.to + 1, outer.to};
    // A ringed dot's plain middle; the rest of its inside is rim.
    const Span plain = dot.rim < 0 ? inner : dotSpan(dot, dot.rim, dy);
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
    for (int px = outer.from; px <= outer.to; ++px) {
        if (px >= plain.from && px <= plain.to) {
            std::fill(line + px, line + plain.to + 1, dot.rgb);
            px = plain.to;
            continue;
        }
        const double dx = px + 0.5 - dot.centre.x();
        const QRgb own = dot.rim < 0 ? dot.rgb : rimColour(dx, dy);
        if (px >= inner.from && px <= inner.to)
            line[px] = own;
        else if (const double alpha = dot.radius + 0.5 - std::sqrt(dx * dx + dy * dy); alpha > 0)
            line[px] = blended(line[px], own, std::min(alpha, 1.0));
    }
}

bool ViewerSurface::covers(double x, double y, double width, int px, int py) const {
    // The pixels dot() writes: those whose centre lies within the radius
    // (false for a dot at no number).
    const QPointF c = toPixels(x, y);
    const double r = dotRadius(width), dx = px + 0.5 - c.x(), dy = py + 0.5 - c.y();
    return dx * dx + dy * dy <= r * r;
}

void ViewerSurface::resizeEvent(QResizeEvent*) {
    // The drawing is made again at the new size, not stretched.
    makeImage();
    if (onResized) onResized();
}

} // namespace huelinx
