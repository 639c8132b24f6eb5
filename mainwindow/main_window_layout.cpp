// The main window's controls, their initial texts and positions, and how
// they are laid out: the six notations side by side, the swatch below them in
// the middle, the illuminant and instrument panels beside it, then the
// messages, the window check boxes and the buttons.
#include "colour/chip_set.h"
#include "colour/hue.h"
#include "instruments/instrument_protocols.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/logo.h"
#include "mainwindow/main_window.h"
#include "mainwindow/swatch.h"
#include "picture/picture_window.h"
#include "platform/slider_tooltip.h"
#include "viewer/palette_viewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace huelinx {

namespace {

// A vertical slider; `top` is the position shown at the top.
QScrollBar* makeSlider(const QString& name, int top, int bottom, int position, QWidget* parent) {
    auto* s = new QScrollBar(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setRange(std::min(top, bottom), std::max(top, bottom));
    s->setInvertedAppearance(top > bottom);
    s->setInvertedControls(top > bottom);
    s->setValue(position);
    s->setMinimumHeight(112);
    return s;
}

template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// Keeps a control in its own colours whatever the window's background becomes.
void keepColours(QWidget* widget) {
    // Setting every role explicitly stops the parent's colours from reaching it.
    QPalette palette = widget->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        if (r == QPalette::NoRole) continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setBrush(group, r, palette.brush(group, r));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent), session_(session), platform_(platform) {
    setObjectName("Form1");
    buildControls();
    buildLayout();
    connectHandlers();
    followSession();
}

MainWindow::~MainWindow() = default;

std::vector<QWidget*> MainWindow::entryBoxes() const {
    std::vector<QWidget*> boxes;
    boxes.reserve(18);
    const auto add = [&boxes](const auto& group) {
        for (QWidget* box : group)
            boxes.push_back(box);
    };
    add(munsellBoxes);
    add(xyzBoxes);
    add(chromaticityBoxes);
    add(labBoxes);
    add(rgbBoxes);
    add(cmykBoxes);
    return boxes;
}

void MainWindow::buildControls() {
    const char* munsell[3] = {"6.4Y", "8.6", "10.4"};
    for (int i = 0; i < 3; ++i) {
        munsellBoxes[i] = new EntryBox(QString("Text12_%1").arg(i), munsell[i], this);
        xyzBoxes[i] = new EntryBox(QString("Text11_%1").arg(i), {}, this);
        labBoxes[i] = new EntryBox(QString("Text15_%1").arg(i), {}, this);
        rgbBoxes[i] = new EntryBox(QString("Text1_%1").arg(i), {}, this);
    }
    for (int i = 0; i < 2; ++i)
        chromaticityBoxes[i] = new EntryBox(QString("Text18_%1").arg(i), {}, this);
    for (int i = 0; i < 4; ++i)
        cmykBoxes[i] = new EntryBox(QString("Text2_%1").arg(i), {}, this);
    for (QWidget* box : entryBoxes())
        box->setMinimumWidth(70);
    gammaBox = named(new QLineEdit("2.2", this), "Text5");
    gammaBox->setMaximumWidth(48);
    keepColours(gammaBox);

    swatch = new Swatch("Picture1", this);
    swatch->setMinimumSize(300, 170);
    logo = named(new Logo(56, this), "Picture2");
    buildClipboardControls();
    buildCompareControls();

    hueSlider = makeSlider("VScroll1", 202, 0, 0, this);
    valueSlider = makeSlider("VScroll2", 20, 1, 1, this);
    chromaSlider = makeSlider("VScroll3", 40, 0, 0, this);
    redSlider = makeSlider("VScroll4", 255, 0, 255, this);
    greenSlider = makeSlider("VScroll5", 255, 0, 255, this);
    blueSlider = makeSlider("VScroll6", 255, 0, 0, this);
    whiteBalanceSlider = makeSlider("VScroll7", 50, 100, 100, this);
    whiteBalanceSlider->setPageStep(10);
    gammaSlider = makeSlider("VScroll8", 30, 10, 22, this);
    for (QScrollBar* s : {hueSlider, valueSlider, chromaSlider, redSlider, greenSlider, blueSlider,
                          whiteBalanceSlider, gammaSlider})
        keepColours(s);
    const auto halves = [](int position) { return QString::number(position / 2.0); };
    showValueInTooltip(hueSlider, "Hue", [](int position) {
        return QString::fromStdString(hconvert(static_cast<float>(position / 2.0)));
    });
    showValueInTooltip(valueSlider, "Value", halves);
    showValueInTooltip(chromaSlider, "Chroma");
    showValueInTooltip(redSlider, "R");
    showValueInTooltip(greenSlider, "G");
    showValueInTooltip(blueSlider, "B");
    showValueInTooltip(whiteBalanceSlider, "White", [](int p) { return QString("%1 %").arg(p); });
    showValueInTooltip(gammaSlider, "Gamma", [](int p) { return QString::number(p / 10.0); });
    outOfRangeLabel = named(new QLabel(this), "Label19");
    outOfRangeLabel->setStyleSheet("color: #b00020; font-weight: bold;");

    colourNameBox = named(new QLineEdit(this), "colourName");
    nearestChipBox = named(new QLineEdit(this), "nearestChip");
    for (QLineEdit* line : {colourNameBox, nearestChipBox}) {
        line->setReadOnly(true);
        line->setFocusPolicy(Qt::ClickFocus);
    }
    colourNameBox->setToolTip("ISCC-NBS name of the colour (abbreviation)");
    nearestChipBox->setToolTip("Nearest chip of the chosen set, its CIEDE2000 and the difference "
                               "in Munsell hue, value and chroma steps (colour minus chip)");
    chipSetList = named(new QComboBox(this), "chipSet");
    chipSetList->setToolTip("Chip set searched for the nearest chip");

    illuminantFrame = named(new QGroupBox("Illuminant", this), "Frame2");
    const char* illuminants[3] = {"C 1931", "D5000", "D65 10"};
    for (int i = 0; i < 3; ++i)
        illuminantButtons[i] =
            named(new QRadioButton(illuminants[i], illuminantFrame), QString("Option1_%1").arg(i));
    illuminantLabel =
        named(new QLabel("Illuminant C  2°   Standard Observer ", illuminantFrame), "Label1");
    pwdCheck = named(new QCheckBox("PWD", illuminantFrame), "Check1");
    keepColours(illuminantFrame);

    instrumentFrame = named(new QGroupBox("Instrument", this), "Frame1");
    instrumentList = named(new QComboBox(instrumentFrame), "Combo1");
    instrumentList->setEditable(true);
    instrumentList->setInsertPolicy(QComboBox::NoInsert);
    calibrateButton = named(new QPushButton("Calibrate", instrumentFrame), "Command7");
    measureButton = named(new QPushButton("Measure", instrumentFrame), "Command8");
    portLabel = named(new QLabel("Comm Port", instrumentFrame), "Label3");
    portBox = named(new QLineEdit("1", instrumentFrame), "Text4");
    portBox->setMaximumWidth(110);
    portDeviceLabel = named(new QLabel(instrumentFrame), "Label27");
    d65Marker = named(new QLabel("D65", instrumentFrame), "Label24");
    aMarker = named(new QLabel("A", instrumentFrame), "Label25");

    messagesBox = named(new QPlainTextEdit(this), "Text3");
    messagesBox->setMaximumHeight(52);
    // The program writes here; the user reads and copies, and Tab moves on.
    messagesBox->setReadOnly(true);
    messagesBox->setTabChangesFocus(true);
    messagesLabel = named(new QLabel("Messages", this), "Label23");
    importedFileLabel = named(new QLabel("Imported File", this), "Label26");
    importedFileName = named(new QLabel(this), "Label6");

    exitButton = named(new QPushButton("Exit", this), "Command2");
    aboutButton = named(new QPushButton("About", this), "Command9");
    helpButton = named(new QPushButton("Help", this), "Command1");
    printButton = named(new QPushButton("PRINT", this), "printB");
    saveToPaletteButton = named(new QPushButton("Save to Palette", this), "Command11");
    makeTableButton = named(new QPushButton("Make Table", this), "Command3");
    importButton = named(new QPushButton("Import", this), "import");
    huePageCheck = named(new QCheckBox("Display Hue Page", this), "Check2");
    toleranceSetCheck = named(new QCheckBox("Color Tolerence Set", this), "Check3");
    valuePageCheck = named(new QCheckBox("Display Value Page", this), "Check4");
    colorCheckerCheck = named(new QCheckBox("Display ColorChecker", this), "Check5");
    pictureCheck = named(new QCheckBox("Image Analysis", this), "Check6");
    viewerCheck = named(new QCheckBox("3D Display of HVC ", this), "Check7");
    for (QCheckBox* c : {huePageCheck, toleranceSetCheck, valuePageCheck, colorCheckerCheck,
                         pictureCheck, viewerCheck})
        keepColours(c);

    titleLabel = named(new QLabel("Huelinx", this), "Label21");
    titleLabel->setStyleSheet("font-size: 22pt; font-weight: bold; color: #34495e;");
    subtitleLabel =
        named(new QLabel("Munsell  \u2194  CIE XYZ \u00b7 x,y \u00b7 L*a*b* \u00b7 RGB \u00b7 CMYK",
                         this),
              "Label22");
    subtitleLabel->setStyleSheet("font-size: 11pt; color: #5d6d7e;");
    boxLabels_ = {titleLabel, subtitleLabel, portLabel, messagesLabel, importedFileLabel};
}

// One notation: a heading, its boxes with their labels, and the sliders that
// belong to the boxes beside them.
QWidget* MainWindow::notationGroup(const QString& title, const std::vector<QString>& labels,
                                   const std::vector<QWidget*>& boxes,
                                   const std::vector<QScrollBar*>& sliders) {
    auto* group = new QFrame(this);
    group->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    auto* heading = new QLabel(title, group);
    heading->setStyleSheet("font-weight: bold;");
    boxLabels_.push_back(heading);
    grid->addWidget(heading, 0, 0, 1, 2 + static_cast<int>(sliders.size()));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        auto* label = new QLabel(labels[i], group);
        boxLabels_.push_back(label);
        grid->addWidget(label, static_cast<int>(i) + 1, 0);
        grid->addWidget(boxes[i], static_cast<int>(i) + 1, 1);
    }
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        grid->addWidget(sliders[i], 1, 2 + static_cast<int>(i), 4, 1, Qt::AlignHCenter);
        auto* caption = new QLabel(labels[i].left(1), group);
        caption->setAlignment(Qt::AlignHCenter);
        grid->addWidget(caption, 5, 2 + static_cast<int>(i));
    }
    grid->setRowStretch(static_cast<int>(boxes.size()) + 1, 1);
    return group;
}

void MainWindow::buildLayout() {
    auto* title = new QHBoxLayout;
    auto* names = new QVBoxLayout;
    names->addWidget(titleLabel);
    names->addWidget(subtitleLabel);
    title->addLayout(names);
    title->addStretch(1);
    title->addWidget(logo);

    auto* notations = new QHBoxLayout;
    notations->setSpacing(4);
    notations->addWidget(notationGroup("Munsell", {"Hue", "Value", "Chroma"},
                                       {munsellBoxes[0], munsellBoxes[1], munsellBoxes[2]},
                                       {hueSlider, valueSlider, chromaSlider}));
    notations->addWidget(
        notationGroup("CIE XYZ", {"X", "Y", "Z"}, {xyzBoxes[0], xyzBoxes[1], xyzBoxes[2]}, {}));
    notations->addWidget(notationGroup("Chromaticity", {"sx", "sy"},
                                       {chromaticityBoxes[0], chromaticityBoxes[1]}, {}));
    notations->addWidget(notationGroup("CIE L*a*b*", {"L*", "a*", "b*"},
                                       {labBoxes[0], labBoxes[1], labBoxes[2]}, {}));
    notations->addWidget(notationGroup("Display RGB", {"R", "G", "B"},
                                       {rgbBoxes[0], rgbBoxes[1], rgbBoxes[2]},
                                       {redSlider, greenSlider, blueSlider}));
    notations->addWidget(notationGroup("CMYK", {"C", "M", "Y", "K"},
                                       {cmykBoxes[0], cmykBoxes[1], cmykBoxes[2], cmykBoxes[3]},
                                       {}));

    auto* naming = new QHBoxLayout;
    auto* nameLabel = new QLabel("Name", this);
    auto* chipLabel = new QLabel("Nearest chip in", this);
    boxLabels_.push_back(nameLabel);
    boxLabels_.push_back(chipLabel);
    naming->addWidget(nameLabel);
    naming->addWidget(colourNameBox, 2);
    naming->addSpacing(8);
    naming->addWidget(chipLabel);
    naming->addWidget(chipSetList);
    naming->addWidget(nearestChipBox, 3);

    auto* illuminant = new QVBoxLayout(illuminantFrame);
    for (QRadioButton* option : illuminantButtons)
        illuminant->addWidget(option);
    illuminant->addWidget(illuminantLabel);
    illuminant->addWidget(pwdCheck);

    auto* instrument = new QGridLayout(instrumentFrame);
    instrument->addWidget(instrumentList, 0, 0, 1, 3);
    instrument->addWidget(calibrateButton, 1, 0);
    instrument->addWidget(measureButton, 1, 1, 1, 2);
    instrument->addWidget(portLabel, 2, 0);
    instrument->addWidget(portBox, 2, 1);
    instrument->addWidget(portDeviceLabel, 2, 2);
    instrument->addWidget(d65Marker, 3, 0);
    instrument->addWidget(aMarker, 3, 1);

    auto* display = new QGridLayout;
    auto* gammaLabel = new QLabel("Gamma", this);
    auto* whiteLabel = new QLabel("White", this);
    boxLabels_.push_back(gammaLabel);
    boxLabels_.push_back(whiteLabel);
    display->addWidget(gammaLabel, 0, 0);
    display->addWidget(gammaBox, 1, 0);
    display->addWidget(gammaSlider, 0, 1, 3, 1);
    display->addWidget(whiteLabel, 0, 2);
    display->addWidget(whiteBalanceSlider, 1, 2, 2, 1);

    auto* swatchColumn = new QVBoxLayout;
    swatchColumn->addWidget(swatch, 1);
    auto* underSwatch = new QHBoxLayout;
    underSwatch->addWidget(outOfRangeLabel, 1, Qt::AlignHCenter);
    underSwatch->addWidget(copyButton);
    underSwatch->addWidget(compareButton);
    swatchColumn->addLayout(underSwatch);

    auto* middle = new QHBoxLayout;
    middle->addWidget(illuminantFrame, 0, Qt::AlignTop);
    middle->addLayout(swatchColumn, 1);
    middle->addWidget(historyList);
    middle->addLayout(display);
    middle->addWidget(instrumentFrame, 0, Qt::AlignTop);

    auto* messages = new QGridLayout;
    messages->addWidget(messagesLabel, 0, 0);
    messages->addWidget(messagesBox, 0, 1);
    messages->addWidget(importedFileLabel, 1, 0);
    messages->addWidget(importedFileName, 1, 1);

    auto* windows = new QGridLayout;
    const QCheckBox* order[6] = {huePageCheck,      valuePageCheck, colorCheckerCheck,
                                 toleranceSetCheck, pictureCheck,   viewerCheck};
    for (int i = 0; i < 6; ++i)
        windows->addWidget(const_cast<QCheckBox*>(order[i]), i / 3, i % 3);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {saveToPaletteButton, makeTableButton, importButton, printButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {helpButton, aboutButton, exitButton})
        buttons->addWidget(b);

    auto* page = new QVBoxLayout(this);
    buildMenuBar();
    page->setMenuBar(menuBar);
    page->addLayout(title);
    page->addLayout(notations);
    page->addLayout(naming);
    page->addLayout(middle, 1);
    page->addLayout(messages);
    page->addLayout(windows);
    page->addLayout(buttons);
    orderTabs();
    setControlTips();
}

void MainWindow::connectHandlers() {
    for (auto* box : munsellBoxes)
        box->onEnter = [this] { convertMunsellEntry(); };
    for (auto* box : xyzBoxes)
        box->onEnter = [this] { convertXyzEntry(); };
    for (auto* box : chromaticityBoxes)
        box->onEnter = [this] { convertChromaticityEntry(); };
    for (auto* box : labBoxes)
        box->onEnter = [this] { convertLabEntry(); };
    for (auto* box : rgbBoxes)
        box->onEnter = [this] { convertRgbEntry(); };
    for (auto* box : cmykBoxes)
        box->onEnter = [this] { convertCmykEntry(); };
    // What is typed into a box (or put there by another window) becomes the
    // model's text for it; nothing is converted until Enter.
    shownTexts_ = colour().box;
    enteredTexts_ = colour().box;
    const auto boxes = colourBoxes();
    for (std::size_t b = 0; b < boxes.size(); ++b)
        connect(boxes[b], &QLineEdit::textChanged, this,
                [this, b](const QString& text) { boxTyped(static_cast<int>(b), text); });
    connect(pwdCheck, &QCheckBox::toggled, this, [this] { onPwdToggled(); });
    connect(hueSlider, &QScrollBar::valueChanged, this, [this] { onHueSlider(); });
    connect(valueSlider, &QScrollBar::valueChanged, this, [this] { onValueSlider(); });
    connect(chromaSlider, &QScrollBar::valueChanged, this, [this] { onChromaSlider(); });
    connect(redSlider, &QScrollBar::valueChanged, this, [this] { onRgbSlider(0); });
    connect(greenSlider, &QScrollBar::valueChanged, this, [this] { onRgbSlider(1); });
    connect(blueSlider, &QScrollBar::valueChanged, this, [this] { onRgbSlider(2); });
    connect(whiteBalanceSlider, &QScrollBar::valueChanged, this, [this] { onWhiteBalance(); });
    connect(gammaSlider, &QScrollBar::valueChanged, this, [this] { onGammaSlider(); });
    connect(gammaBox, &QLineEdit::textChanged, this, [this] { onGammaTyped(); });
    for (int i = 0; i < 3; ++i)
        connect(illuminantButtons[i], &QRadioButton::clicked, this, [this, i] { onIlluminant(i); });
    swatch->onMouseDown = [this](int x, int y, Qt::MouseButton) { onSwatchClicked(x, y); };
    connect(instrumentList, &QComboBox::activated, this, [this] { onInstrumentChosen(); });
    connect(portBox, &QLineEdit::textChanged, this, [this] { onPortTyped(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { onExit(); });
    connect(aboutButton, &QPushButton::clicked, this, [this] { onAbout(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
    connect(calibrateButton, &QPushButton::clicked, this, [this] { onCalibrate(); });
    connect(saveToPaletteButton, &QPushButton::clicked, this, [this] { onSaveToPalette(); });
    connect(makeTableButton, &QPushButton::clicked, this, [this] { onMakeTable(); });
    connect(importButton, &QPushButton::clicked, this, [this] { onImport(); });
    connect(chipSetList, &QComboBox::currentIndexChanged, this, [this] { onChipSetChosen(); });
    connect(measureButton, &QPushButton::clicked, this, [this] { onMeasure(); });
}

void MainWindow::followSession() {
    // Every new colour is shown here first, whoever made it.
    colourChanges_ =
        session_.colourChanged.connect([this](const ColourChange& c) { showChange(c.colour); });
    notes_ = session_.noted.connect(
        [this](const std::string& line) { showNote(QString::fromStdString(line)); });
    // Another window's long work or help: this window takes no input meanwhile
    // and shows the wait cursor, but stays where it is (hiding it would let a
    // window manager place it anew).
    busy_ = session_.busy.connect([this](bool busy) {
        if (busy) {
            if (busySpells_++ > 0) return;
            setEnabled(false);
            setCursor(Qt::WaitCursor);
        } else if (busySpells_ > 0 && --busySpells_ == 0) {
            unsetCursor();
            setEnabled(true);
        }
    });
}

} // namespace huelinx
