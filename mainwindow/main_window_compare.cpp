// "Compare with…": the current colour against a second one (a notation typed,
// a previous colour, a row of the palette) as soil colours: their contrast
// class, CIEDE2000 and steps in one line in Messages. The current colour and
// the history stay as they are.
#include "colour/colour_naming.h"
#include "colour/hue.h"
#include "colour/typed_colour.h"
#include "mainwindow/main_window.h"
#include "platform/qt_text.h"
#include "session/soil_comparison.h"
#include "text/excerpt.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace huelinx {

namespace {

const char* const typeItem = "Type a notation\u2026";
const char* const title = "Compare with";

// A colour of the history as a notation; none for one without a notation.
std::optional<SoilNotation> notationOfColour(const ColourModel& colour) {
    const auto munsell = munsellOf(colour);
    if (!munsell) return std::nullopt;
    return SoilNotation{historyLabel(colour), *munsell};
}

} // namespace

void MainWindow::buildCompareControls() {
    compareButton = new QPushButton("Compare with\u2026", this);
    compareButton->setObjectName("compareButton");
    compareButton->setToolTip("Compare the colour with a notation typed, a previous colour or "
                              "a palette row: their soil contrast class, \u0394E00 and steps");
    connect(compareButton, &QPushButton::clicked, this, [this] { onCompare(); });
}

void MainWindow::addCompareAction() {
    editMenu->addSeparator();
    compareAction = editMenu->addAction("Co&mpare With\u2026");
    compareAction->setObjectName("compareAction");
    connect(compareAction, &QAction::triggered, this, [this] { onCompare(); });
    moistAction = editMenu->addAction("Keep as M&oist Reading");
    moistAction->setObjectName("moistAction");
    moistAction->setToolTip("Record the colour as the soil sample's moist reading in the next "
                            "record saved to the palette");
    connect(moistAction, &QAction::triggered, this, [this] { onKeepReading(false); });
    dryAction = editMenu->addAction("Keep as D&ry Reading");
    dryAction->setObjectName("dryAction");
    dryAction->setToolTip("Record the colour as the soil sample's dry reading in the next "
                          "record saved to the palette");
    connect(dryAction, &QAction::triggered, this, [this] { onKeepReading(true); });
}

std::optional<SoilNotation> MainWindow::chooseSecondColour(QString& refusal) {
    // The list: typing, the previous colours with a notation (the first of
    // the history is the current colour), the palette's rows.
    QStringList items{typeItem};
    std::vector<SoilNotation> offered;
    const auto& recent = session_.history().recent();
    for (std::size_t i = 1; i < recent.size(); ++i) {
        if (auto n = notationOfColour(recent[i])) {
            items << "Previous colour " + qs(n->text);
            offered.push_back(std::move(*n));
        }
    }
    for (const PaletteEntry& e : session_.palette().entries()) {
        const auto& t = e.notation;
        if (auto n = soilNotation(notationText(t[0], t[1], t[2]))) {
            items << QString("Palette row %1 (%2) %3").arg(e.line).arg(qs(e.tag), qs(n->text));
            offered.push_back(std::move(*n));
        }
    }
    const QString chosen = platform_.choose("Compare the colour with", items, title);
    if (chosen.isEmpty()) return std::nullopt;
    if (chosen != typeItem) return offered[static_cast<std::size_t>(items.indexOf(chosen) - 1)];

    const QString typed =
        platform_.inputBox("A Munsell notation to compare the colour with (\"10YR 6/3\")", title);
    if (typed.trimmed().isEmpty()) return std::nullopt;
    const auto read = readTypedColour(typed.toStdString());
    std::optional<SoilNotation> n;
    if (read && read->notation == Notation::Munsell) n = soilNotation(typedColourText(*read));
    if (!n)
        refusal = "Compare with takes a Munsell notation; \"" + qs(excerpt(typed.toStdString())) +
                  "\" is none";
    return n;
}

void MainWindow::onCompare() {
    const auto first = notationOfColour(colour());
    if (!first) {
        showNote("Compare with: the colour has no Munsell notation to compare");
        return;
    }
    QString refusal;
    const auto second = chooseSecondColour(refusal);
    if (!second) {
        if (!refusal.isEmpty()) showNote(refusal);
        return;
    }
    SoilComparer comparer(session_.table(), settings());
    showNote(qs(soilContrastLine(comparer, *first, *second)));
}

void MainWindow::onKeepReading(bool dry) {
    const char* const which = dry ? "dry" : "moist";
    const auto reading = notationOfColour(colour());
    if (!reading) {
        showNote(QString("Keep as %1 reading: the colour has no Munsell notation").arg(which));
        return;
    }
    PaletteDocument& palette = session_.palette();
    palette.keepReading(dry, reading->text);
    QString note = QString("%1 kept as the %2 reading for the next record saved")
                       .arg(qs(reading->text), which);
    const auto moist = soilNotation(palette.moist());
    const auto dryReading = soilNotation(palette.dry());
    if (moist && dryReading) note += "; " + qs(soilChecksLine(*moist, *dryReading));
    showNote(note);
}

} // namespace huelinx
