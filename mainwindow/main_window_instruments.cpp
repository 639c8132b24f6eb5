// The instrument buttons: "Calibrate" and "Measure" (or "Import %R", which
// reads a reflectance curve from a file instead).
#include "colour/tristimulus.h"
#include "files/file_read.h"
#include "instrument_data/reply_parse.h"
#include "instruments/instrument_protocols.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "platform/serial_port.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace huelinx {

namespace {

const char* const importFormatMessage =
    "file import format error\r\nFORMAT\r\nTAG\r\n%R360, ...,%R750";

// Keeps a second click from starting another run while a wait lets the window work.
class BusyGuard {
  public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }

  private:
    bool& busy_;
};

} // namespace

Spectrophotometer& MainWindow::spectrophotometer() {
    if (!spectro_)
        spectro_ = std::make_unique<Spectrophotometer>(
            platform_, [this](const QString& text) { messagesBox->setPlainText(text); });
    return *spectro_;
}

void MainWindow::onCalibrate() {
    if (instrumentBusy_) return;
    BusyGuard guard(instrumentBusy_);
    spectrophotometer().calibrate(instrumentList->currentText(), portChoice());
    showPortDevice();
}

void MainWindow::onMeasure() {
    if (instrumentBusy_) return;
    BusyGuard guard(instrumentBusy_);
    instrumentName_ = instrumentList->currentText();
    const bool import = instrumentName_ == "Import";
    const MeasureEnd end =
        import ? importReflectance()
               : spectrophotometer().measure(instrumentName_, portChoice(), session_.reflectance);
    if (!import) showPortDevice();
    if (end == MeasureEnd::Ends) return;
    if (!import) platform_.serialPort().close();
    // The reading converts at full precision; the boxes show two decimals.
    const QString before = messagesBox->toPlainText();
    showColour(enterXyzValues(colour(), tris(session_.reflectance), session_.table()),
               Change::Measurement);
    noteReading(before);
}

MeasureEnd MainWindow::importReflectance() {
    // Cancelling the dialog is not a missing file: nothing happens.
    const QString path =
        platform_.openFileName("*.txt|*.txt", QString::fromStdString(session_.lastFolder));
    if (path.isEmpty()) return MeasureEnd::Ends;
    session_.choseFile(path.toStdString());
    const FileText file = readWholeFile(path.toStdString(), userFileLimit);
    if (file.status != FileRead::Ok) {
        platform_.message(QString::fromStdString(
            unreadableFileMessage(path.toStdString(), file.status, userFileLimit)));
        return MeasureEnd::Ends;
    }
    const std::string& text = file.text;
    const ReflectanceFile read = parseReflectanceFile(text, session_.reflectance);
    if (!text.empty()) importedFileName->setText(path + " " + QString::fromStdString(read.tag));
    if (!read.ok) {
        platform_.message(importFormatMessage);
        return MeasureEnd::Ends;
    }
    return MeasureEnd::Filled;
}

} // namespace huelinx
