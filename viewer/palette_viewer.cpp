#include "viewer/palette_viewer.h"

#include "colour/colour_naming.h"
#include "colour/hue.h"
#include "platform/platform.h"
#include "platform/slider_tooltip.h"
#include "platform/standard_colours.h"
#include "session/session.h"
#include "text/number_format.h"
#include "viewer/viewer_surface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace huelinx {

namespace {

const QColor green(160, 224, 160), red(224, 160, 160);

const char* const newPaletteText =
    "To make a new palette or add to a current palette, go to the Huelinx Screen and enter or "
    "measure samples for the palette and click on 'Save Palette'";
const char* const helpText =
    "Continuous rotation of palette is controlled by the 'Rotate' and 'Stop' buttons\r\n"
    "The Palette display is viewed differently by rotating, tilting and panning.\r\n"
    "New palettes are generated from the Huelinx Screen by entering or measuring with "
    "Spectrophotometers or from the image analysis screen\r\r"
    "Identify colors in the display by clicking on the color in the list or click on the color dot "
    "in the display\r\r"
    "Two colors can be compared visually by left-clicking the first color and right-clicking the "
    "second color\r\n";

// A slider whose tooltip names it and follows its value: "Zoom: 12".
QScrollBar* slider(const QString& name, const QString& label, Qt::Orientation o, int min, int max,
                   int page, int value, QWidget* parent, const QString& unit = {}) {
    auto* s = new QScrollBar(o, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setPageStep(page);
    s->setValue(value);
    showValueInTooltip(s, label, [unit](int position) { return QString::number(position) + unit; });
    return s;
}

// A font whose characters are all as wide, so the list's columns line up: the
// system's fixed-pitch font, or, where the machine's font setup names a
// proportional font for it, the first installed family of fixed pitch.
QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(font).fixedPitch()) return font;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        font.setFamilies({family});
        if (QFontInfo(font).fixedPitch()) return font;
    }
    return font;
}

// Room for an entry of a palette of up to 9999 colours tagged in up to eight
// characters beside the vertical scroll bar; longer entries scroll sideways.
int listWidth(const QListWidget& list) {
    const int entry =
        QFontMetrics(list.font()).horizontalAdvance("9999  10GY 3/8  H 10.0gy  V 10.00  C 20.00");
    const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return std::max(330, entry + scrollBar + 2 * list.frameWidth() + 8);
}

} // namespace

PaletteViewer::PaletteViewer(Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), platform_(platform) {
    setObjectName("Form3");
    setWindowTitle("Vantorix 3D Munsell Palette Viewer");
    // A palette loaded before this window opened is the one shown.
    dots_.resize(session.palette().entries().size() + 1);
    buildControls();
    buildLayout();
    lastView_ = viewFromSliders(rotationSlider->value(), tiltSlider->value(), zoomSlider->value(),
                                panXSlider->value(), panYSlider->value());
    paletteWrites_ = session.palette().changed.connect([this](PaletteDocument::Write) {
        if (!isVisible()) return;
        loadPalette(PaletteSource::CurrentFile);
        documentShown_ = session_.palette().file();
    });
}

void PaletteViewer::showCurrentPalette() {
    show();
    activateWindow();
    // Records just written were loaded as they were written.
    if (documentShown_.empty() || documentShown_ != session_.palette().file())
        loadPalette(PaletteSource::CurrentFile);
    documentShown_.clear();
}

void PaletteViewer::buildMenu() {
    menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu("&File");
    newPaletteAction = file->addAction("&New Palette", this, [this] { onNewPalette(); });
    openPaletteAction =
        file->addAction("&Open Palette", this, [this] { loadPalette(PaletteSource::Chosen); });
    exportPaletteAction =
        file->addAction("&Export Palette\u2026", this, [this] { onExportPalette(); });
    exitAction = file->addAction("e&Xit", this, [this] { hide(); });
    helpAction = menuBar->addAction("&Help", this, [this] { onHelp(); });
    newPaletteAction->setObjectName("mnuNewPalette");
    openPaletteAction->setObjectName("mnuOpenPalette");
    exitAction->setObjectName("mnuExit");
    exportPaletteAction->setObjectName("mnuExportPalette");
    helpAction->setObjectName("mnuHelp");
}

void PaletteViewer::buildControls() {
    buildMenu();
    drawing = new ViewerSurface(this);
    drawing->onMouseDown = [this](int x, int y, Qt::MouseButton button) {
        onDrawingClicked(button == Qt::LeftButton ? 1 : button == Qt::RightButton ? 2 : 0, x, y);
    };
    rotationSlider = slider("HScroll1", "Rotate", Qt::Horizontal, -180, 180, 20, 0, this);
    tiltSlider = slider("VScroll1", "Tilt", Qt::Vertical, 0, 90, 10, 15, this);
    zoomSlider = slider("VScroll2", "Zoom", Qt::Vertical, 1, 40, 5, 20, this);
    panXSlider = slider("HScroll2", "Pan X", Qt::Horizontal, 0, 800, 20, 400, this);
    panYSlider = slider("VScroll3", "Pan Y", Qt::Vertical, 0, 400, 20, 200, this);
    // The speed is the time between steps of one degree: 1 is fast, 100 slow.
    speedSlider = slider("HScroll3", "Speed", Qt::Horizontal, 1, 100, 1, 1, this, " ms a degree");
    connect(tiltSlider, &QScrollBar::valueChanged, this, [this] { drawPalette(); });
    connect(panYSlider, &QScrollBar::valueChanged, this, [this] { drawPalette(); });

    rotateButton = new QPushButton("Rotate", this);
    rotateButton->setObjectName("Command1");
    stopButton = new QPushButton("Stop", this);
    stopButton->setObjectName("Command2");
    connect(rotateButton, &QPushButton::clicked, this, [this] { onRotate(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { onStop(); });
    rotationTimer = new QTimer(this);
    rotationTimer->setInterval(1);
    connect(rotationTimer, &QTimer::timeout, this, [this] { onRotationTick(); });
    redrawTimer = new QTimer(this);
    redrawTimer->setInterval(10);
    connect(redrawTimer, &QTimer::timeout, this, [this] { drawPalette(); });
    redrawTimer->start();

    sampleNumbersCheck = new QCheckBox("Display sample #", this);
    sampleNumbersCheck->setObjectName("Check1");
    paletteList = new QListWidget(this);
    paletteList->setObjectName("List1");
    // Fixed-pitch, so that the columns of the entries line up.
    paletteList->setFont(fixedPitchFont());
    paletteList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    statusBox = new QLineEdit(this);
    statusBox->setObjectName("Text1");
    statusBox->setReadOnly(true);
    for (int i = 0; i < 2; ++i) {
        pickedTags[i] = new QLineEdit(this);
        pickedTags[i]->setObjectName(QString("Text3_%1").arg(i));
        pickedNotations[i] = new QLineEdit(this);
        pickedNotations[i]->setObjectName(QString("Text4_%1").arg(i));
        pickedNames[i] = new QLineEdit(this);
        pickedNames[i]->setObjectName(QString("colourName_%1").arg(i));
        pickedNames[i]->setReadOnly(true);
    }
    // Wrapped, so the whole comparison shows in the narrow box.
    contrastLine = new QLabel(this);
    contrastLine->setObjectName("contrastLine");
    contrastLine->setWordWrap(true);
    contrastLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    contrastLine->setToolTip("The two picks compared as soil colours: contrast class, "
                             "\u0394E00 and steps");
    leftPickSwatch = new QFrame(this);
    leftPickSwatch->setObjectName("Shape1");
    rightPickSwatch = new QFrame(this);
    rightPickSwatch->setObjectName("Shape2");
    for (QFrame* shape : {leftPickSwatch, rightPickSwatch}) {
        shape->setFrameShape(QFrame::Box);
        shape->setAutoFillBackground(true);
        shape->setMinimumSize(60, 40);
    }
    // Set once everything the drawing reads is there.
    drawing->onResized = [this] { drawPalette(); };
    drawing->tooltipAt = [this](int x, int y) { return tooltipAt(x, y); };
}

QGroupBox* PaletteViewer::buildIdentifyBox() {
    auto* identify = new QGroupBox("ID a Color", this);
    auto* id = new QGridLayout(identify);
    id->addWidget(new QLabel("Left-Click ", identify), 0, 0);
    id->addWidget(leftPickSwatch, 1, 0, 3, 1);
    id->addWidget(pickedTags[0], 1, 1);
    id->addWidget(pickedNotations[0], 2, 1);
    id->addWidget(pickedNames[0], 3, 1);
    id->addWidget(new QLabel("Right-Click ", identify), 4, 0);
    id->addWidget(rightPickSwatch, 5, 0, 3, 1);
    id->addWidget(pickedTags[1], 5, 1);
    id->addWidget(pickedNotations[1], 6, 1);
    id->addWidget(pickedNames[1], 7, 1);
    id->addWidget(contrastLine, 8, 0, 1, 2);
    return identify;
}

void PaletteViewer::buildLayout() {
    QGroupBox* identify = buildIdentifyBox();
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menuBar);
    grid->addWidget(new QLabel("Tilt", this), 0, 0);
    grid->addWidget(tiltSlider, 1, 0);
    grid->addWidget(drawing, 1, 1, 1, 2);
    auto* zoom = new QGridLayout;
    zoom->addWidget(new QLabel("Zoom +", this), 0, 0);
    zoom->addWidget(zoomSlider, 1, 0);
    zoom->addWidget(new QLabel("Zoom -", this), 2, 0);
    zoom->addWidget(new QLabel("Pan Y", this), 0, 1);
    zoom->addWidget(panYSlider, 1, 1);
    // The sliders take the height, so the labels stay at their ends.
    zoom->setRowStretch(1, 1);
    grid->addLayout(zoom, 1, 3);
    // The ends of the rotation scale stay over the ends of its slider.
    auto* rotation = new QHBoxLayout;
    rotation->addWidget(new QLabel("-180", this));
    rotation->addStretch(1);
    rotation->addWidget(new QLabel("Rotate", this));
    rotation->addStretch(1);
    rotation->addWidget(new QLabel("+180", this));
    grid->addLayout(rotation, 2, 1, 1, 2);
    grid->addWidget(rotationSlider, 3, 1, 1, 2);
    grid->addWidget(new QLabel("Pan X", this), 4, 0);
    grid->addWidget(panXSlider, 4, 1, 1, 2);
    grid->addWidget(new QLabel("Fast           Slow", this), 5, 0);
    grid->addWidget(speedSlider, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rotateButton);
    buttons->addWidget(stopButton);
    buttons->addWidget(sampleNumbersCheck);
    buttons->addStretch(1);
    grid->addLayout(buttons, 5, 2);
    grid->addWidget(new QLabel("< Left-Click or Right-click on dot to identify >", this), 6, 1, 1,
                    2);
    grid->addWidget(statusBox, 7, 0, 1, 4);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel("Palette", this));
    side->addWidget(paletteList, 1);
    side->addWidget(new QLabel("< Click on color to identify with white dot >", this));
    side->addWidget(identify);
    grid->addLayout(side, 0, 4, 8, 1);
    // A larger window goes to the drawing's row and mostly to its columns,
    // which keep the proportion they open with; the list, which shows every
    // column at its opening width, grows taller.
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(4, 1);
    paletteList->setMinimumWidth(listWidth(*paletteList));
}

void PaletteViewer::start() {
    show();
    platform_.processEvents();
    loadPalette(PaletteSource::Remembered);
    onRotate();
}

void PaletteViewer::setStatus(const QString& text, int standardColourIndex) {
    statusBox->setText(text);
    setRoleColour(statusBox, QPalette::Base, standardColour(standardColourIndex));
}

void PaletteViewer::onRotate() {
    rotationTimer->start();
    setRoleColour(stopButton, QPalette::Button, green);
    setRoleColour(rotateButton, QPalette::Button, red);
}

void PaletteViewer::onStop() {
    rotationTimer->stop();
    setRoleColour(stopButton, QPalette::Button, red);
    setRoleColour(rotateButton, QPalette::Button, green);
}

void PaletteViewer::onRotationTick() {
    rotationTimer->setInterval(speedSlider->value());
    if (rotationSlider->value() < 180)
        rotationSlider->setValue(rotationSlider->value() + 1);
    else
        rotationSlider->setValue(-180);
}

void PaletteViewer::onNewPalette() {
    platform_.message(newPaletteText);
    session_.entryWanted.send();
}

void PaletteViewer::onHelp() {
    platform_.message(helpText);
}

const std::vector<PaletteEntry>& PaletteViewer::entries() const {
    return session_.palette().entries();
}

int PaletteViewer::pointCount() const {
    return static_cast<int>(entries().size());
}

const PaletteEntry& PaletteViewer::entry(int i) const {
    return entries()[static_cast<std::size_t>(i - 1)];
}

QString PaletteViewer::hueTextOf(int i) const {
    return QString::fromStdString(entry(i).notation[0]).toLower().leftJustified(6) + ' ';
}

void PaletteViewer::onDrawingClicked(int button, int px, int py) {
    // Only the left and right buttons pick, and only when there are dots.
    if (button != 1 && button != 2) return;
    const int sel = entryNearest(px, py);
    if (sel == 0) return;
    if (sel - 1 < paletteList->count()) paletteList->setCurrentRow(sel - 1);
    const int b = button - 1;
    const PaletteEntry& picked = entry(sel);
    pickedTags[b]->setText(QString::fromStdString(picked.tag));
    pickedNotations[b]->setText(notationOf(sel));
    pickedNames[b]->setText(colourNameOf(sel));
    pickedNames[b]->setCursorPosition(0);
    // A colour the display can't show is shown clipped, as its dot is, and
    // the swatch's tooltip says so.
    QFrame* shape = button == 1 ? leftPickSwatch : rightPickSwatch;
    const auto& shown = picked.shownRgb;
    setRoleColour(shape, QPalette::Window, QColor(shown[0], shown[1], shown[2]));
    shape->setToolTip(picked.outOfRange ? "Outside the display's range: shown clipped" : QString());
    const auto& t = picked.notation;
    picks_[b] = soilNotation(notationText(t[0], t[1], t[2]));
    picked_[b] = true;
    showContrast();
}

void PaletteViewer::showContrast() {
    if (!picked_[0] || !picked_[1]) return;
    QString line;
    if (!picks_[0] || !picks_[1]) {
        line = "A pick has no Munsell notation to compare";
    } else {
        SoilComparer comparer(session_.table(), session_.colour().settings);
        line = QString::fromStdString(soilContrastLine(comparer, *picks_[0], *picks_[1]));
    }
    contrastLine->setText(line);
}

QString PaletteViewer::notationOf(int i) const {
    const PaletteEntry& e = entry(i);
    return hueTextOf(i) + " " + QString::fromStdString(formatNumber(e.value, "##.00")) + "/" +
           QString::fromStdString(formatNumber(e.chroma, "##.00"));
}

QString PaletteViewer::colourNameOf(int i) const {
    // The name reads the hue as the list shows it, in capitals.
    const HueOfText hue = converth(hueTextOf(i).trimmed().toUpper().toStdString());
    const PaletteEntry& e = entry(i);
    return QString::fromStdString(
        nameText(session_.resources().names().nameOf(hue, e.value, e.chroma)));
}

void PaletteViewer::closeEvent(QCloseEvent* event) {
    event->accept();
    rotationTimer->stop();
    redrawTimer->stop();
    setAttribute(Qt::WA_DeleteOnClose);
    if (onClosed) onClosed();
}

void PaletteViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace huelinx
