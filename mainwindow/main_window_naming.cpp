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
    const ChipSetPlaces places = chipSetPlacesFor(program_.dataFolderList());
    const Result names = loadIsccNbsFromFolders(places.dataFolders, program_.colourNames);
    if (!names.ok) showNote("Colour names are not shown: " + QString::fromStdString(names.message));

    const QSignalBlocker quiet(chipSetList);
    chipSetList->clear();
    for (const std::string& name : availableChipSets(places))
        chipSetList->addItem(QString::fromStdString(name));
    chipSetList->setCurrentIndex(-1);
    // The first set that can be read is the one searched.
    for (int i = 0; i < chipSetList->count() && !chips_; ++i) {
        Loaded<ChipSet> load =
            loadChipSet(chipSetList->itemText(i).toStdString(), places, program_.table);
        if (!load.value) continue;
        chips_ = std::make_unique<ChipSearch>(std::move(*load.value), program_.table);
        chipSetShown_ = chipSetList->itemText(i);
        chipSetList->setCurrentIndex(i);
    }
}

void MainWindow::onChipSetChosen() {
    const QString chosen = chipSetList->currentText();
    if (chosen == chipSetShown_ && chips_) return;
    Loaded<ChipSet> load = loadChipSet(chosen.toStdString(),
                                       chipSetPlacesFor(program_.dataFolderList()), program_.table);
    if (!load.value) {
        program_.platform.message(QString::fromStdString(load.message), Buttons::Ok,
                                  Icon::Exclamation, "Chip set");
        const QSignalBlocker quiet(chipSetList);
        chipSetList->setCurrentIndex(chipSetList->findText(chipSetShown_));
        return;
    }
    chips_ = std::make_unique<ChipSearch>(std::move(*load.value), program_.table);
    chipSetShown_ = chosen;
    showNameAndChip();
}

void MainWindow::showNameAndChip() {
    // A refused entry changed nothing, though its boxes may hold what was typed.
    if (colour_.outcome.has(Outcome::Refused)) return;
    colourNameBox->setText(
        QString::fromStdString(nameText(isccNbsNameOf(colour_, program_.colourNames))));
    nearestChipBox->setText(
        chips_ ? QString::fromStdString(chipText(nearestChipOf(colour_, *chips_))) : QString());
    nearestChipBox->setCursorPosition(0);
    colourNameBox->setCursorPosition(0);
}

} // namespace huelinx
