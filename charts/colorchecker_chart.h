// The ColorChecker window: the 24 patches of the chart as squares on a dark
// grey ground, painted from their Munsell notations (file "ccnames.csv")
// through the program's own conversions, so the chart looks as the main
// window's display settings (gamma, white balance) render it.
#pragma once

#include "charts/chart_window.h"

#include <array>

#include <QString>

class QLabel;

namespace huelinx {

class ChartShape;

class ColorCheckerChart : public ChartWindow {
    Q_OBJECT

  public:
    // Client area 10095 x 7290 twips.
    static constexpr int clientWidth = 10095, clientHeight = 7290;
    static constexpr int patchCount = 24;
    // Item i stands in row i / 6, column i % 6.
    static constexpr int patchLeft(int i) { return 120 + 1680 * (i % 6); }
    static constexpr int patchTop(int i) { return 240 + 1680 * (i / 6); }
    static constexpr int patchSize = 1455;
    static constexpr const char* fileName = "ccnames.csv";

    ColorCheckerChart(Session& session, Platform& platform, QWidget* parent = nullptr);

    // ---- controls ----------------------------------------------------------
    std::array<ChartShape*, patchCount> patches{};
    QLabel* sourceLabel = nullptr; // where the chart data come from

    // ---- procedures and handlers --------------------------------------------
    // Paints the patches from "ccnames.csv" (the working directory first, then
    // the data folders). Records the file lacks leave their patches as they
    // were, and one message names the file.
    void drawChart();
    // Patches painted by the last drawChart.
    int patchesDrawn() const { return drawn_; }
    // The chart's name, notation and ISCC-NBS name of the patch at a layout
    // pixel ("13 blue: 7.50PB 2.9/12.7  vivid purplish blue"); empty elsewhere.
    QString tooltipAt(int x, int y) const override;

  protected:
    // A change of the display gamma repaints the chart.
    void followColour(const ColourChange& change) override;

  private:
    void paintPatches(const std::string& text);

    int drawn_ = 0;
    std::array<QString, patchCount> tips_; // each painted patch's tooltip
};

} // namespace huelinx
