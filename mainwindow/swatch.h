// A picture box that shows one colour: an off-screen image the size of the
// widget, filled with the background colour, so a click reads back the pixel
// under it as on every other drawing surface (see ImageSurface).
#pragma once

#include "platform/image_surface.h"

#include <QImage>

namespace huelinx {

class Swatch : public ImageSurface {
  public:
    explicit Swatch(const QString& objectName, QWidget* parent = nullptr);

    void setBackColor(QColor color);
    QColor backColor() const { return color_; }
    const QImage& image() const override { return image_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QColor color_{Qt::white};
    QImage image_;
};

} // namespace huelinx
