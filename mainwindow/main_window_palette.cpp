// Saving the colour to a palette file, "Make Table" and "Import".
#include "files/file_write.h"
#include "instruments/batch_import.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "palette/munsell_table.h"
#include "palette/palette_file.h"
#include "text/number_read.h"
#include "viewer/palette_viewer.h"

#include <QCheckBox>
#include <QFile>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {} // namespace

bool MainWindow::askPaletteFile(TagPrompt prompt) {
    Platform& p = program_.platform;
    for (;;) {
        if (program_.paletteFile.isEmpty()) {
            program_.paletteFile = p.inputBox("Palette File Name to save or append  [.CSV added]",
                                              "Save Palette Data", "TZMpalette");
            if (program_.paletteFile.isEmpty()) return false;
        }
        if (prompt == TagPrompt::UseCurrentTag) return true;
        program_.paletteTag = p.inputBox("Palette " + program_.paletteFile +
                                             " - Enter Tag [Enter 'file' to change file name]",
                                         "Palette File Save - TAG");
        if (program_.paletteTag.toLower() != "file") return true;
        program_.paletteFile.clear();
    }
}

bool MainWindow::saveColourToPalette(TagPrompt prompt) {
    if (!askPaletteFile(prompt)) return false;
    // The display colour as the R, G, B boxes hold it, clamped; the boxes stay
    // as typed and the R, G, B sliders follow.
    colour_ = readRgbBoxes(colour_);
    shareDisplayColour();
    followSliders();
    return appendToPalette(colour_);
}

bool MainWindow::saveToPalette(const ColourModel& colour, TagPrompt prompt) {
    if (!askPaletteFile(prompt)) return false;
    return appendToPalette(readRgbBoxes(colour));
}

bool MainWindow::appendToPalette(const ColourModel& colour) {
    PaletteRecord record = paletteRecord(colour);
    record.date = program_.platform.dateText().toStdString();
    record.time = program_.platform.timeText().toStdString();
    record.tag = program_.paletteTag.toStdString();
    return appendPaletteText(paletteLine(record));
}

bool MainWindow::appendPaletteText(const std::string& records) {
    if (program_.paletteFile.right(4).toLower() != ".csv") program_.paletteFile += ".csv";
    program_.paletteFile =
        QString::fromStdString(sameFileAnyCase(program_.paletteFile.toStdString()));
    const Result saved = appendPaletteLine(program_.paletteFile.toStdString(), records);
    if (saved.ok) return true;
    program_.platform.message(QString::fromStdString(saved.message), Buttons::Ok,
                              Icon::Exclamation);
    return false;
}

bool MainWindow::appendPaletteRecords(const std::string& records) {
    return askPaletteFile(TagPrompt::UseCurrentTag) && appendPaletteText(records);
}

void MainWindow::onSaveToPalette() {
    saveColourToPalette(TagPrompt::Ask);
    if (viewerCheck->isChecked() && viewerWindow())
        viewerWindow()->loadPalette(PaletteSource::CurrentFile);
}

void MainWindow::onMakeTable() {
    bool outOfRange = false;
    const std::string text =
        munsellTableText(program_.table, settings(), windowTitle().toStdString(), outOfRange);
    program_.rgbOutOfRange = outOfRange;
    const Result written = replaceFile(munsellTableFile, text);
    if (!written.ok) {
        program_.platform.message(
            QString::fromStdString("The table could not be written: " + written.message),
            Buttons::Ok, Icon::Exclamation);
        return;
    }
    // Three head lines, then one row per colour.
    const auto rows = std::count(text.begin(), text.end(), '\n') - 3;
    showNote(QString("\"%1\" written: %2 row(s).").arg(munsellTableFile).arg(rows));
    program_.platform.message("Done");
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
    BatchImport(*this, program_).run(program_.platform.inputBox(importPrompt));
}

} // namespace huelinx
