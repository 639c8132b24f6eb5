// "Calibrate with chart": the user clicks the centres of the chart's four
// corner patches, the 24 patches are read where the corners say they are and
// a correction from the camera's linear R, G, B to X, Y, Z under illuminant C
// is fitted on them. From then on a click, and the picture palette, read the
// picture as measurements. The fit is kept beside the picture in a small text
// file and read again when the picture is opened.
#include "files/file_read.h"
#include "files/file_write.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/number_read.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <utility>

namespace huelinx {

namespace {

const QString chartTitle = "Calibrate with chart";

QString joined(const std::vector<std::string>& texts, const char* separator) {
    QStringList list;
    for (const std::string& t : texts)
        list << QString::fromStdString(t);
    return list.join(separator);
}

} // namespace

photo::Encoding PictureWindow::pictureEncoding() const {
    return linearValuesAction->isChecked() ? photo::Encoding::Linear : photo::Encoding::Srgb;
}

void PictureWindow::onCalibrateChart() {
    if (picture->isEmpty()) {
        platform_.message("Load a picture with the colour chart in it first.", Buttons::Ok,
                          Icon::Exclamation, chartTitle);
        return;
    }
    chart.beginCorners();
    showChartMarks();
    setStatus(chart.cornerPrompt(), 14);
}

void PictureWindow::onMarkGreyReference() {
    if (picture->isEmpty()) return;
    chart.beginGreyReference();
    setStatus("Mark grey reference: click the centre of the grey card beside the sample", 14);
}

void PictureWindow::onClearCalibration() {
    chart.clear();
    draggedCorner_ = -1;
    showChartMarks();
    setStatus("Calibration cleared: readings are display RGB", 15);
}

void PictureWindow::onLinearValues() {
    if (chart.corners() && chart.step() == ChartCalibration::Step::None) fitChartCorners();
}

bool PictureWindow::chartClick(int x, int y) {
    const photo::Point point{double(x), double(y)};
    switch (chart.step()) {
    case ChartCalibration::Step::Corners:
        if (chart.addCorner(point)) {
            fitChartCorners();
        } else {
            showChartMarks();
            setStatus(chart.cornerPrompt(), 14);
        }
        return true;
    case ChartCalibration::Step::GreyReference:
        markGreyReference(x, y);
        return true;
    case ChartCalibration::Step::None:
        break;
    }
    // A press on a corner's cross starts moving that corner.
    const auto corners = chart.corners();
    if (!corners) return false;
    draggedCorner_ = chart.cornerNear(point, std::max(6.0, photo::patchHalfSide(*corners)));
    dragStart_ = QPoint(x, y);
    dragMoved_ = false;
    return draggedCorner_ >= 0;
}

void PictureWindow::onPictureReleased(int x, int y) {
    if (draggedCorner_ < 0) return;
    const int corner = std::exchange(draggedCorner_, -1);
    // A press and release on a corner patch without a move is a reading of it.
    if (!dragMoved_ && (QPoint(x, y) - dragStart_).manhattanLength() <= 2) {
        if (clickMode) showNotationAt(dragStart_.x(), dragStart_.y());
        return;
    }
    if (picture->inside(x, y)) chart.moveCorner(corner, {double(x), double(y)});
    fitChartCorners();
}

void PictureWindow::fitChartCorners() {
    const auto corners = chart.corners();
    if (!corners) return;
    if (!chartReference_) {
        const std::string file = session_.resources().locate("photo/chart-reflectance.csv").path;
        auto reference = photo::chartReference(file);
        if (!reference.value) return refuseFit(reference.message);
        chartReference_ = *reference.value;
    }
    const photo::Encoding encoding = pictureEncoding();
    const photo::Picture& measured = chart.picture(picture->original(), picture->pictureSerial());
    const auto reading = photo::readChart(measured, encoding, *corners);
    if (!reading.value) return refuseFit(reading.message);
    auto fitted = photo::fitChart(*reading.value, *chartReference_, photo::FitKind::Matrix3x3);
    if (!fitted.value) return refuseFit(fitted.message);
    fitted.value->corners = *corners;
    fitted.value->encoding = encoding;
    chart.setFit(std::move(*fitted.value));
    showChartMarks();
    const photo::Calibration& fit = *chart.fit();
    QString status = QString("Calibrated with the chart (%1): ").arg(photo::fitName(fit.kind)) +
                     expectedErrorText(fit);
    if (!fit.warnings.empty()) status += "; " + joined(fit.warnings, "; ");
    setStatus(status, fit.warnings.empty() ? 10 : 14);
    if (!fit.warnings.empty())
        platform_.message(joined(fit.warnings, "\r\n"), Buttons::Ok, Icon::Exclamation, chartTitle);
    saveCalibration();
}

void PictureWindow::refuseFit(const std::string& message) {
    // The squares stay where the corners put them, so the user sees what was
    // read; readings are display RGB until a fit is made.
    chart.dropFit();
    showChartMarks();
    setStatus("Not calibrated: readings are display RGB", 12);
    platform_.message("The chart can't be used: " + QString::fromStdString(message), Buttons::Ok,
                      Icon::Exclamation, chartTitle);
}

void PictureWindow::showChartMarks() {
    using Mark = PictureSurface::Mark;
    std::vector<Mark> marks;
    if (const auto corners = chart.corners()) {
        const auto centres = photo::patchCentres(*corners);
        const double h = photo::patchHalfSide(*corners);
        const auto& fit = chart.fit();
        for (int i = 0; i < photo::chartPatches; ++i) {
            const QColor colour = fit ? residualColour(fit->residual[i]) : QColor(Qt::white);
            marks.push_back(
                {Mark::Square, QRectF(centres[i].x - h, centres[i].y - h, 2 * h, 2 * h), colour});
        }
        for (const photo::Point& c :
             {corners->topLeft, corners->topRight, corners->bottomRight, corners->bottomLeft})
            marks.push_back({Mark::Cross, QRectF(c.x - h, c.y - h, 2 * h, 2 * h), Qt::white});
    } else {
        // The corners clicked so far are drawn as they come in.
        for (const photo::Point& c : chart.clickedCorners())
            marks.push_back({Mark::Cross, QRectF(c.x - 8, c.y - 8, 16, 16), Qt::white});
    }
    if (chart.greyReference) {
        const photo::Region& r = chart.greyReference->region;
        marks.push_back({Mark::Square, QRectF(r.x, r.y, r.width, r.height), QColor(0, 200, 255)});
    }
    picture->setMarks(std::move(marks));
}

QString PictureWindow::chartTooltipAt(int x, int y) const {
    const auto corners = chart.corners();
    if (!corners || !chart.fit()) return {};
    const auto centres = photo::patchCentres(*corners);
    const double h = photo::patchHalfSide(*corners);
    for (int i = 0; i < photo::chartPatches; ++i)
        if (std::abs(x - centres[i].x) <= h && std::abs(y - centres[i].y) <= h)
            return QString::fromUtf8("%1: ΔE00 %2 fitted, %3 left out of the fit")
                .arg(QString::fromStdString(photo::patchLabel(i)))
                .arg(chart.fit()->residual[i], 0, 'f', 2)
                .arg(chart.fit()->leftOut[i], 0, 'f', 2);
    return {};
}

void PictureWindow::markGreyReference(int x, int y) {
    chart.endStep();
    const QString answer = platform_.inputBox(
        "Y of the grey reference (luminance factor, 0 to 100)", chartTitle, "18");
    if (answer.isEmpty()) {
        setStatus("No grey reference marked", 15);
        return;
    }
    const auto luminance = strictNumber(answer.toStdString());
    if (!luminance || !(*luminance > 0 && *luminance <= 100)) {
        platform_.message("The grey reference's Y must be a number above 0 and at most 100: \"" +
                              answer + "\".",
                          Buttons::Ok, Icon::Exclamation, chartTitle);
        return;
    }
    const int k = sampleRadius;
    chart.greyReference = photo::NeutralReference{{x - k, y - k, 2 * k + 1, 2 * k + 1}, *luminance};
    showChartMarks();
    setStatus(QString("Grey reference of Y %1 marked: readings are scaled to the chart's light")
                  .arg(*luminance),
              10);
}

bool PictureWindow::readCalibrated(const photo::Region& region, ColourModel& colour,
                                   std::vector<std::string>* notes, std::string* problem) {
    const photo::Picture& measured = chart.picture(picture->original(), picture->pictureSerial());
    auto read = photo::readRegion(measured, *chart.fit(), region, chart.greyReference);
    if (!read.value) {
        if (problem) *problem = read.message;
        return false;
    }
    colour = enterXyzValues(std::move(colour), read.value->xyz, session_.table());
    // The reading's notes hold the fit's warnings too.
    if (notes) *notes = std::move(read.value->notes);
    return true;
}

QString PictureWindow::calibratedNote(const std::vector<std::string>& notes) const {
    QString note = "calibrated, " + expectedErrorText(*chart.fit());
    if (!notes.empty()) note += "; " + joined(notes, "; ");
    return note;
}

void PictureWindow::saveCalibration() {
    if (calibrationFile.isEmpty() || !chart.fit() || calibrationSerial_ != picture->pictureSerial())
        return;
    const Result written =
        replaceFile(calibrationFile.toStdString(), photo::calibrationText(*chart.fit()));
    if (!written.ok)
        platform_.message("The calibration could not be saved: " +
                              QString::fromStdString(written.message),
                          Buttons::Ok, Icon::Exclamation, chartTitle);
}

void PictureWindow::loadSavedCalibration() {
    if (calibrationFile.isEmpty() || !QFileInfo::exists(calibrationFile)) return;
    const std::string path = calibrationFile.toStdString();
    const FileText file = readWholeFile(path, settingsFileLimit);
    auto loaded = file.status == FileRead::Ok
                      ? photo::readCalibrationText(file.text, path)
                      : Loaded<photo::Calibration>{
                            std::nullopt, "\"" + path + "\" " +
                                              readFailure(file.status, settingsFileLimit) + "."};
    if (!loaded.value) {
        platform_.message("The picture's calibration can't be used, so the picture opens "
                          "uncalibrated: " +
                              QString::fromStdString(loaded.message),
                          Buttons::Ok, Icon::Exclamation, chartTitle);
        return;
    }
    linearValuesAction->setChecked(loaded.value->encoding == photo::Encoding::Linear);
    chart.setFit(std::move(*loaded.value));
    showChartMarks();
    setStatus("Calibrated with the chart saved beside the picture: " +
                  expectedErrorText(*chart.fit()),
              10);
}

} // namespace huelinx
