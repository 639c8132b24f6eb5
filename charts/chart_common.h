// What the four chart windows share beside their window (chart_window.h):
// controls placed at positions given in twips, tooltips of notations, and the
// display colour of a Munsell notation computed without touching the main
// window.
#pragma once

#include "charts/chart_surface.h"
#include "charts/limit_line.h"
#include "colour/iscc_nbs.h"
#include "colour/mun2xyz.h"
#include "platform/slider_tooltip.h"

#include <QColor>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

namespace huelinx {

class Resources;
class Session;

// The grey of the chart pages around and between the patches.
inline constexpr QColor pageGrey{192, 192, 192};

// A label with `text` at (left, top) twips; sized to its text unless a width
// and height (twips) are given.
QLabel* placeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                   int width = 0, int height = 0);
QPushButton* placeButton(QWidget* parent, const QString& name, const QString& text, int left,
                         int top, int width, int height);

// The tooltip of a colour of a chart: its notation as the program writes it
// (hue, value and chroma to two decimals at most) and ISCC-NBS name ("5R 5/8
// moderate red", "4.94R 4.48/14.04  vivid red"; a grey "N 5/"), and, when
// `clickSends`, what a click does.
QString notationTip(float hue, float value, float chroma, const IsccNbsTable& names,
                    bool clickSends);
// The line a tooltip ends with when a click sends the colour to the main window.
extern const char* const clickSendsLine;

// Enters the Munsell notation hue, value, chroma as if typed into the main
// window's three Munsell boxes and made the current colour (`origin` the
// chart that sent it).
void sendNotation(Session& session, float hue, float value, float chroma, const void* origin);

// The display colour of one Munsell notation, as the charts paint it.
struct ChartColour {
    // Ok, or the notation lies outside the data (OutsideData, OutOfTable);
    // then X, Y, Z are 0.
    MunsellToCie status = MunsellToCie::OutsideData;
    float X = 0, Y = 0, Z = 0; // as mun2xyz gave them, before the display conversion
    int R = 0, G = 0, B = 0;
    // The display conversion had to clip the colour.
    bool outOfRange = false;
    // The value converted: a value above 9.5 is taken as 9.5.
    float value = 0;
};

// mun2xyz and the display conversion into local values: the program's
// current colour, its quiet flag and its out-of-range flag stay as they are.
ChartColour chartColour(float hue, float value, float chroma, const MunTable& table,
                        const ColourSettings& settings);

// The check the pages draw the MacAdam limit by: the object-colour solid of
// illuminant C with the 2 degree observer, from the spectral tables the
// resources hold (or read from their folders when not loaded yet), checking
// X, Y, Z as the main window does a colour under C without PWD; colours a
// rounding away from its surface count as within. Empty (no line is drawn)
// when the tables can't be read.
LimitExcess macAdamCheckOfC(const Resources& resources);

// Puts the lines of the MacAdam limit over a page, with a short sample of
// the line left of `legend`; the legend shows only while a line is drawn.
void showLimitLines(ChartSurface& surface, QLabel& legend,
                    std::vector<ChartSurface::Polyline> lines);

} // namespace huelinx
