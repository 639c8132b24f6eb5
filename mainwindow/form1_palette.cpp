// Saving the colour to a palette file, "Make Table" and "Import".
#include "instruments/batch_import.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "palette/munsell_table.h"
#include "palette/palette_file.h"
#include "text/number_read.h"
#include "viewer/form3.h"

#include <QCheckBox>
#include <QFile>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

template <std::size_t N> std::array<std::string, N> texts(const std::array<EntryBox*, N>& boxes) {
    std::array<std::string, N> out;
    for (std::size_t i = 0; i < N; ++i)
        out[i] = boxes[i]->text().toStdString();
    return out;
}

} // namespace

bool Form1::askPaletteFile(float mode) {
    Platform& p = program_.platform;
    for (;;) {
        if (program_.paletteFile.isEmpty()) {
            program_.paletteFile = p.inputBox("Palette File Name to save or append  [.CSV added]",
                                              "Save Palette Data", "TZMpalette");
            if (program_.paletteFile.isEmpty()) return false;
        }
        if (mode != 0.0f) return true;
        program_.paletteTag = p.inputBox("Palette " + program_.paletteFile +
                                             " - Enter Tag [Enter 'file' to change file name]",
                                         "Palette File Save - TAG");
        if (program_.paletteTag.toLower() != "file") return true;
        program_.paletteFile.clear();
    }
}

bool Form1::SaveData(float mode) {
    if (!askPaletteFile(mode)) return false;
    if (program_.paletteFile.right(4).toLower() != ".csv") program_.paletteFile += ".csv";

    // The display colour as the R, G, B boxes hold it, clamped; the boxes stay
    // as typed and the R, G, B sliders follow.
    std::int16_t* channels[3] = {&colour_.red, &colour_.green, &colour_.blue};
    const ColourSettings& s = colour_.settings;
    PaletteRecord record;
    for (int i = 0; i < 3; ++i) {
        const double c = roundHalfEven(leadingNumber(Text1[i]->text().toStdString()));
        *channels[i] = static_cast<std::int16_t>(std::clamp(c, 0.0, 255.0));
        record.linear[i] = static_cast<float>(std::pow(
            *channels[i] / double{s.channelScale[i + 1]} / 255.0, 1.0 / s.gammaInv[i + 1]));
        colour_.slider[static_cast<std::size_t>(Slider::Red) + static_cast<std::size_t>(i)] =
            *channels[i];
    }
    program_.curRed = colour_.red;
    program_.curGreen = colour_.green;
    program_.curBlue = colour_.blue;
    slidersBusy = true;
    VScroll4->setValue(colour_.red);
    VScroll5->setValue(colour_.green);
    VScroll6->setValue(colour_.blue);
    slidersBusy = false;
    record.date = program_.platform.dateText().toStdString();
    record.time = program_.platform.timeText().toStdString();
    record.tag = program_.paletteTag.toStdString();
    record.munsell = texts(Text12);
    record.xyz = texts(Text11);
    record.lab = texts(Text15);
    record.rgb = texts(Text1);
    record.cmyk = texts(Text2);
    std::string message;
    if (appendPaletteLine(program_.paletteFile.toStdString(), paletteLine(record), message))
        return true;
    program_.platform.message(QString::fromStdString(message), Buttons::Ok, Icon::Exclamation);
    return false;
}

void Form1::Command11_Click() {
    SaveData(0);
    if (Check7->isChecked() && viewerWindow()) viewerWindow()->GetData(2);
}

void Form1::Command3_Click() {
    program_.rgbQuiet = true;
    bool outOfRange = false;
    const std::string text =
        munsellTableText(program_.table, settings(), windowTitle().toStdString(), outOfRange);
    program_.rgbOutOfRange = outOfRange;
    QFile file(munsellTableFile);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size());
    file.close();
    program_.rgbQuiet = false;
    if (!written) {
        program_.platform.message(
            QString("The table could not be written: \"%1\" can't be created.")
                .arg(munsellTableFile),
            Buttons::Ok, Icon::Exclamation);
        return;
    }
    program_.platform.message("Done");
}

void Form1::import_Click() {
    BatchImport(*this, program_).run(program_.platform.inputBox("Type import"));
}

} // namespace huelinx
