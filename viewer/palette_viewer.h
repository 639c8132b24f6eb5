// The 3D palette viewer: the colours of a palette file as dots in the Munsell
// solid, to rotate, tilt, zoom, pan and pick from.
#pragma once

#include "palette/palette_geometry.h"

#include "colour/colour_model.h"
#include "palette/palette_entries.h"
#include "session/signal.h"
#include "session/soil_comparison.h"

#include <QImage>
#include <QStringList>

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QTimer;

namespace huelinx {

class Platform;
class Session;
class ViewerSurface;

// Where a palette comes from: the file the user chooses, the one shown last
// ("LastPalette.txt", else the default palette), or the palette file in use.
enum class PaletteSource { Chosen, Remembered, CurrentFile };

class PaletteViewer : public QWidget {
  public:
    static constexpr int capacity = 10000;

    PaletteViewer(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Shows the window, loads the remembered palette and starts rotating.
    void start();
    // Loads a palette and draws it; the current colour stays as it is.
    void loadPalette(PaletteSource source);
    // Loads the palette file at `path` (File > Open Recent, a dropped file)
    // and lists it among the recent files when it loads.
    void loadPaletteFile(const QString& path);
    // Shows the window on the palette document's file, loading it unless the
    // viewer loaded it since it was last written.
    void showCurrentPalette();
    void drawPalette();

    // ---- controls ----------------------------------------------------------
    QMenuBar* menuBar = nullptr;
    QAction *newPaletteAction = nullptr, *openPaletteAction = nullptr, *exitAction = nullptr,
            *helpAction = nullptr;
    QAction* exportPaletteAction = nullptr; // "Export Palette…"
    ViewerSurface* drawing = nullptr;
    QScrollBar *rotationSlider = nullptr, *tiltSlider = nullptr, *zoomSlider = nullptr,
               *panXSlider = nullptr, *panYSlider = nullptr, *speedSlider = nullptr;
    QPushButton *rotateButton = nullptr, *stopButton = nullptr; // Rotate, Stop
    QTimer *rotationTimer = nullptr, *redrawTimer = nullptr;
    QCheckBox* sampleNumbersCheck = nullptr; // Display sample #
    QListWidget* paletteList = nullptr;
    QLineEdit* statusBox = nullptr;
    std::array<QLineEdit*, 2> pickedTags{}, pickedNotations{};
    std::array<QLineEdit*, 2> pickedNames{}; // ISCC-NBS name of the picked dot
    QFrame *leftPickSwatch = nullptr, *rightPickSwatch = nullptr;
    // The two picks compared as soil colours: class, CIEDE2000 and steps.
    QLabel* contrastLine = nullptr;

    // ---- the loaded palette: the palette document's entries ------------------
    // The entries shown, numbered 1..pointCount() as the list numbers them.
    int pointCount() const;
    const PaletteEntry& entry(int i) const;
    // Where entry i's dot was last drawn, in drawing units.
    ViewPoint dotAt(int i) const { return dots_[static_cast<std::size_t>(i)]; }
    // An entry's hue as the list and the "ID a Color" box show it: lower case,
    // padded to seven characters ("5r     ").
    QString hueTextOf(int i) const;

    // ---- handlers ------------------------------------------------------------
    void onRotate();
    void onStop();
    void onRotationTick();
    void onNewPalette();
    void onHelp();
    // "Export Palette…": asks for a file and writes the loaded palette to it
    // as a GIMP palette (.gpl), an Adobe Swatch Exchange file (.ase) or
    // CGATS.17 text (.txt), by the file's extension.
    void onExportPalette();
    // A mouse press at a pixel of the drawing area; button 1 left, 2 right.
    void onDrawingClicked(int button, int px, int py);
    // The tooltip at a pixel of the drawing area: over a dot, the tag,
    // notation and ISCC-NBS name of the entry a click there picks, as
    // "red  5r 5.00/12.00  strong red (s.R)"; empty off the dots.
    QString tooltipAt(int px, int py) const;

    // Told when the window closes (it is then destroyed).
    std::function<void()> onClosed;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the window, as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildMenu();
    void buildControls();
    // The "ID a Color" box: swatch, tag, notation and name of each pick.
    QGroupBox* buildIdentifyBox();
    void buildLayout();
    void setStatus(const QString& text, int standardColourIndex);
    // The rows whose conversion gave a message, said in one box when the load
    // ends: their count, and the line and messages of the first few.
    struct RowMessages {
        static constexpr int shown = 3;
        int rows = 0;
        QStringList first; // "line 7: Out of Munsell Range"
        void add(std::size_t line, const std::vector<std::string>& messages) {
            if (messages.empty()) return;
            if (rows++ >= shown) return;
            QStringList texts;
            for (const std::string& m : messages)
                texts << QString::fromStdString(m);
            first << QString("line %1: %2").arg(line).arg(texts.join(", "));
        }
        QString summary(const QString& name) const;
    };
    // Reads the palette rows of `text` into the palette document's entries;
    // false after the format message.
    bool readRows(const std::string& text, const QString& name);
    // Loads and draws the palette file `name`; false when it didn't load.
    bool loadNamed(const QString& name);
    // The entries of the rows, converted in `colour`, with the viewer's rules:
    // at most `capacity`, a row that can't be read ends the load (`read`
    // false), rows without a notation are counted and said at the end.
    std::vector<PaletteEntry> convertRows(const std::string& text, const QString& name,
                                          ColourModel& colour, RowMessages& said, bool& read);
    // The loaded entries, in the palette document.
    const std::vector<PaletteEntry>& entries() const;
    // Lists entries 1..pointCount, their columns aligned.
    void listEntries();
    // An entry's notation as the "ID a Color" box shows it, the hue padded to
    // seven characters: "5r      5.00/12.00".
    QString notationOf(int i) const;
    // An entry's ISCC-NBS name: "strong red (s.R)"; empty for none.
    QString colourNameOf(int i) const;
    // The entry whose dot is drawn over the pixel, the one a click there picks; 0 for none.
    int entryUnder(int px, int py) const;
    // The entry whose dot is nearest the pixel; 0 without dots.
    int entryNearest(int px, int py) const;
    // The contrast line for the two picks, once both are made.
    void showContrast();
    void drawAxes(class QPainter& painter, const ViewParams& view);
    void drawNumbers();

    Session& session_;
    Platform& platform_;
    ViewParams lastView_;
    // Records written to the palette document reload it while the viewer is
    // shown: the file that load showed, while it is the last one.
    std::string documentShown_;
    // The line of the last row shown when a palette went on past the
    // capacity with rows a view would show; 0 otherwise.
    std::size_t limitedAfter_ = 0;
    Connection paletteWrites_;
    // Where each entry's dot was drawn last, 1..pointCount() (0 unused).
    std::vector<ViewPoint> dots_ = std::vector<ViewPoint>(1);
    // The notations picked with the left and the right button; none while
    // unpicked or for an entry whose notation can't be read.
    std::array<std::optional<SoilNotation>, 2> picks_{};
    std::array<bool, 2> picked_{};
};

} // namespace huelinx
