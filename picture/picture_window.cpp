#include "picture/picture_window.h"

#include "colour/colour_naming.h"
#include "mainwindow/file_drop.h"
#include "picture/picture_surface.h"
#include "platform/picture_filter.h"
#include "platform/platform.h"
#include "platform/standard_colours.h"
#include "session/session.h"
#include "text/number_format.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace huelinx {

namespace {

const char* const helpText =
    "Displays Munsell Notation of Selected Pixels of Pictures on Your computer\r\n"
    "\r\n"
    "Load Picture: Navigate and Load a picture to display\r\n"
    "\r\n"
    "Options: \r\n"
    "   Display Modes> Click or continuous Display of Munsell Notation\r\n"
    "   Sample Size> Number of pixels to average\r\n"
    "\r\n"
    "Make Palette of Image - Makes a palette file of Munsell Notation for all pixels in a "
    "picture\r\n"
    "\r\n"
    "Get Clipboard - Loads the clipboard as a picture from other image programs like Paint\r\n"
    "\r\n"
    "View 3D Palette - Displays Palette in 3D display\r\n"
    "\r\n"
    "Chart> Calibrate with chart - Click the centres of the chart's corner patches "
    "(dark skin, bluish green, black, white); readings are then measurements. Drag a "
    "corner to move it. Mark grey reference - Click a grey card beside the sample and give "
    "its Y\r\n";

QLineEdit* line(const QString& name, const QString& text, QWidget* parent) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

} // namespace

PictureWindow::PictureWindow(Session& session, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), platform_(platform) {
    setObjectName("Form2");
    setWindowTitle("Munsell Notation Picture Analysis");
    picture = new PictureSurface("Picture1", this);
    picture->onMouseDown = [this](int x, int y, Qt::MouseButton) { onPictureClicked(x, y); };
    picture->onMouseMove = [this](int x, int y) { onPictureMouseMove(x, y); };
    picture->onMouseUp = [this](int x, int y) { onPictureReleased(x, y); };
    picture->tooltipAt = [this](int x, int y) { return chartTooltipAt(x, y); };
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(picture);
    statusBox = line("Text1", "", this);
    fileNameBox = line("Text2", "", this);
    widthBox = line("Text3", "", this);
    heightBox = line("Text4", "", this);
    notationBox = line("Text5", "Click on picture to display Munsell Notation", this);
    positionBox = line("Text6", "Pixel Location", this);
    colourBox = line("Text7", "", this);
    colourBox->setAutoFillBackground(true);
    widthBox->setMaximumWidth(70);
    heightBox->setMaximumWidth(70);
    colourBox->setMaximumWidth(90);
    buildMenus();

    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menuBar);
    grid->addWidget(scroll_, 0, 0, 1, 4);
    grid->addWidget(notationBox, 1, 0, 1, 3);
    grid->addWidget(colourBox, 1, 3, 2, 1);
    grid->addWidget(positionBox, 2, 0, 1, 3);
    grid->addWidget(new QLabel("Picture", this), 3, 0);
    grid->addWidget(fileNameBox, 3, 1);
    grid->addWidget(widthBox, 3, 2);
    grid->addWidget(heightBox, 3, 3);
    grid->addWidget(statusBox, 4, 0, 1, 4);
    grid->setRowStretch(0, 1);
    resize(720, 620);
    setAcceptDrops(true);
}

void PictureWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (carriesLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void PictureWindow::dropEvent(QDropEvent* event) {
    if (!carriesLocalFiles(event->mimeData())) return;
    event->acceptProposedAction();
    openDroppedFiles(session_, platform_, *event->mimeData());
}

void PictureWindow::buildMenus() {
    menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu("&File");
    loadPictureAction = file->addAction("&Load Picture", this, [this] { loadPicture(true); });
    exitAction = file->addAction("e&Xit", this, [this] {
        if (onClosed) onClosed();
    });
    QMenu* options = menuBar->addMenu("&Options");
    QMenu* modes = options->addMenu("&Display Mode ");
    clickModeAction = modes->addAction("&Mouse Click", this, [this] { clickMode = true; });
    continuousModeAction =
        modes->addAction("&Continuous at Mouse Position", this, [this] { clickMode = false; });
    QMenu* sizes = options->addMenu("Sample Pixels");
    const char* counts[5] = {"1", "9", "25", "49", "81"};
    for (int i = 0; i < 5; ++i)
        sampleSizeActions[i] = sizes->addAction(counts[i], this, [this, i] { setSampleSize(i); });
    QMenu* chartMenu = menuBar->addMenu("&Chart");
    calibrateChartAction =
        chartMenu->addAction("Calibrate with chart", this, [this] { onCalibrateChart(); });
    greyReferenceAction =
        chartMenu->addAction("Mark grey reference", this, [this] { onMarkGreyReference(); });
    clearCalibrationAction =
        chartMenu->addAction("Clear calibration", this, [this] { onClearCalibration(); });
    linearValuesAction =
        chartMenu->addAction("Linear picture values", this, [this] { onLinearValues(); });
    linearValuesAction->setCheckable(true);
    makePaletteAction =
        menuBar->addAction("&Make Palette of Image", this, [this] { makePicturePalette(); });
    clipboardAction = menuBar->addAction("get clipboard", this, [this] { getClipboard(); });
    view3DAction = menuBar->addAction("&View 3D Palette", this, [this] { onView3D(); });
    helpAction = menuBar->addAction("&Help", this, [this] { onHelp(); });
    // Scripts and tests find menu items by these names.
    const std::pair<QAction*, const char*> names[] = {
        {loadPictureAction, "mnuLoadPicture"},
        {exitAction, "mnuExit"},
        {clickModeAction, "mnuMouseClick"},
        {continuousModeAction, "mnuContinuous"},
        {makePaletteAction, "mnuMakePalette"},
        {clipboardAction, "mnuClipboard"},
        {view3DAction, "mnuView3D"},
        {helpAction, "mnuHelp"},
        {calibrateChartAction, "calibrateChartAction"},
        {greyReferenceAction, "greyReferenceAction"},
        {clearCalibrationAction, "clearCalibrationAction"},
        {linearValuesAction, "linearValuesAction"}};
    for (const auto& [action, name] : names)
        action->setObjectName(name);
    for (int i = 0; i < 5; ++i)
        sampleSizeActions[i]->setObjectName(QString("mnuSample_%1").arg(i));
}

void PictureWindow::start() {
    setSampleSize(4);
    clickMode = true;
    pictureFile = "TestImage.jpg";
    loadPicture(false);
}

void PictureWindow::setSampleSize(int index) {
    sampleRadius = index;
    sampleCount = (2 * index + 1) * (2 * index + 1);
}

void PictureWindow::setStatus(const QString& text, int standardColourIndex) {
    statusBox->setText(text);
    setRoleColour(statusBox, QPalette::Base, standardColour(standardColourIndex));
}

void PictureWindow::newPicture() {
    setStatus("", 15);
    paletteMade = false;
}

void PictureWindow::loadPicture(bool withDialog) {
    view3DAction->setVisible(false);
    if (!withDialog) {
        readPicture(false);
        return;
    }
    // A cancelled dialog keeps the picture shown.
    const QString chosen =
        platform_.openFileName(pictureFileFilter(), QString::fromStdString(session_.lastFolder));
    if (chosen.isEmpty()) return;
    session_.choseFile(chosen.toStdString());
    openPicture(chosen);
}

void PictureWindow::openPicture(const QString& path) {
    view3DAction->setVisible(false);
    pictureFile = path;
    newPicture();
    if (readPicture(true)) session_.addRecent(RecentFiles::Kind::Picture, path.toStdString());
}

bool PictureWindow::readPicture(bool userFile) {
    if (pictureFile.isEmpty()) return false;
    chart.clear();
    calibrationFile.clear();
    fileNameBox->setText(pictureFile);
    QString base = pictureFile.left(pictureFile.size() - 4);
    base = base.mid(std::max(base.lastIndexOf('\\'), base.lastIndexOf('/')) + 1);
    session_.palette().setFile(base.toStdString());

    const QString path =
        userFile
            ? pictureFile
            : QString::fromStdString(session_.resources().locate(pictureFile.toStdString()).path);
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        // Qt reads no TIFF: the photo reader decodes it with its 16 bits.
        const auto read = photo::readPicture(path.toStdString());
        if (read.value) image = pictureImage(*read.value);
    }
    picture->setPicture(image);
    fitToPicture();
    widthBox->setText(QString::number(picture->pictureWidth()));
    heightBox->setText(QString::number(picture->pictureHeight()));
    if (image.isNull()) {
        platform_.message("The picture \"" + pictureFile +
                          "\" can't be read: " + reader.errorString());
        return false;
    }
    // A picture the user chose keeps its calibration beside it; the
    // program's own picture in its data folder gets none.
    if (userFile) {
        calibrationFile = path + ".calibration.txt";
        calibrationSerial_ = picture->pictureSerial();
        loadSavedCalibration();
    }
    const QSize screen = platform_.screenSize();
    if (screen.width() < image.width() || screen.height() < image.height())
        platform_.message(
            "Picture too big - Resize or select a section with an external image editing program");
    platform_.processEvents();
    return true;
}

void PictureWindow::fitToPicture() {
    const QSize screen = platform_.screenSize();
    const QSize wanted = picture->size() + QSize(4, 4);
    scroll_->setMinimumSize(wanted.boundedTo(QSize(screen.width() * 3 / 4, screen.height() * 2 / 3))
                                .expandedTo(QSize(320, 240)));
    adjustSize();
}

void PictureWindow::getClipboard() {
    const QImage image = QGuiApplication::clipboard()->image();
    chart.clear();
    calibrationFile.clear();
    picture->setPicture(image);
    fitToPicture();
    setStatus("", 15);
    if (image.isNull()) {
        platform_.message("Clipboard empty or Picture too big");
        return;
    }
    view3DAction->setVisible(false);
    drawingSize = QSize(image.width() > 500 ? image.width() + 10 : 1024,
                        image.height() > 350 ? image.height() + 10 : 768);
    widthBox->setText(QString::number(image.width()));
    heightBox->setText(QString::number(image.height()));
    newPicture();
}

void PictureWindow::flashBlock(int x, int y, long sum[3]) {
    const int k = sampleRadius;
    for (int px = x - k; px <= x + k; ++px)
        for (int py = y - k; py <= y + k; ++py) {
            const long c = picture->pixel(px, py);
            picture->setPixel(px, py, c ^ 0xFFFFFF);
            for (int i = 0; i < 3; ++i)
                sum[i] += (c >> (8 * i)) & 0xFF;
        }
    // Let the inverted block show for a moment, then put it back.
    platform_.processEvents();
    const double start = platform_.secondsSinceMidnight();
    for (;;) {
        double passed = platform_.secondsSinceMidnight() - start;
        if (passed < 0) passed += 86400.0;
        if (passed >= 0.2) break;
        QThread::msleep(1);
    }
    for (int px = x - k; px <= x + k; ++px)
        for (int py = y - k; py <= y + k; ++py)
            picture->setPixel(px, py, picture->pixel(px, py) ^ 0xFFFFFF);
}

ColourModel PictureWindow::displayReading(ColourModel colour, const long sum[3], Change what) {
    // The block's colour goes into the main window's R, G, B boxes and is
    // converted there unless a channel is at the end of its range.
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = static_cast<int>(std::floor(static_cast<double>(sum[i]) / sampleCount + 0.5));
        colour = edit(std::move(colour), rgbBox(i), std::to_string(rgb[i]));
    }
    const bool edge = std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; });
    if (!edge) {
        platform_.processEvents();
        colour = enterRgb(std::move(colour), session_.table());
        sampling = false;
    }
    session_.setColour(colour, what, this);
    return colour;
}

void PictureWindow::showNotationAt(int x, int y, bool hovering) {
    if (picture->isEmpty()) return;
    sampling = true;
    long sum[3] = {0, 0, 0};
    flashBlock(x, y, sum);
    positionBox->setText("Position  X =" + QString::fromStdString(signedText(x)) +
                         "  Y =" + QString::fromStdString(signedText(y)));
    ColourModel colour = session_.colour();
    std::vector<std::string> notes;
    std::string problem;
    const int k = sampleRadius;
    // Calibrated, the block is read as a measurement of the sample, and never
    // as display RGB instead when it can't be.
    const bool calibrated = chart.fit() && readCalibrated({x - k, y - k, 2 * k + 1, 2 * k + 1},
                                                          colour, &notes, &problem);
    if (chart.fit() && !calibrated) {
        sampling = false;
        notationBox->setText("Not read: " + QString::fromStdString(problem));
        notationBox->setToolTip(notationBox->text());
        return;
    }
    if (calibrated) {
        session_.setColour(colour, hovering ? Change::Hover : Change::Measurement, this);
        sampling = false;
    } else {
        colour = displayReading(std::move(colour), sum, hovering ? Change::Hover : Change::Entry);
    }
    const auto text = [&colour](Box b) { return QString::fromStdString(colour[b]); };
    // The name, when the notation has one, follows the notation.
    const std::string name = nameText(isccNbsNameOf(colour, session_.resources().names()));
    notationBox->setText("Hue = " + text(Box::Hue) + "   Value = " + text(Box::Value) +
                         "   Chroma = " + text(Box::Chroma) +
                         (name.empty() ? QString() : "   Name = " + QString::fromStdString(name)) +
                         (calibrated ? "   " + calibratedNote(notes) : QString()));
    // A line wider than its box shows its start; the whole reading is its tooltip.
    notationBox->setCursorPosition(0);
    notationBox->setToolTip(notationBox->text());
    setRoleColour(colourBox, QPalette::Base, QColor(colour.red, colour.green, colour.blue));
}

void PictureWindow::onPictureClicked(int x, int y) {
    if (chartClick(x, y)) return;
    if (clickMode) showNotationAt(x, y);
}

void PictureWindow::onPictureMouseMove(int x, int y) {
    if (draggedCorner_ >= 0) {
        // A shake of the hand is no move.
        dragMoved_ = dragMoved_ || (QPoint(x, y) - dragStart_).manhattanLength() > 2;
        if (!dragMoved_) return;
        chart.moveCorner(draggedCorner_, {double(x), double(y)});
        showChartMarks();
        return;
    }
    if (clickMode || sampling) return;
    showNotationAt(x, y, true);
    sampling = false;
}

void PictureWindow::onHelp() {
    {
        const Session::Busy aside(session_);
        platform_.message(helpText, Buttons::Ok, Icon::None, "Options");
    }
    activateWindow();
}

void PictureWindow::onView3D() {
    session_.paletteViewWanted.send();
}

void PictureWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    setAttribute(Qt::WA_DeleteOnClose);
    if (onClosed) onClosed();
}

} // namespace huelinx
