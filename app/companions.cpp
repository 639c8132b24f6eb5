#include "app/companions.h"

#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"
#include "colour/colour_model.h"
#include "picture/picture_window.h"
#include "session/session.h"
#include "text/number_read.h"
#include "viewer/palette_viewer.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QWidget>

namespace huelinx {

namespace {

// The main window's check boxes by object name.
constexpr const char* huePageBox = "Check2";
constexpr const char* toleranceSetBox = "Check3";
constexpr const char* valuePageBox = "Check4";
constexpr const char* colorCheckerBox = "Check5";
constexpr const char* pictureBox = "Check6";
constexpr const char* viewerBox = "Check7";

// A cleared box hides its window (when it has been made); true then.
template <class Window> bool hiddenUnlessShown(const QPointer<Window>& window, bool shown) {
    if (shown) return false;
    if (window) window->hide();
    return true;
}

// A box of the current colour read by the leading-number rule (no number
// reads as 0), so a half-typed box never stops a chart.
float boxNumber(const ColourModel& colour, Box box) {
    return static_cast<float>(leadingNumber(colour[box]));
}

} // namespace

Companions::Companions(Session& session, Platform& platform, QWidget& mainWindow)
    : QObject(&mainWindow), session_(session), platform_(platform), main_(mainWindow) {
    tie(huePageBox, &Companions::onHuePage);
    tie(toleranceSetBox, &Companions::onToleranceSet);
    tie(valuePageBox, &Companions::onValuePage);
    tie(colorCheckerBox, &Companions::onColorChecker);
    tie(pictureBox, &Companions::onPicture);
    tie(viewerBox, &Companions::onViewer);
    viewWanted_ = session.paletteViewWanted.connect([this] { viewCurrentPalette(); });
    openWanted_ = session.paletteOpenWanted.connect([this] { openPalette(); });
    paletteFileWanted_ = session.paletteFileWanted.connect(
        [this](const std::string& path) { openPaletteFile(path); });
    pictureFileWanted_ = session.pictureFileWanted.connect(
        [this](const std::string& path) { openPictureFile(path); });
}

Companions::~Companions() {
    // The windows of their own go with the program; the charts go with the
    // main window that holds them.
    delete picture_.data();
    delete viewer_.data();
}

HuePage* Companions::huePage() const {
    return huePage_;
}
ValuePage* Companions::valuePage() const {
    return valuePage_;
}
ToleranceSet* Companions::toleranceSet() const {
    return toleranceSet_;
}
ColorCheckerChart* Companions::colorChecker() const {
    return colorChecker_;
}
PictureWindow* Companions::picture() const {
    return picture_;
}
PaletteViewer* Companions::viewer() const {
    return viewer_;
}

QCheckBox* Companions::box(const char* name) const {
    return main_.findChild<QCheckBox*>(name);
}

void Companions::tie(const char* boxName, void (Companions::*toggled)(bool)) {
    if (QCheckBox* check = box(boxName))
        connect(check, &QCheckBox::toggled, this,
                [this, toggled](bool on) { (this->*toggled)(on); });
}

template <class Chart> Chart& Companions::ensureChart(QPointer<Chart>& chart, const char* boxName) {
    if (!chart) {
        chart = new Chart(session_, platform_, &main_);
        // Closing a chart is the same as clearing its check box.
        chart->onClosed = [this, boxName] {
            if (QCheckBox* check = box(boxName)) check->setChecked(false);
        };
    }
    chart->show();
    return *chart;
}

void Companions::onHuePage(bool shown) {
    if (hiddenUnlessShown(huePage_, shown)) return;
    ensureChart(huePage_, huePageBox).showHuePage();
}

void Companions::onToleranceSet(bool shown) {
    if (hiddenUnlessShown(toleranceSet_, shown)) return;
    const ColourModel& c = session_.colour();
    ensureChart(toleranceSet_, toleranceSetBox)
        .buildAround(boxNumber(c, Box::L), boxNumber(c, Box::A), boxNumber(c, Box::B));
}

void Companions::onValuePage(bool shown) {
    if (hiddenUnlessShown(valuePage_, shown)) return;
    ensureChart(valuePage_, valuePageBox).showCurrentValue();
}

void Companions::onColorChecker(bool shown) {
    if (hiddenUnlessShown(colorChecker_, shown)) return;
    ensureChart(colorChecker_, colorCheckerBox).drawChart();
}

void Companions::onPicture(bool shown) {
    if (hiddenUnlessShown(picture_, shown)) return;
    if (!picture_) {
        picture_ = new PictureWindow(session_, platform_);
        picture_->onClosed = [this] {
            if (QCheckBox* check = box(pictureBox)) check->setChecked(false);
        };
        picture_->start();
    }
    picture_->show();
    picture_->activateWindow();
}

PaletteViewer& Companions::ensureViewer() {
    // Its start-up loads the remembered palette.
    if (!viewer_) {
        // Closing it destroys it and clears its box, as closing a chart does.
        viewer_ = new PaletteViewer(session_, platform_);
        viewer_->onClosed = [this] {
            if (QCheckBox* check = box(viewerBox)) check->setChecked(false);
        };
        viewer_->start();
    }
    return *viewer_;
}

void Companions::onViewer(bool shown) {
    if (hiddenUnlessShown(viewer_, shown)) return;
    ensureViewer().show();
}

void Companions::viewCurrentPalette() {
    PaletteViewer& viewer = ensureViewer();
    // The box says the viewer is shown, without showing it a second time.
    if (QCheckBox* check = box(viewerBox)) {
        const QSignalBlocker quiet(check);
        check->setChecked(true);
    }
    viewer.showCurrentPalette();
}

PaletteViewer& Companions::viewerInFront() {
    // Ticking the box shows the viewer, made and started on its first showing.
    if (QCheckBox* check = box(viewerBox); check && !check->isChecked()) check->setChecked(true);
    PaletteViewer& viewer = ensureViewer();
    viewer.show();
    viewer.raise();
    return viewer;
}

void Companions::openPalette() {
    viewerInFront().loadPalette(PaletteSource::Chosen);
}

void Companions::openPaletteFile(const std::string& path) {
    viewerInFront().loadPaletteFile(QString::fromStdString(path));
}

void Companions::openPictureFile(const std::string& path) {
    // Ticking the box shows the picture window, made and started on its first showing.
    if (QCheckBox* check = box(pictureBox); check && !check->isChecked())
        check->setChecked(true);
    else
        onPicture(true);
    if (picture_) picture_->openPicture(QString::fromStdString(path));
}

} // namespace huelinx
