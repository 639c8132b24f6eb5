// What the four chart windows share: a window of its own in 8-point type whose
// client area is a chart surface, opening at the surface's layout size; a
// print button that prints the window; tooltips from the window's items; a
// close (its close box or Esc) that the program hears of (it clears the
// window's check box); and the session's colour changes, followed while the
// window is shown.
#pragma once

#include "session/signal.h"

#include <QColor>
#include <QSize>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QPushButton;

namespace huelinx {

class ChartSurface;
class Platform;
class Session;
struct ColourChange;

class ChartWindow : public QWidget {
    Q_OBJECT

  public:
    ChartSurface* surface = nullptr;    // the window's client area
    QPushButton* printButton = nullptr; // "Command1"

    // Prints the window's image; says "Printer not Found" when that fails.
    void onPrint();
    // The tooltip of the item at a layout pixel; empty elsewhere.
    virtual QString tooltipAt(int x, int y) const = 0;
    // Called when the user closes the window.
    std::function<void()> onClosed;

  protected:
    // How a chart window opens: its object name, caption, client area in
    // twips and the surface's ground.
    struct Opening {
        const char* objectName;
        const char* title;
        QSize clientTwips;
        QColor ground;
    };
    ChartWindow(Session& session, Platform& platform, const Opening& opening, QWidget* parent);

    // The print button, at a place and size in twips.
    void placePrintButton(const QString& text, int left, int top, int width, int height);
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the window, as its close box does.
    void keyPressEvent(QKeyEvent* event) override;
    // A change of the session's colour while the window is shown.
    virtual void followColour(const ColourChange&) {}

    Session& session_;
    Platform& platform_;

  private:
    Connection colourChanges_;
};

} // namespace huelinx
