// Import type "cgats": the samples of a CGATS.17 measurement file added to the
// palette, with a report of every notation, the name and the nearest chip.
#include "exchange/cgats_import.h"
#include "files/file_write.h"
#include "instruments/batch_import.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"

namespace huelinx {

void BatchImport::importCgats() {
    const QString name = program_.platform.openFileName(
        "CGATS files (*.txt;*.cgats;*.ti3;*.it8)|*.txt;*.cgats;*.ti3;*.it8|All files (*.*)|*.*");
    if (name.isEmpty()) return;
    const auto text = readInput(name);
    if (!text) return;
    const CsvExtras extras{&program_.colourNames, host_.chipSearch()};
    CgatsImport imported = huelinx::importCgats(*text, name.toStdString(), colour_, program_.table,
                                                extras, program_.platform.dateText().toStdString(),
                                                program_.platform.timeText().toStdString());
    if (!imported.ok) {
        program_.platform.message(QString::fromStdString(imported.message), Buttons::Ok,
                                  Icon::Exclamation);
        return;
    }
    if (!host_.appendPaletteRecords(imported.paletteText)) return;
    colour_ = std::move(imported.last);
    // The report never replaces the palette the samples went to, nor the file read.
    const std::string usual = cgatsReportName(name.toStdString());
    const QString report = QString::fromStdString(cgatsReportName(
        name.toStdString(), {program_.paletteFile.toStdString(), name.toStdString()}));
    const Result saved = replaceFile(report.toStdString(), imported.reportText);
    if (!saved.ok)
        program_.platform.message(
            QString::fromStdString("The import report was not saved: " + saved.message));
    QString reportNote;
    if (saved.ok) reportNote = ", report \"" + report + "\"";
    if (saved.ok && report.toStdString() != usual)
        reportNote +=
            QString(" (not \"%1\", which is the palette)").arg(QString::fromStdString(usual));
    host_.showNote(
        QString("%1 sample(s) of \"%2\" added to \"%3\"%4 (%5).")
            .arg(imported.samples - imported.withoutNotation)
            .arg(name, program_.paletteFile, reportNote, QString::fromStdString(imported.note)));
}

} // namespace huelinx
