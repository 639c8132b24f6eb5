#include "charts/value_page.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/hue.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/program.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

const QColor pageGrey(192, 192, 192);
const QColor foreground(Qt::black);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

bool displayable(int c) {
    return c >= 1 && c <= 254;
}

} // namespace

int ValuePage::centreX() {
    return static_cast<int>(roundHalfEven(clientWidth / 2.0));
}
int ValuePage::centreY() {
    return static_cast<int>(roundHalfEven(clientHeight / 2.0));
}

ValuePage::ValuePage(ColourHost& host, Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), program_(program) {
    setObjectName("book2");
    setWindowTitle("Munsell Value Page");
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    surface =
        new ChartSurface("surface", QSize(twips(clientWidth), twips(clientHeight)), pageGrey, this);
    surface->setDrawingFont(small);
    surface->onMouseDown = [this](int x, int y) { onMouseDown(x, y); };
    surface->onMouseMove = [this](int x, int y) { onMouseMove(x, y); };
    setFixedSize(surface->size());

    valueTitle = placeLabel(surface, "Label1", "", 0, 5400, 1800, 255);
    valueSlider = new QScrollBar(Qt::Vertical, surface);
    valueSlider->setObjectName("VScroll1");
    valueSlider->setGeometry(twips(720), twips(5760), twips(255), twips(2415));
    valueSlider->setRange(100, 950);
    valueSlider->setInvertedAppearance(true); // the highest value at the top
    valueSlider->setInvertedControls(true);
    valueSlider->setSingleStep(10);
    valueSlider->setPageStep(100);
    valueSlider->setValue(100);
    connect(valueSlider, &QScrollBar::valueChanged, this, [this] { onValueSlider(); });
    sliderScale =
        placeLabel(surface, "Label2", "10 9   8  7  6  5  4  3  2  1", 1005, 5730, 255, 2475);
    sliderScale->setWordWrap(true);

    readOutSwatch = surface->addShape("Shape1", ChartShape::Kind::Circle,
                                      QRect(twips(1200), twips(6600), twips(855), twips(975)));
    readOutSwatch->setFillColor(Qt::black);
    readOut = placeLabel(surface, "Label3", "", 1200, 7800, 3600, 255);
    printButton = placeButton(surface, "Command1", "PRINT", 120, 120, 975, 375);
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
}

void ValuePage::showValuePage(float& v) {
    valueTitle->setText("Value" + qs(formatNumber(v, "   #.##")));
    // A value without a slider position puts the slider at its nearest end.
    const double position = roundHalfEven(v * 100.0f);
    updating = true;
    valueSlider->setValue(std::isnan(position)
                              ? valueSlider->minimum()
                              : static_cast<int>(std::clamp(position, 100.0, 950.0)));
    updating = false;
    surface->clear();
    const ColourSettings s = host_.colour().settings;
    for (int k = 0; k < 40; ++k)
        drawRay(2.5f * static_cast<float>(k), v, s);
}

// One hue's circles from chroma 0 outwards, ended by the hue's name where its
// data end.
void ValuePage::drawRay(float hue, float& value, const ColourSettings& s) {
    const int cx = centreX(), cy = centreY();
    const double radius = cx / 40.0 / 15.0;
    const float theta = hue / 15.915494f;
    for (int c = 0; c <= 40; c += 2) {
        const ChartColour colour =
            chartColour(hue, value, static_cast<float>(c), program_.table, s);
        value = colour.value; // the value the page shows from here on
        const float r = static_cast<float>(c + 10);
        const double x = cx + 100.0f * r * std::cos(theta), y = cy - 100.0f * r * std::sin(theta);
        const QPointF at(x / 15.0, y / 15.0);
        if (colour.X != 0.0f && colour.Y != 0.0f) {
            const bool clipped = colour.R == 0 || colour.G == 0 || colour.B == 0;
            surface->drawCircle(at, radius, foreground, QColor(colour.R, colour.G, colour.B),
                                clipped ? FillStyle::CrossHatch : FillStyle::Solid);
        } else {
            surface->drawText(at.toPoint(), qs(hconvert(hue)), foreground);
            return;
        }
    }
}

void ValuePage::onValueSlider() {
    if (updating) return;
    host_.showColour(
        enterMunsell(edit(host_.colour(), Box::Value, plainText(valueSlider->value() / 100.0f)),
                     program_.table));
}

void ValuePage::pause() {
    Platform& p = program_.platform;
    const double start = p.secondsSinceMidnight();
    QElapsedTimer bound;
    bound.start();
    for (;;) {
        double elapsed = p.secondsSinceMidnight() - start;
        if (elapsed < 0) elapsed += 86400.0; // past midnight
        if (elapsed >= 0.01 || bound.elapsed() >= 50) return;
    }
}

void ValuePage::onMouseMove(int x, int y) {
    pause();
    const long c = surface->pixel(x, y);
    const int R = c & 0xFF, G = (c >> 8) & 0xFF, B = (c >> 16) & 0xFF;
    if (!(displayable(R) && displayable(G) && displayable(B))) {
        readOutSwatch->setFillColor(Qt::black);
        readOut->setText("Out of RGB Gamut");
        return;
    }
    if (R == 192 && G == 192 && B == 192) return; // the background
    readOut->setText(qs("R=" + signedText(R) + "  G=" + signedText(G) + "  B=" + signedText(B)));
    readOutSwatch->setFillColor(QColor(R, G, B));
}

void ValuePage::onMouseDown(int x, int y) {
    const long c = surface->pixel(x, y);
    const int rgb[3] = {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                        static_cast<int>((c >> 16) & 0xFF)};
    ColourModel colour = host_.colour();
    for (int i = 0; i < 3; ++i)
        colour = edit(std::move(colour), rgbBox(i), std::to_string(rgb[i]));
    const bool shown = std::all_of(rgb, rgb + 3, displayable);
    if (shown) colour = enterRgb(std::move(colour), program_.table);
    host_.showColour(std::move(colour));
    if (!shown) readOutSwatch->setFillColor(Qt::black);
}

void ValuePage::onPrint() {
    printChart(program_, this);
}

void ValuePage::closeEvent(QCloseEvent* event) {
    // Closing the page is the same as clearing "Display Value Page".
    event->accept();
    host_.companionClosed(Companion::ValuePage);
}

} // namespace huelinx
