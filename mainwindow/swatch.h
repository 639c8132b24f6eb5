// A picture box that shows one colour: an off-screen image the size of the
// widget, filled with the background colour, so a click reads back the pixel
// under it as on every other drawing surface (see ImageSurface).
//
// A colour the display can't show is painted as its clipped colour inside a
// border of black and white hatching, with a "!" badge in the top right
// corner; a click there still reads the background colour (black for such a
// colour), so what a click converts doesn't change with the mark.
#pragma once

#include "platform/image_surface.h"

#include <QImage>

namespace huelinx {

class Swatch : public ImageSurface {
  public:
    // The width of the hatched border, and the badge's diameter, in pixels.
    static constexpr int markWidth = 6, badgeSize = 18;

    explicit Swatch(const QString& objectName, QWidget* parent = nullptr);

    // Shows `color` unmarked; a click reads it.
    void setBackColor(QColor color);
    // A click reads `back`; the swatch shows `shown`, marked when `outOfRange`.
    void setColour(QColor back, QColor shown, bool outOfRange);
    QColor backColor() const { return color_; }
    QColor shownColor() const { return shown_; }
    bool marked() const { return marked_; }
    // What a click reads: the background colour at every pixel.
    const QImage& image() const override { return image_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintMark(QPainter& painter) const;

    QColor color_{Qt::white};
    QColor shown_{Qt::white};
    bool marked_ = false;
    QImage image_;
};

} // namespace huelinx
