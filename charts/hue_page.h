// The hue page: one page of a Munsell HuePage, every colour of one hue as a grid
// of square patches, value in rows (9 at the top) and chroma in columns (0 to
// 28), each painted in its display colour. Patches outside the Munsell data
// are grey; patches whose colour the display can't show get a dotted border.
// A slider changes the hue; a click on a patch sends the notation it shows to the
// main window. A dashed line crosses the patches where real surfaces end
// (the MacAdam limit), once the page has a check for it.
#pragma once

#include "charts/chart_window.h"
#include "charts/limit_line.h"

#include <QPointF>

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
    QLabel* limitLegend = nullptr;          // says what the dashed line is; shown with it

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
    // The check of the MacAdam limits the line is drawn by; without one (an
    // empty function) no line is drawn. Redraws the page when shown.
    void setLimitCheck(LimitExcess excess);
    // Where chroma c at value v stands on the page, in layout pixels (the
    // centre of its patch at the data's steps).
    static QPointF pointAt(double chroma, double value);

  protected:
    // A Munsell conversion elsewhere turns the page to the new hue; the page's
    // own clicks are not turned back to it.
    void followColour(const ColourChange& change) override;

  private:
    void buildPatches();
    void buildLabels();
    void drawPatches(float hue);
    void drawLimit(float hue);
    LimitLines limitLines_{hueLimitLine};
    float shownHue_ = 0; // the hue the patches show
};

} // namespace huelinx
