// The main window's controls, their initial texts and positions, and how
// they are laid out: the six notations side by side, the swatch below them in
// the middle, the illuminant and instrument panels beside it, then the
// messages, the window check boxes and the buttons.
#include "instruments/instrument_protocols.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "mainwindow/logo.h"
#include "mainwindow/swatch.h"
#include "picture/form2.h"
#include "viewer/form3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
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

Form1::Form1(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setObjectName("Form1");
    buildControls();
    buildLayout();
    connectHandlers();
}

Form1::~Form1() {
    delete form2_;
    delete form3_;
}

std::vector<QWidget*> Form1::entryBoxes() const {
    std::vector<QWidget*> boxes;
    boxes.reserve(18);
    const auto add = [&boxes](const auto& group) {
        for (QWidget* box : group)
            boxes.push_back(box);
    };
    add(Text12);
    add(Text11);
    add(Text18);
    add(Text15);
    add(Text1);
    add(Text2);
    return boxes;
}

void Form1::buildControls() {
    const char* munsell[3] = {"6.4Y", "8.6", "10.4"};
    for (int i = 0; i < 3; ++i) {
        Text12[i] = new EntryBox(QString("Text12_%1").arg(i), munsell[i], this);
        Text11[i] = new EntryBox(QString("Text11_%1").arg(i), {}, this);
        Text15[i] = new EntryBox(QString("Text15_%1").arg(i), {}, this);
        Text1[i] = new EntryBox(QString("Text1_%1").arg(i), {}, this);
    }
    for (int i = 0; i < 2; ++i)
        Text18[i] = new EntryBox(QString("Text18_%1").arg(i), {}, this);
    for (int i = 0; i < 4; ++i)
        Text2[i] = new EntryBox(QString("Text2_%1").arg(i), {}, this);
    for (QWidget* box : entryBoxes())
        box->setMinimumWidth(70);
    Text5 = named(new QLineEdit("2.2", this), "Text5");
    Text5->setMaximumWidth(48);
    keepColours(Text5);

    Picture1 = new Swatch("Picture1", this);
    Picture1->setMinimumSize(300, 170);
    Picture2 = named(new QLabel(this), "Picture2");
    Picture2->setPixmap(makeLogo(56));

    VScroll1 = makeSlider("VScroll1", 202, 0, 0, this);
    VScroll2 = makeSlider("VScroll2", 20, 1, 1, this);
    VScroll3 = makeSlider("VScroll3", 40, 0, 0, this);
    VScroll4 = makeSlider("VScroll4", 255, 0, 255, this);
    VScroll5 = makeSlider("VScroll5", 255, 0, 255, this);
    VScroll6 = makeSlider("VScroll6", 255, 0, 0, this);
    VScroll7 = makeSlider("VScroll7", 50, 100, 100, this);
    VScroll7->setPageStep(10);
    VScroll8 = makeSlider("VScroll8", 30, 10, 22, this);
    for (QScrollBar* s :
         {VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6, VScroll7, VScroll8})
        keepColours(s);
    Label19 = named(new QLabel(this), "Label19");
    Label19->setStyleSheet("color: #b00020; font-weight: bold;");

    Frame2 = named(new QGroupBox("Illuminant", this), "Frame2");
    const char* illuminants[3] = {"C 1931", "D5000", "D65 10"};
    for (int i = 0; i < 3; ++i)
        Option1[i] = named(new QRadioButton(illuminants[i], Frame2), QString("Option1_%1").arg(i));
    Label1 = named(new QLabel("Illuminant C  2°   Standard Observer ", Frame2), "Label1");
    Check1 = named(new QCheckBox("PWD", Frame2), "Check1");
    keepColours(Frame2);

    Frame1 = named(new QGroupBox("Instrument", this), "Frame1");
    Combo1 = named(new QComboBox(Frame1), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Command7 = named(new QPushButton("Calibrate", Frame1), "Command7");
    Command8 = named(new QPushButton("Measure", Frame1), "Command8");
    Label3 = named(new QLabel("Comm Port", Frame1), "Label3");
    Text4 = named(new QLineEdit("1", Frame1), "Text4");
    Text4->setMaximumWidth(40);
    Label24 = named(new QLabel("D65", Frame1), "Label24");
    Label25 = named(new QLabel("A", Frame1), "Label25");

    Text3 = named(new QPlainTextEdit(this), "Text3");
    Text3->setMaximumHeight(52);
    Label23 = named(new QLabel("Messages", this), "Label23");
    Label26 = named(new QLabel("Imported File", this), "Label26");
    Label6 = named(new QLabel(this), "Label6");

    Command2 = named(new QPushButton("Exit", this), "Command2");
    Command9 = named(new QPushButton("About", this), "Command9");
    Command1 = named(new QPushButton("Help", this), "Command1");
    printB = named(new QPushButton("PRINT", this), "printB");
    Command11 = named(new QPushButton("Save to Palette", this), "Command11");
    Command3 = named(new QPushButton("Make Table", this), "Command3");
    importButton = named(new QPushButton("Import", this), "import");
    Check2 = named(new QCheckBox("Display Hue Page", this), "Check2");
    Check3 = named(new QCheckBox("Color Tolerence Set", this), "Check3");
    Check4 = named(new QCheckBox("Display Value Page", this), "Check4");
    Check5 = named(new QCheckBox("Display ColorChecker", this), "Check5");
    Check6 = named(new QCheckBox("Image Analysis", this), "Check6");
    Check7 = named(new QCheckBox("3D Display of HVC ", this), "Check7");
    for (QCheckBox* c : {Check2, Check3, Check4, Check5, Check6, Check7})
        keepColours(c);

    Label21 = named(new QLabel("Huelinx", this), "Label21");
    Label21->setStyleSheet("font-size: 22pt; font-weight: bold; color: #34495e;");
    Label22 =
        named(new QLabel("Munsell  \u2194  CIE XYZ \u00b7 x,y \u00b7 L*a*b* \u00b7 RGB \u00b7 CMYK",
                         this),
              "Label22");
    Label22->setStyleSheet("font-size: 11pt; color: #5d6d7e;");
    boxLabels_ = {Label21, Label22, Label3, Label23, Label26};
}

// One notation: a heading, its boxes with their labels, and the sliders that
// belong to the boxes beside them.
QWidget* Form1::notationGroup(const QString& title, const std::vector<QString>& labels,
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

void Form1::buildLayout() {
    auto* title = new QHBoxLayout;
    auto* names = new QVBoxLayout;
    names->addWidget(Label21);
    names->addWidget(Label22);
    title->addLayout(names);
    title->addStretch(1);
    title->addWidget(Picture2);

    auto* notations = new QHBoxLayout;
    notations->setSpacing(4);
    notations->addWidget(notationGroup("Munsell", {"Hue", "Value", "Chroma"},
                                       {Text12[0], Text12[1], Text12[2]},
                                       {VScroll1, VScroll2, VScroll3}));
    notations->addWidget(
        notationGroup("CIE XYZ", {"X", "Y", "Z"}, {Text11[0], Text11[1], Text11[2]}, {}));
    notations->addWidget(notationGroup("Chromaticity", {"sx", "sy"}, {Text18[0], Text18[1]}, {}));
    notations->addWidget(
        notationGroup("CIE L*a*b*", {"L*", "a*", "b*"}, {Text15[0], Text15[1], Text15[2]}, {}));
    notations->addWidget(notationGroup("Display RGB", {"R", "G", "B"},
                                       {Text1[0], Text1[1], Text1[2]},
                                       {VScroll4, VScroll5, VScroll6}));
    notations->addWidget(
        notationGroup("CMYK", {"C", "M", "Y", "K"}, {Text2[0], Text2[1], Text2[2], Text2[3]}, {}));

    auto* illuminant = new QVBoxLayout(Frame2);
    for (QRadioButton* option : Option1)
        illuminant->addWidget(option);
    illuminant->addWidget(Label1);
    illuminant->addWidget(Check1);

    auto* instrument = new QGridLayout(Frame1);
    instrument->addWidget(Combo1, 0, 0, 1, 3);
    instrument->addWidget(Command7, 1, 0);
    instrument->addWidget(Command8, 1, 1, 1, 2);
    instrument->addWidget(Label3, 2, 0);
    instrument->addWidget(Text4, 2, 1);
    instrument->addWidget(Label24, 3, 0);
    instrument->addWidget(Label25, 3, 1);

    auto* display = new QGridLayout;
    auto* gammaLabel = new QLabel("Gamma", this);
    auto* whiteLabel = new QLabel("White", this);
    boxLabels_.push_back(gammaLabel);
    boxLabels_.push_back(whiteLabel);
    display->addWidget(gammaLabel, 0, 0);
    display->addWidget(Text5, 1, 0);
    display->addWidget(VScroll8, 0, 1, 3, 1);
    display->addWidget(whiteLabel, 0, 2);
    display->addWidget(VScroll7, 1, 2, 2, 1);

    auto* swatch = new QVBoxLayout;
    swatch->addWidget(Picture1, 1);
    swatch->addWidget(Label19, 0, Qt::AlignHCenter);

    auto* middle = new QHBoxLayout;
    middle->addWidget(Frame2, 0, Qt::AlignTop);
    middle->addLayout(swatch, 1);
    middle->addLayout(display);
    middle->addWidget(Frame1, 0, Qt::AlignTop);

    auto* messages = new QGridLayout;
    messages->addWidget(Label23, 0, 0);
    messages->addWidget(Text3, 0, 1);
    messages->addWidget(Label26, 1, 0);
    messages->addWidget(Label6, 1, 1);

    auto* windows = new QGridLayout;
    const QCheckBox* order[6] = {Check2, Check4, Check5, Check3, Check6, Check7};
    for (int i = 0; i < 6; ++i)
        windows->addWidget(const_cast<QCheckBox*>(order[i]), i / 3, i % 3);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command11, Command3, importButton, printB})
        buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {Command1, Command9, Command2})
        buttons->addWidget(b);

    auto* page = new QVBoxLayout(this);
    page->addLayout(title);
    page->addLayout(notations);
    page->addLayout(middle, 1);
    page->addLayout(messages);
    page->addLayout(windows);
    page->addLayout(buttons);
}

void Form1::connectHandlers() {
    for (auto* box : Text12)
        box->onEnter = [this] { vadoro(); };
    for (auto* box : Text11)
        box->onEnter = [this] { xyzEntered(); };
    for (auto* box : Text18)
        box->onEnter = [this] { xyEntered(); };
    for (auto* box : Text15)
        box->onEnter = [this] { labEntered(); };
    for (auto* box : Text1)
        box->onEnter = [this] { Command6_Click(); };
    for (auto* box : Text2)
        box->onEnter = [this] { cmyk(); };
    // What is typed into a box (or put there by another window) becomes the
    // model's text for it; nothing is converted until Enter.
    shownTexts_ = colour_.box;
    const auto boxes = colourBoxes();
    for (std::size_t b = 0; b < boxes.size(); ++b)
        connect(boxes[b], &QLineEdit::textChanged, this,
                [this, b](const QString& text) { boxTyped(static_cast<int>(b), text); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this] { VScroll2_Change(); });
    connect(VScroll3, &QScrollBar::valueChanged, this, [this] { VScroll3_Change(); });
    connect(VScroll4, &QScrollBar::valueChanged, this, [this] { rgbSlider_Change(0); });
    connect(VScroll5, &QScrollBar::valueChanged, this, [this] { rgbSlider_Change(1); });
    connect(VScroll6, &QScrollBar::valueChanged, this, [this] { rgbSlider_Change(2); });
    connect(VScroll7, &QScrollBar::valueChanged, this, [this] { VScroll7_Change(); });
    connect(VScroll8, &QScrollBar::valueChanged, this, [this] { VScroll8_Change(); });
    connect(Text5, &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    for (int i = 0; i < 3; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    Picture1->onMouseDown = [this](int x, int y) { Picture1_MouseDown(x, y); };
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { Text4_Change(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(printB, &QPushButton::clicked, this, [this] { printB_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
    connect(Check4, &QCheckBox::toggled, this, [this] { Check4_Click(); });
    connect(Check5, &QCheckBox::toggled, this, [this] { Check5_Click(); });
    connect(Check6, &QCheckBox::toggled, this, [this] { Check6_Click(); });
    connect(Check7, &QCheckBox::toggled, this, [this] { Check7_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(importButton, &QPushButton::clicked, this, [this] { import_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
}

} // namespace huelinx
