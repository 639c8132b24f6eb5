// The main window as a view of the colour model: every entry path hands the
// current model to one of the model's functions, and the window shows the
// model it gets back (boxes, sliders, label, swatch), shows its messages and
// keeps the open chart windows current.
#include "colour/colour_model.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "mainwindow/swatch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace huelinx {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ColourSettings Form1::settings() const {
    return colour_.settings;
}

std::array<EntryBox*, boxCount> Form1::colourBoxes() const {
    return {Text12[0], Text12[1], Text12[2], Text11[0], Text11[1], Text11[2],
            Text18[0], Text18[1], Text15[0], Text15[1], Text15[2], Text1[0],
            Text1[1],  Text1[2],  Text2[0],  Text2[1],  Text2[2],  Text2[3]};
}

std::array<QScrollBar*, sliderCount> Form1::colourSliders() const {
    return {VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6};
}

void Form1::boxTyped(int box, const QString& text) {
    if (slidersBusy) return;
    const std::size_t b = static_cast<std::size_t>(box);
    colour_.box[b] = text.toStdString();
    shownTexts_[b] = colour_.box[b];
}

void Form1::showColour(ColourModel next) {
    next.quietDisplay = false;
    colour_ = std::move(next);
    for (const std::string& message : colour_.messages)
        program_.platform.message(qs(message));
    renderColour();
    program_.curRed = colour_.red;
    program_.curGreen = colour_.green;
    program_.curBlue = colour_.blue;
    program_.rgbOutOfRange = colour_.rgbOutOfRange;
    if (colour_.munsellConverted) refreshPages();
    if (colour_.labShown)
        refreshToleranceSet(colour_.labShown->L, colour_.labShown->a, colour_.labShown->b);
    if (colour_.gammaChanged) refreshColorChecker();
    // What the change did has been shown; the model handed to other windows
    // starts clean.
    colour_.messages.clear();
    colour_.munsellConverted = false;
    colour_.labShown.reset();
    colour_.gammaChanged = false;
}

void Form1::renderColour() {
    // While the window follows the model, its own change handlers do nothing.
    slidersBusy = true;
    const auto boxes = colourBoxes();
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        if (shownTexts_[b] == colour_.box[b]) continue;
        boxes[b]->setText(qs(colour_.box[b]));
        shownTexts_[b] = colour_.box[b];
    }
    const auto sliders = colourSliders();
    for (std::size_t s = 0; s < sliders.size(); ++s)
        sliders[s]->setValue(colour_.slider[s]);
    Label19->setText(colour_.outOfRangeShown ? "Out of RGB Range" : "");
    if (Text5->text().toStdString() != colour_.gammaText) Text5->setText(qs(colour_.gammaText));
    VScroll8->setValue(colour_.gammaPosition);
    const int illuminant = static_cast<int>(colour_.settings.illuminant);
    Option1[illuminant]->setChecked(true);
    Label1->setText(illuminantCaption(colour_.settings.illuminant));
    Check1->setChecked(colour_.settings.pwd);
    slidersBusy = false;
    paintSwatch();
}

void Form1::paintSwatch() {
    Picture1->setBackColor(QColor(colour_.red, colour_.green, colour_.blue));
}

// ---- the six entries ---------------------------------------------------------

void Form1::vadoro() {
    showColour(enterMunsell(colour_, program_.table));
}

void Form1::xyzEntered() {
    showColour(enterXyz(colour_, program_.table));
}

void Form1::xyEntered() {
    showColour(enterChromaticity(colour_, program_.table));
}

void Form1::labEntered() {
    showColour(enterLab(colour_, program_.table));
}

void Form1::Command6_Click() {
    showColour(enterRgb(colour_, program_.table));
}

void Form1::cmyk() {
    showColour(enterCmyk(colour_, program_.table));
}

} // namespace huelinx
