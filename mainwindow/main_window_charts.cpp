// The chart windows of the main window's check boxes: the hue page, the value
// page, the tolerance set and the ColorChecker. Each is created when first
// shown, hidden (not closed) when its box is cleared, and kept current while
// its box stays checked.
#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "text/number_read.h"

#include <QCheckBox>

namespace huelinx {

namespace {

// The chart window, created on first use as a window of its own that the
// main window owns, and shown.
template <class Chart> Chart* shown(QPointer<Chart>& chart, MainWindow& main, Program& program) {
    if (!chart) chart = new Chart(main, program, &main);
    chart->show();
    return chart.data();
}

template <class Chart> void hideChart(QPointer<Chart>& chart) {
    if (chart) chart->hide();
}

// A box of the main window read as a number by the leading-number rule (no
// number reads as 0), so a half-typed box never stops a chart.
float boxNumber(const QLineEdit* box) {
    return static_cast<float>(leadingNumber(box->text().toStdString()));
}

} // namespace

void MainWindow::onHuePageToggled() {
    if (!huePageCheck->isChecked()) return hideChart(book_);
    shown(book_, *this, program_)->showHuePage();
}

void MainWindow::onToleranceSetToggled() {
    if (!toleranceSetCheck->isChecked()) return hideChart(ctol_);
    shown(ctol_, *this, program_)
        ->buildAround(boxNumber(labBoxes[0]), boxNumber(labBoxes[1]), boxNumber(labBoxes[2]));
}

void MainWindow::onValuePageToggled() {
    if (!valuePageCheck->isChecked()) return hideChart(book2_);
    float value = boxNumber(munsellBoxes[1]);
    shown(book2_, *this, program_)->showValuePage(value);
}

void MainWindow::onColorCheckerToggled() {
    if (!colorCheckerCheck->isChecked()) return hideChart(checker_);
    shown(checker_, *this, program_)->drawChart();
}

void MainWindow::refreshPages() {
    // The conversion has reported a hue without a family itself.
    if (huePageCheck->isChecked()) shown(book_, *this, program_)->showHuePage(false);
    if (valuePageCheck->isChecked()) {
        float value = boxNumber(munsellBoxes[1]);
        shown(book2_, *this, program_)->showValuePage(value);
    }
}

void MainWindow::refreshToleranceSet(float L, float a, float b) {
    if (toleranceSetCheck->isChecked()) shown(ctol_, *this, program_)->buildAround(L, a, b);
}

void MainWindow::refreshColorChecker() {
    if (checker_ && checker_->isVisible()) checker_->drawChart();
}

} // namespace huelinx
