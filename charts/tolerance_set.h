// The colour tolerance set: a standard colour and six colours that differ
// from it by a chosen step in one CIELAB coordinate each (lighter and darker,
// redder and greener, yellower and bluer), as seven patches in a rosette with
// the standard in the middle. Scroll bars set the three steps; the set can be
// printed and saved as a palette that the 3D viewer opens.
#pragma once

#include "charts/chart_window.h"

#include <array>
#include <cstdint>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace huelinx {

class ChartShape;

class ToleranceSet : public ChartWindow {
    Q_OBJECT

  public:
    static constexpr int clientWidth = 8880, clientHeight = 4920;
    static constexpr int patchSize = 1095;
    // Top-left corners (twips) of patch 0 (standard) .. 6 (Bluer).
    static constexpr std::array<int, 7> patchLeft{2160, 2160, 2160, 3240, 1080, 3240, 1080};
    static constexpr std::array<int, 7> patchTop{1920, 840, 3000, 2400, 1320, 1320, 2400};
    static constexpr const char* paletteName = "Cpalette.csv";

    ToleranceSet(Session& session, Platform& platform, QWidget* parent = nullptr);

    // ---- controls ----------------------------------------------------------
    QGroupBox* standardFrame = nullptr;        // "Standard CIELAB  "
    std::array<QLineEdit*, 3> standardBoxes{}; // the standard's L*, a*, b*
    std::array<QLabel*, 3> standardLabels{};
    QGroupBox* toleranceFrame = nullptr;      // "Tolerance"
    std::array<QScrollBar*, 3> stepSliders{}; // steps of L*, a*, b* times 10
    std::array<QLabel*, 6> stepCaptions{};    // step captions
    std::array<QLabel*, 6> directionLabels{}; // "Lighter" .. "Bluer"
    std::array<ChartShape*, 7> patches{};
    QCheckBox* blackLinesCheck = nullptr;     // "Black Lines"
    QPushButton* savePaletteButton = nullptr; // "Save Palette"

    // ---- the set -----------------------------------------------------------
    std::array<float, 3> stepSizes{5.0f, 5.0f, 5.0f};
    // For patch i: hue text, value and chroma (each with a leading blank).
    std::array<std::array<std::string, 7>, 3> patchNotations;
    std::array<std::array<std::int16_t, 7>, 3> patchRgb{};

    // ---- procedures and handlers --------------------------------------------
    void start();
    // Builds the set around the standard L*, a*, b*; false, with nothing
    // drawn, when a patch's X, Y, Z or value would lie beyond single precision.
    bool buildAround(float L, float a, float b);
    void onStepSlider(int index);
    void onBlackLines();
    // Writes the set to "Cpalette.csv" (replacing it) and has the viewer load it.
    void onSavePalette();
    // The direction, notation and ISCC-NBS name of the patch at a layout
    // pixel ("Lighter: " and the notation and name); empty elsewhere.
    QString tooltipAt(int x, int y) const override;

  protected:
    // A colour whose L*a*b* was computed becomes the standard.
    void followColour(const ColourChange& change) override;

  private:
    void buildStandard();
    void buildSteps();
    void buildPatches();
    void writeStepCaptions();
    // buildAround on the standard typed in the standardBoxes boxes; a box without a
    // number single precision holds, or a set beyond it, is said in a message
    // and the set stays as it was.
    void rebuildFromBoxes();
    // A patch's notation (hue, value, chroma texts) and display colour;
    // `finite` when its X, Y, Z and value are numbers single precision holds.
    struct Patch {
        std::array<std::string, 3> notation;
        std::array<std::int16_t, 3> rgb{};
        bool finite = false;
    };
    Patch patchOf(const std::array<float, 3>& lab) const;
    void showPatch(int i, const Patch& patch);
    std::string paletteText() const;

    // Set while the viewer loads the palette just saved.
    bool reloading_ = false;
};

} // namespace huelinx
