#include "charts/chart_surface.h"

#include <QGroupBox>
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

namespace {

// The lines: a white casing four pixels wide under black dashes two wide,
// ten pixels long, far longer than the runs of a dotted border.
void paintLines(QPainter& painter, const std::vector<ChartSurface::Polyline>& lines) {
    QPen casing(Qt::white, 4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    QPen dashes(Qt::black, 2, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dashes.setDashPattern({5, 2});
    painter.setBrush(Qt::NoBrush);
    for (const QPen& pen : {casing, dashes}) {
        painter.setPen(pen);
        for (const ChartSurface::Polyline& line : lines)
            painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    }
}

// The colour that stands out from `colour`: white on dark, black on light.
QRgb contrastOf(QColor colour) {
    return colour.lightness() < 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}

// Whether a pixel of a dotted border takes the border colour (else its
// contrast): runs of three along the edges.
bool dotAt(int x, int y) {
    return ((x + y) / 3) % 2 == 0;
}

} // namespace

void ChartShape::paintSquare(QImage& image) const {
    const QRect r = rect_.intersected(image.rect());
    if (r.isEmpty()) return;
    const QRgb fill = fill_.rgb(), border = border_.rgb(), contrast = contrastOf(border_);
    const int ring = borderStyle_ == BorderStyle::Dot ? 2 : 1;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const int depth = std::min(std::min(x - rect_.left(), rect_.right() - x),
                                       std::min(y - rect_.top(), rect_.bottom() - y));
            const bool edge = depth < ring && borderStyle_ != BorderStyle::Transparent;
            if (edge)
                line[x] = borderStyle_ == BorderStyle::Solid || dotAt(x, y) ? border : contrast;
            else if (fillStyle_ != FillStyle::Transparent)
                line[x] = fill;
        }
    }
}

void ChartShape::paint(QPainter& painter) const {
    const QRectF r(rect_);
    const QBrush brush = fillStyle_ == FillStyle::Transparent ? QBrush(Qt::NoBrush) : QBrush(fill_);
    if (kind_ == Kind::Circle) {
        const double d = std::min(r.width(), r.height());
        const QRectF box(r.left() + (r.width() - d) / 2, r.top() + (r.height() - d) / 2, d, d);
        painter.setBrush(brush);
        if (borderStyle_ == BorderStyle::Transparent)
            painter.setPen(Qt::NoPen);
        else
            painter.setPen(
                QPen(border_, 1, borderStyle_ == BorderStyle::Dot ? Qt::DotLine : Qt::SolidLine));
        painter.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    painter.fillRect(r, brush);
    if (borderStyle_ == BorderStyle::Transparent) return;
    if (borderStyle_ == BorderStyle::Solid) {
        painter.setPen(QPen(border_, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    // The dotted border: two rings, dashes of three of each colour.
    QPen dashes(QColor(contrastOf(border_)), 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(dashes);
    painter.drawRect(r.adjusted(1, 1, -1, -1));
    dashes.setColor(border_);
    dashes.setDashPattern({1.5, 1.5});
    painter.setPen(dashes);
    painter.drawRect(r.adjusted(1, 1, -1, -1));
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
    : ImageSurface(objectName, parent), drawing_(size, QImage::Format_RGB32), back_(background) {
    setMinimumSize(size);
    resize(size);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
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
    drawn_.clear();
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
    Drawn circle;
    circle.centre = centre;
    circle.radius = radius;
    circle.outline = outline;
    circle.fill = fill;
    circle.style = style;
    drawn_.push_back(circle);
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
    Drawn words;
    words.text = true;
    words.topLeft = topLeft;
    words.string = text;
    words.outline = colour;
    words.font = font_;
    drawn_.push_back(words);
    drawingChanged();
}

void ChartSurface::setLines(std::vector<Polyline> lines) {
    if (lines == lines_) return;
    lines_ = std::move(lines);
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
        beneath_ = drawing_.copy();
        for (const auto& shape : shapes_)
            shape->paint(beneath_);
        shown_ = beneath_;
        if (!lines_.empty()) {
            QPainter painter(&shown_);
            painter.setRenderHint(QPainter::Antialiasing, false);
            paintLines(painter, lines_);
        }
        stale_ = false;
    }
    return shown_;
}

long ChartSurface::pixelUnderLines(int x, int y) const {
    image();
    if (!beneath_.rect().contains(x, y)) return -1;
    return colourValue(beneath_.pixel(x, y));
}

QPoint ChartSurface::toLayout(QPointF widgetPoint) const {
    const QPointF p = (widgetPoint - offset_) / scale_;
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

QRect ChartSurface::layoutGeometry(const QWidget* child) const {
    const QVariant recorded = child->property("layoutGeometry");
    return recorded.isValid() ? recorded.toRect() : child->geometry();
}

void ChartSurface::resizeEvent(QResizeEvent*) {
    const QSizeF layout = drawing_.size();
    scale_ = std::max(1.0, std::min(width() / layout.width(), height() / layout.height()));
    offset_ =
        QPointF((width() - layout.width() * scale_) / 2, (height() - layout.height() * scale_) / 2);
    scaleChildren();
    update();
}

void ChartSurface::scaleChildren() {
    // The surface's own controls, and those inside its frames, which stand
    // in their frame's coordinates.
    std::vector<QWidget*> controls;
    for (QWidget* w : findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        if (parent == this || qobject_cast<QGroupBox*>(parent)) controls.push_back(w);
    }
    for (QWidget* widget : controls) {
        if (!widget->property("layoutGeometry").isValid()) {
            widget->setProperty("layoutGeometry", widget->geometry());
            widget->setProperty("layoutFontSize", widget->font().pointSizeF());
        }
        const QRectF g = widget->property("layoutGeometry").toRect();
        const QPointF topLeft =
            widget->parentWidget() == this ? toWidget(g.topLeft()) : g.topLeft() * scale_;
        widget->setGeometry(QRect(topLeft.toPoint(), (g.size() * scale_).toSize()));
        QFont font = widget->font();
        font.setPointSizeF(widget->property("layoutFontSize").toDouble() * scale_);
        widget->setFont(font);
    }
}

void ChartSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (scale_ == 1.0 && offset_.isNull()) {
        painter.drawImage(0, 0, image());
        return;
    }
    paintScaled(painter);
}

// The drawing again at the widget's scale: circles and text drawn anew (not
// the layout's pixels enlarged), so they stay sharp.
void ChartSurface::paintScaled(QPainter& painter) const {
    painter.fillRect(rect(), back_);
    painter.translate(offset_);
    painter.scale(scale_, scale_);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Drawn& d : drawn_) {
        if (d.text) {
            QFont font = d.font;
            font.setStyleStrategy(QFont::PreferDefault);
            painter.setFont(font);
            painter.setPen(d.outline);
            painter.drawText(QRectF(d.topLeft, QSizeF(drawing_.size())),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, d.string);
            continue;
        }
        QBrush brush(d.fill);
        if (d.style == FillStyle::Transparent) brush = QBrush(Qt::NoBrush);
        painter.setPen(QPen(d.outline, 1));
        painter.setBrush(brush);
        painter.drawEllipse(d.centre, d.radius - 0.5, d.radius - 0.5);
        if (d.style == FillStyle::CrossHatch) {
            painter.setBrush(QBrush(d.outline, Qt::DiagCrossPattern));
            painter.drawEllipse(d.centre, d.radius - 0.5, d.radius - 0.5);
        }
    }
    for (const auto& shape : shapes_)
        shape->paint(painter);
    paintLines(painter, lines_);
}

} // namespace huelinx
