// The line under the notations: the ISCC-NBS name of the current colour, the
// list of chip sets and the nearest chip of the chosen set with its CIEDE2000.
// It follows every change of the colour (renderColour calls showNameAndChip).
#include "colour/chip_set.h"
#include "colour/colour_naming.h"
#include "mainwindow/main_window.h"

#include <QComboBox>
#include <QLineEdit>

namespace huelinx {

void MainWindow::loadNamesAndChips() {
    Resources& resources = session_.resources();
    const Result names = resources.loadNames();
    if (!names.ok) showNote("Colour names are not shown: " + QString::fromStdString(names.message));

    const QSignalBlocker quiet(chipSetList);
    chipSetList->clear();
    for (const std::string& name : resources.chipSetNames())
        chipSetList->addItem(QString::fromStdString(name));
    chipSetList->setCurrentIndex(-1);
    // The first set that can be read is the one searched.
    for (int i = 0; i < chipSetList->count() && !resources.chips(); ++i) {
        if (!resources.chooseChipSet(chipSetList->itemText(i).toStdString()).ok) continue;
        chipSetList->setCurrentIndex(i);
    }
}

void MainWindow::onChipSetChosen() {
    Resources& resources = session_.resources();
    const std::string chosen = chipSetList->currentText().toStdString();
    if (chosen == resources.chipSetName() && resources.chips()) return;
    const Result chose = resources.chooseChipSet(chosen);
    if (!chose.ok) {
        platform_.message(QString::fromStdString(chose.message), Buttons::Ok, Icon::Exclamation,
                          "Chip set");
        const QSignalBlocker quiet(chipSetList);
        chipSetList->setCurrentIndex(
            chipSetList->findText(QString::fromStdString(resources.chipSetName())));
        return;
    }
    showNameAndChip();
}

void MainWindow::showNameAndChip() {
    // A refused entry changed nothing, though its boxes may hold what was typed.
    if (colour().outcome.has(Outcome::Refused)) return;
    colourNameBox->setText(
        QString::fromStdString(nameText(isccNbsNameOf(colour(), session_.resources().names()))));
    ChipSearch* chips = session_.resources().chips();
    nearestChipBox->setText(
        chips ? QString::fromStdString(chipText(nearestChipOf(colour(), *chips))) : QString());
    nearestChipBox->setCursorPosition(0);
    colourNameBox->setCursorPosition(0);
}

} // namespace huelinx
