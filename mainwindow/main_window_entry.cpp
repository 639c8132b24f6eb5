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
    showColour(moveSlider(colour(), Slider::Hue, hueSlider->value(), session_.table()),
               Change::Slider);
}

void MainWindow::onValueSlider() {
    if (slidersBusy) return;
    showColour(moveSlider(colour(), Slider::Value, valueSlider->value(), session_.table()),
               Change::Slider);
}

void MainWindow::onChromaSlider() {
    if (slidersBusy) return;
    showColour(moveSlider(colour(), Slider::Chroma, chromaSlider->value(), session_.table()),
               Change::Slider);
}

void MainWindow::onRgbSlider(int channel) {
    if (slidersBusy) return;
    QScrollBar* sliders[3] = {redSlider, greenSlider, blueSlider};
    const auto slider = static_cast<Slider>(static_cast<int>(Slider::Red) + channel);
    showColour(moveSlider(colour(), slider, sliders[channel]->value(), session_.table()),
               Change::Slider);
}

void MainWindow::onGammaTyped() {
    if (slidersBusy) return;
    showColour(editGamma(colour(), gammaBox->text().toStdString(), session_.table()),
               Change::Settings);
}

void MainWindow::onGammaSlider() {
    if (slidersBusy) return;
    showColour(moveGammaSlider(colour(), gammaSlider->value(), session_.table()), Change::Settings);
}

void MainWindow::onPwdToggled() {
    if (slidersBusy) return;
    session_.keep(setPwd(colour(), pwdCheck->isChecked()));
}

void MainWindow::onIlluminant(int index) {
    showColour(selectIlluminant(colour(), static_cast<Illuminant>(index), session_.table()),
               Change::Settings);
}

void MainWindow::onSwatchClicked(int x, int y) {
    const long pixel = swatch->pixel(x, y);
    if (pixel < 0) return;
    const int rgb[3] = {static_cast<int>(pixel & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                        static_cast<int>((pixel >> 16) & 0xFF)};
    // A colour that will be converted lets pending window events run first.
    const bool edge = std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; });
    if (!edge) platform_.processEvents();
    showColour(clickSwatch(colour(), rgb[0], rgb[1], rgb[2], session_.table()));
}

} // namespace huelinx
