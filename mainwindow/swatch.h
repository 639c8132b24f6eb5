// A picture box that shows one colour: an off-screen image filled with the
// background colour and painted by the widget, so a pixel can be read back
// the way the swatch click reads it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace huelinx {

class Swatch : public QWidget {
  public:
    explicit Swatch(const QString& objectName, QWidget* parent = nullptr);

    void setBackColor(QColor color);
    QColor backColor() const { return color_; }
    // The colour of a pixel as a 24-bit value, red in the lowest byte; -1
    // outside the surface.
    long pixel(int x, int y) const;
    // Called with the position of a mouse button press.
    std::function<void(int x, int y)> onMouseDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QColor color_{Qt::white};
    QImage image_;
};

} // namespace huelinx
