// The main window as a view of the colour model: every entry path hands the
// current model to one of the model's functions and makes what it gets back
// the session's colour; the window shows each new colour of the session
// (boxes, sliders, label, swatch) and its messages, whoever made it.
#include "colour/colour_model.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"

#include "mainwindow/swatch.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace huelinx {

namespace {

// The caption that names the illuminant beside its option buttons.
QString illuminantCaption(Illuminant illuminant) {
    switch (illuminant) {
    case Illuminant::D5000:
        return "illuminant D5000 2° Observer ";
    case Illuminant::D65:
        return "Illuminant D65  10° Observer ";
    case Illuminant::C:
        break;
    }
    return "illuminant C  2° Observer ";
}

} // namespace

ColourSettings MainWindow::settings() const {
    return colour().settings;
}

std::array<EntryBox*, boxCount> MainWindow::colourBoxes() const {
    return {munsellBoxes[0], munsellBoxes[1],      munsellBoxes[2],      xyzBoxes[0], xyzBoxes[1],
            xyzBoxes[2],     chromaticityBoxes[0], chromaticityBoxes[1], labBoxes[0], labBoxes[1],
            labBoxes[2],     rgbBoxes[0],          rgbBoxes[1],          rgbBoxes[2], cmykBoxes[0],
            cmykBoxes[1],    cmykBoxes[2],         cmykBoxes[3]};
}

std::array<QScrollBar*, sliderCount> MainWindow::colourSliders() const {
    return {hueSlider, valueSlider, chromaSlider, redSlider, greenSlider, blueSlider};
}

void MainWindow::boxTyped(int box, const QString& text) {
    if (slidersBusy) return;
    const std::size_t b = static_cast<std::size_t>(box);
    session_.type(static_cast<Box>(box), text.toStdString());
    shownTexts_[b] = colour().box[b];
}

void MainWindow::showColour(ColourModel next, Change what) {
    next.quietDisplay = false;
    session_.setColour(std::move(next), what);
}

void MainWindow::showChange(const ColourModel& shown) {
    for (const std::string& message : shown.messages)
        platform_.message(qs(message));
    renderColour();
}

void MainWindow::followSliders() {
    const bool busy = slidersBusy;
    slidersBusy = true;
    const auto sliders = colourSliders();
    for (std::size_t s = 0; s < sliders.size(); ++s)
        sliders[s]->setValue(colour().slider[s]);
    slidersBusy = busy;
}

void MainWindow::renderColour() {
    // While the window follows the model, its own change handlers do nothing.
    slidersBusy = true;
    const auto boxes = colourBoxes();
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        if (shownTexts_[b] == colour().box[b]) continue;
        boxes[b]->setText(qs(colour().box[b]));
        shownTexts_[b] = colour().box[b];
    }
    followSliders();
    outOfRangeLabel->setText(colour().outOfRangeShown ? "Out of RGB Range" : "");
    showOutsideData();
    showNameAndChip();
    if (gammaBox->text().toStdString() != colour().gammaText)
        gammaBox->setText(qs(colour().gammaText));
    gammaSlider->setValue(colour().gammaPosition);
    const int illuminant = static_cast<int>(colour().settings.illuminant);
    illuminantButtons[illuminant]->setChecked(true);
    illuminantLabel->setText(illuminantCaption(colour().settings.illuminant));
    pwdCheck->setChecked(colour().settings.pwd);
    slidersBusy = false;
    paintSwatch();
}

void MainWindow::showOutsideData() {
    // A colour the Munsell data hold no notation for (its hue and chroma boxes
    // are empty, or its X, Y, Z are zeros) is said in Messages, without a box
    // to close; the note goes when a colour inside the data follows.
    static const QString outside = "Outside the Munsell data";
    if (colour().outsideData)
        messagesBox->setPlainText(outside);
    else if (messagesBox->toPlainText() == outside)
        messagesBox->clear();
}

void MainWindow::showNote(const QString& line) {
    messagesBox->setPlainText(line);
}

void MainWindow::paintSwatch() {
    // A colour the display can't show has black display levels, which a click
    // on the swatch still reads; the swatch shows its clipped colour, marked.
    const ColourModel& c = colour();
    const QColor back(c.red, c.green, c.blue);
    if (!c.rgbOutOfRange) {
        swatch->setBackColor(back);
        return;
    }
    const auto level = [&c](int i) { return qBound(0, int(c.clippedRgb[std::size_t(i)]), 255); };
    swatch->setColour(back, QColor(level(0), level(1), level(2)), true);
}

// ---- the six entries ---------------------------------------------------------

void MainWindow::convertMunsellEntry() {
    showColour(enterMunsell(colour(), session_.table()));
}

void MainWindow::convertXyzEntry() {
    showColour(enterXyz(colour(), session_.table()));
}

void MainWindow::convertChromaticityEntry() {
    showColour(enterChromaticity(colour(), session_.table()));
}

void MainWindow::convertLabEntry() {
    showColour(enterLab(colour(), session_.table()));
}

void MainWindow::convertRgbEntry() {
    showColour(enterRgb(colour(), session_.table()));
}

void MainWindow::convertCmykEntry() {
    showColour(enterCmyk(colour(), session_.table()));
}

} // namespace huelinx
