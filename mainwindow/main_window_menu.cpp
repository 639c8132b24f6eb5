// The main window's menu bar, its keyboard order and the tooltips that say
// what each box takes. The menus run the same handlers as the buttons and
// check boxes, which stay where they are.
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "mainwindow/swatch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace huelinx {

namespace {

QAction* menuItem(QMenu* menu, const QString& text, const QString& name,
                  const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

QMenu* barMenu(QMenuBar* bar, const QString& title, const QString& name) {
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(name);
    return menu;
}

} // namespace

void MainWindow::buildMenuBar() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName("menuBar");
    // The bar stays in the window even where the desktop has a menu of its own.
    menuBar->setNativeMenuBar(false);

    fileMenu = barMenu(menuBar, "&File", "fileMenu");
    openPaletteAction =
        menuItem(fileMenu, "&Open Palette\u2026", "fileOpenPaletteAction", QKeySequence::Open);
    recentMenu = fileMenu->addMenu("Open &Recent");
    recentMenu->setObjectName("fileRecentMenu");
    // The palettes and pictures opened lately; disabled while there are none.
    followRecentFiles();
    fileMenu->addSeparator();
    importAction = menuItem(fileMenu, "&Import\u2026", "fileImportAction", Qt::CTRL | Qt::Key_I);
    saveToPaletteAction =
        menuItem(fileMenu, "&Save to Palette", "fileSaveToPaletteAction", QKeySequence::Save);
    makeTableAction = menuItem(fileMenu, "Make &Table", "fileMakeTableAction");
    printAction = menuItem(fileMenu, "&Print\u2026", "filePrintAction", QKeySequence::Print);
    fileMenu->addSeparator();
    exitAction = menuItem(fileMenu, "E&xit", "fileExitAction", Qt::CTRL | Qt::Key_Q);

    editMenu = barMenu(menuBar, "&Edit", "editMenu");
    buildEditMenu();
    addCompareAction();

    viewMenu = barMenu(menuBar, "&View", "viewMenu");
    const char* views[6][2] = {{"&Hue Page", "viewHuePageAction"},
                               {"Color &Tolerance Set", "viewToleranceSetAction"},
                               {"&Value Page", "viewValuePageAction"},
                               {"&ColorChecker", "viewColorCheckerAction"},
                               {"&Image Analysis", "viewPictureAction"},
                               {"&3D Palette Viewer", "viewViewerAction"}};
    for (int i = 0; i < 6; ++i) {
        viewActions[i] = menuItem(viewMenu, views[i][0], views[i][1]);
        viewActions[i]->setCheckable(true);
    }
    buildSpectralMenus();

    helpMenu = barMenu(menuBar, "&Help", "helpMenu");
    helpAction = menuItem(helpMenu, "&Help", "helpContentsAction", QKeySequence::HelpContents);
    aboutAction = menuItem(helpMenu, "&About", "helpAboutAction");

    // The shortcuts work wherever the focus is in this window.
    addActions({openPaletteAction, importAction, saveToPaletteAction, makeTableAction, printAction,
                exitAction, helpAction, aboutAction});

    connect(openPaletteAction, &QAction::triggered, this,
            [this] { session_.paletteOpenWanted.send(); });
    connect(importAction, &QAction::triggered, this, [this] { onImport(); });
    connect(saveToPaletteAction, &QAction::triggered, this, [this] { onSaveToPalette(); });
    connect(makeTableAction, &QAction::triggered, this, [this] { onMakeTable(); });
    connect(printAction, &QAction::triggered, this, [this] { onPrint(); });
    connect(exitAction, &QAction::triggered, this, [this] { onExit(); });
    connect(helpAction, &QAction::triggered, this, [this] { onHelp(); });
    connect(aboutAction, &QAction::triggered, this, [this] { onAbout(); });
    tieViewActions();
}

void MainWindow::tieViewActions() {
    const std::array<QCheckBox*, 6> boxes = {huePageCheck,      toleranceSetCheck, valuePageCheck,
                                             colorCheckerCheck, pictureCheck,      viewerCheck};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QAction* action = viewActions[i];
        QCheckBox* box = boxes[i];
        action->setChecked(box->isChecked());
        // The box does the work; the action only follows it, so each change
        // runs once whichever of the two is used.
        connect(action, &QAction::toggled, box, [box](bool on) { box->setChecked(on); });
        connect(box, &QCheckBox::toggled, action, [action](bool on) {
            const QSignalBlocker quiet(action);
            action->setChecked(on);
        });
    }
    // A box ticked with its signals blocked (the viewer opened from another
    // window) is read again when the menu opens.
    connect(viewMenu, &QMenu::aboutToShow, this, [this, boxes] {
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const QSignalBlocker quiet(viewActions[i]);
            viewActions[i]->setChecked(boxes[i]->isChecked());
        }
    });
}

void MainWindow::orderTabs() {
    std::vector<QWidget*> chain = entryBoxes();
    const std::vector<QWidget*> rest = {gammaBox,
                                        swatch,
                                        copyButton,
                                        historyList,
                                        chipSetList,
                                        illuminantButtons[0],
                                        illuminantButtons[1],
                                        illuminantButtons[2],
                                        pwdCheck,
                                        instrumentList,
                                        calibrateButton,
                                        measureButton,
                                        portBox,
                                        messagesBox,
                                        huePageCheck,
                                        valuePageCheck,
                                        colorCheckerCheck,
                                        toleranceSetCheck,
                                        pictureCheck,
                                        viewerCheck,
                                        saveToPaletteButton,
                                        makeTableButton,
                                        importButton,
                                        printButton,
                                        helpButton,
                                        aboutButton,
                                        exitButton};
    chain.insert(chain.end(), rest.begin(), rest.end());
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void MainWindow::setControlTips() {
    const auto tip = [](const auto& boxes, std::initializer_list<const char*> tips) {
        auto text = tips.begin();
        for (QWidget* box : boxes)
            box->setToolTip(*text++);
    };
    tip(munsellBoxes,
        {"Hue: 5R, 2.5YR, 10RP, N for a grey, or a whole notation such as "
         "5R 4/14 or N 5/; Enter converts",
         "Value: 0 to 10; Enter converts",
         "Chroma: 0 and up, as far as the data reach (0 for a grey); Enter converts"});
    tip(xyzBoxes, {"X: 0 and up, Y of the white is 100; Enter converts",
                   "Y: luminance, 0 to 100; Enter converts",
                   "Z: 0 and up, Y of the white is 100; Enter converts"});
    tip(chromaticityBoxes, {"x: chromaticity, 0 to 1 (with Y from the XYZ group); Enter converts",
                            "y: chromaticity, 0 to 1 (with Y from the XYZ group); Enter converts"});
    tip(labBoxes, {"L*: 0 to 100; Enter converts", "a*: about -128 to 127; Enter converts",
                   "b*: about -128 to 127; Enter converts"});
    tip(rgbBoxes,
        {"R: display level 0 to 255; Enter converts", "G: display level 0 to 255; Enter converts",
         "B: display level 0 to 255; Enter converts"});
    tip(cmykBoxes,
        {"C: cyan ink, 0 to 100 %; Enter converts", "M: magenta ink, 0 to 100 %; Enter converts",
         "Y: yellow ink, 0 to 100 %; Enter converts", "K: black ink, 0 to 100 %; Enter converts"});
    gammaBox->setToolTip("Display gamma: 1 to 3");
    portBox->setToolTip("Serial port of the instrument: a number (1 is the first port) or a "
                        "device path such as /dev/ttyUSB0");
    instrumentList->setToolTip("The instrument measured with; type a name or choose one");
    messagesBox->setToolTip("What the program has to say; read-only");
    const std::pair<QWidget*, const char*> others[] = {
        {saveToPaletteButton, "Add the colour to the palette file, under a tag (Ctrl+S)"},
        {makeTableButton, "Write the table of every Munsell notation to muntable2.prn"},
        {importButton, "Convert a file of colours: choose its kind from a list (Ctrl+I)"},
        {printButton, "Print this window (Ctrl+P)"},
        {helpButton, "Open the help (F1)"},
        {aboutButton, "About the program"},
        {exitButton, "Save the settings and end the program (Ctrl+Q)"},
        {calibrateButton, "Calibrate the instrument"},
        {measureButton, "Measure a colour with the instrument, or import a reflectance curve"},
        {huePageCheck, "Show the hue page of the current hue"},
        {toleranceSetCheck, "Show the colours around the current one by L*a*b* steps"},
        {valuePageCheck, "Show the value page of the current value"},
        {colorCheckerCheck, "Show the ColorChecker chart"},
        {pictureCheck, "Show the picture window: load a picture and pick its colours"},
        {viewerCheck, "Show the palette in 3D"},
        {pwdCheck, "PWD: luminance times 0.975, so that value 10 is Y 100"},
    };
    for (const auto& [widget, text] : others)
        widget->setToolTip(text);
}

} // namespace huelinx
