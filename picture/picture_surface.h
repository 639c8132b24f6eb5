// A picture as an off-screen image that a widget paints: pixels are read and
// written one at a time as 24-bit values with red in the lowest byte, green in
// the middle and blue in the highest; a pixel outside the picture reads -1.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace huelinx {

class PictureSurface : public QWidget {
  public:
    explicit PictureSurface(const QString& objectName, QWidget* parent = nullptr);

    // Takes the picture; an empty image leaves an empty surface.
    void setPicture(const QImage& image);
    const QImage& image() const { return image_; }
    bool isEmpty() const { return image_.isNull(); }
    int pictureWidth() const { return image_.width(); }
    int pictureHeight() const { return image_.height(); }

    long pixel(int x, int y) const;
    // Draws one pixel; nothing outside the picture.
    void setPixel(int x, int y, long colour);
    void drawLine(int x1, int y1, int x2, int y2, QColor colour);

    // Mouse button presses and moves over the picture, in pixels.
    std::function<void(int x, int y)> onMouseDown, onMouseMove;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    bool inside(int x, int y) const {
        return x >= 0 && y >= 0 && x < image_.width() && y < image_.height();
    }
    QImage image_;
};

} // namespace huelinx
