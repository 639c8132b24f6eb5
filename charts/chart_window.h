// What the four chart windows share: a window of its own in 8-point type whose
// client area is a chart surface, opening at the surface's layout size; a
// print button that prints the window; tooltips from the window's items; and
// a close that clears the window's check box in the main window.
#pragma once

#include <QColor>
#include <QSize>
#include <QWidget>

class QPushButton;

namespace huelinx {

class ChartSurface;
class ColourHost;
enum class Companion;
struct Program;

class ChartWindow : public QWidget {
    Q_OBJECT

  public:
    ChartSurface* surface = nullptr;    // the window's client area
    QPushButton* printButton = nullptr; // "Command1"

    // Prints the window's image; says "Printer not Found" when that fails.
    void onPrint();
    // The tooltip of the item at a layout pixel; empty elsewhere.
    virtual QString tooltipAt(int x, int y) const = 0;

  protected:
    // How a chart window opens: its object name, caption, client area in
    // twips, the surface's ground and the check box that shows it.
    struct Opening {
        const char* objectName;
        const char* title;
        QSize clientTwips;
        QColor ground;
        Companion companion;
    };
    ChartWindow(ColourHost& host, Program& program, const Opening& opening, QWidget* parent);

    // The print button, at a place and size in twips.
    void placePrintButton(const QString& text, int left, int top, int width, int height);
    void closeEvent(QCloseEvent* event) override;

    ColourHost& host_;
    Program& program_;

  private:
    Companion companion_;
};

} // namespace huelinx
