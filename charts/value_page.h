// The value page: every colour of one Munsell value as a polar chart, hue as
// the angle (hue 0 to the right, increasing counter-clockwise) and chroma as
// the distance from the centre, each colour a small circle in its display
// colour. Circles whose colour has a component clipped to 0 are cross-hatched;
// each hue's ray ends where the Munsell data end, with the hue's name. A
// slider sets the value; moving the mouse reads out the colour under it, and
// a click on a circle sends the notation it shows to the main window. A
// dashed curve around the centre marks where real surfaces end (the MacAdam
// limit), once the page has a check for it.
#pragma once

#include "charts/chart_window.h"
#include "charts/limit_line.h"

#include <QPointF>
#include <QRect>
#include <QString>

#include <vector>

class QLabel;
class QScrollBar;

namespace huelinx {

struct ColourSettings;
class ChartShape;

class ValuePage : public ChartWindow {
    Q_OBJECT

  public:
    // Client area 8895 x 8295 twips; the chart is centred on it.
    static constexpr int clientWidth = 8895, clientHeight = 8295;

    ValuePage(Session& session, Platform& platform, QWidget* parent = nullptr);

    // ---- controls ----------------------------------------------------------
    QLabel* valueTitle = nullptr;        // "Value   5."
    QScrollBar* valueSlider = nullptr;   // 950 (value 9.5) at the top .. 100 at the bottom
    QLabel* sliderScale = nullptr;       // the slider's scale
    ChartShape* readOutSwatch = nullptr; // swatch of the colour under the mouse
    QLabel* readOut = nullptr;           // read-out
    QLabel* limitLegend = nullptr;       // says what the dashed curve is; shown with it

    // Set while the page moves its own slider.
    bool updating = false;

    // ---- procedures and handlers --------------------------------------------
    // Draws the chart of Munsell value v. A value above 9.5 is drawn as 9.5,
    // and lowered to 9.5 in the caller's variable; a value beyond the slider's
    // range puts the slider at its nearest end.
    void showValuePage(float& v);
    // The page at the session colour's value.
    void showCurrentValue();
    void onValueSlider();
    void onMouseMove(int x, int y);
    void onMouseDown(int x, int y);

    // The chart's centre in twips.
    static int centreX();
    static int centreY();
    // The radius of a circle, in layout pixels.
    static double circleRadius();
    // Where the circle of a hue and chroma stands on the page now, in layout
    // pixels: the rays are shortened alike when the longest would leave the page.
    QPointF circleAt(float hue, double chroma) const;
    // The check of the MacAdam limits the curve is drawn by; without one (an
    // empty function) no curve is drawn. Redraws the page when shown.
    void setLimitCheck(LimitExcess excess);
    // The notation and name of the circle at a layout pixel; empty elsewhere.
    QString tooltipAt(int x, int y) const override;
    // The hue names drawn and where, in layout pixels.
    const std::vector<std::pair<QString, QRect>>& hueNames() const { return hueNames_; }

  protected:
    // A Munsell conversion elsewhere redraws the page at the new value.
    void followColour(const ColourChange& change) override;

  private:
    // Lets 0.01 seconds pass on the program's clock, as a throttle of the
    // read-out; bounded, and safe across midnight.
    void pause();
    // One hue's circles from chroma 0 outwards, up to where the data end.
    struct Ray {
        float hue = 0;
        std::vector<std::pair<int, QColor>> circles; // chroma, colour
        std::vector<bool> clipped;
        float value = 0; // the value the circles show
    };
    Ray computeRay(float hue, float& value, const ColourSettings& s) const;
    // The factor that keeps every circle inside the page (1 when they fit).
    double fitFactor(const std::vector<Ray>& rays) const;
    // Where chroma c of a ray stands, in layout pixels, at `factor`.
    QPointF circleCentre(float hue, double chroma, double factor) const;
    void drawRay(const Ray& ray, double factor);
    void drawLimit(float value, double factor);
    // The hue names where the rays end, placed so that none overlaps another
    // or a control, or leaves the page: moved outward along its ray, or left
    // out when no place is free (never a principal hue).
    void placeHueNames(const std::vector<Ray>& rays, double factor);

    // The circles drawn, for their tooltips.
    struct Circle {
        float hue, value, chroma;
        QPointF centre;
        double radius;
    };
    std::vector<Circle> circles_;
    double factor_ = 1.0; // how much the rays are shortened to stay on the page
    std::vector<std::pair<QString, QRect>> hueNames_;
    LimitLines limitLines_{valueLimitLine};
    float shownValue_ = 0; // the value the circles show
};

} // namespace huelinx
