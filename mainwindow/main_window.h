// The main window: one colour shown in six notations side by side (Munsell,
// CIE XYZ, chromaticity x y, L*a*b*, display RGB, CMYK), a swatch, sliders,
// the illuminant choice, the instrument panel and the buttons that open the
// other windows. Its text boxes are the program's working record of the
// current colour; the conversions read them and write their results back.
#pragma once

#include "colour/colour_model.h"
#include "colour/settings.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"
#include "platform/port_choice.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace huelinx {

class EntryBox;
class PictureWindow;
class PaletteViewer;
class HuePage;
class ValuePage;
class ColorCheckerChart;
class ToleranceSet;
class Spectrophotometer;
class Swatch;
class ChipSearch;
enum class MeasureEnd;

class MainWindow : public QWidget, public ColourHost {
  public:
    static constexpr const char* releaseDate = "Dec 17 2022";
    static constexpr int versionMajor = 12, versionMinor = 23, versionRevision = 1;

    explicit MainWindow(Program& program, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: version and caption, settings file, the Munsell table, the
    // instrument list, illuminant C converting the initial notation, the
    // instrument mode. False when the table could not be loaded; the message
    // naming the file and the problem has been shown.
    bool start();

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

    // ---- window state ----------------------------------------------------
    // Set while the window follows the colour model: the sliders' and boxes'
    // own change handlers then do nothing.
    bool slidersBusy = false;
    std::int16_t commPort = 1;
    // The port's device by path or name; when empty, the port is `commPort`.
    QString commDevice;
    PortChoice portChoice() const { return {commPort, commDevice}; }

    // ---- what other windows may ask (ColourHost) ---------------------------
    const ColourModel& colour() const override { return colour_; }
    // The settings the colour procedures read from this window.
    ColourSettings settings() const;
    // Shows a colour model: boxes, sliders, label and swatch, then the
    // model's messages; keeps the open charts current.
    void showColour(ColourModel next) override;
    bool saveToPalette(const ColourModel& colour, TagPrompt prompt) override;
    bool appendPaletteRecords(const std::string& records) override;
    ChipSearch* chipSearch() override { return chips_.get(); }
    void viewCurrentPalette() override;
    void companionClosed(Companion which) override;
    void showNote(const QString& line) override;
    QWidget& hostWindow() override { return *this; }

    // ---- conversions and entry paths --------------------------------------
    void convertMunsellEntry();
    void convertXyzEntry();
    void convertChromaticityEntry();
    void convertLabEntry();
    void convertRgbEntry(); // RGB entry
    void convertCmykEntry();

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
    // "Image Analysis": shows or hides the picture window.
    void onPictureToggled();
    // "3D Display of HVC ": shows or hides the palette viewer.
    void onViewerToggled();
    // The palette viewer while it exists.
    PaletteViewer* viewerWindow() const;
    // The chart windows: "Display Hue Page", "Color Tolerence Set",
    // "Display Value Page", "Display ColorChecker".
    void onHuePageToggled();
    void onToleranceSetToggled();
    void onValuePageToggled();
    void onColorCheckerToggled();
    // Keeping open charts current: the hue and value pages after a Munsell
    // conversion, the tolerance set after L*a*b* is computed, the ColorChecker
    // after a gamma change.
    void refreshPages();
    void refreshToleranceSet(float L, float a, float b);
    void refreshColorChecker();
    // The picture window while it exists.
    PictureWindow* pictureWindow() const;
    void onCalibrate(); // Calibrate
    void onMeasure();   // Measure / Import %R

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildLayout();
    QWidget* notationGroup(const QString& title, const std::vector<QString>& labels,
                           const std::vector<QWidget*>& boxes,
                           const std::vector<QScrollBar*>& sliders);
    void connectHandlers();
    void paintSwatch();
    void showOutsideData();
    // The name and nearest-chip line for the current colour.
    void showNameAndChip();
    // Start-up: the ISCC-NBS names, the list of chip sets and the first set.
    void loadNamesAndChips();
    void noteWorkingFolderFiles();
    void renderColour();
    // The sliders to the model's positions, their handlers quiet meanwhile.
    void followSliders();
    // The display colour to the program-wide current colour other windows read.
    void shareDisplayColour();
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
    // The device the port means now, beside the port box.
    void showPortDevice();

    // The entry boxes of the six groups, and the labels that name boxes and groups.
    std::vector<QWidget*> entryBoxes() const;
    std::vector<QLabel*> boxLabels_;

    Program& program_;
    ColourModel colour_ = ColourModel::initial();
    // The text each box shows, in the model's order.
    std::array<std::string, boxCount> shownTexts_;
    bool settingsWriteReported_ = false;
    // Asks for the palette file when none is set and, when asked to, for the
    // tag; false when the user gave no file name.
    bool askPaletteFile(TagPrompt prompt);
    // Writes the palette record of a colour whose display colour was read from
    // its R, G, B boxes.
    bool appendToPalette(const ColourModel& colour);
    // Appends whole records to the palette file (".csv" added to its name).
    bool appendPaletteText(const std::string& records);
    Spectrophotometer& spectrophotometer();
    MeasureEnd importReflectance();
    std::unique_ptr<Spectrophotometer> spectro_;
    QPointer<PictureWindow> form2_;
    QPointer<PaletteViewer> form3_;
    // The chart windows, created when first shown.
    QPointer<HuePage> book_;
    QPointer<ValuePage> book2_;
    QPointer<ColorCheckerChart> checker_;
    QPointer<ToleranceSet> ctol_;
    bool instrumentBusy_ = false;
    // The chip set searched and its name in the list; no set when none could be read.
    std::unique_ptr<ChipSearch> chips_;
    QString chipSetShown_;
};

} // namespace huelinx
