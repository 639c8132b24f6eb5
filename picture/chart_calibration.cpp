#include "picture/chart_calibration.h"

#include <cmath>

namespace huelinx {

photo::Picture measuredPicture(const QImage& image) {
    photo::Picture picture;
    if (image.isNull()) return picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.samples.resize(3 * picture.pixelCount());
    std::uint16_t* out = picture.samples.data();
    const QImage::Format format = image.format();
    const bool wide = image.depth() == 64 || format == QImage::Format_Grayscale16;
    if (wide) {
        picture.bits = 16;
        const QImage rgb = image.convertToFormat(QImage::Format_RGBX64);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgba64*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                *out++ = row[x].red();
                *out++ = row[x].green();
                *out++ = row[x].blue();
            }
        }
        return picture;
    }
    picture.bits = 8;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            *out++ = static_cast<std::uint16_t>(qRed(row[x]) * 257);
            *out++ = static_cast<std::uint16_t>(qGreen(row[x]) * 257);
            *out++ = static_cast<std::uint16_t>(qBlue(row[x]) * 257);
        }
    }
    return picture;
}

QImage pictureImage(const photo::Picture& picture) {
    QImage image(picture.width, picture.height,
                 picture.bits == 8 ? QImage::Format_RGB32 : QImage::Format_RGBX64);
    if (image.isNull()) return image;
    if (picture.bits == 8) {
        for (int y = 0; y < picture.height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < picture.width; ++x) {
                const std::uint16_t* s = picture.at(x, y);
                row[x] = qRgb(s[0] / 257, s[1] / 257, s[2] / 257);
            }
        }
        return image;
    }
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<QRgba64*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const std::uint16_t* s = picture.at(x, y);
            row[x] = QRgba64::fromRgba64(s[0], s[1], s[2], 65535);
        }
    }
    return image;
}

QColor residualColour(double deltaE) {
    if (deltaE < 1) return QColor(0, 220, 0);
    if (deltaE < 2) return QColor(255, 230, 0);
    return QColor(255, 0, 0);
}

QString expectedErrorText(const photo::Calibration& calibration) {
    return QString::fromUtf8("expected ΔE00 %1 (max %2)")
        .arg(calibration.expectedMedian, 0, 'f', 1)
        .arg(calibration.expectedMax, 0, 'f', 1);
}

void ChartCalibration::beginCorners() {
    step_ = Step::Corners;
    corners_.clear();
    fit_.reset();
}

bool ChartCalibration::addCorner(photo::Point point) {
    if (corners_.size() >= 4) corners_.clear();
    corners_.push_back(point);
    if (corners_.size() < 4) return false;
    step_ = Step::None;
    return true;
}

QString ChartCalibration::cornerPrompt() const {
    static const char* const asked[4] = {
        "Click the centre of the top-left patch (\"dark skin\")",
        "Click the centre of the top-right patch (\"bluish green\")",
        "Click the centre of the bottom-right patch (\"black\")",
        "Click the centre of the bottom-left patch (\"white\")"};
    const std::size_t next = corners_.size() < 4 ? corners_.size() : 0;
    return QString("Calibrate with chart: %1 (corner %2 of 4)").arg(asked[next]).arg(next + 1);
}

std::optional<photo::ChartCorners> ChartCalibration::corners() const {
    if (corners_.size() != 4) return std::nullopt;
    return photo::ChartCorners{corners_[0], corners_[1], corners_[2], corners_[3]};
}

int ChartCalibration::cornerNear(photo::Point point, double distance) const {
    if (corners_.size() != 4) return -1;
    int nearest = -1;
    double best = distance;
    for (int i = 0; i < 4; ++i) {
        const double d = std::hypot(corners_[i].x - point.x, corners_[i].y - point.y);
        if (d <= best) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

void ChartCalibration::moveCorner(int index, photo::Point point) {
    if (index >= 0 && index < static_cast<int>(corners_.size())) corners_[index] = point;
}

void ChartCalibration::setFit(photo::Calibration fit) {
    const photo::ChartCorners& c = fit.corners;
    corners_ = {c.topLeft, c.topRight, c.bottomRight, c.bottomLeft};
    fit_ = std::move(fit);
}

void ChartCalibration::clear() {
    step_ = Step::None;
    corners_.clear();
    fit_.reset();
    greyReference.reset();
}

const photo::Picture& ChartCalibration::picture(const QImage& original, int serial) {
    if (serial != pictureSerial_) {
        picture_ = measuredPicture(original);
        pictureSerial_ = serial;
    }
    return picture_;
}

} // namespace huelinx
