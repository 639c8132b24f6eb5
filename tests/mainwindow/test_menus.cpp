// The menu bar, the keyboard (shortcuts, Esc, Tab) and the tooltips of the
// main window. Controls are found by their object names, as scripts find them.
#include "main_window_fixture.h"

#include "charts/hue_page.h"
#include "viewer/palette_viewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace huelinx::testing {
namespace {

class Menus : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    QAction* action(const char* name) const {
        auto* found = form->findChild<QAction*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QCheckBox* box(const char* name) const { return form->findChild<QCheckBox*>(name); }
    // The titles of a menu's visible entries, separators left out.
    static QStringList entries(const QMenu* menu) {
        QStringList titles;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator()) titles << a->text().remove('&');
        return titles;
    }
};
using Keyboard = Menus;
using Tooltips = Menus;

TEST_F(Menus, FileViewHelpHoldTheWindowsActionsWithTheirShortcuts) {
    auto* bar = form->findChild<QMenuBar*>("menuBar");
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (const QAction* a : bar->actions())
        if (a->isVisible()) titles << a->text().remove('&');
    EXPECT_EQ(titles, (QStringList{"File", "Edit", "View", "Help"}));
    ASSERT_NE(form->findChild<QMenu*>("editMenu"), nullptr);
    EXPECT_EQ(entries(form->findChild<QMenu*>("editMenu")),
              (QStringList{"Copy Notation", "Copy As", "Paste Colour", "Undo Colour", "Redo Colour",
                           "Compare With\u2026", "Keep as Moist Reading", "Keep as Dry Reading"}));
    EXPECT_EQ(entries(form->findChild<QMenu*>("fileMenu")),
              (QStringList{"Open Palette\u2026", "Open Recent", "Import\u2026", "Save to Palette",
                           "Make Table", "Print\u2026", "Exit"}));

    const std::pair<const char*, QKeySequence> keys[] = {
        {"fileOpenPaletteAction", QKeySequence("Ctrl+O")},
        {"fileImportAction", QKeySequence("Ctrl+I")},
        {"fileSaveToPaletteAction", QKeySequence("Ctrl+S")},
        {"filePrintAction", QKeySequence("Ctrl+P")},
        {"fileExitAction", QKeySequence("Ctrl+Q")},
        {"helpContentsAction", QKeySequence(Qt::Key_F1)}};
    for (const auto& [name, key] : keys)
        if (QAction* a = action(name)) {
            EXPECT_EQ(a->shortcut(), key) << name;
        }

    // Each action does what its button does.
    action("fileMakeTableAction")->trigger();
    EXPECT_TRUE(QFile::exists("muntable2.prn"));
    action("helpContentsAction")->trigger();
    action("helpAboutAction")->trigger();
    ASSERT_EQ(platform.shown().size(), 2u);
    EXPECT_EQ(platform.shown()[0].title, "Munsell TZM Help");
    EXPECT_TRUE(platform.shown()[1].title.startsWith("Huelinx Version"));
    platform.queueFile(""); // the palette dialog, cancelled
    action("fileOpenPaletteAction")->trigger();
    ASSERT_NE(companions().viewer(), nullptr);
    EXPECT_TRUE(companions().viewer()->isVisible());
    EXPECT_TRUE(box("Check7")->isChecked());
    EXPECT_EQ(platform.shown().back().kind, ScriptedPlatform::Shown::FileDialog);
    EXPECT_EQ(platform.pendingAnswers(), 0u);
    action("fileExitAction")->trigger();
    EXPECT_TRUE(platform.programEnded());
}

TEST_F(Menus, ViewActionsAndTheWindowCheckBoxesFollowEachOther) {
    const char* boxes[6] = {"Check2", "Check3", "Check4", "Check5", "Check6", "Check7"};
    const char* actions[6] = {"viewHuePageAction",   "viewToleranceSetAction",
                              "viewValuePageAction", "viewColorCheckerAction",
                              "viewPictureAction",   "viewViewerAction"};
    for (int i = 0; i < 6; ++i) {
        QAction* a = action(actions[i]);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->isCheckable());
        a->trigger();
        EXPECT_TRUE(box(boxes[i])->isChecked()) << actions[i];
        box(boxes[i])->setChecked(false);
        EXPECT_FALSE(a->isChecked()) << actions[i];
        box(boxes[i])->setChecked(true);
        EXPECT_TRUE(a->isChecked()) << actions[i];
    }
    // The menu shows the hue page once: the action and the box are one switch.
    ASSERT_NE(companions().huePage(), nullptr);
    action("viewHuePageAction")->trigger();
    EXPECT_FALSE(companions().huePage()->isVisible());
    EXPECT_FALSE(box("Check2")->isChecked());
    // A box ticked quietly (the viewer opened from another window) is read
    // when the menu opens.
    box("Check7")->blockSignals(true);
    box("Check7")->setChecked(false);
    box("Check7")->blockSignals(false);
    emit form->findChild<QMenu*>("viewMenu")->aboutToShow();
    EXPECT_FALSE(action("viewViewerAction")->isChecked());
}

TEST_F(Keyboard, ShortcutsReachTheActionsFromAnEntryBox) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    ui().munsellBoxes[1]->setFocus();
    QTest::keyClick(ui().munsellBoxes[1], Qt::Key_F1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(platform.shown().back().title, "Munsell TZM Help");
    platform.queueInput(""); // the import list, cancelled
    QTest::keyClick(ui().munsellBoxes[1], Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(platform.shown().back().kind, ScriptedPlatform::Shown::Choice);
    EXPECT_EQ(ui().munsellBoxes[1]->text(), session().colour()[Box::Value].c_str());
}

TEST_F(Keyboard, EscClosesAChartAndTheViewer) {
    box("Check2")->setChecked(true);
    HuePage* page = companions().huePage();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->isVisible());
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_FALSE(page->isVisible());
    EXPECT_FALSE(box("Check2")->isChecked());
    // Another key leaves it; a modified Esc too.
    box("Check2")->setChecked(true);
    QTest::keyClick(page, Qt::Key_A);
    QTest::keyClick(page, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(page->isVisible());

    box("Check7")->setChecked(true);
    ASSERT_NE(companions().viewer(), nullptr);
    QTest::keyClick(companions().viewer(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(companions().viewer(), nullptr);
    // Its box and View item are cleared, so one tick opens it again.
    EXPECT_FALSE(box("Check7")->isChecked());
    EXPECT_FALSE(form->findChild<QAction*>("viewViewerAction")->isChecked());
    box("Check7")->setChecked(true);
    ASSERT_NE(companions().viewer(), nullptr);
    EXPECT_TRUE(companions().viewer()->isVisible());
}

TEST_F(Keyboard, TabGoesDownEachGroupThenAcross) {
    form->show();
    QStringList order;
    QWidget* w = ui().munsellBoxes[0];
    for (int i = 0; i < 19; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while ((w->focusPolicy() & Qt::TabFocus) == 0 || !w->isVisibleTo(form));
    }
    EXPECT_EQ(order, (QStringList{"Text12_0", "Text12_1", "Text12_2", "Text11_0", "Text11_1",
                                  "Text11_2", "Text18_0", "Text18_1", "Text15_0", "Text15_1",
                                  "Text15_2", "Text1_0", "Text1_1", "Text1_2", "Text2_0", "Text2_1",
                                  "Text2_2", "Text2_3", "Text5"}));
}

TEST_F(Keyboard, MessagesIsReadOnlyAndTabLeavesIt) {
    QPlainTextEdit* messages = ui().messagesBox;
    messages->setPlainText("a note");
    EXPECT_TRUE(messages->isReadOnly());
    EXPECT_TRUE(messages->tabChangesFocus());
    QTest::keyClick(messages, Qt::Key_Tab);
    QTest::keyClicks(messages, "typed");
    QTest::keyClick(messages, Qt::Key_Backspace);
    EXPECT_EQ(messages->toPlainText(), "a note");
    // The program still writes there.
    platform.queueInput("");
    ui().importButton->click();
    EXPECT_EQ(messages->toPlainText(), "Import cancelled: no type chosen.");
}

TEST_F(Tooltips, EveryEntryBoxAndButtonSaysWhatItAccepts) {
    QStringList silent;
    for (QLineEdit* box : form->findChildren<QLineEdit*>())
        if (!box->isReadOnly() && box->toolTip().isEmpty() && box->parentWidget() != nullptr &&
            !qobject_cast<QComboBox*>(box->parentWidget()))
            silent << box->objectName();
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>())
        if (button->toolTip().isEmpty() && !qobject_cast<QRadioButton*>(button) &&
            !button->objectName().startsWith("qt_")) // the menu bar's own overflow arrow
            silent << button->objectName() + " (" + button->text() + ")";
    EXPECT_TRUE(silent.isEmpty()) << silent.join(", ").toStdString();
    // The hue box names its forms, a whole notation among them.
    const QString hue = ui().munsellBoxes[0]->toolTip();
    for (const char* form : {"5R", "2.5YR", "N", "5R 4/14"})
        EXPECT_TRUE(hue.contains(form)) << form;
    EXPECT_TRUE(ui().munsellBoxes[1]->toolTip().contains("0 to 10"));
    EXPECT_TRUE(ui().rgbBoxes[0]->toolTip().contains("0 to 255"));
    EXPECT_TRUE(ui().cmykBoxes[3]->toolTip().contains("0 to 100"));
    // A refused entry's mark takes the tooltip for its reason and gives it back.
    const QString own = ui().munsellBoxes[1]->toolTip();
    enter(ui().munsellBoxes[1], "11");
    EXPECT_NE(ui().munsellBoxes[1]->toolTip(), own);
    QTest::keyClick(ui().munsellBoxes[1], Qt::Key_4);
    EXPECT_EQ(ui().munsellBoxes[1]->toolTip(), own);
}

} // namespace
} // namespace huelinx::testing
