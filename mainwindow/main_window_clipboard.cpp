// Copy, paste, undo and the list of the last colours. The colour is copied
// as the program writes it (its notation, with its name, L*a*b*, the display
// colour in hex, a CSV row) and pasted in any form a user types into a box;
// undo and redo walk the session's history, and the list brings back one of
// the last colours.
#include "colour/hue.h"
#include "colour/typed_colour.h"
#include "exchange/colour_csv.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "mainwindow/swatch.h"
#include "platform/qt_text.h"
#include "text/excerpt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <string>

namespace huelinx {

namespace {

// The notation whose boxes `box` belongs to.
Notation notationOf(Box box) {
    const int b = static_cast<int>(box);
    if (b < static_cast<int>(Box::X)) return Notation::Munsell;
    if (b < static_cast<int>(Box::SmallX)) return Notation::Xyz;
    if (b < static_cast<int>(Box::L)) return Notation::Chromaticity;
    if (b < static_cast<int>(Box::Red)) return Notation::Lab;
    if (b < static_cast<int>(Box::Cyan)) return Notation::Rgb;
    return Notation::Cmyk;
}

// The boxes a typed colour's three texts go into (x, y and the luminance Y
// for a chromaticity).
std::array<Box, 3> boxesOf(const TypedColour& typed) {
    if (typed.notation == Notation::Chromaticity) return {Box::SmallX, Box::SmallY, Box::Y};
    const int first = static_cast<int>(firstBox(typed.notation));
    return {static_cast<Box>(first), static_cast<Box>(first + 1), static_cast<Box>(first + 2)};
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// A colour in the clipboard: any typed form, or one of the program's own
// copies (the notation followed by its name, the CSV row under its header).
std::optional<TypedColour> pastedColour(const std::string& text, std::optional<Notation> hint) {
    if (auto typed = readTypedColour(text, hint)) return typed;
    const std::string line = firstLine(text);
    if (line == colourCsvHeader) {
        const std::string row = firstLine(text.substr(text.find_first_of("\r\n") + 1));
        std::array<std::string, 6> fields;
        std::size_t at = 0;
        for (std::string& field : fields) {
            const std::size_t end = std::min(row.find(',', at), row.size());
            field = row.substr(at, end - at);
            at = std::min(end + 1, row.size());
        }
        if (!fields[0].empty())
            return readTypedColour(notationText(fields[0], fields[1], fields[2]));
        return readTypedColour("XYZ " + fields[3] + " " + fields[4] + " " + fields[5]);
    }
    const std::size_t name = line.find("  ");
    if (name != std::string::npos) return readTypedColour(line.substr(0, name), hint);
    return std::nullopt;
}

QIcon colourIcon(const ColourModel& colour) {
    QPixmap chip(16, 16);
    const auto& rgb = colour.clippedRgb;
    chip.fill(QColor(qBound(0, int(rgb[0]), 255), qBound(0, int(rgb[1]), 255),
                     qBound(0, int(rgb[2]), 255)));
    QPainter(&chip).drawRect(0, 0, 15, 15);
    return QIcon(chip);
}

} // namespace

void MainWindow::buildClipboardControls() {
    copyMenu = new QMenu("Copy &As", this);
    copyMenu->setObjectName("copyMenu");
    const char* forms[5][2] = {{"&Notation", "copyNotationAction"},
                               {"Notation and &Name", "copyNotationNameAction"},
                               {"&L*a*b*", "copyLabAction"},
                               {"&Hex Display Colour", "copyHexAction"},
                               {"&CSV Row", "copyCsvAction"}};
    for (int i = 0; i < 5; ++i) {
        copyForms[i] = copyMenu->addAction(forms[i][0]);
        copyForms[i]->setObjectName(forms[i][1]);
        connect(copyForms[i], &QAction::triggered, this,
                [this, i] { copyColour(static_cast<CopyForm>(i)); });
    }
    copyButton = new QToolButton(this);
    copyButton->setObjectName("copyButton");
    copyButton->setPopupMode(QToolButton::MenuButtonPopup);
    copyButton->setMenu(copyMenu);
    copyButton->setText("Copy");
    copyButton->setToolTip("Copy the notation (Ctrl+C); the arrow offers it with the name, "
                           "L*a*b*, the hex display colour and a CSV row");
    connect(copyButton, &QToolButton::clicked, this, [this] { copyColour(CopyForm::Notation); });

    historyList = new QListWidget(this);
    historyList->setObjectName("historyList");
    historyList->setToolTip("The last colours, newest first: click one to bring it back "
                            "(Ctrl+Z undoes a change, Ctrl+Shift+Z redoes it)");
    historyList->setFixedWidth(150);
    historyList->setIconSize(QSize(16, 16));
    const auto bringBack = [this](QListWidgetItem* item) {
        session_.bringBack(static_cast<std::size_t>(historyList->row(item)));
    };
    connect(historyList, &QListWidget::itemClicked, this, bringBack);
    connect(historyList, &QListWidget::itemActivated, this, bringBack);
    // The swatch takes the focus, so Ctrl+C there copies the notation.
    swatch->setFocusPolicy(Qt::StrongFocus);
}

void MainWindow::buildEditMenu() {
    copyAction = editMenu->addAction("&Copy Notation");
    copyAction->setObjectName("editCopyAction");
    copyAction->setShortcut(QKeySequence::Copy);
    editMenu->addMenu(copyMenu);
    pasteAction = editMenu->addAction("&Paste Colour");
    pasteAction->setObjectName("editPasteAction");
    pasteAction->setShortcut(QKeySequence::Paste);
    editMenu->addSeparator();
    undoAction = editMenu->addAction("&Undo Colour");
    undoAction->setObjectName("editUndoAction");
    undoAction->setShortcut(QKeySequence::Undo);
    redoAction = editMenu->addAction("&Redo Colour");
    redoAction->setObjectName("editRedoAction");
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)))
        redoKeys.prepend(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redoAction->setShortcuts(redoKeys);
    editMenu->menuAction()->setVisible(true);
    addActions({copyAction, pasteAction, undoAction, redoAction});

    connect(copyAction, &QAction::triggered, this, [this] { copyColour(CopyForm::Notation); });
    connect(pasteAction, &QAction::triggered, this, [this] { pasteColour(); });
    connect(undoAction, &QAction::triggered, this, [this] { session_.undo(); });
    connect(redoAction, &QAction::triggered, this, [this] { session_.redo(); });
    history_ = session_.historyChanged.connect([this] { showHistory(); });
    showHistory();
}

void MainWindow::showHistory() {
    // The rows are rewritten in place: a click on one may be what changed them.
    const auto& recent = session_.history().recent();
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const int row = static_cast<int>(i);
        if (row == historyList->count()) historyList->addItem(new QListWidgetItem);
        historyList->item(row)->setIcon(colourIcon(recent[i]));
        historyList->item(row)->setText(qs(historyLabel(recent[i])));
    }
    while (historyList->count() > static_cast<int>(recent.size()))
        delete historyList->takeItem(historyList->count() - 1);
    // The row clicked now shows another colour; no row stays marked.
    historyList->clearSelection();
    undoAction->setEnabled(session_.history().canUndo());
    redoAction->setEnabled(session_.history().canRedo());
}

void MainWindow::copyColour(CopyForm form) {
    const ColourModel& c = colour();
    const bool notation = form == CopyForm::Notation || form == CopyForm::NotationAndName;
    if (notation && c[Box::Hue].empty())
        return showNote("The colour has no Munsell notation (it lies outside the data); "
                        "nothing was copied.");
    std::string text = notationText(c[Box::Hue], c[Box::Value], c[Box::Chroma]);
    switch (form) {
    case CopyForm::Notation:
        break;
    case CopyForm::NotationAndName:
        if (!colourNameBox->text().isEmpty()) text += "  " + colourNameBox->text().toStdString();
        break;
    case CopyForm::Lab:
        text = "L*a*b* " + c[Box::L] + " " + c[Box::A] + " " + c[Box::B];
        break;
    case CopyForm::Hex:
        text = QString::asprintf("#%02X%02X%02X", qBound(0, int(c.clippedRgb[0]), 255),
                                 qBound(0, int(c.clippedRgb[1]), 255),
                                 qBound(0, int(c.clippedRgb[2]), 255))
                   .toStdString();
        break;
    case CopyForm::CsvRow:
        text = std::string(colourCsvHeader) + "\n" + colourCsv(c);
        break;
    }
    QGuiApplication::clipboard()->setText(qs(text));
}

void MainWindow::pasteColour() {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    std::optional<Notation> hint;
    const auto boxes = colourBoxes();
    for (std::size_t b = 0; b < boxes.size(); ++b)
        if (boxes[b]->hasFocus()) hint = notationOf(static_cast<Box>(b));
    const auto typed = pastedColour(text, hint);
    if (!typed)
        return showNote(qs("The clipboard holds no colour: \"" + excerpt(text) +
                           "\" (5R 4/14, x,y,Y 0.31 0.32 20, L*a*b* 41 59 30, #BA2636)."));
    const auto targets = boxesOf(*typed);
    for (std::size_t i = 0; i < targets.size(); ++i)
        boxes[static_cast<std::size_t>(targets[i])]->setText(qs(typed->texts[i]));
    convertEntry(typed->notation);
}

} // namespace huelinx
