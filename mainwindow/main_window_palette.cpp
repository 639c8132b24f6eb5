// Saving the colour to a palette file, "Make Table" and "Import".
#include "files/file_write.h"
#include "instruments/batch_import.h"
#include "mainwindow/main_window.h"
#include "palette/munsell_table.h"
#include "palette/palette_file.h"
#include "text/number_read.h"

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
    return saveColourRecord(platform_, palette, colour(), TagPrompt::UseCurrentTag);
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
    showNote(QString("\"%1\" written: %2 row(s).").arg(printedTableFile).arg(rows));
    platform_.message("Done");
}

namespace {

// The question names the answers it takes.
const char* const importPrompt =
    "Type import:\n"
    "xyz  tag, X, Y, Z records of a file you choose, added to the palette\n"
    "6  L*, a*, b* of lab_sRGB.csv to lab_sRGB.txt\n"
    "0  hue, value, chroma of a file you choose to tempOUT.txt\n"
    "3  notations of steps.txt to stepsMUNSELL.txt\n"
    "4  the ColorChecker table ccnames.csv to cchecker.csv\n"
    "2  the colour chart RHScolors.txt to RHScolorsMUNSELL.txt\n"
    "1  reflectance curves of munfile1.txt to munout.txt\n"
    "cgats  samples of a CGATS file you choose (XYZ, LAB or spectral), added to the palette, "
    "with a report";

} // namespace

void MainWindow::onImport() {
    BatchImport(session_, platform_).run(platform_.inputBox(importPrompt));
}

} // namespace huelinx
