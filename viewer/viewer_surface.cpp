#include "viewer/viewer_surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

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

// The rim of a ringed dot: eight arcs, black and white in turn.
QRgb rimColour(double dx, double dy) {
    const double turn = std::atan2(dy, dx) / (2 * std::numbers::pi) + 0.5; // 0..1
    return static_cast<int>(turn * 8) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
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
    const double rim = r - std::max(1.0, k);
    const QRgb rgb = colour.rgb();
    // The pixel ranges are cut to the image before they become whole numbers: a
    // palette row may put a dot anywhere (a chroma of 1e30, or not a number), and
    // such a dot draws nothing.
    const int lastY = image_.height() - 1, lastX = image_.width() - 1;
    const double top = std::ceil(c.y() - outer - 0.5), bottom = std::floor(c.y() + outer - 0.5);
    if (!(top <= lastY && bottom >= 0.0)) return;
    const int firstRow = static_cast<int>(std::max(0.0, top));
    const int lastRow = static_cast<int>(std::min(double(lastY), bottom));
    for (int py = firstRow; py <= lastRow; ++py) {
        const double dy = py + 0.5 - c.y();
        const double half = std::sqrt(std::max(0.0, outer * outer - dy * dy));
        const double left = std::ceil(c.x() - half - 0.5), right = std::floor(c.x() + half - 0.5);
        if (!(left <= lastX && right >= 0.0)) continue;
        const int from = static_cast<int>(std::max(0.0, left));
        const int to = static_cast<int>(std::min(double(lastX), right));
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        for (int px = from; px <= to; ++px) {
            const double dx = px + 0.5 - c.x(), d2 = dx * dx + dy * dy;
            const bool inside = d2 <= r * r;
            const QRgb own = ringed && inside && d2 > rim * rim ? rimColour(dx, dy) : rgb;
            if (inside)
                line[px] = own;
            else if (const double alpha = outer - std::sqrt(d2); alpha > 0)
                line[px] = blended(line[px], ringed ? rimColour(dx, dy) : rgb, alpha);
        }
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
