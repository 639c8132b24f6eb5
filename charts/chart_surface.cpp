#include "charts/chart_surface.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace huelinx {

// ---- shapes ------------------------------------------------------------------

ChartShape::ChartShape(ChartSurface& owner, const QString& name, Kind kind, const QRect& rect)
    : owner_(owner), name_(name), kind_(kind), rect_(rect) {}

void ChartShape::setFillColor(QColor colour) {
    if (colour == fill_) return;
    fill_ = colour;
    owner_.shapeChanged();
}

void ChartShape::setFillStyle(FillStyle style) {
    if (style == fillStyle_) return;
    fillStyle_ = style;
    owner_.shapeChanged();
}

void ChartShape::setBorderColor(QColor colour) {
    if (colour == border_) return;
    border_ = colour;
    owner_.shapeChanged();
}

void ChartShape::setBorderStyle(BorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    owner_.shapeChanged();
}

void ChartShape::paint(QImage& image) const {
    if (kind_ == Kind::Square)
        paintSquare(image);
    else
        paintCircle(image);
}

void ChartShape::paintSquare(QImage& image) const {
    const QRect r = rect_.intersected(image.rect());
    if (r.isEmpty()) return;
    const QRgb fill = fill_.rgb(), border = border_.rgb();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const bool edge =
                x == rect_.left() || x == rect_.right() || y == rect_.top() || y == rect_.bottom();
            // A dotted border leaves every other pixel of its edge to the fill.
            const bool borderPixel =
                edge && (borderStyle_ == BorderStyle::Solid ||
                         (borderStyle_ == BorderStyle::Dot && (x + y) % 2 == 0));
            if (borderPixel)
                line[x] = border;
            else if (fillStyle_ != FillStyle::Transparent)
                line[x] = fill;
        }
    }
}

void ChartShape::paintCircle(QImage& image) const {
    const int d = std::min(rect_.width(), rect_.height());
    const QRect box(rect_.left() + (rect_.width() - d) / 2, rect_.top() + (rect_.height() - d) / 2,
                    d - 1, d - 1);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (borderStyle_ == BorderStyle::Transparent)
        painter.setPen(Qt::NoPen);
    else
        painter.setPen(
            QPen(border_, 1, borderStyle_ == BorderStyle::Dot ? Qt::DotLine : Qt::SolidLine));
    painter.setBrush(fillStyle_ == FillStyle::Transparent ? QBrush(Qt::NoBrush) : QBrush(fill_));
    painter.drawEllipse(box);
}

// ---- the surface ---------------------------------------------------------------

ChartSurface::ChartSurface(const QString& objectName, QSize size, QColor background,
                           QWidget* parent)
    : QWidget(parent), drawing_(size, QImage::Format_RGB32), back_(background) {
    setObjectName(objectName);
    setFixedSize(size);
    setMouseTracking(true);
    font_ = font();
    font_.setStyleStrategy(QFont::NoAntialias);
    clear();
}

void ChartSurface::setBackColor(QColor colour) {
    back_ = colour;
    clear();
}

void ChartSurface::clear() {
    drawing_.fill(back_);
    drawingChanged();
}

void ChartSurface::setDrawingFont(const QFont& font) {
    font_ = font;
    font_.setStyleStrategy(QFont::NoAntialias);
}

// Drawn pixel by pixel: a pixel belongs to the circle when its centre lies
// within the radius, to the outline when it lies within a pixel of the edge.
// The hatch is two families of diagonal lines 8 pixels apart, fixed to the
// surface, so neighbouring circles' hatching lines up.
void ChartSurface::drawCircle(QPointF centre, double radius, QColor outline, QColor fill,
                              FillStyle style) {
    const double outer = radius * radius, inner = (radius - 1) * (radius - 1);
    const int top = std::max(0, static_cast<int>(std::floor(centre.y() - radius)));
    const int bottom =
        std::min(drawing_.height() - 1, static_cast<int>(std::ceil(centre.y() + radius)));
    const int left = std::max(0, static_cast<int>(std::floor(centre.x() - radius)));
    const int right =
        std::min(drawing_.width() - 1, static_cast<int>(std::ceil(centre.x() + radius)));
    const QRgb line = outline.rgb(), inside = fill.rgb();
    for (int y = top; y <= bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(drawing_.scanLine(y));
        const double dy = y + 0.5 - centre.y();
        for (int x = left; x <= right; ++x) {
            const double dx = x + 0.5 - centre.x(), d = dx * dx + dy * dy;
            if (d > outer) continue;
            const bool hatch =
                style == FillStyle::CrossHatch && ((x + y) % 8 == 0 || (x - y) % 8 == 0);
            if (d > inner || hatch)
                row[x] = line;
            else if (style != FillStyle::Transparent)
                row[x] = inside;
        }
    }
    drawingChanged();
}

void ChartSurface::drawText(QPoint topLeft, const QString& text, QColor colour) {
    QPainter painter(&drawing_);
    painter.setFont(font_);
    painter.setPen(colour);
    painter.drawText(QRect(topLeft, QSize(drawing_.width(), drawing_.height())),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    drawingChanged();
}

ChartShape* ChartSurface::findShape(const QString& name) const {
    for (const auto& shape : shapes_)
        if (shape->name() == name) return shape.get();
    return nullptr;
}

ChartShape* ChartSurface::addShape(const QString& name, ChartShape::Kind kind, const QRect& rect) {
    shapes_.push_back(std::make_unique<ChartShape>(*this, name, kind, rect));
    shapeChanged();
    return shapes_.back().get();
}

void ChartSurface::shapeChanged() {
    drawingChanged();
}

void ChartSurface::drawingChanged() {
    stale_ = true;
    update();
}

const QImage& ChartSurface::image() const {
    if (stale_) {
        shown_ = drawing_.copy();
        for (const auto& shape : shapes_)
            shape->paint(shown_);
        stale_ = false;
    }
    return shown_;
}

long ChartSurface::pixel(int x, int y) const {
    if (!inside(x, y)) return -1;
    return colourValue(image().pixel(x, y));
}

void ChartSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image());
}

void ChartSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (inside(p.x(), p.y()) && onMouseDown) onMouseDown(p.x(), p.y());
}

void ChartSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (inside(p.x(), p.y()) && onMouseMove) onMouseMove(p.x(), p.y());
}

} // namespace huelinx
