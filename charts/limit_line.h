// Where real surfaces end on the chart pages: the MacAdam limit, the largest
// chroma a surface can have at a hue and value. Pure C++: the pages draw the
// points, the check of a colour comes from whoever owns the object-colour
// solid, so this file only searches along chroma.
#pragma once

#include "colour/illuminant.h"
#include "colour/muntable.h"

#include <functional>
#include <map>
#include <vector>

namespace huelinx {

// How far X, Y, Z lie beyond the MacAdam limits, in Y units: 0 or less is
// within. X, Y, Z are those mun2xyz gives under illuminant C on the
// renotation's value scale (no PWD: value 10 at Y = 102.568).
using LimitExcess = std::function<double(const Tristimulus&)>;

// The limit at one hue and value.
struct LimitPoint {
    double hue = 0, value = 0;
    // The largest chroma within the limits, counted from the grey outwards
    // (the first crossing, to 1/1000 of a chroma step), when `reached`. Else
    // every colour the data hold up to `chroma` (the data's or the page's
    // edge) is within, and the limit lies beyond what the page can say.
    double chroma = 0;
    bool reached = false;
};

// The limit at hue (0..100), value, searched up to `maxChroma`: the colours
// are those of mun2xyz under illuminant C with the renotation's value scale,
// whatever the window's settings, as the limits belong to the notation.
LimitPoint limitAt(double hue, double value, double maxChroma, const MunTable& table,
                   const LimitExcess& excess);

// The hue page's line: the limit at `hue` for each value from 1 to 9 in
// quarter steps, chroma up to 28.
std::vector<LimitPoint> hueLimitLine(double hue, const MunTable& table, const LimitExcess& excess);
// The value page's curve: the limit at `value` for each hue 0, 1.25 .. 98.75,
// chroma up to 40.
std::vector<LimitPoint> valueLimitLine(double value, const MunTable& table,
                                       const LimitExcess& excess);

// The runs of points the pages draw as lines. A point whose limit lies
// beyond the data breaks the line there, unless it is one of at most three
// between two reached points (as between two values of the data, which reach
// no further there than at the nearer value) and the chord between those
// passes at or beyond the data's edge at each: then the line crosses the gap
// on that chord (those points come out reached, with the chord's chroma). A
// lone point draws nothing. `closed` joins the last point to the first (the
// value page's hue circle).
std::vector<std::vector<LimitPoint>> limitRuns(const std::vector<LimitPoint>& points, bool closed);

// The lines of one page kept by the hue or value they were found for, so a
// redraw of the same page asks the check nothing. Setting another check
// forgets them.
class LimitLines {
  public:
    using Find = std::vector<LimitPoint> (*)(double, const MunTable&, const LimitExcess&);
    explicit LimitLines(Find find) : find_(find) {}

    void setCheck(LimitExcess excess);
    bool hasCheck() const { return static_cast<bool>(excess_); }
    // The line at `key` (a hue or a value); empty without a check.
    const std::vector<LimitPoint>& line(double key, const MunTable& table);

  private:
    // More keys than a slider has positions: forget them all and start again.
    static constexpr std::size_t maxKept = 1024;
    Find find_;
    LimitExcess excess_;
    const MunTable* table_ = nullptr;
    std::map<double, std::vector<LimitPoint>> kept_;
};

} // namespace huelinx
