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
class Form2;
class Form3;
class book;
class book2;
class CChecker;
class CTol;
class Spectrophotometer;
class Swatch;
enum class MeasureEnd;

class Form1 : public QWidget, public ColourHost {
  public:
    static constexpr const char* releaseDate = "Dec 17 2022";
    static constexpr int versionMajor = 12, versionMinor = 23, versionRevision = 1;

    explicit Form1(Program& program, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: version and caption, settings file, the Munsell table, the
    // instrument list, illuminant C converting the initial notation, the
    // instrument mode. False when the table could not be loaded; the message
    // naming the file and the problem has been shown.
    bool Form_Load();

    // ---- the colour's fields -------------------------------------------
    std::array<EntryBox*, 3> Text12{}; // Munsell hue, value, chroma
    std::array<EntryBox*, 3> Text11{}; // X, Y, Z
    std::array<EntryBox*, 2> Text18{}; // x, y
    std::array<EntryBox*, 3> Text15{}; // L*, a*, b*
    std::array<EntryBox*, 3> Text1{};  // R, G, B
    std::array<EntryBox*, 4> Text2{};  // C, M, Y, K
    QLineEdit* Text5 = nullptr;        // display gamma
    Swatch* Picture1 = nullptr;        // the colour swatch
    QLabel* Picture2 = nullptr;        // logo
    QScrollBar *VScroll1 = nullptr, *VScroll2 = nullptr, *VScroll3 = nullptr;
    QScrollBar *VScroll4 = nullptr, *VScroll5 = nullptr, *VScroll6 = nullptr;
    QScrollBar *VScroll7 = nullptr, *VScroll8 = nullptr;
    QLabel* Label19 = nullptr; // "Out of RGB Range"

    // ---- illuminant ------------------------------------------------------
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    QLabel* Label1 = nullptr;
    QCheckBox* Check1 = nullptr; // PWD

    // ---- instrument ------------------------------------------------------
    QGroupBox* Frame1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton *Command7 = nullptr, *Command8 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel *Label24 = nullptr, *Label25 = nullptr;
    QPlainTextEdit* Text3 = nullptr; // messages
    QLabel *Label23 = nullptr, *Label26 = nullptr, *Label6 = nullptr;

    // ---- buttons, check boxes, titles ------------------------------------
    QPushButton *Command2 = nullptr, *Command9 = nullptr, *Command1 = nullptr, *printB = nullptr;
    QPushButton *Command11 = nullptr, *Command3 = nullptr;
    QPushButton* importButton = nullptr; // object name "import"
    QCheckBox *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr;
    QCheckBox *Check6 = nullptr, *Check7 = nullptr;
    QLabel *Label21 = nullptr, *Label22 = nullptr;

    // ---- window state ----------------------------------------------------
    // Set while the window follows the colour model: the sliders' and boxes'
    // own change handlers then do nothing.
    bool slidersBusy = false;
    std::int16_t commPort = 1;

    // ---- what other windows may ask (ColourHost) ---------------------------
    const ColourModel& colour() const override { return colour_; }
    // The settings the colour procedures read from this window.
    ColourSettings settings() const;
    // Shows a colour model: boxes, sliders, label and swatch, then the
    // model's messages; keeps the open charts current.
    void showColour(ColourModel next) override;
    bool saveToPalette(const ColourModel& colour, TagPrompt prompt) override;
    void viewCurrentPalette() override;
    void companionClosed(Companion which) override;
    QWidget& hostWindow() override { return *this; }

    // ---- conversions and entry paths --------------------------------------
    void vadoro();
    void xyzEntered();
    void xyEntered();
    void labEntered();
    void Command6_Click(); // RGB entry
    void cmyk();

    // ---- handlers --------------------------------------------------------
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void rgbSlider_Change(int channel);
    void Text5_Change();
    void VScroll8_Change();
    void VScroll7_Change();
    void Check1_Click(); // PWD
    void Option1_Click(int index);
    void Picture1_MouseDown(int x, int y);
    void Combo1_Click();
    void Text4_Change();
    void Command2_Click();
    void Command9_Click();
    void Command1_Click();
    void printB_Click();
    void Command11_Click(); // Save to Palette
    void Command3_Click();  // Make Table
    void import_Click();
    // Appends the colour the window shows to the palette file, its display
    // colour taken from the R, G, B boxes as they stand. False when nothing was
    // written (no file name given, or the file can't be written).
    bool SaveData(TagPrompt prompt);
    // "Image Analysis": shows or hides the picture window.
    void Check6_Click();
    // "3D Display of HVC ": shows or hides the palette viewer.
    void Check7_Click();
    // The palette viewer while it exists.
    Form3* viewerWindow() const;
    // The chart windows: "Display Hue Page", "Color Tolerence Set",
    // "Display Value Page", "Display ColorChecker".
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    // Keeping open charts current: the hue and value pages after a Munsell
    // conversion, the tolerance set after L*a*b* is computed, the ColorChecker
    // after a gamma change.
    void refreshPages();
    void refreshToleranceSet(float L, float a, float b);
    void refreshColorChecker();
    // The picture window while it exists.
    Form2* pictureWindow() const;
    void Command7_Click(); // Calibrate
    void Command8_Click(); // Measure / Import %R

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
    void renderColour();
    // The boxes and sliders in the model's order.
    std::array<EntryBox*, boxCount> colourBoxes() const;
    std::array<QScrollBar*, sliderCount> colourSliders() const;
    // A box's text changed other than by the window following the model.
    void boxTyped(int box, const QString& text);
    void readStoredSettings();
    void saveSettings(const QString& instrument);
    void showInstrumentMode();

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
    Spectrophotometer& spectrophotometer();
    MeasureEnd importReflectance();
    std::unique_ptr<Spectrophotometer> spectro_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
    // The chart windows, created when first shown.
    QPointer<book> book_;
    QPointer<book2> book2_;
    QPointer<CChecker> checker_;
    QPointer<CTol> ctol_;
    bool instrumentBusy_ = false;
};

} // namespace huelinx
