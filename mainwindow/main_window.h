// The main window: one colour shown in six notations side by side (Munsell,
// CIE XYZ, chromaticity x y, L*a*b*, display RGB, CMYK), a swatch, sliders,
// the illuminant choice, the instrument panel and the buttons that open the
// other windows. It shows the session's current colour and follows its
// changes, whoever makes them; what is typed and entered here changes it.
#pragma once

#include "colour/colour_model.h"
#include "colour/settings.h"
#include "platform/palette_questions.h"
#include "platform/platform.h"
#include "platform/port_choice.h"
#include "session/session.h"
#include "session/soil_comparison.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace huelinx {

class EntryBox;
class Spectrophotometer;
class Swatch;
enum class MeasureEnd;

// The main window's controls and the state it keeps between events. The
// window holds them as a private base, so only the window and its harnesses
// (the test fixture and the benchmark window, its friends) reach them; other
// code finds a control by its object name (docs/object-names.md).
struct MainWindowControls {
    // ---- the colour's fields -------------------------------------------
    std::array<EntryBox*, 3> munsellBoxes{};      // Munsell hue, value, chroma
    std::array<EntryBox*, 3> xyzBoxes{};          // X, Y, Z
    std::array<EntryBox*, 2> chromaticityBoxes{}; // x, y
    std::array<EntryBox*, 3> labBoxes{};          // L*, a*, b*
    std::array<EntryBox*, 3> rgbBoxes{};          // R, G, B
    std::array<EntryBox*, 4> cmykBoxes{};         // C, M, Y, K
    QLineEdit* gammaBox = nullptr;                // display gamma
    Swatch* swatch = nullptr;                     // the colour swatch
    QLabel* logo = nullptr;                       // logo
    QScrollBar *hueSlider = nullptr, *valueSlider = nullptr, *chromaSlider = nullptr;
    QScrollBar *redSlider = nullptr, *greenSlider = nullptr, *blueSlider = nullptr;
    QScrollBar *whiteBalanceSlider = nullptr, *gammaSlider = nullptr;
    QLabel* outOfRangeLabel = nullptr; // "Out of RGB Range"

    // ---- name and nearest chip -------------------------------------------
    QLineEdit* colourNameBox = nullptr;  // ISCC-NBS name and abbreviation
    QComboBox* chipSetList = nullptr;    // the chip set searched
    QLineEdit* nearestChipBox = nullptr; // nearest chip and its CIEDE2000

    // ---- illuminant ------------------------------------------------------
    QGroupBox* illuminantFrame = nullptr;
    std::array<QRadioButton*, 3> illuminantButtons{};
    QLabel* illuminantLabel = nullptr;
    QCheckBox* pwdCheck = nullptr; // PWD

    // ---- instrument ------------------------------------------------------
    QGroupBox* instrumentFrame = nullptr;
    QComboBox* instrumentList = nullptr;
    QPushButton *calibrateButton = nullptr, *measureButton = nullptr;
    QLabel* portLabel = nullptr;
    QLineEdit* portBox = nullptr;
    QLabel* portDeviceLabel = nullptr; // the device the port box means
    QLabel *d65Marker = nullptr, *aMarker = nullptr;
    QPlainTextEdit* messagesBox = nullptr; // messages
    QLabel *messagesLabel = nullptr, *importedFileLabel = nullptr, *importedFileName = nullptr;

    // ---- buttons, check boxes, titles ------------------------------------
    QPushButton *exitButton = nullptr, *aboutButton = nullptr, *helpButton = nullptr,
                *printButton = nullptr;
    QPushButton *saveToPaletteButton = nullptr, *makeTableButton = nullptr;
    QPushButton* importButton = nullptr; // object name "import"
    QCheckBox *huePageCheck = nullptr, *toleranceSetCheck = nullptr, *valuePageCheck = nullptr,
              *colorCheckerCheck = nullptr;
    QCheckBox *pictureCheck = nullptr, *viewerCheck = nullptr;
    QLabel *titleLabel = nullptr, *subtitleLabel = nullptr;

    // ---- the menu bar (docs/object-names.md) -----------------------------
    QMenuBar* menuBar = nullptr;
    QMenu *fileMenu = nullptr, *recentMenu = nullptr, *editMenu = nullptr, *viewMenu = nullptr,
          *helpMenu = nullptr;
    QAction *openPaletteAction = nullptr, *importAction = nullptr, *saveToPaletteAction = nullptr,
            *makeTableAction = nullptr, *printAction = nullptr, *exitAction = nullptr,
            *helpAction = nullptr, *aboutAction = nullptr;
    // View: one checkable action for each window check box, in the boxes' order
    // Check2..Check7.
    std::array<QAction*, 6> viewActions{};
    // View > Spectral Light and Spectral Observer: what a reading is also given
    // under in Messages (main_window_lights.cpp).
    QMenu *spectralLightMenu = nullptr, *spectralObserverMenu = nullptr;

    // ---- copy, paste, undo (docs/object-names.md) -------------------------
    QToolButton* copyButton = nullptr; // copies the notation; its arrow the copy menu
    QMenu* copyMenu = nullptr;         // Copy As: the forms of copyForms
    std::array<QAction*, 5> copyForms{};
    QAction *copyAction = nullptr, *pasteAction = nullptr, *undoAction = nullptr,
            *redoAction = nullptr;
    QListWidget* historyList = nullptr; // the last colours, newest first

    // ---- compare with (docs/object-names.md) --------------------------------
    QPushButton* compareButton = nullptr; // "Compare with…", beside Copy
    QAction* compareAction = nullptr;     // Edit > Compare With…
    // Edit > Keep as Moist Reading, Keep as Dry Reading: a soil sample's
    // readings for the next record saved.
    QAction *moistAction = nullptr, *dryAction = nullptr;

    // ---- window state ----------------------------------------------------
    // Set while the window follows the colour model: the sliders' and boxes'
    // own change handlers then do nothing.
    bool slidersBusy = false;
    std::int16_t commPort = 1;
    // The port's device by path or name; when empty, the port is `commPort`.
    QString commDevice;
};

namespace testing {
class MainWindowTest;
}
struct BenchWindow;

class MainWindow : public QWidget, private MainWindowControls {
  public:
    static constexpr const char* releaseDate = "Dec 17 2022";
    static constexpr int versionMajor = 12, versionMinor = 23, versionRevision = 1;

    MainWindow(Session& session, Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: version and caption, settings file, the Munsell table, the
    // instrument list, illuminant C converting the initial notation, the
    // instrument mode. False when the table could not be loaded; the message
    // naming the file and the problem has been shown.
    bool start();

    // ---- the colour shown ----------------------------------------------------
    const ColourModel& colour() const { return session_.colour(); }
    // The settings the colour procedures read from this window.
    ColourSettings settings() const;
    // Makes `next` the session's colour; this window (and every other one
    // that follows the colour) shows it.
    void showColour(ColourModel next, Change what = Change::Entry);
    // The instrument named in the settings file or chosen; empty for none.
    const QString& instrumentName() const { return instrumentName_; }
    const QString& versionText() const { return versionText_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Pictures, palettes and CGATS files dropped on the window open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The harnesses that drive the window as its controls would.
    friend class testing::MainWindowTest;
    friend struct BenchWindow;

    // Puts one line into the Messages box (no box to close).
    void showNote(const QString& line);
    // "Row 12 added to "/home/u/mine.csv" (tag "t1")." after a colour was saved.
    QString savedRowNote(const PaletteDocument& palette) const;
    // The serial port the instrument is on.
    PortChoice portChoice() const { return {commPort, commDevice}; }

    // ---- conversions and entry paths --------------------------------------
    void convertMunsellEntry();
    void convertXyzEntry();
    void convertChromaticityEntry();
    void convertLabEntry();
    void convertRgbEntry(); // RGB entry
    void convertCmykEntry();
    // Enters the boxes of `notation` as they stand. An entry that gives no
    // new colour is refused: see refuseEntry.
    void convertEntry(Notation notation);
    // Every box back on the colour entered last, `box` marked with `reason`,
    // and the reason in Messages; no other window hears of it.
    void refuseEntry(Box box, const std::string& reason);
    // A whole notation in the hue box goes into the three Munsell boxes;
    // false when it is no notation (the entry has been refused).
    bool takeWholeNotation();

    // ---- copy, paste, undo (main_window_clipboard.cpp) ----------------------
    // The forms the colour is copied in, in the copy menu's order.
    enum class CopyForm { Notation, NotationAndName, Lab, Hex, CsvRow };
    // The copy button, its menu and the history list.
    void buildClipboardControls();
    // Edit: copy, copy as, paste, undo and redo, with their shortcuts.
    void buildEditMenu();
    // Puts the colour into the clipboard; a colour without a notation copies
    // no notation and says so in Messages.
    void copyColour(CopyForm form);
    // Enters the colour in the clipboard into the boxes of its notation (three
    // numbers alone: the focused box's), as typing it there and Enter would.
    void pasteColour();
    // The history list and the undo and redo actions, as the session's history stands.
    void showHistory();

    // ---- compare with (main_window_compare.cpp) -----------------------------
    void buildCompareControls();
    // Edit > Compare With…, after undo and redo.
    void addCompareAction();
    // Compares the colour with a second one as soil colours, in one line in
    // Messages; a colour without a notation, or a text that is none, is said
    // there instead. No box opens but the questions for the second colour.
    void onCompare();
    // The second colour, asked through the platform: a notation typed, a
    // previous colour or a palette row. None when cancelled, or for a typed
    // text that is no notation (`refusal` then says so).
    std::optional<SoilNotation> chooseSecondColour(QString& refusal);
    // Keeps the colour's notation as the moist or the dry reading of the soil
    // sample the next saved record is; once both are kept, Messages says
    // which diagnostic colour rules they meet.
    void onKeepReading(bool dry);

    // ---- handlers --------------------------------------------------------
    void onHueSlider();
    void onValueSlider();
    void onChromaSlider();
    void onRgbSlider(int channel);
    void onGammaTyped();
    void onGammaSlider();
    void onWhiteBalance();
    void onPwdToggled(); // PWD
    void onIlluminant(int index);
    void onSwatchClicked(int x, int y);
    void onInstrumentChosen();
    void onPortTyped();
    void onExit();
    void onAbout();
    void onHelp();
    void onPrint();
    void onSaveToPalette(); // Save to Palette
    void onMakeTable();     // Make Table
    void onImport();
    // A chip set chosen from the list: loads it and shows the nearest chip
    // of the current colour; a set that can't be read is said and the list
    // goes back to the set shown before.
    void onChipSetChosen();
    // Appends the colour the window shows to the palette file, its display
    // colour taken from the R, G, B boxes as they stand. False when nothing was
    // written (no file name given, or the file can't be written).
    bool saveColourToPalette(TagPrompt prompt);
    void onCalibrate(); // Calibrate
    void onMeasure();   // Measure / Import %R

    // ---- readings under another light (main_window_lights.cpp) --------------
    // View > Spectral Light (each illuminant of the tables) and Spectral
    // Observer (2 or 10 degrees); disabled, with the reason as tooltip, when
    // the tables can't be read.
    void buildSpectralMenus();
    // Adds the reading's line under the light chosen to Messages, after what
    // the reading's own change said there (`before`: the text before it).
    void noteReading(const QString& before);

    // ---- building and showing ---------------------------------------------
    void buildControls();
    void buildLayout();
    QWidget* notationGroup(const QString& title, const std::vector<QString>& labels,
                           const std::vector<QWidget*>& boxes,
                           const std::vector<QScrollBar*>& sliders);
    void connectHandlers();
    // The menu bar: File (Recent filled by the recent files), Edit (filled by
    // the clipboard and undo), View tied both ways to the window check boxes,
    // and Help.
    void buildMenuBar();
    // View's actions and the check boxes follow each other.
    void tieViewActions();
    // Tab goes down each group's boxes, then on to the next group.
    void orderTabs();
    // Every entry box, button and check box says what it takes or does.
    void setControlTips();
    // Listens to the session: its colour changes, notes and busy spells.
    void followSession();
    void paintSwatch();
    void showOutsideData();
    // The name and nearest-chip line for the current colour.
    void showNameAndChip();
    // Start-up: the ISCC-NBS names, the list of chip sets and the first set.
    void loadNamesAndChips();
    // Start-up: the spectral tables and the MacAdam solids; Messages says
    // once when they can't be read, and the limits note is left out.
    void loadMacAdamLimits();
    void noteWorkingFolderFiles();
    // Shows a change of the session's colour: its messages, then the boxes,
    // sliders, label and swatch.
    void showChange(const ColourModel& shown);
    // The MacAdam note of the colour shown as the last line of Messages.
    void showLimitsLine(const ColourModel& shown);
    // Messages without that line.
    QString messagesAbove() const;
    // A note added to what Messages says, above the MacAdam line.
    void addNote(const QString& note);
    void renderColour();
    // The sliders to the model's positions, their handlers quiet meanwhile.
    void followSliders();
    // The boxes and sliders in the model's order.
    std::array<EntryBox*, boxCount> colourBoxes() const;
    std::array<QScrollBar*, sliderCount> colourSliders() const;
    // A box's text changed other than by the window following the model.
    void boxTyped(int box, const QString& text);
    void readStoredSettings();
    void saveSettings(const QString& instrument);
    void showInstrumentMode();
    // The port box to the stored port, its handler quiet meanwhile.
    void showStoredPort();
    // ---- recent files (main_window_files.cpp) --------------------------------
    // Takes drops, and keeps File > Open Recent as the session's list stands.
    void followRecentFiles();
    void showRecentFiles();
    // Opens a recent file where it opens; a file gone is said and taken off.
    void openRecent(const RecentFiles::Entry& entry);
    // The device the port means now, beside the port box.
    void showPortDevice();

    // The entry boxes of the six groups, and the labels that name boxes and groups.
    std::vector<QWidget*> entryBoxes() const;
    std::vector<QLabel*> boxLabels_;

    Session& session_;
    Platform& platform_;
    QString instrumentName_, versionText_;
    Connection colourChanges_, notes_, busy_, history_, recent_;
    int busySpells_ = 0;
    // The text each box shows, in the model's order.
    std::array<std::string, boxCount> shownTexts_;
    // The boxes' texts of the colour last shown, which a refused entry restores.
    std::array<std::string, boxCount> enteredTexts_;
    // The line a refused entry put into Messages, taken away by the next colour.
    QString refusalLine_;
    // The MacAdam note last shown in Messages (empty: none).
    QString limitsLine_;
    bool settingsWriteReported_ = false;
    Spectrophotometer& spectrophotometer();
    MeasureEnd importReflectance();
    std::unique_ptr<Spectrophotometer> spectro_;
    bool instrumentBusy_ = false;
};

} // namespace huelinx
