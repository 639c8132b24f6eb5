// The drawing area of a chart window: an off-screen image that the widget
// paints, with the window's shapes (filled squares and circles with a border)
// laid over the free drawing (circles, hatching, text). Reading a pixel reads
// what is shown: the drawing with the shapes on top (see ImageSurface).
//
// Chart layouts are given in twips; the surface works in pixels at 15 twips
// a pixel (`twips()` converts). Those pixels are the layout at the window's
// opening size: the surface can be enlarged, and then shows its drawing, its
// shapes and its child controls scaled by one factor, centred. Clicks, moves
// and tooltips are handed on in layout pixels, and `pixel()` reads the layout
// image, so everything behind the surface works as at the opening size.
#pragma once

#include "platform/colour_value.h"
#include "platform/image_surface.h"

#include <QFont>
#include <QImage>

#include <memory>
#include <vector>

namespace huelinx {

// Pixels of a length in twips, 15 twips a pixel, to the nearest pixel.
constexpr int twips(int length) {
    return (length + 7) / 15;
}

enum class FillStyle { Transparent, Solid, CrossHatch };
enum class BorderStyle { Transparent, Solid, Dot };

class ChartSurface;

// A square or circle standing on the surface. A square fills its rectangle
// and draws its border on the rectangle's outermost pixels; a dotted border,
// which marks a colour the display can't show, takes the two outermost rings
// in runs of three pixels of the border colour and of its contrast (white on
// black), so it stands out from a solid one. A circle is the largest circle
// centred in its rectangle. Every change redraws the surface.
class ChartShape {
  public:
    enum class Kind { Square, Circle };
    ChartShape(ChartSurface& owner, const QString& name, Kind kind, const QRect& rect);

    const QString& name() const { return name_; }
    Kind kind() const { return kind_; }
    QRect rect() const { return rect_; }
    QColor fillColor() const { return fill_; }
    FillStyle fillStyle() const { return fillStyle_; }
    QColor borderColor() const { return border_; }
    BorderStyle borderStyle() const { return borderStyle_; }

    void setFillColor(QColor colour);
    void setFillStyle(FillStyle style);
    void setBorderColor(QColor colour);
    void setBorderStyle(BorderStyle style);

    // Paints the shape onto an image of the surface.
    void paint(QImage& image) const;
    // Paints the shape with a painter set to the layout's coordinates.
    void paint(QPainter& painter) const;

  private:
    void paintSquare(QImage& image) const;
    void paintCircle(QImage& image) const;

    ChartSurface& owner_;
    QString name_;
    Kind kind_;
    QRect rect_;
    QColor fill_{Qt::white};
    FillStyle fillStyle_ = FillStyle::Solid;
    QColor border_{Qt::black};
    BorderStyle borderStyle_ = BorderStyle::Solid;
};

class ChartSurface : public ImageSurface {
  public:
    ChartSurface(const QString& objectName, QSize size, QColor background,
                 QWidget* parent = nullptr);

    // ---- the free drawing --------------------------------------------------
    QColor backColor() const { return back_; }
    // Sets the background colour and clears the drawing to it.
    void setBackColor(QColor colour);
    // Clears the drawing to the background colour; the shapes stay.
    void clear();
    // A circle around `centre` (pixels), outlined in `outline` and filled with
    // `fill`; a cross-hatched circle gets diagonal lines in the outline colour
    // over its fill.
    void drawCircle(QPointF centre, double radius, QColor outline, QColor fill, FillStyle style);
    // Text with its top-left corner at `topLeft`, drawn without smoothing so
    // that its pixels hold only the text colour.
    void drawText(QPoint topLeft, const QString& text, QColor colour);
    QFont drawingFont() const { return font_; }
    void setDrawingFont(const QFont& font);

    // ---- shapes ------------------------------------------------------------
    // Adds a shape on top of the ones before it; the surface owns it.
    ChartShape* addShape(const QString& name, ChartShape::Kind kind, const QRect& rect);
    // The shape of that name; null when there is none.
    ChartShape* findShape(const QString& name) const;
    // Called by a shape that changed.
    void shapeChanged();

    // ---- lines over everything ----------------------------------------------
    // Lines through points (layout pixels) drawn over the drawing and the
    // shapes, so they cross the patches: long black dashes on a white
    // casing, legible on every colour and unlike a patch's dotted border. Setting
    // them replaces the lines before; `clear` leaves them.
    using Polyline = std::vector<QPointF>;
    void setLines(std::vector<Polyline> lines);
    const std::vector<Polyline>& lines() const { return lines_; }

    // ---- reading -----------------------------------------------------------
    // What the surface shows: the drawing with the shapes over it, in layout
    // pixels; presses, moves and tooltips come in layout pixels too.
    const QImage& image() const override;
    // The pixel under the lines: the drawing with the shapes, as if no line
    // were drawn (the value page's read-out reads colours, not the marks
    // over them); -1 off the image.
    long pixelUnderLines(int x, int y) const;
    QPoint pixelAt(QPointF widgetPoint) const override { return toLayout(widgetPoint); }

    // ---- scale -------------------------------------------------------------
    // The size of the layout (the opening size).
    QSize layoutSize() const { return drawing_.size(); }
    // How much the layout is enlarged, and where it starts in the widget.
    double scale() const { return scale_; }
    QPointF offset() const { return offset_; }
    // A widget point of a layout point, and the layout pixel under a widget point.
    QPointF toWidget(QPointF layoutPoint) const { return offset_ + layoutPoint * scale_; }
    QPoint toLayout(QPointF widgetPoint) const;
    // Where a child control stands in the layout, whatever the scale.
    QRect layoutGeometry(const QWidget* child) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void drawingChanged();
    // Places and sizes the child controls by the scale, from their layout
    // geometry and font, recorded the first time they are placed.
    void scaleChildren();
    // The drawing as the enlarged surface shows it, drawn anew at its size.
    void paintScaled(QPainter& painter) const;

    // What was drawn since the last clear, to draw again at another scale.
    struct Drawn {
        bool text = false;
        QPointF centre;
        double radius = 0;
        QColor outline, fill;
        FillStyle style = FillStyle::Solid;
        QPoint topLeft;
        QString string;
        QFont font;
    };
    std::vector<Drawn> drawn_;
    std::vector<Polyline> lines_;
    double scale_ = 1.0;
    QPointF offset_;

    QImage drawing_;
    QColor back_;
    QFont font_;
    std::vector<std::unique_ptr<ChartShape>> shapes_;
    // The drawing with the shapes over it, and with the lines over that,
    // made again when something changed.
    mutable QImage beneath_, shown_;
    mutable bool stale_ = true;
};

// 24-bit colour value of a colour: red in the lowest byte.
inline long colourValue(QColor c) {
    return colourValue(c.rgb());
}

} // namespace huelinx
