// What the picture window knows of the colour chart in its picture: the
// corner patches clicked so far, the fit made from them, the grey reference
// marked beside the sample, and the picture's pixels as measured values.
// The fit itself is the photo core's; this holds the window's side of it.
#pragma once

#include "photo/calibration.h"
#include "photo/picture.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace huelinx {

// The picture's pixels for measuring: a 16-bit picture (64-bit formats and
// 16-bit grey) keeps its 16 bits, any other gives its 8 bits times 257.
[[nodiscard]] photo::Picture measuredPicture(const QImage& image);

// The picture as an image measuredPicture gives back exactly: a 16-bit one
// as RGBX64, an 8-bit one as RGB32.
[[nodiscard]] QImage pictureImage(const photo::Picture& picture);

// The outline colour of a patch by its CIEDE2000 residual: green below 1,
// yellow below 2, red otherwise.
[[nodiscard]] QColor residualColour(double deltaE);

// "expected ΔE00 0.4 (max 1.1)"
[[nodiscard]] QString expectedErrorText(const photo::Calibration& calibration);

class ChartCalibration {
  public:
    enum class Step { None, Corners, GreyReference };

    Step step() const { return step_; }
    // Starts again from the first corner; the fit made before is dropped.
    void beginCorners();
    void beginGreyReference() { step_ = Step::GreyReference; }
    void endStep() { step_ = Step::None; }
    // Takes the next corner clicked; true when it was the fourth.
    bool addCorner(photo::Point point);
    // What the status line asks for while corners are clicked.
    QString cornerPrompt() const;

    // The four corners once all are in (clicked, or from the fit loaded).
    std::optional<photo::ChartCorners> corners() const;
    const std::vector<photo::Point>& clickedCorners() const { return corners_; }
    // The corner (0 top-left .. 3 bottom-left) within `distance` of the point;
    // -1 for none.
    int cornerNear(photo::Point point, double distance) const;
    void moveCorner(int index, photo::Point point);

    const std::optional<photo::Calibration>& fit() const { return fit_; }
    // Keeps the fit and takes its corners as the chart's.
    void setFit(photo::Calibration fit);
    void dropFit() { fit_.reset(); }
    // Forgets the chart, the fit and the grey reference.
    void clear();

    std::optional<photo::NeutralReference> greyReference;

    // The picture measured, made again when the surface's picture changed.
    const photo::Picture& picture(const QImage& original, int serial);

  private:
    Step step_ = Step::None;
    std::vector<photo::Point> corners_;
    std::optional<photo::Calibration> fit_;
    photo::Picture picture_;
    int pictureSerial_ = -1;
};

} // namespace huelinx
