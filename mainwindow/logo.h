// The small hue-circle picture shown beside the title.
#pragma once

#include <QLabel>
#include <QPixmap>

namespace huelinx {

// The logo `size` pixels across, drawn at `ratio` device pixels to a pixel,
// so it stays sharp at any scale.
QPixmap makeLogo(int size, qreal ratio = 1.0);

// A label showing the logo, drawn again for the pixel ratio of the screen its
// window moves to.
class Logo : public QLabel {
  public:
    Logo(int size, QWidget* parent);

  protected:
    bool event(QEvent* event) override;

  private:
    void draw();

    int size_;
};

} // namespace huelinx
