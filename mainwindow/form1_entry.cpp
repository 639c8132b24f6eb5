// The entry paths that are not Enter in a group of boxes: the sliders, the
// gamma setting, PWD, the illuminant and a click on the swatch.
#include "colour/colour_model.h"
#include "mainwindow/form1.h"
#include "mainwindow/swatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

namespace huelinx {

void Form1::VScroll1_Change() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Hue, VScroll1->value(), program_.table));
}

void Form1::VScroll2_Change() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Value, VScroll2->value(), program_.table));
}

void Form1::VScroll3_Change() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Chroma, VScroll3->value(), program_.table));
}

void Form1::rgbSlider_Change(int channel) {
    if (slidersBusy) return;
    QScrollBar* sliders[3] = {VScroll4, VScroll5, VScroll6};
    const auto slider = static_cast<Slider>(static_cast<int>(Slider::Red) + channel);
    showColour(moveSlider(colour_, slider, sliders[channel]->value(), program_.table));
}

void Form1::Text5_Change() {
    if (slidersBusy) return;
    showColour(editGamma(colour_, Text5->text().toStdString(), program_.table));
}

void Form1::VScroll8_Change() {
    if (slidersBusy) return;
    showColour(moveGammaSlider(colour_, VScroll8->value(), program_.table));
}

void Form1::Check1_Click() {
    if (slidersBusy) return;
    colour_ = setPwd(colour_, Check1->isChecked());
}

void Form1::Option1_Click(int index) {
    showColour(selectIlluminant(colour_, static_cast<Illuminant>(index), program_.table));
}

void Form1::Picture1_MouseDown(int x, int y) {
    const long colour = Picture1->pixel(x, y);
    if (colour < 0) return;
    const int rgb[3] = {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                        static_cast<int>((colour >> 16) & 0xFF)};
    // A colour that will be converted lets pending window events run first.
    const bool edge = std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; });
    if (!edge) program_.platform.processEvents();
    showColour(clickSwatch(colour_, rgb[0], rgb[1], rgb[2], program_.table));
}

} // namespace huelinx
