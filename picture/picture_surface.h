// A picture as an off-screen image that a widget paints: pixels are read and
// written one at a time as 24-bit values (see ImageSurface); a pixel outside
// the picture reads -1.
#pragma once

#include "platform/image_surface.h"

namespace huelinx {

class PictureSurface : public ImageSurface {
  public:
    explicit PictureSurface(const QString& objectName, QWidget* parent = nullptr);

    // Takes the picture; an empty image leaves an empty surface.
    void setPicture(const QImage& image);
    const QImage& image() const override { return image_; }
    bool isEmpty() const { return image_.isNull(); }
    int pictureWidth() const { return image_.width(); }
    int pictureHeight() const { return image_.height(); }

    // Draws one pixel; nothing outside the picture.
    void setPixel(int x, int y, long colour);
    void drawLine(int x1, int y1, int x2, int y2, QColor colour);

  private:
    QImage image_;
};

} // namespace huelinx
