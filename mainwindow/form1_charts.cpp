// The chart windows of the main window's check boxes: the hue page, the value
// page, the tolerance set and the ColorChecker. Each is created when first
// shown, hidden (not closed) when its box is cleared, and kept current while
// its box stays checked.
#include "charts/book.h"
#include "charts/book2.h"
#include "charts/cchecker.h"
#include "charts/ctol.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "text/number_read.h"

#include <QCheckBox>

namespace huelinx {

namespace {

// The chart window, created on first use as a window of its own that the
// main window owns, and shown.
template <class Chart> Chart* shown(QPointer<Chart>& chart, Form1& main, Program& program) {
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

void Form1::Check2_Click() {
    if (!Check2->isChecked()) return hideChart(book_);
    shown(book_, *this, program_)->fillbook();
}

void Form1::Check3_Click() {
    if (!Check3->isChecked()) return hideChart(ctol_);
    shown(ctol_, *this, program_)
        ->MakeCTol(boxNumber(Text15[0]), boxNumber(Text15[1]), boxNumber(Text15[2]));
}

void Form1::Check4_Click() {
    if (!Check4->isChecked()) return hideChart(book2_);
    float value = boxNumber(Text12[1]);
    shown(book2_, *this, program_)->plotvalue(value);
}

void Form1::Check5_Click() {
    if (!Check5->isChecked()) return hideChart(checker_);
    shown(checker_, *this, program_)->fillCC();
}

void Form1::refreshPages() {
    // The conversion has reported a hue without a family itself.
    if (Check2->isChecked()) shown(book_, *this, program_)->fillbook(false);
    if (Check4->isChecked()) {
        float value = boxNumber(Text12[1]);
        shown(book2_, *this, program_)->plotvalue(value);
    }
}

void Form1::refreshToleranceSet(float L, float a, float b) {
    if (Check3->isChecked()) shown(ctol_, *this, program_)->MakeCTol(L, a, b);
}

void Form1::refreshColorChecker() {
    if (checker_ && checker_->isVisible()) checker_->fillCC();
}

} // namespace huelinx
