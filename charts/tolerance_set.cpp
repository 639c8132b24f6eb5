#include "charts/tolerance_set.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/colorimetry.h"
#include "colour/colour_model.h"
#include "colour/hue.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"
#include "files/file_write.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "session/session.h"
#include "text/excerpt.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace huelinx {

namespace {

constexpr QColor ground = pageGrey;
const char* const coordinateNames[3] = {"L*", "a*", "b*"};
const char* const variantNames[6] = {"Lighter", "Darker", "Redder", "Greener", "Yellower", "Bluer"};

QLineEdit* box(QWidget* parent, const QString& name, int left, int top) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(twips(left), twips(top), twips(1500), twips(330));
    return edit;
}

} // namespace

ToleranceSet::ToleranceSet(Session& session, Platform& platform, QWidget* parent)
    : ChartWindow(session, platform,
                  {"CTol", "Munsell Color Tolerance Set", QSize(clientWidth, clientHeight), ground},
                  parent) {
    buildPatches();
    buildStandard();
    buildSteps();
    blackLinesCheck = new QCheckBox("Black Lines", surface);
    blackLinesCheck->setObjectName("Check1");
    blackLinesCheck->setGeometry(twips(6000), twips(3480), twips(2700), twips(300));
    connect(blackLinesCheck, &QCheckBox::toggled, this, [this] { onBlackLines(); });
    placePrintButton("Print", 6000, 3960, 1200, 375);
    savePaletteButton = placeButton(surface, "Command2", "Save Palette", 7380, 3960, 1320, 375);
    connect(savePaletteButton, &QPushButton::clicked, this, [this] { onSavePalette(); });
    start();
}

void ToleranceSet::buildPatches() {
    // Each patch is inset in its place of the rosette, so a gap of the ground
    // parts it from its neighbours.
    constexpr int inset = 4;
    for (int i = 0; i < 7; ++i) {
        const QRect rect(twips(patchLeft[i]) + inset, twips(patchTop[i]) + inset,
                         twips(patchSize) - 2 * inset, twips(patchSize) - 2 * inset);
        patches[i] = surface->addShape(QString("Shape1_%1").arg(i), ChartShape::Kind::Square, rect);
        patches[i]->setFillColor(ground);
        patches[i]->setBorderColor(ground);
    }
    // Each variant's name and step beside its patch, outside the rosette.
    struct Place {
        int left, top;
        bool alignRight;
    };
    const Place places[6] = {{2160, 300, false}, {2160, 4140, false}, {4410, 2640, false},
                             {0, 1560, true},    {4410, 1560, false}, {0, 2640, true}};
    for (int j = 0; j < 6; ++j) {
        const Place& p = places[j];
        const int width = p.alignRight ? 1020 : 1500;
        directionLabels[j] =
            placeLabel(surface, QString("Label3_%1").arg(j), "", p.left, p.top, width, 240);
        stepCaptions[j] =
            placeLabel(surface, QString("Label2_%1").arg(j), "", p.left, p.top + 240, width, 240);
        if (p.alignRight) {
            directionLabels[j]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            stepCaptions[j]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

void ToleranceSet::buildStandard() {
    standardFrame = new QGroupBox("Standard CIELAB  ", surface);
    standardFrame->setObjectName("Frame2");
    standardFrame->setGeometry(twips(6000), twips(120), twips(2700), twips(1560));
    for (int i = 0; i < 3; ++i) {
        standardLabels[i] = placeLabel(standardFrame, QString("Label4_%1").arg(i), "", 150,
                                       375 + 390 * i, 420, 285);
        standardBoxes[i] = box(standardFrame, QString("Text2_%1").arg(i), 600, 330 + 390 * i);
    }
}

void ToleranceSet::buildSteps() {
    toleranceFrame = new QGroupBox("Tolerance", surface);
    toleranceFrame->setObjectName("Frame1");
    toleranceFrame->setGeometry(twips(6000), twips(1800), twips(2700), twips(1560));
    for (int i = 0; i < 3; ++i) {
        placeLabel(toleranceFrame, QString("stepName_%1").arg(i), coordinateNames[i], 150,
                   390 + 390 * i);
        stepSliders[i] = new QScrollBar(Qt::Horizontal, toleranceFrame);
        stepSliders[i]->setObjectName(QString("HScroll1_%1").arg(i));
        stepSliders[i]->setGeometry(twips(600), twips(390 + 390 * i), twips(1950), twips(255));
        stepSliders[i]->setRange(10, 200);
        stepSliders[i]->setSingleStep(10);
        stepSliders[i]->setPageStep(50);
        stepSliders[i]->setValue(50);
        showValueInTooltip(stepSliders[i], QString("Step of ") + "LAB"[i] + "*",
                           [](int position) { return QString::number(position / 10.0, 'f', 1); });
        connect(stepSliders[i], &QScrollBar::valueChanged, this, [this, i] { onStepSlider(i); });
    }
}

void ToleranceSet::start() {
    for (int i = 0; i < 3; ++i)
        standardLabels[i]->setText(coordinateNames[i]);
    for (int j = 0; j < 6; ++j)
        directionLabels[j]->setText(variantNames[j]);
    for (int i = 0; i < 3; ++i)
        stepSizes[i] = static_cast<float>(stepSliders[i]->value()) / 10.0f;
    writeStepCaptions();
}

void ToleranceSet::writeStepCaptions() {
    const char* const prefixes[6] = {"L +", "L -", "A +", "A - ", "B +", "B - "};
    for (int j = 0; j < 6; ++j)
        stepCaptions[j]->setText(prefixes[j] + qs(signedText(stepSizes[j / 2])));
}

bool ToleranceSet::buildAround(float L, float a, float b) {
    // The viewer reloading a saved set converts each of its colours in the
    // main window; the set stays as it was saved.
    if (reloading_) return true;
    // Patch 2k + 1 lies a step above the standard in coordinate k, patch
    // 2k + 2 a step below; patch 0 is the standard itself.
    std::array<Patch, 7> built;
    for (int i = 0; i < 7; ++i) {
        std::array<float, 3> lab{L, a, b};
        if (i > 0) {
            const int k = (i - 1) / 2;
            lab[k] = i % 2 == 1 ? lab[k] + stepSizes[k] : lab[k] - stepSizes[k];
        }
        built[i] = patchOf(lab);
        // A colour beyond single precision has no patch: the set stays as it was.
        if (!built[i].finite) return false;
    }
    const float standard[3] = {L, a, b};
    for (int i = 0; i < 3; ++i)
        standardBoxes[i]->setText(qs(formatNumber(standard[i], "###.00")));
    // The standard is drawn last.
    for (int i : {1, 2, 3, 4, 5, 6, 0})
        showPatch(i, built[i]);
    return true;
}

ToleranceSet::Patch ToleranceSet::patchOf(const std::array<float, 3>& lab) const {
    const ColourSettings s = session_.colour().settings;
    // Below L* 0 there is no colour: it is taken as black.
    const Tristimulus xyz =
        labxyz(lab[0], lab[1], lab[2], whiteOf(s.illuminant)).value_or(Tristimulus{0, 0, 0});
    const float X = xyz.X, Y = xyz.Y, Z = xyz.Z;
    const MunsellOfXyz munsell = munsellOfXyz(X, Y, Z, session_.table(), s);
    Patch patch;
    patch.finite =
        std::isfinite(X) && std::isfinite(Y) && std::isfinite(Z) && std::isfinite(munsell.V);
    // A patch the Munsell data hold no notation for (at its value) shows its value alone.
    const bool noNotation = munsell.fit != MunsellFit::InData;
    patch.notation[0] = noNotation ? std::string() : hconvert(munsell.H);
    patch.notation[1] = signedText(munsell.V);
    patch.notation[2] = noNotation ? std::string() : signedText(munsell.C);
    const RgbOfXyz display = xyzrgb(X, Y, Z, s);
    patch.rgb = {display.R, display.G, display.B};
    return patch;
}

void ToleranceSet::showPatch(int i, const Patch& patch) {
    for (int k = 0; k < 3; ++k) {
        patchNotations[k][i] = patch.notation[k];
        patchRgb[k][i] = patch.rgb[k];
    }
    const QColor fill(patch.rgb[0], patch.rgb[1], patch.rgb[2]);
    patches[i]->setFillColor(fill);
    patches[i]->setBorderColor(blackLinesCheck->isChecked() ? QColor(Qt::black) : fill);
}

void ToleranceSet::rebuildFromBoxes() {
    // A box is read as the main window's L*a*b* entry reads it: a text that is
    // no number, or a number single precision can't hold, is named and the
    // patches stay as they are.
    float standard[3];
    for (int i = 0; i < 3; ++i) {
        std::string problem;
        const auto n =
            singleNumber(standardBoxes[i]->text().toStdString(), coordinateNames[i], problem);
        if (!n) {
            platform_.message(QString::fromStdString(problem));
            return;
        }
        standard[i] = static_cast<float>(*n);
    }
    if (buildAround(standard[0], standard[1], standard[2])) return;
    QStringList typed;
    for (int i = 0; i < 3; ++i)
        typed << QString("%1 %2").arg(coordinateNames[i],
                                      qs(excerpt(standardBoxes[i]->text().toStdString())));
    platform_.message("The set around " + typed.join(", ") +
                      " is out of range: its colours lie beyond single precision.");
}

void ToleranceSet::followColour(const ColourChange& change) {
    if (const auto& lab = change.colour.labShown) buildAround(lab->L, lab->a, lab->b);
}

void ToleranceSet::onStepSlider(int index) {
    stepSizes[index] = static_cast<float>(stepSliders[index]->value()) / 10.0f;
    writeStepCaptions();
    rebuildFromBoxes();
}

void ToleranceSet::onBlackLines() {
    rebuildFromBoxes();
}

QString ToleranceSet::tooltipAt(int x, int y) const {
    for (std::size_t i = 0; i < 7; ++i) {
        if (!patches[i]->rect().contains(x, y)) continue;
        const std::string& hue = patchNotations[0][i];
        const auto value = strictNumber(patchNotations[1][i]);
        const auto chroma = strictNumber(patchNotations[2][i]);
        QString tip = QString(i == 0 ? "Standard" : variantNames[i - 1]) + ": ";
        if (hue.empty() || !value || !chroma)
            return tip + "outside the Munsell data, value " +
                   QString::fromStdString(patchNotations[1][i]).trimmed();
        const HueOfText h = converth(hue);
        return tip + notationTip(wrappedHue(h.hue), static_cast<float>(*value),
                                 static_cast<float>(*chroma), session_.resources().names(), false);
    }
    return {};
}

// Bluer first, the standard last: date, time, patch number, hue, value,
// chroma, nine zeros, R, G, B, "end".
std::string ToleranceSet::paletteText() const {
    const std::string date = platform_.dateText().toStdString();
    const std::string time = platform_.timeText().toStdString();
    std::string text;
    for (int i = 6; i >= 0; --i) {
        std::string line = date + "," + time + "," + signedText(i);
        for (int k = 0; k < 3; ++k)
            line += "," + patchNotations[k][i];
        for (int z = 0; z < 9; ++z)
            line += ",0";
        for (int k = 0; k < 3; ++k)
            line += "," + printText(static_cast<int>(patchRgb[k][i]));
        text += line + ",end\r\n";
    }
    return text;
}

void ToleranceSet::onSavePalette() {
    // The viewer that shows the set converts its rows one by one: the set
    // stays as it is meanwhile.
    reloading_ = true;
    PaletteDocument& palette = session_.palette();
    palette.setFile(paletteName);
    const Result written = palette.replace(paletteText());
    if (written.ok) session_.paletteViewWanted.send();
    reloading_ = false;
    if (!written.ok)
        platform_.message(
            QString::fromStdString("The palette could not be saved: " + written.message),
            Buttons::Ok, Icon::Exclamation);
}

} // namespace huelinx
