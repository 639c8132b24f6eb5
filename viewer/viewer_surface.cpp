#include "viewer/viewer_surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

const QColor background(224, 224, 224);

} // namespace

ViewerSurface::ViewerSurface(QWidget* parent)
    : ImageSurface("Picture1", parent), image_(pixelWidth, pixelHeight, QImage::Format_RGB32) {
    // Never smaller than at the opening size; any larger space is taken.
    setMinimumSize(pixelWidth, pixelHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resize(pixelWidth, pixelHeight);
    image_.fill(background);
}

double ViewerSurface::scale() const {
    return std::min(double(image_.width()) / pixelWidth, double(image_.height()) / pixelHeight);
}

QPointF ViewerSurface::viewOrigin() const {
    const double k = scale();
    return {(image_.width() - pixelWidth * k) / 2, (image_.height() - pixelHeight * k) / 2};
}

QPainter* ViewerSurface::begin(const ViewParams& view) {
    view_ = view;
    if (image_.size() != size()) image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(background);
    painter_ = new QPainter(&image_);
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

void ViewerSurface::dot(double x, double y, double width, QColor colour) {
    // Dots are many and small: their pixels are written straight into the
    // image, every pixel whose centre lies within the dot (at least one).
    const QPointF c = toPixels(x, y);
    const double r = dotRadius(width);
    const QRgb rgb = colour.rgb();
    // The pixel ranges are cut to the image before they become whole numbers: a
    // palette row may put a dot anywhere (a chroma of 1e30, or not a number), and
    // such a dot draws nothing.
    const int lastY = image_.height() - 1, lastX = image_.width() - 1;
    const double top = std::ceil(c.y() - r - 0.5), bottom = std::floor(c.y() + r - 0.5);
    if (!(top <= lastY && bottom >= 0.0)) return;
    const int firstRow = static_cast<int>(std::max(0.0, top));
    const int lastRow = static_cast<int>(std::min(double(lastY), bottom));
    for (int py = firstRow; py <= lastRow; ++py) {
        const double dy = py + 0.5 - c.y();
        const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
        const double left = std::ceil(c.x() - half - 0.5), right = std::floor(c.x() + half - 0.5);
        if (!(left <= lastX && right >= 0.0)) continue;
        const int from = static_cast<int>(std::max(0.0, left));
        const int to = static_cast<int>(std::min(double(lastX), right));
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        for (int px = from; px <= to; ++px)
            line[px] = rgb;
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
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(background);
    if (onResized) onResized();
}

} // namespace huelinx
