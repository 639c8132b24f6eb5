// "Export Palette…": the loaded palette written for other programs.
#include "exchange/palette_export.h"
#include "files/file_write.h"
#include "platform/platform.h"
#include "session/session.h"
#include "viewer/palette_viewer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>

namespace huelinx {

namespace {

const char* const exportFilter = "GIMP palette (*.gpl)|*.gpl|"
                                 "Adobe Swatch Exchange (*.ase)|*.ase|"
                                 "CGATS.17 text (*.txt)|*.txt";

// The format a file's extension names: .gpl, .ase, or .txt for CGATS.
std::optional<ExportFormat> formatOfFile(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == "txt" ? ExportFormat::Cgats : exportFormatNamed(suffix.toStdString());
}

} // namespace

void PaletteViewer::onExportPalette() {
    Platform& platform = platform_;
    // Colours outside the Munsell data have no swatch and are left out.
    const std::vector<PaletteSwatch> swatches = swatchesOf(entries());
    if (swatches.empty()) {
        platform.message("No palette colours to export: open a palette first.");
        return;
    }
    const QString paletteName = QString::fromStdString(paletteNameOf(
        QString::fromStdString(session_.palette().entriesFile()).trimmed().toStdString()));
    // The dialog opens in the folder last used.
    const QString folder = QString::fromStdString(session_.lastFolder);
    const QString file = platform.saveFileName(
        exportFilter, (folder.isEmpty() ? "" : folder + "/") + paletteName + ".gpl",
        "Export Palette");
    if (file.isEmpty()) return;
    session_.choseFile(file.toStdString());
    const auto format = formatOfFile(file);
    if (!format) {
        platform.message("\"" + file +
                         "\" was not written: choose a name ending in .gpl (GIMP, Inkscape, "
                         "Krita), .ase (Adobe) or .txt (CGATS).");
        return;
    }
    const std::string created =
        QDateTime::currentDateTime().toString("yyyy-MM-dd'T'HH:mm:ss").toStdString();
    const Result written = replaceFile(
        file.toStdString(), exportPalette(*format, paletteName.toStdString(), swatches,
                                          session_.colour().settings.illuminant, created));
    if (!written.ok) {
        platform.message(QString::fromStdString("The palette was not exported: " + written.message),
                         Buttons::Ok, Icon::Exclamation);
        return;
    }
    statusBox->setText(QString("Exported %1 colour(s) to %2")
                           .arg(swatches.size())
                           .arg(QFileInfo(file).fileName()));
}

} // namespace huelinx
