// Saving the colour to a palette file, "Make Table" and "Import".
#include "files/file_read.h"
#include "files/file_write.h"
#include "instruments/batch_import.h"
#include "mainwindow/main_window.h"
#include "palette/munsell_table.h"
#include "palette/palette_file.h"
#include "platform/qt_text.h"
#include "text/number_read.h"
#include "text/safe_text.h"

#include <QCheckBox>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

bool MainWindow::saveColourToPalette(TagPrompt prompt) {
    PaletteDocument& palette = session_.palette();
    if (!askPaletteFile(platform_, palette, prompt)) return false;
    // The display colour as the R, G, B boxes hold it, clamped; the boxes stay
    // as typed and the R, G, B sliders follow.
    session_.keep(readRgbBoxes(colour()));
    followSliders();
    const std::string moist = palette.moist(), dry = palette.dry();
    if (!saveColourRecord(platform_, palette, colour(), TagPrompt::UseCurrentTag)) return false;
    QString note = savedRowNote(palette);
    if (!moist.empty() || !dry.empty())
        note += QString(" Moist reading \"%1\", dry reading \"%2\".").arg(qs(moist), qs(dry));
    showNote(note);
    return true;
}

QString MainWindow::savedRowNote(const PaletteDocument& palette) const {
    // The row is the file's last line; a file that can't be read back (grown
    // past what the program reads) is named without its row.
    const std::string& file = palette.file();
    const FileText written = readWholeFile(file, userFileLimit);
    QString row = "Colour";
    if (written.status == FileRead::Ok)
        row = QString("Row %1").arg(std::count(written.text.begin(), written.text.end(), '\n'));
    return QString("%1 added to \"%2\" (tag \"%3\").")
        .arg(row, QString::fromStdString(oneLineText(absolutePath(file))),
             QString::fromStdString(oneLineText(palette.tag())));
}

void MainWindow::onSaveToPalette() {
    saveColourToPalette(TagPrompt::Ask);
}

void MainWindow::onMakeTable() {
    bool outOfRange = false;
    const std::string text =
        munsellTableText(session_.table(), settings(), windowTitle().toStdString(), outOfRange);
    const Result written = replaceFile(printedTableFile, text);
    if (!written.ok) {
        platform_.message(
            QString::fromStdString("The table could not be written: " + written.message),
            Buttons::Ok, Icon::Exclamation);
        return;
    }
    // Three head lines, then one row per colour.
    const auto rows = std::count(text.begin(), text.end(), '\n') - 3;
    // The line in Messages is the whole report: no box to close.
    showNote(QString("\"%1\" written: %2 row(s).").arg(printedTableFile).arg(rows));
}

namespace {

// The import types: the code the import runs by, and the line the list shows.
struct ImportType {
    const char* code;
    const char* description;
};
constexpr ImportType importTypes[] = {
    {"xyz", "tag, X, Y, Z records of a file you choose, added to the palette"},
    {"cgats", "samples of a CGATS file you choose (XYZ, LAB or spectral), added to the palette, "
              "with a report"},
    {"0", "hue, value, chroma records of a file you choose, to tempOUT.txt"},
    {"6", "L*, a*, b* records of lab_sRGB.csv, to lab_sRGB.txt"},
    {"3", "notations of steps.txt, to stepsMUNSELL.txt"},
    {"4", "the ColorChecker table ccnames.csv, to cchecker.csv"},
    {"2", "the colour chart RHScolors.txt, to RHScolorsMUNSELL.txt"},
    {"1", "reflectance curves of munfile1.txt, to munout.txt"},
};

QString importItem(const ImportType& type) {
    return QString("%1 \u2014 %2").arg(type.code, type.description);
}

} // namespace

void MainWindow::onImport() {
    QStringList items;
    for (const ImportType& type : importTypes)
        items << importItem(type);
    const QString chosen = platform_.choose("Import type:", items, "Import");
    if (chosen.isEmpty()) {
        showNote("Import cancelled: no type chosen.");
        return;
    }
    // The list offers only its items; the code is the item's first word.
    BatchImport(session_, platform_).run(chosen.section(u' ', 0, 0));
}

} // namespace huelinx
