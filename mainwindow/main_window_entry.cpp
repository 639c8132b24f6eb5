// The entry paths that are not Enter in a group of boxes: the sliders, the
// gamma setting, PWD, the illuminant and a click on the swatch.
#include "colour/colour_model.h"
#include "mainwindow/main_window.h"
#include "mainwindow/swatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

namespace huelinx {

void MainWindow::onHueSlider() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Hue, hueSlider->value(), program_.table));
}

void MainWindow::onValueSlider() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Value, valueSlider->value(), program_.table));
}

void MainWindow::onChromaSlider() {
    if (slidersBusy) return;
    showColour(moveSlider(colour_, Slider::Chroma, chromaSlider->value(), program_.table));
}

void MainWindow::onRgbSlider(int channel) {
    if (slidersBusy) return;
    QScrollBar* sliders[3] = {redSlider, greenSlider, blueSlider};
    const auto slider = static_cast<Slider>(static_cast<int>(Slider::Red) + channel);
    showColour(moveSlider(colour_, slider, sliders[channel]->value(), program_.table));
}

void MainWindow::onGammaTyped() {
    if (slidersBusy) return;
    showColour(editGamma(colour_, gammaBox->text().toStdString(), program_.table));
}

void MainWindow::onGammaSlider() {
    if (slidersBusy) return;
    showColour(moveGammaSlider(colour_, gammaSlider->value(), program_.table));
}

void MainWindow::onPwdToggled() {
    if (slidersBusy) return;
    colour_ = setPwd(colour_, pwdCheck->isChecked());
}

void MainWindow::onIlluminant(int index) {
    showColour(selectIlluminant(colour_, static_cast<Illuminant>(index), program_.table));
}

void MainWindow::onSwatchClicked(int x, int y) {
    const long colour = swatch->pixel(x, y);
    if (colour < 0) return;
    const int rgb[3] = {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                        static_cast<int>((colour >> 16) & 0xFF)};
    // A colour that will be converted lets pending window events run first.
    const bool edge = std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; });
    if (!edge) program_.platform.processEvents();
    showColour(clickSwatch(colour_, rgb[0], rgb[1], rgb[2], program_.table));
}

} // namespace huelinx
