// The windows the main window's check boxes open: the four charts, the
// picture window and the palette viewer. Each is made when first shown, hidden
// (not closed) when its box is cleared, and clears its box when the user
// closes it. The boxes are found by their object names.
#pragma once

#include "session/signal.h"

#include <QObject>
#include <QPointer>

#include <string>

class QCheckBox;
class QWidget;

namespace huelinx {

class ColorCheckerChart;
class HuePage;
class PaletteViewer;
class PictureWindow;
class Platform;
class Session;
class ToleranceSet;
class ValuePage;

class Companions : public QObject {
  public:
    // Ties the check boxes of `mainWindow` to the windows; the charts are
    // made as its children, the picture window and the viewer as windows of
    // their own that this object deletes.
    Companions(Session& session, Platform& platform, QWidget& mainWindow);
    ~Companions() override;

    // The windows while they exist.
    HuePage* huePage() const;
    ValuePage* valuePage() const;
    ToleranceSet* toleranceSet() const;
    ColorCheckerChart* colorChecker() const;
    PictureWindow* picture() const;
    PaletteViewer* viewer() const;

  private:
    void tie(const char* boxName, void (Companions::*toggled)(bool));
    QCheckBox* box(const char* name) const;
    void onHuePage(bool shown);
    void onToleranceSet(bool shown);
    void onValuePage(bool shown);
    void onColorChecker(bool shown);
    void onPicture(bool shown);
    void onViewer(bool shown);
    // Shows the viewer on the palette document (from "View 3D Palette" and
    // the tolerance set's palette).
    void viewCurrentPalette();
    // Shows the viewer (its box ticked) and loads the palette the user chooses.
    void openPalette();
    // Shows the viewer (its box ticked) on the palette file at `path`.
    void openPaletteFile(const std::string& path);
    // Shows the picture window (its box ticked) on the picture file at `path`.
    void openPictureFile(const std::string& path);
    PaletteViewer& ensureViewer();
    // The viewer made, shown, in front and its box ticked.
    PaletteViewer& viewerInFront();
    template <class Chart> Chart& ensureChart(QPointer<Chart>& chart, const char* boxName);

    Session& session_;
    Platform& platform_;
    QWidget& main_;
    QPointer<HuePage> huePage_;
    QPointer<ValuePage> valuePage_;
    QPointer<ToleranceSet> toleranceSet_;
    QPointer<ColorCheckerChart> colorChecker_;
    QPointer<PictureWindow> picture_;
    QPointer<PaletteViewer> viewer_;
    Connection viewWanted_, openWanted_, paletteFileWanted_, pictureFileWanted_;
};

} // namespace huelinx
