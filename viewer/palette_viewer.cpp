#include "viewer/palette_viewer.h"

#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"
#include "platform/standard_colours.h"
#include "text/number_format.h"
#include "viewer/viewer_surface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

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

QScrollBar* slider(const QString& name, Qt::Orientation o, int min, int max, int page, int value,
                   QWidget* parent) {
    auto* s = new QScrollBar(o, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setPageStep(page);
    s->setValue(value);
    return s;
}

} // namespace

PaletteViewer::PaletteViewer(ColourHost& host, Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), program_(program) {
    setObjectName("Form3");
    setWindowTitle("Vantorix 3D Munsell Palette Viewer");
    pointHVC.resize(capacity + 1);
    pointRGB.resize(capacity + 1);
    pointTag.resize(capacity + 1);
    pointHue.resize(capacity + 1);
    pointScreen.resize(capacity + 1);
    buildControls();
    buildLayout();
    lastView_ = viewFromSliders(HScroll1->value(), VScroll1->value(), VScroll2->value(),
                                HScroll2->value(), VScroll3->value());
}

void PaletteViewer::buildControls() {
    menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu("&File");
    mnuNewPalette = file->addAction("&New Palette", this, [this] { mnuNewPalette_Click(); });
    mnuOpenPalette = file->addAction("&Open Palette", this, [this] { GetData(0); });
    mnuExit = file->addAction("e&Xit", this, [this] { hide(); });
    mnuHelp = menuBar->addAction("&Help", this, [this] { mnuHelp_Click(); });

    Picture1 = new ViewerSurface(this);
    Picture1->onMouseDown = [this](int b, int x, int y) { Picture1_MouseDown(b, x, y); };
    HScroll1 = slider("HScroll1", Qt::Horizontal, -180, 180, 20, 0, this);
    VScroll1 = slider("VScroll1", Qt::Vertical, 0, 90, 10, 15, this);
    VScroll2 = slider("VScroll2", Qt::Vertical, 1, 40, 5, 20, this);
    HScroll2 = slider("HScroll2", Qt::Horizontal, 0, 800, 20, 400, this);
    VScroll3 = slider("VScroll3", Qt::Vertical, 0, 400, 20, 200, this);
    HScroll3 = slider("HScroll3", Qt::Horizontal, 1, 100, 1, 1, this);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { drawPalette(); });
    connect(VScroll3, &QScrollBar::valueChanged, this, [this] { drawPalette(); });

    Command1 = new QPushButton("Rotate", this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("Stop", this);
    Command2->setObjectName("Command2");
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Timer1 = new QTimer(this);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer2 = new QTimer(this);
    Timer2->setInterval(10);
    connect(Timer2, &QTimer::timeout, this, [this] { drawPalette(); });
    Timer2->start();

    Check1 = new QCheckBox("Display sample #", this);
    Check1->setObjectName("Check1");
    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    for (int i = 0; i < 2; ++i) {
        Text3[i] = new QLineEdit(this);
        Text3[i]->setObjectName(QString("Text3_%1").arg(i));
        Text4[i] = new QLineEdit(this);
        Text4[i]->setObjectName(QString("Text4_%1").arg(i));
    }
    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape2 = new QFrame(this);
    Shape2->setObjectName("Shape2");
    for (QFrame* shape : {Shape1, Shape2}) {
        shape->setFrameShape(QFrame::Box);
        shape->setAutoFillBackground(true);
        shape->setMinimumSize(60, 40);
    }
}

void PaletteViewer::buildLayout() {
    auto* identify = new QGroupBox("ID a Color", this);
    auto* id = new QGridLayout(identify);
    id->addWidget(new QLabel("Left-Click ", identify), 0, 0);
    id->addWidget(Shape1, 1, 0, 2, 1);
    id->addWidget(Text3[0], 1, 1);
    id->addWidget(Text4[0], 2, 1);
    id->addWidget(new QLabel("Right-Click ", identify), 3, 0);
    id->addWidget(Shape2, 4, 0, 2, 1);
    id->addWidget(Text3[1], 4, 1);
    id->addWidget(Text4[1], 5, 1);

    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menuBar);
    grid->addWidget(new QLabel("Tilt", this), 0, 0);
    grid->addWidget(VScroll1, 1, 0);
    grid->addWidget(Picture1, 1, 1, 1, 2);
    auto* zoom = new QGridLayout;
    zoom->addWidget(new QLabel("Zoom +", this), 0, 0);
    zoom->addWidget(VScroll2, 1, 0);
    zoom->addWidget(new QLabel("Zoom -", this), 2, 0);
    zoom->addWidget(new QLabel("Pan Y", this), 0, 1);
    zoom->addWidget(VScroll3, 1, 1);
    grid->addLayout(zoom, 1, 3);
    grid->addWidget(new QLabel("   -180               Rotate                +180", this), 2, 1, 1,
                    2);
    grid->addWidget(HScroll1, 3, 1, 1, 2);
    grid->addWidget(new QLabel("Pan X", this), 4, 0);
    grid->addWidget(HScroll2, 4, 1, 1, 2);
    grid->addWidget(new QLabel("Fast           Slow", this), 5, 0);
    grid->addWidget(HScroll3, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Check1);
    grid->addLayout(buttons, 5, 2);
    grid->addWidget(new QLabel("< Left-Click or Right-click on dot to identify >", this), 6, 1, 1,
                    2);
    grid->addWidget(Text1, 7, 0, 1, 4);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel("Palette", this));
    side->addWidget(List1, 1);
    side->addWidget(new QLabel("< Click on color to identify with white dot >", this));
    side->addWidget(identify);
    grid->addLayout(side, 0, 4, 8, 1);
    grid->setColumnStretch(4, 1);
    List1->setMinimumWidth(330);
}

void PaletteViewer::start() {
    show();
    program_.platform.processEvents();
    GetData(1);
    Command1_Click();
}

void PaletteViewer::setStatus(const QString& text, int standardColourIndex) {
    Text1->setText(text);
    setRoleColour(Text1, QPalette::Base, standardColour(standardColourIndex));
}

void PaletteViewer::Command1_Click() {
    Timer1->start();
    setRoleColour(Command2, QPalette::Button, green);
    setRoleColour(Command1, QPalette::Button, red);
}

void PaletteViewer::Command2_Click() {
    Timer1->stop();
    setRoleColour(Command2, QPalette::Button, red);
    setRoleColour(Command1, QPalette::Button, green);
}

void PaletteViewer::Timer1_Timer() {
    Timer1->setInterval(HScroll3->value());
    if (HScroll1->value() < 180)
        HScroll1->setValue(HScroll1->value() + 1);
    else
        HScroll1->setValue(-180);
}

void PaletteViewer::mnuNewPalette_Click() {
    program_.platform.message(newPaletteText);
    host_.hostWindow().show();
}

void PaletteViewer::mnuHelp_Click() {
    program_.platform.message(helpText);
}

void PaletteViewer::Picture1_MouseDown(int button, int px, int py) {
    // Only the left and right buttons pick, and only when there are dots.
    if ((button != 1 && button != 2) || pointCount == 0) return;
    const ViewPoint at = Picture1->toUnits(px, py);
    const int sel = pickEntry(pointScreen, pointCount, at.x, at.y);
    if (sel == 0) return;
    if (sel - 1 < List1->count()) List1->setCurrentRow(sel - 1);
    const int b = button - 1;
    Text3[b]->setText(pointTag[sel]);
    Text4[b]->setText(pointHue[sel] + " " +
                      QString::fromStdString(formatNumber(pointHVC[sel][1], "##.00")) + "/" +
                      QString::fromStdString(formatNumber(pointHVC[sel][2], "##.00")));
    QFrame* shape = button == 1 ? Shape1 : Shape2;
    setRoleColour(shape, QPalette::Window,
                  QColor(pointRGB[sel][0], pointRGB[sel][1], pointRGB[sel][2]));
}

void PaletteViewer::closeEvent(QCloseEvent* event) {
    event->accept();
    Timer1->stop();
    Timer2->stop();
    setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace huelinx
