#include "charts/ctol.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <fstream>

namespace huelinx {

namespace {

const QColor ground(192, 192, 192);
const char* const coordinateNames[3] = {"L*", "a*", "b*"};
const char* const variantNames[6] = {"Lighter", "Darker", "Redder", "Greener", "Yellower", "Bluer"};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QLineEdit* box(QWidget* parent, const QString& name, int left, int top) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(twips(left), twips(top), twips(1500), twips(330));
    return edit;
}

} // namespace

CTol::CTol(ColourHost& host, Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), program_(program) {
    setObjectName("CTol");
    setWindowTitle("Munsell Color Tolerance Set");
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    surface =
        new ChartSurface("surface", QSize(twips(clientWidth), twips(clientHeight)), ground, this);
    setFixedSize(surface->size());
    buildPatches();
    buildStandard();
    buildSteps();
    Check1 = new QCheckBox("Black Lines", surface);
    Check1->setObjectName("Check1");
    Check1->setGeometry(twips(6000), twips(3480), twips(2700), twips(300));
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    Command1 = placeButton(surface, "Command1", "Print", 6000, 3960, 1200, 375);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Command2 = placeButton(surface, "Command2", "Save Palette", 7380, 3960, 1320, 375);
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Form_Load();
}

void CTol::buildPatches() {
    for (int i = 0; i < 7; ++i) {
        const QRect rect(twips(patchLeft[i]), twips(patchTop[i]), twips(patchSize),
                         twips(patchSize));
        Shape1[i] = surface->addShape(QString("Shape1_%1").arg(i), ChartShape::Kind::Square, rect);
        Shape1[i]->setFillColor(ground);
        Shape1[i]->setBorderColor(ground);
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
        Label3[j] = placeLabel(surface, QString("Label3_%1").arg(j), "", p.left, p.top, width, 240);
        Label2[j] =
            placeLabel(surface, QString("Label2_%1").arg(j), "", p.left, p.top + 240, width, 240);
        if (p.alignRight) {
            Label3[j]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Label2[j]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

void CTol::buildStandard() {
    Frame2 = new QGroupBox("Standard CIELAB  ", surface);
    Frame2->setObjectName("Frame2");
    Frame2->setGeometry(twips(6000), twips(120), twips(2700), twips(1560));
    for (int i = 0; i < 3; ++i) {
        Label4[i] =
            placeLabel(Frame2, QString("Label4_%1").arg(i), "", 150, 375 + 390 * i, 420, 285);
        Text2[i] = box(Frame2, QString("Text2_%1").arg(i), 600, 330 + 390 * i);
    }
}

void CTol::buildSteps() {
    Frame1 = new QGroupBox("Tolerance", surface);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twips(6000), twips(1800), twips(2700), twips(1560));
    for (int i = 0; i < 3; ++i) {
        placeLabel(Frame1, QString("stepName_%1").arg(i), coordinateNames[i], 150, 390 + 390 * i);
        HScroll1[i] = new QScrollBar(Qt::Horizontal, Frame1);
        HScroll1[i]->setObjectName(QString("HScroll1_%1").arg(i));
        HScroll1[i]->setGeometry(twips(600), twips(390 + 390 * i), twips(1950), twips(255));
        HScroll1[i]->setRange(10, 200);
        HScroll1[i]->setSingleStep(10);
        HScroll1[i]->setPageStep(50);
        HScroll1[i]->setValue(50);
        connect(HScroll1[i], &QScrollBar::valueChanged, this, [this, i] { HScroll1_Change(i); });
    }
}

void CTol::Form_Load() {
    for (int i = 0; i < 3; ++i)
        Label4[i]->setText(coordinateNames[i]);
    for (int j = 0; j < 6; ++j)
        Label3[j]->setText(variantNames[j]);
    for (int i = 0; i < 3; ++i)
        tolStep[i] = static_cast<float>(HScroll1[i]->value()) / 10.0f;
    writeStepCaptions();
}

void CTol::writeStepCaptions() {
    const char* const prefixes[6] = {"L +", "L -", "A +", "A - ", "B +", "B - "};
    for (int j = 0; j < 6; ++j)
        Label2[j]->setText(prefixes[j] + qs(signedText(tolStep[j / 2])));
}

void CTol::MakeCTol(float L, float a, float b) {
    // The viewer reloading a saved set converts each of its colours in the
    // main window; the set stays as it was saved.
    if (reloading_) return;
    const float standard[3] = {L, a, b};
    for (int i = 0; i < 3; ++i)
        Text2[i]->setText(qs(formatNumber(standard[i], "###.00")));
    // Patch 2k + 1 lies a step above the standard in coordinate k, patch
    // 2k + 2 a step below; patch 0 is the standard itself, built last.
    for (int i : {1, 2, 3, 4, 5, 6, 0}) {
        std::array<float, 3> lab{L, a, b};
        if (i > 0) {
            const int k = (i - 1) / 2;
            lab[k] = i % 2 == 1 ? lab[k] + tolStep[k] : lab[k] - tolStep[k];
        }
        makePatch(i, lab);
    }
}

void CTol::makePatch(int i, const std::array<float, 3>& lab) {
    const ColourSettings s = host_.colour().settings;
    // Below L* -16 there is no colour: it is taken as black.
    const Tristimulus xyz = labxyz(lab[0], lab[1], lab[2]).value_or(Tristimulus{0, 0, 0});
    const float X = xyz.X, Y = xyz.Y, Z = xyz.Z;
    const MunsellOfXyz munsell = xyz2mun(X, Y, Z, program_.table, s);
    tolNotation[0][i] = hconvert(munsell.H);
    tolNotation[1][i] = signedText(munsell.V);
    tolNotation[2][i] = signedText(munsell.C);
    const RgbOfXyz display = xyzrgb(X, Y, Z, s);
    const std::int16_t rgb[3] = {display.R, display.G, display.B};
    for (int k = 0; k < 3; ++k)
        tolRGB[k][i] = rgb[k];
    const QColor fill(rgb[0], rgb[1], rgb[2]);
    Shape1[i]->setFillColor(fill);
    Shape1[i]->setBorderColor(Check1->isChecked() ? QColor(Qt::black) : fill);
}

void CTol::rebuildFromBoxes() {
    float standard[3];
    for (int i = 0; i < 3; ++i) {
        const auto n = strictNumber(Text2[i]->text().toStdString());
        if (!n) {
            program_.platform.message(QString("%1 needs a number; it holds \"%2\".")
                                          .arg(coordinateNames[i], Text2[i]->text()));
            return;
        }
        standard[i] = static_cast<float>(*n);
    }
    MakeCTol(standard[0], standard[1], standard[2]);
}

void CTol::HScroll1_Change(int index) {
    tolStep[index] = static_cast<float>(HScroll1[index]->value()) / 10.0f;
    writeStepCaptions();
    rebuildFromBoxes();
}

void CTol::Check1_Click() {
    rebuildFromBoxes();
}

void CTol::Command1_Click() {
    printChart(program_, this);
}

// Bluer first, the standard last: date, time, patch number, hue, value,
// chroma, nine zeros, R, G, B, "end".
std::string CTol::paletteText() const {
    const std::string date = program_.platform.dateText().toStdString();
    const std::string time = program_.platform.timeText().toStdString();
    std::string text;
    for (int i = 6; i >= 0; --i) {
        std::string line = date + "," + time + "," + signedText(i);
        for (int k = 0; k < 3; ++k)
            line += "," + tolNotation[k][i];
        for (int z = 0; z < 9; ++z)
            line += ",0";
        for (int k = 0; k < 3; ++k)
            line += "," + printText(static_cast<int>(tolRGB[k][i]));
        text += line + ",end\r\n";
    }
    return text;
}

void CTol::Command2_Click() {
    program_.paletteFile = paletteName;
    const std::string text = paletteText();
    std::ofstream out(paletteName, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        program_.platform.message(
            QString("The palette could not be saved: \"%1\" can't be written.").arg(paletteName),
            Buttons::Ok, Icon::Exclamation);
        return;
    }
    reloading_ = true;
    host_.viewCurrentPalette();
    reloading_ = false;
}

void CTol::closeEvent(QCloseEvent* event) {
    // Closing the set is the same as clearing "Color Tolerence Set".
    event->accept();
    host_.companionClosed(Companion::ToleranceSet);
}

} // namespace huelinx
