// The hue page: one page of a Munsell HuePage, every colour of one hue as a grid
// of square patches, value in rows (9 at the top) and chroma in columns (0 to
// 28), each painted in its display colour. Patches outside the Munsell data
// are grey; patches whose colour the display can't show get a dotted border.
// A slider changes the hue; a click on a patch sends the notation it shows to the
// main window.
#pragma once

#include "charts/chart_window.h"

#include <array>

class QLabel;
class QScrollBar;

namespace huelinx {

class ChartShape;

class HuePage : public ChartWindow {
    Q_OBJECT

  public:
    // Client area 12180 x 7950 twips.
    static constexpr int clientWidth = 12180, clientHeight = 7950;
    // Patch 10m + r stands in column m (chroma 2m), row r (value 9 - r).
    static constexpr int patchLeft(int column) { return 1320 + 720 * column; }
    static constexpr int patchTop(int row) { return 120 + 720 * row; }
    static constexpr int patchSize = 615;

    HuePage(Session& session, Platform& platform, QWidget* parent = nullptr);

    // ---- controls ----------------------------------------------------------
    std::array<ChartShape*, 150> patches{};
    std::array<QLabel*, 10> valueLabels{};  // value labels "9" .. "0"
    std::array<QLabel*, 15> chromaLabels{}; // "N", "2" .. "28"
    QLabel* hueTitle = nullptr;             // element 23 of valueLabels: the hue text
    QScrollBar* hueSlider = nullptr;        // hue 0 (top) .. 100

    // Set while the page moves its own slider.
    bool updating = false;

    // ---- procedures and handlers --------------------------------------------
    // Shows the window and draws the page of the main window's hue. A hue text
    // without a family says "Format Error" unless `reportFormatError` is false
    // (the main window's conversion, which runs right after, says it itself).
    void showHuePage(bool reportFormatError = true);
    void onHueSlider();
    void onMouseDown(int x, int y);
    // The notation and name of the patch at a layout pixel; empty off the
    // patches and on those the data don't hold.
    QString tooltipAt(int x, int y) const override;

  protected:
    // A Munsell conversion elsewhere turns the page to the new hue; the page's
    // own clicks are not turned back to it.
    void followColour(const ColourChange& change) override;

  private:
    void buildPatches();
    void buildLabels();
    void drawPatches(float hue);
    float shownHue_ = 0; // the hue the patches show
};

} // namespace huelinx
