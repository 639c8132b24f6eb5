// Import type "cgats": the samples of a CGATS.17 measurement file added to the
// palette, with a report of every notation, the name and the nearest chip.
#include "exchange/cgats_import.h"
#include "files/file_write.h"
#include "instruments/batch_import.h"
#include "platform/palette_questions.h"
#include "platform/platform.h"
#include "session/session.h"

namespace huelinx {

// The last spectral sample under the light and observer chosen, on a line of
// its own after the note; nothing for other data or under C, 2 degrees.
std::string BatchImport::lastReadingLine(const CgatsImport& imported) {
    if (imported.readings.empty()) return {};
    const std::string line = session_.readingUnderLight(imported.readings.back());
    return line.empty() ? line : "\nLast sample: " + line;
}

void BatchImport::importCgats() {
    const QString name = chooseFile(
        "CGATS files (*.txt;*.cgats;*.ti3;*.it8)|*.txt;*.cgats;*.ti3;*.it8|All files (*.*)|*.*");
    if (name.isEmpty()) return;
    importCgatsFrom(name);
}

void BatchImport::importCgatsFile(const QString& path) {
    // Opening a file leaves the current colour as it is.
    colour_ = session_.colour();
    importCgatsFrom(path);
}

void BatchImport::importCgatsFrom(const QString& name) {
    const auto text = readInput(name);
    if (!text) return;
    const CsvExtras extras{&session_.resources().names(), session_.resources().chips()};
    CgatsImport imported = huelinx::importCgats(
        *text, name.toStdString(), colour_, session_.table(), extras,
        platform_.dateText().toStdString(), platform_.timeText().toStdString());
    if (!imported.ok) {
        platform_.message(QString::fromStdString(imported.message), Buttons::Ok, Icon::Exclamation);
        return;
    }
    PaletteDocument& palette = session_.palette();
    if (!savePaletteRecords(platform_, palette, imported.paletteText)) return;
    colour_ = std::move(imported.last);
    // The report never replaces the palette the samples went to, nor the file read.
    const std::string usual = cgatsReportName(name.toStdString());
    const QString report = QString::fromStdString(
        cgatsReportName(name.toStdString(), {palette.file(), name.toStdString()}));
    const Result saved = replaceFile(report.toStdString(), imported.reportText);
    if (!saved.ok)
        platform_.message(
            QString::fromStdString("The import report was not saved: " + saved.message));
    QString reportNote;
    if (saved.ok) reportNote = ", report \"" + report + "\"";
    if (saved.ok && report.toStdString() != usual)
        reportNote +=
            QString(" (not \"%1\", which is the palette)").arg(QString::fromStdString(usual));
    session_.note(QString("%1 sample(s) of \"%2\" added to \"%3\"%4 (%5).")
                      .arg(imported.samples - imported.withoutNotation)
                      .arg(name, QString::fromStdString(palette.file()), reportNote,
                           QString::fromStdString(imported.note))
                      .toStdString() +
                  lastReadingLine(imported));
}

} // namespace huelinx
