// The conversions behind every entry path: Munsell notation to everything
// (vadoro), X, Y, Z to Munsell notation (ciemun), and the display side.
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A slider position for a value, halves to the even whole number; no value
// when it lies outside the slider's range.
std::optional<int> sliderPosition(QScrollBar* slider, float value) {
    const double position = roundHalfEven(value);
    if (!(position >= slider->minimum() && position <= slider->maximum())) return std::nullopt;
    return static_cast<int>(position);
}

} // namespace

ColourSettings Form1::settings() const {
    ColourSettings s;
    s.illuminant = Option1[0]->isChecked()   ? Illuminant::C
                   : Option1[1]->isChecked() ? Illuminant::D5000
                   : Option1[2]->isChecked() ? Illuminant::D65
                                             : Illuminant::C;
    s.pwd = Check1->isChecked();
    s.channelScale = channelScale;
    s.gammaInv = gammaInv;
    s.cmyExponent = cmyExponent;
    return s;
}

void Form1::setSlider(QScrollBar* slider, int position) {
    slidersBusy = true;
    slider->setValue(position);
    slidersBusy = false;
}

void Form1::paintSwatch() {
    Picture1->setBackColor(QColor(program_.curRed, program_.curGreen, program_.curBlue));
}

void Form1::vadoro() {
    entryRejected_ = false;
    outsideData_ = false;
    refreshPagesBeforeConversion();
    const auto outOfRange = [this] { program_.platform.message("Out of Munsell Range"); };
    std::string hueText = Text12[0]->text().toStdString();
    bool formatError = false;
    float hue = converth(hueText, &formatError);
    if (formatError) program_.platform.message("Format Error");
    const auto value = strictNumber(Text12[1]->text().toStdString());
    const auto chroma = strictNumber(Text12[2]->text().toStdString());
    if (!value || !chroma) return outOfRange();
    float v = static_cast<float>(*value);
    const float c = static_cast<float>(*chroma);

    // The Munsell sliders follow; a notation beyond a slider's range stops here.
    const std::pair<QScrollBar*, float> moves[] = {
        {VScroll1, hue * 2.0f}, {VScroll2, v * 2.0f}, {VScroll3, c}};
    for (const auto& [slider, target] : moves) {
        const auto position = sliderPosition(slider, target);
        if (!position) return outOfRange();
        setSlider(slider, *position);
    }
    if (hue >= 100.0f) hue -= 100.0f;

    float X, Y, Z, x, y;
    const MunsellToCie status = mun2xyz(hue, v, c, X, Y, Z, x, y, program_.table, settings());
    if (status == MunsellToCie::OutOfTable) return outOfRange();
    outsideData_ = status == MunsellToCie::OutsideData;
    const float xyz[3] = {X, Y, Z};
    for (int i = 0; i < 3; ++i)
        Text11[i]->setText(qs(formatNumber(xyz[i], "##0.00")));
    Text18[0]->setText(qs(formatNumber(x, "0.0000")));
    Text18[1]->setText(qs(formatNumber(y, "0.0000")));
    showLabValues(X, Y, Z);
    xyzrgb(program_.curRed, program_.curGreen, program_.curBlue, X, Y, Z);
    paintSwatch();
}

void Form1::showLabValues(float& X, float& Y, float& Z) {
    float L, a, b;
    xyzlab(X, Y, Z, L, a, b, settings());
    const float lab[3] = {L, a, b};
    for (int i = 0; i < 3; ++i)
        Text15[i]->setText(qs(formatNumber(lab[i], "###.00")));
    refreshToleranceSet(L, a, b);
}

void Form1::ciemun() {
    outsideData_ = false;
    float xyz[3];
    for (int i = 0; i < 3; ++i) {
        const auto n = strictNumber(Text11[i]->text().toStdString());
        if (!n) return;
        xyz[i] = static_cast<float>(*n);
    }
    float X = xyz[0], Y = xyz[1], Z = xyz[2];
    const float sum = X + Y + Z;
    if (!(sum > 0.0f)) return;
    Text18[0]->setText(qs(formatNumber(X / sum, ".0000")));
    Text18[1]->setText(qs(formatNumber(Y / sum, ".0000")));
    float H, V, C;
    outsideData_ = xyz2mun(H, V, C, X, Y, Z, program_.table, settings()) == MunsellFit::OutsideData;
    if (V < 0.5f) V = 0.5f;
    H = static_cast<float>(strictNumber(formatNumber(H, "###.00")).value_or(0.0));
    Text12[0]->setText(qs(hconvert(H)));
    Text12[1]->setText(qs(formatNumber(V, "##0.00")));
    Text12[2]->setText(qs(formatNumber(C, "##0.00")));
    // A notation beyond a slider's range leaves that slider at its end.
    const std::pair<QScrollBar*, float> moves[] = {
        {VScroll1, H * 2.0f}, {VScroll2, V * 2.0f}, {VScroll3, C}};
    for (const auto& [slider, target] : moves) {
        const double position = roundHalfEven(target);
        if (std::isnan(position)) continue;
        setSlider(slider, static_cast<int>(std::clamp(position, double(slider->minimum()),
                                                      double(slider->maximum()))));
    }
}

void Form1::xyzrgb(std::int16_t& R, std::int16_t& G, std::int16_t& B, float& X, float& Y,
                   float& Z) {
    LinearRgb linear;
    program_.rgbOutOfRange = huelinx::xyzrgb(R, G, B, X, Y, Z, settings(), &linear);
    if (program_.rgbQuiet) return;
    if (program_.rgbOutOfRange) R = G = B = 0;
    Text1[0]->setText(QString::number(R));
    Text1[1]->setText(QString::number(G));
    Text1[2]->setText(QString::number(B));
    setRgbSliders();
    Label19->setText(program_.rgbOutOfRange ? "Out of RGB Range" : "");
    rgbcmyk(linear.r, linear.g, linear.b);
}

void Form1::setRgbSliders() {
    slidersBusy = true;
    VScroll4->setValue(program_.curRed);
    VScroll5->setValue(program_.curGreen);
    VScroll6->setValue(program_.curBlue);
    slidersBusy = false;
}

void Form1::rgbcmyk(float r, float g, float b) {
    int ink[4];
    huelinx::rgbcmyk(r, g, b, ink[0], ink[1], ink[2], ink[3], settings());
    for (int i = 0; i < 4; ++i)
        Text2[i]->setText(QString::number(ink[i]));
}

void Form1::writeRoundedXyz(float r, float g, float b) {
    float X, Y, Z;
    rgbxyz(r, g, b, X, Y, Z, settings());
    float xyz[3] = {X * 100.0f, Y * 100.0f, Z * 100.0f};
    for (int i = 0; i < 3; ++i) {
        // Rounded to two decimals by writing and reading back, then shown plain.
        xyz[i] = static_cast<float>(strictNumber(formatNumber(xyz[i], "###.00")).value_or(0.0));
        Text11[i]->setText(qs(plainText(xyz[i])));
    }
    showLabValues(xyz[0], xyz[1], xyz[2]);
    ciemun();
}

void Form1::cmykrgb(float C, float M, float Y, float K) {
    float r, g, b;
    if (huelinx::cmykrgb(C, M, Y, K, r, g, b, program_.curRed, program_.curGreen, program_.curBlue,
                         settings()))
        program_.rgbOutOfRange = true;
    Text1[0]->setText(QString::number(program_.curRed));
    Text1[1]->setText(QString::number(program_.curGreen));
    Text1[2]->setText(QString::number(program_.curBlue));
    setRgbSliders();
    paintSwatch();
    writeRoundedXyz(r, g, b);
}

} // namespace huelinx
