// A picture as an off-screen image that a widget paints: pixels are read and
// written one at a time as 24-bit values (see ImageSurface); a pixel outside
// the picture reads -1. Marks (outlined squares and crosses) are painted over
// the picture without changing its pixels, and the picture as it was given is
// kept for measuring whatever is drawn into the shown one.
#pragma once

#include "platform/image_surface.h"

#include <functional>
#include <vector>

namespace huelinx {

class PictureSurface : public ImageSurface {
  public:
    explicit PictureSurface(const QString& objectName, QWidget* parent = nullptr);

    // Takes the picture; an empty image leaves an empty surface.
    void setPicture(const QImage& image);
    const QImage& image() const override { return image_; }
    // The picture as given to setPicture, in its own format (a 16-bit picture
    // keeps its 16 bits), without the blocks flashed or lines drawn since.
    const QImage& original() const { return original_; }
    // Counts the pictures given, so a picture derived from one can tell it is stale.
    int pictureSerial() const { return serial_; }
    bool isEmpty() const { return image_.isNull(); }
    int pictureWidth() const { return image_.width(); }
    int pictureHeight() const { return image_.height(); }

    // Draws one pixel; nothing outside the picture.
    void setPixel(int x, int y, long colour);
    void drawLine(int x1, int y1, int x2, int y2, QColor colour);

    // Painted over the picture, in its pixels.
    struct Mark {
        enum Shape { Square, Cross };
        Shape shape = Square;
        QRectF rect; // a cross is drawn through the rectangle's centre
        QColor colour;
    };
    void setMarks(std::vector<Mark> marks);
    const std::vector<Mark>& marks() const { return marks_; }

    // A button released over the surface, in the picture's pixels.
    std::function<void(int x, int y)> onMouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage image_, original_;
    std::vector<Mark> marks_;
    int serial_ = 0;
};

} // namespace huelinx
