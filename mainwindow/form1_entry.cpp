// The entry paths: Enter in a group of boxes, the sliders, the gamma setting,
// the illuminant and a click on the swatch.
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"
#include "text/number_read.h"

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

const char* const illuminantCaptions[3] = {
    "illuminant C  2° Observer ", "illuminant D5000 2° Observer ", "Illuminant D65  10° Observer "};

} // namespace

void Form1::reject(const QString& message) {
    entryRejected_ = true;
    program_.platform.message(message);
}

std::optional<double> Form1::readNumber(QLineEdit* box, const QString& name) {
    const auto number = strictNumber(box->text().toStdString());
    if (number && std::isfinite(static_cast<float>(*number))) return number;
    reject(name + " needs a number; it holds \"" + box->text() + "\".");
    return std::nullopt;
}

void Form1::xyzEntered() {
    entryRejected_ = false;
    const auto X = readNumber(Text11[0], "X");
    const auto Y = X ? readNumber(Text11[1], "Y") : std::nullopt;
    const auto Z = Y ? readNumber(Text11[2], "Z") : std::nullopt;
    if (!Z) return;
    float x = static_cast<float>(*X), y = static_cast<float>(*Y), z = static_cast<float>(*Z);
    showLabValues(x, y, z);
    ciemun();
    xyzrgb(program_.curRed, program_.curGreen, program_.curBlue, x, y, z);
    paintSwatch();
}

void Form1::xyEntered() {
    entryRejected_ = false;
    const auto xText = readNumber(Text18[0], "x");
    const auto yText = xText ? readNumber(Text18[1], "y") : std::nullopt;
    const auto YText = yText ? readNumber(Text11[1], "Y") : std::nullopt;
    if (!YText) return;
    const float x = static_cast<float>(*xText), y = static_cast<float>(*yText);
    float lum = static_cast<float>(*YText);
    if (y == 0.0f) {
        reject("y needs a number other than 0.");
        return;
    }
    const float z = 1.0f - x - y;
    float X = x * lum / y, Z = z * lum / y;
    Text11[0]->setText(qs(formatNumber(X, "###.00")));
    Text11[2]->setText(qs(formatNumber(Z, "###.00")));
    showLabValues(X, lum, Z);
    ciemun();
    xyzrgb(program_.curRed, program_.curGreen, program_.curBlue, X, lum, Z);
    paintSwatch();
}

void Form1::labEntered() {
    entryRejected_ = false;
    const auto L = readNumber(Text15[0], "L*");
    const auto a = L ? readNumber(Text15[1], "a*") : std::nullopt;
    const auto b = a ? readNumber(Text15[2], "b*") : std::nullopt;
    if (!b) return;
    float X, Y, Z, x, y;
    if (!labxyz(X, Y, Z, static_cast<float>(*L), static_cast<float>(*a), static_cast<float>(*b))) {
        reject("L* needs a number of -16 or more.");
        return;
    }
    const ColourSettings s = settings();
    if (s.illuminant != Illuminant::C) xyzconvert("B", X, Y, Z, x, y, s);
    const float xyz[3] = {X, Y, Z};
    for (int i = 0; i < 3; ++i)
        Text11[i]->setText(qs(formatNumber(xyz[i], "###.00")));
    xyzrgb(program_.curRed, program_.curGreen, program_.curBlue, X, Y, Z);
    paintSwatch();
    ciemun();
}

void Form1::Command6_Click() {
    entryRejected_ = false;
    std::int16_t* channels[3] = {&program_.curRed, &program_.curGreen, &program_.curBlue};
    for (int i = 0; i < 3; ++i) {
        const double c = roundHalfEven(leadingNumber(Text1[i]->text().toStdString()));
        *channels[i] = static_cast<std::int16_t>(std::clamp(c, 0.0, 255.0));
        Text1[i]->setText(QString::number(*channels[i]));
    }
    setRgbSliders();
    float linear[3];
    for (int i = 0; i < 3; ++i)
        linear[i] = static_cast<float>(
            std::pow(*channels[i] / double{channelScale[i + 1]} / 255.0, 1.0 / gammaInv[i + 1]));
    paintSwatch();
    rgbcmyk(linear[0], linear[1], linear[2]);
    writeRoundedXyz(linear[0], linear[1], linear[2]);
}

void Form1::cmyk() {
    entryRejected_ = false;
    float ink[4];
    const char* names[4] = {"C", "M", "Y", "K"};
    for (int i = 0; i < 4; ++i) {
        const auto n = readNumber(Text2[i], names[i]);
        if (!n) return;
        ink[i] = std::clamp(static_cast<float>(static_cast<float>(*n) / 100.0), 0.0f, 1.0f);
    }
    cmykrgb(ink[0], ink[1], ink[2], ink[3]);
}

void Form1::VScroll1_Change() {
    if (slidersBusy) return;
    float h = static_cast<float>(VScroll1->value() / 2.0);
    if (h == 0.0f) h = 100.0f;
    if (h > 100.0f) h = 1.0f;
    Text12[0]->setText(qs(hconvert(h)));
    vadoro();
}

void Form1::VScroll2_Change() {
    if (slidersBusy) return;
    if (VScroll2->value() < 20) Text12[1]->setText(qs(plainText(VScroll2->value() / 2.0)));
    vadoro();
}

void Form1::VScroll3_Change() {
    if (slidersBusy) return;
    Text12[2]->setText(QString::number(VScroll3->value()));
    vadoro();
}

void Form1::rgbSlider_Change(int channel) {
    if (slidersBusy) return;
    QScrollBar* sliders[3] = {VScroll4, VScroll5, VScroll6};
    Text1[channel]->setText(QString::number(sliders[channel]->value()));
    Command6_Click();
}

void Form1::Text5_Change() {
    // An empty box is a gamma still being typed.
    if (Text5->text().trimmed().isEmpty()) return;
    const auto g = readNumber(Text5, "Gamma");
    if (!g || *g < 1.0 || *g > 3.0) return;
    VScroll8->setValue(static_cast<int>(roundHalfEven(*g * 10.0)));
}

void Form1::VScroll8_Change() {
    Text5->setText(qs(plainText(VScroll8->value() / 10.0)));
    const double gamma = strictNumber(Text5->text().toStdString()).value_or(2.2);
    for (float& g : gammaInv)
        g = static_cast<float>(1.0 / gamma);
    vadoro();
    refreshColorChecker();
}

void Form1::Option1_Click(int index) {
    Label1->setText(illuminantCaptions[index]);
    vadoro();
}

void Form1::Picture1_MouseDown(int x, int y) {
    const long colour = Picture1->pixel(x, y);
    if (colour < 0) return;
    const int rgb[3] = {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                        static_cast<int>((colour >> 16) & 0xFF)};
    for (int i = 0; i < 3; ++i)
        Text1[i]->setText(QString::number(rgb[i]));
    const bool edge = std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; });
    if (edge) return;
    program_.platform.processEvents();
    Command6_Click();
}

} // namespace huelinx
