// Copy, paste, undo and the history list of the main window: what each copy
// form puts into the clipboard, that pasting it enters what typing it would,
// which keys stay with an entry box, and the walk through the colours.
#include "main_window_fixture.h"

#include "exchange/colour_csv.h"
#include "mainwindow/swatch.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include <array>

namespace huelinx::testing {
namespace {

class Clipboard : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    // The eighteen boxes' texts as the window shows them.
    std::vector<QString> boxes() const {
        std::vector<QString> texts;
        const auto add = [&texts](const auto& group) {
            for (const EntryBox* box : group)
                texts.push_back(box->text());
        };
        add(ui().munsellBoxes);
        add(ui().xyzBoxes);
        add(ui().chromaticityBoxes);
        add(ui().labBoxes);
        add(ui().rgbBoxes);
        add(ui().cmykBoxes);
        return texts;
    }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    static void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    void activate() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    QStringList historyRows() const {
        QStringList rows;
        for (int i = 0; i < ui().historyList->count(); ++i)
            rows << ui().historyList->item(i)->text();
        return rows;
    }
};
using Undo = Clipboard;

TEST_F(Clipboard, CopyGivesEachFormAndPasteEntersEachForm) {
    typeMunsell("5R", "4", "14");
    const auto red = boxes();
    const ColourModel& c = session().colour();
    ui().copyButton->click();
    EXPECT_EQ(clipboard(), "5R 4/14");
    const QString name = ui().colourNameBox->text();
    ASSERT_FALSE(name.isEmpty());
    const QString forms[5] = {
        "5R 4/14", "5R 4/14  " + name, "L*a*b* " + red[8] + " " + red[9] + " " + red[10],
        QColor(c.clippedRgb[0], c.clippedRgb[1], c.clippedRgb[2]).name().toUpper(),
        QString(colourCsvHeader) + "\n" + QString::fromStdString(colourCsv(c))};
    // Each form, pasted over another colour, enters what typing it would:
    // the notation, or the L*a*b* or R, G, B it holds.
    for (std::size_t i = 0; i < 5; ++i) {
        typeMunsell("5R", "4", "14");
        ui().copyForms[i]->trigger();
        EXPECT_EQ(clipboard(), forms[i]) << i;
        typeMunsell("5B", "6", "4");
        action("editPasteAction")->trigger();
        const auto pasted = boxes();
        auto typed = red;
        if (i == 2 || i == 3) {
            const auto& group = i == 2 ? ui().labBoxes : ui().rgbBoxes;
            const QString texts[3] = {red[8], red[9], red[10]};
            const QString levels[3] = {QString::number(c.clippedRgb[0]),
                                       QString::number(c.clippedRgb[1]),
                                       QString::number(c.clippedRgb[2])};
            typeMunsell("5B", "6", "4");
            for (std::size_t b = 0; b < 3; ++b)
                group[b]->setText(i == 2 ? texts[b] : levels[b]);
            QTest::keyClick(group[0], Qt::Key_Return);
            typed = boxes();
        }
        EXPECT_EQ(pasted, typed) << forms[i].toStdString();
    }
    // Typed forms of other notations: x,y,Y as typed into x, y and Y.
    setClipboard("x,y,Y 0.31 0.32 20");
    action("editPasteAction")->trigger();
    const auto pasted = boxes();
    ui().xyzBoxes[1]->setText("20");
    ui().chromaticityBoxes[0]->setText("0.31");
    enter(ui().chromaticityBoxes[1], "0.32");
    EXPECT_EQ(pasted, boxes());
    EXPECT_EQ(messages().size(), 0u);
}

TEST_F(Clipboard, WhatGivesNoColourIsSaidAndChangesNothing) {
    typeMunsell("5R", "4", "14");
    const auto red = boxes();
    setClipboard("a shopping list");
    action("editPasteAction")->trigger();
    EXPECT_EQ(boxes(), red);
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith(
        "The clipboard holds no colour: \"a shopping list\""));
    // A notation out of range is refused as typed, the box marked.
    setClipboard("5R 11/4");
    action("editPasteAction")->trigger();
    EXPECT_EQ(boxes(), red);
    EXPECT_TRUE(ui().munsellBoxes[1]->isRefused());
    EXPECT_TRUE(ui().messagesBox->toPlainText().contains("stays 5R 4/14"));
    // A colour the data hold no notation for copies no notation, but its L*a*b*.
    setClipboard("kept");
    for (int b = 0; b < 3; ++b)
        ui().labBoxes[std::size_t(b)]->setText(b == 0 ? "50" : b == 1 ? "120" : "0");
    QTest::keyClick(ui().labBoxes[0], Qt::Key_Return);
    ASSERT_TRUE(session().colour()[Box::Hue].empty());
    action("editCopyAction")->trigger();
    EXPECT_EQ(clipboard(), "kept");
    EXPECT_TRUE(ui().messagesBox->toPlainText().contains("no Munsell notation"));
    ui().copyForms[2]->trigger();
    EXPECT_EQ(clipboard(), "L*a*b* 50 120 0");
    EXPECT_EQ(messages().size(), 0u);
}

TEST_F(Clipboard, CtrlCInABoxWithoutSelectionCopiesTheWholeNotation) {
    typeMunsell("5R", "4", "14");
    activate();
    EntryBox* value = ui().munsellBoxes[1];
    value->setFocus();
    value->selectAll();
    QTest::keyClick(value, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "4") << "a selection is the box's own";
    value->deselect();
    QTest::keyClick(value, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "5R 4/14");
    // On the swatch too.
    setClipboard("");
    ui().swatch->setFocus();
    QTest::keyClick(ui().swatch, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "5R 4/14");

    // Part of a colour pastes into the box; a whole colour enters, in the
    // focused box's notation when it is three numbers alone.
    EntryBox* x = ui().xyzBoxes[0];
    x->setFocus();
    x->selectAll();
    setClipboard("12.5");
    QTest::keyClick(x, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(x->text(), "12.5");
    EXPECT_EQ(ui().munsellBoxes[0]->text(), "5R") << "nothing converted";
    setClipboard("20 12 5");
    QTest::keyClick(x, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui().xyzBoxes[1]->text(), "12");
    EXPECT_NE(ui().munsellBoxes[0]->text(), "5R");

    // Typing is undone in the box first, then the colour.
    const auto converted = boxes();
    QTest::keyClicks(x, "9");
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(boxes(), converted);
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ui().munsellBoxes[0]->text(), "5R");
    EXPECT_EQ(ui().munsellBoxes[2]->text(), "14");
}

TEST_F(Undo, CtrlZAndCtrlShiftZWalkTheColoursAndTheHistoryListBringsOneBack) {
    EXPECT_FALSE(action("editUndoAction")->isEnabled());
    EXPECT_FALSE(action("editRedoAction")->isEnabled());
    EXPECT_TRUE(action("editRedoAction")->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    const auto start = boxes();
    typeMunsell("5R", "4", "14");
    const auto red = boxes();
    typeMunsell("5B", "6", "4");
    typeMunsell("N", "5", "0");
    EXPECT_EQ(historyRows(), (QStringList{"N 5/", "5B 6/4", "5R 4/14", "6.4Y 8.6/10.4"}));
    activate();
    ui().swatch->setFocus();
    QTest::keyClick(ui().swatch, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(ui().swatch, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(boxes(), red);
    EXPECT_TRUE(action("editRedoAction")->isEnabled());
    QTest::keyClick(ui().swatch, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ui().munsellBoxes[0]->text(), "5B");
    EXPECT_EQ(historyRows().front(), "5B 6/4");
    QTest::keyClick(ui().swatch, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(ui().swatch, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(boxes(), start);
    EXPECT_FALSE(action("editUndoAction")->isEnabled());

    // A row of the list brings its colour back as a new step.
    const int grey = historyRows().indexOf("N 5/");
    ASSERT_GE(grey, 0);
    QListWidgetItem* row = ui().historyList->item(grey);
    QTest::mouseClick(ui().historyList->viewport(), Qt::LeftButton, {},
                      ui().historyList->visualItemRect(row).center());
    EXPECT_EQ(ui().munsellBoxes[0]->text(), "N");
    EXPECT_EQ(historyRows().front(), "N 5/");
    EXPECT_FALSE(action("editRedoAction")->isEnabled());
    action("editUndoAction")->trigger();
    EXPECT_EQ(boxes(), start);
    EXPECT_EQ(messages().size(), 0u);
}

} // namespace
} // namespace huelinx::testing
