#include "charts/hue_page.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/hue.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/number_read.h"

#include <QLabel>
#include <QScrollBar>

#include <algorithm>

namespace huelinx {

HuePage::HuePage(Session& session, Platform& platform, QWidget* parent)
    : ChartWindow(session, platform,
                  {"book", "Munsell Book of Color", QSize(clientWidth, clientHeight), pageGrey},
                  parent) {
    surface->onMouseDown = [this](int x, int y, Qt::MouseButton) { onMouseDown(x, y); };
    buildPatches();
    buildLabels();

    hueSlider = new QScrollBar(Qt::Vertical, surface);
    hueSlider->setObjectName("VScroll1");
    hueSlider->setGeometry(twips(480), twips(1560), twips(255), twips(4455));
    hueSlider->setRange(0, 100);
    hueSlider->setPageStep(10);
    connect(hueSlider, &QScrollBar::valueChanged, this, [this] { onHueSlider(); });
    showValueInTooltip(hueSlider, "Hue", [](int position) {
        return QString::fromStdString(hconvert(static_cast<float>(position)));
    });

    placePrintButton("PRINT", 120, 6840, 810, 375);
    limitLines_.setCheck(macAdamCheckOfC(session.resources()));
}

void HuePage::buildPatches() {
    for (int m = 0; m < 15; ++m)
        for (int r = 0; r < 10; ++r) {
            const int i = 10 * m + r;
            const QRect rect(twips(patchLeft(m)), twips(patchTop(r)), twips(patchSize),
                             twips(patchSize));
            patches[i] =
                surface->addShape(QString("Shape1_%1").arg(i), ChartShape::Kind::Square, rect);
            patches[i]->setFillColor(pageGrey);
        }
}

void HuePage::buildLabels() {
    placeLabel(surface, "valueCaption", "Value", 780, 0);
    for (int r = 0; r < 10; ++r)
        valueLabels[r] = placeLabel(surface, QString("Label1_%1").arg(r), QString::number(9 - r),
                                    960, patchTop(r) + 195);
    for (int m = 0; m < 15; ++m)
        chromaLabels[m] =
            placeLabel(surface, QString("chromaLabel_%1").arg(m),
                       m == 0 ? QString("N") : QString::number(2 * m), 1560 + 720 * m, 7320);
    placeLabel(surface, "chromaCaption", "Chroma > > > >", 1560, 7560);
    hueTitle = placeLabel(surface, "Label1_23", "", 840, 7320, 700, 225);
    placeLabel(surface, "hueCaption", "Hue", 420, 1320);
    const char* legend[10] = {"5R", "5YR", "5Y", "5GY", "5G", "5BG", "5B", "5PB", "5P", "5RP"};
    for (int k = 0; k < 10; ++k)
        placeLabel(surface, QString("hueLegend_%1").arg(k), legend[k], 120, 2160 + 360 * k);
    // A dotted patch before the note shows the mark it explains.
    ChartShape* key = surface->addShape("dottedKey", ChartShape::Kind::Square,
                                        QRect(twips(4380), twips(7575), 14, 14));
    key->setFillColor(pageGrey);
    key->setBorderStyle(BorderStyle::Dot);
    placeLabel(surface, "note",
               "Colors with a dotted border cannot be displayed correctly on a CRT", 4680, 7560);
    limitLegend = placeLabel(surface, "limitLegend", "MacAdam limit", 10860, 7560);
    limitLegend->setToolTip("No surface colour lies to the right of the dashed line");
    limitLegend->hide();
}

void HuePage::showHuePage(bool reportFormatError) {
    show();
    const HueOfText hueRead = converth(session_.colour()[Box::Hue]);
    const bool formatError = hueRead.family == HueFamily::Missing;
    const float h = wrappedHue(hueRead.hue);
    if (formatError && reportFormatError) platform_.message("Format Error");

    // A hue beyond the slider's range puts it at its nearest end.
    updating = true;
    hueSlider->setValue(static_cast<int>(std::clamp(roundHalfEven(h), 0.0, 100.0)));
    updating = false;
    hueTitle->setText(QString::fromStdString(session_.colour()[Box::Hue]));
    patches[9]->setFillColor(Qt::black);
    drawPatches(h);
}

// Column c/2, row 9 - v for chroma c = 0, 2 .. 28 and value v = 1 .. 9; the
// value-0 row keeps its colour (black at chroma 0, page grey elsewhere).
void HuePage::drawPatches(float hue) {
    shownHue_ = hue;
    const ColourSettings s = session_.colour().settings;
    for (int c = 0; c <= 28; c += 2)
        for (int v = 1; v <= 9; ++v) {
            float value = static_cast<float>(v);
            const ChartColour colour =
                chartColour(hue, value, static_cast<float>(c), session_.table(), s);
            const bool inData = colour.X >= 0.02f && colour.Y >= 0.02f;
            const bool clipped = colour.X > 0.02f && colour.Y > 0.02f && colour.outOfRange;
            ChartShape* patch = patches[5 * c + 9 - v];
            patch->setBorderStyle(clipped ? BorderStyle::Dot : BorderStyle::Solid);
            patch->setFillColor(inData ? QColor(colour.R, colour.G, colour.B) : pageGrey);
        }
    drawLimit(hue);
}

QPointF HuePage::pointAt(double chroma, double value) {
    const double half = twips(patchSize) / 2.0;
    return {twips(patchLeft(0)) + half + chroma * twips(720) / 2.0,
            twips(patchTop(0)) + half + (9.0 - value) * twips(720)};
}

// The line through the values whose limit lies within the data (and the
// page's 28 chromas); where the data end first (every colour they hold is a
// possible surface) it stops, as no limit was found there to draw, but for
// the short gaps between two rows that limitRuns crosses.
void HuePage::drawLimit(float hue) {
    std::vector<ChartSurface::Polyline> lines;
    for (const auto& run : limitRuns(limitLines_.line(hue, session_.table()), false)) {
        ChartSurface::Polyline line;
        for (const LimitPoint& p : run)
            line.push_back(pointAt(p.chroma, p.value));
        lines.push_back(std::move(line));
    }
    showLimitLines(*surface, *limitLegend, std::move(lines));
}

void HuePage::setLimitCheck(LimitExcess excess) {
    limitLines_.setCheck(std::move(excess));
    if (isVisible()) drawLimit(shownHue_);
}

QString HuePage::tooltipAt(int x, int y) const {
    for (int i = 0; i < 150; ++i) {
        if (!patches[i]->rect().contains(x, y)) continue;
        const int chroma = 2 * (i / 10), value = 9 - i % 10;
        // Patches the data don't hold keep the page's grey.
        if (patches[i]->fillColor() == pageGrey) return {};
        return notationTip(shownHue_, static_cast<float>(value), static_cast<float>(chroma),
                           session_.resources().names(), true);
    }
    return {};
}

void HuePage::onHueSlider() {
    if (updating) return;
    session_.setColour(
        edit(session_.colour(), Box::Hue, hconvert(static_cast<float>(hueSlider->value()))),
        Change::Slider, this);
    showHuePage();
}

void HuePage::followColour(const ColourChange& change) {
    // The conversion has reported a hue without a family itself.
    if (change.origin != this && change.colour.munsellConverted) showHuePage(false);
}

void HuePage::onMouseDown(int x, int y) {
    // A patch sends the notation it shows; the page's grey between and
    // around the patches, and patches the data don't hold, send nothing.
    for (int i = 0; i < 150; ++i) {
        if (!patches[i]->rect().contains(x, y)) continue;
        if (patches[i]->fillColor() == pageGrey) return;
        sendNotation(session_, shownHue_, static_cast<float>(9 - i % 10),
                     static_cast<float>(2 * (i / 10)), this);
        return;
    }
}

} // namespace huelinx
