// The main window as a view of the colour model: every entry path hands the
// current model to one of the model's functions and makes what it gets back
// the session's colour; the window shows each new colour of the session
// (boxes, sliders, label, swatch) and its messages, whoever made it.
#include "colour/colour_model.h"
#include "colour/hue.h"
#include "colour/macadam_limits.h"
#include "colour/typed_colour.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"

#include "mainwindow/swatch.h"
#include "platform/qt_text.h"
#include "text/excerpt.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <utility>

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

std::string quoted(const std::string& text) {
    return "\"" + excerpt(text) + "\"";
}

// Why a Munsell entry gave no colour, and the box to blame: the first of hue,
// value and chroma that can't be used, or the value for a notation beyond
// the table.
std::pair<Box, std::string> munsellRefusal(const ColourModel& typed) {
    const std::string &hue = typed[Box::Hue], &value = typed[Box::Value],
                      &chroma = typed[Box::Chroma];
    const HueOfText hueRead = converth(hue);
    if (hueRead.family == HueFamily::Missing)
        return {Box::Hue, "Hue " + quoted(hue) +
                              " names no hue family (R, YR, Y, GY, G, BG, B, PB, P, RP or N)"};
    const auto v = strictNumber(value);
    if (!v) return {Box::Value, "Value needs a number; it holds " + quoted(value)};
    if (!enteredSliderPosition(Slider::Value, static_cast<float>(*v) * 2.0f))
        return {Box::Value, "Value " + quoted(value) + " is out of Munsell range (0 to 10)"};
    const auto c = strictNumber(chroma);
    if (hueRead.family != HueFamily::Neutral) {
        if (!c) return {Box::Chroma, "Chroma needs a number; it holds " + quoted(chroma)};
        if (!enteredSliderPosition(Slider::Chroma, static_cast<float>(*c)))
            return {Box::Chroma, "Chroma " + quoted(chroma) + " is out of Munsell range (0 to 40)"};
    }
    return {Box::Value,
            quoted(notationText(hue, value, chroma)) + " is beyond the Munsell data's table"};
}

// The box a refusal of another notation names first ("Z needs a number…",
// "L*, a*, b* give no colour…"): the model's message says which.
Box namedBox(Notation notation, const std::string& message) {
    const std::string name = message.substr(0, message.find_first_of(" ,"));
    static const std::pair<const char*, Box> names[][4] = {
        {{"X", Box::X}, {"Y", Box::Y}, {"Z", Box::Z}},
        {{"x", Box::SmallX}, {"y", Box::SmallY}, {"Y", Box::Y}},
        {{"L*", Box::L}, {"a*", Box::A}, {"b*", Box::B}},
        {{"C", Box::Cyan}, {"M", Box::Magenta}, {"Y", Box::Yellow}, {"K", Box::Black}},
    };
    const int group = notation == Notation::Xyz            ? 0
                      : notation == Notation::Chromaticity ? 1
                      : notation == Notation::Lab          ? 2
                                                           : 3;
    for (const auto& [text, box] : names[group])
        if (text && name == text) return box;
    return firstBox(notation);
}

std::string withoutFullStop(std::string text) {
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
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
    enteredTexts_ = shown.box;
    for (EntryBox* box : colourBoxes())
        box->clearRefused();
    // A refusal's line goes with the next colour, as its mark does.
    if (!refusalLine_.isEmpty() && messagesAbove() == refusalLine_) messagesBox->clear();
    refusalLine_.clear();
    renderColour();
    // What the change says goes into Messages as one line, with no box to close.
    std::string line;
    for (const std::string& message : shown.messages)
        line += (line.empty() ? "" : "; ") + message;
    if (!line.empty()) showNote(qs(line));
    showLimitsLine(shown);
}

QString MainWindow::messagesAbove() const {
    QString text = messagesBox->toPlainText();
    if (limitsLine_.isEmpty()) return text;
    if (text == limitsLine_) return {};
    if (text.endsWith("\n" + limitsLine_)) text.chop(limitsLine_.size() + 1);
    return text;
}

void MainWindow::showLimitsLine(const ColourModel& shown) {
    // Whether a surface can have the colour, as the last line of Messages
    // while the spectral tables could be read, the lines above left as they
    // are ("Out of RGB Range" beside the swatch says only that the display
    // can't show it).
    const QString above = messagesAbove();
    const MacAdamSolids* solids = session_.resources().macAdamSolids();
    const auto check = solids ? macAdamOf(shown, *solids) : std::nullopt;
    limitsLine_ = check ? qs(macAdamNote(*check)) : QString();
    messagesBox->setPlainText(above + (above.isEmpty() || limitsLine_.isEmpty() ? "" : "\n") +
                              limitsLine_);
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
    else if (messagesAbove() == outside)
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

void MainWindow::convertEntry(Notation notation) {
    ColourModel next = enter(colour(), notation, session_.table());
    if (!next.outcome.hasAny(noNewColour)) return showColour(std::move(next));
    if (notation == Notation::Munsell) {
        const auto [box, reason] = munsellRefusal(colour());
        return refuseEntry(box, reason);
    }
    const std::string message = next.messages.empty() ? "No colour" : next.messages.front();
    refuseEntry(namedBox(notation, message), withoutFullStop(message));
}

void MainWindow::refuseEntry(Box box, const std::string& reason) {
    // Nothing was converted: every box goes back to the colour entered last,
    // and no other window hears of it.
    ColourModel kept = colour();
    kept.box = enteredTexts_;
    kept.forgetChange();
    session_.keep(std::move(kept));
    for (EntryBox* b : colourBoxes())
        b->clearRefused();
    renderColour();
    colourBoxes()[static_cast<std::size_t>(box)]->setRefused(qs(reason));
    const std::string& hue = colour()[Box::Hue];
    const std::string stays =
        hue.empty()
            ? "the colour stays as it was"
            : "the colour stays " + notationText(hue, colour()[Box::Value], colour()[Box::Chroma]);
    refusalLine_ = qs(reason + "; " + stays + ".");
    showNote(refusalLine_);
}

bool MainWindow::takeWholeNotation() {
    // "5R 4/14" or "N 5/" typed or pasted into the hue box fills the group.
    std::string text = colour()[Box::Hue];
    const bool greyWithValue =
        isNeutralHue(text) && text.find_first_of("0123456789") != std::string::npos;
    if (text.find('/') == std::string::npos && !greyWithValue) return true;
    if (text.find('/') == std::string::npos) text += '/';
    const auto typed = readTypedColour(text, Notation::Munsell);
    if (!typed || typed->notation != Notation::Munsell) {
        refuseEntry(Box::Hue, "Hue " + quoted(colour()[Box::Hue]) +
                                  " is no Munsell notation (5R 4/14, 2.5YR 6/8, N 5/)");
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i)
        munsellBoxes[i]->setText(qs(typed->texts[i]));
    return true;
}

void MainWindow::convertMunsellEntry() {
    if (takeWholeNotation()) convertEntry(Notation::Munsell);
}

void MainWindow::convertXyzEntry() {
    convertEntry(Notation::Xyz);
}

void MainWindow::convertChromaticityEntry() {
    convertEntry(Notation::Chromaticity);
}

void MainWindow::convertLabEntry() {
    convertEntry(Notation::Lab);
}

void MainWindow::convertRgbEntry() {
    convertEntry(Notation::Rgb);
}

void MainWindow::convertCmykEntry() {
    convertEntry(Notation::Cmyk);
}

} // namespace huelinx
