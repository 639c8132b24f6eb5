// The picture analysis window: shows a picture (a JPEG file or the
// clipboard's picture) and reports the Munsell notation of the block of
// pixels under the mouse, converted by the main window. It also turns the
// whole picture into a palette file. Calibrated with the colour chart in the
// picture, it reads the block as a measurement instead of as display RGB.
#pragma once

#include "colour/colour_model.h"
#include "picture/chart_calibration.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QCloseEvent;
class QLineEdit;
class QMenuBar;
class QScrollArea;

namespace huelinx {

class PictureSurface;
class Platform;
class Session;
enum class Change;

class PictureWindow : public QWidget {
  public:
    PictureWindow(Session& session, Platform& platform, QWidget* parent = nullptr);

    // Opening: sample size 81, click mode, the default picture "TestImage.jpg".
    void start();

    // ---- controls ----------------------------------------------------------
    QMenuBar* menuBar = nullptr;
    QAction *loadPictureAction = nullptr, *exitAction = nullptr, *clickModeAction = nullptr,
            *continuousModeAction = nullptr, *makePaletteAction = nullptr,
            *clipboardAction = nullptr, *view3DAction = nullptr, *helpAction = nullptr;
    QAction *calibrateChartAction = nullptr, *greyReferenceAction = nullptr,
            *clearCalibrationAction = nullptr, *linearValuesAction = nullptr;
    QAction* sampleSizeActions[5] = {}; // "1", "9", "25", "49", "81"
    PictureSurface* picture = nullptr;
    QLineEdit *statusBox = nullptr, *fileNameBox = nullptr, *widthBox = nullptr,
              *heightBox = nullptr, *notationBox = nullptr, *positionBox = nullptr,
              *colourBox = nullptr;

    // Called when the user closes the window or leaves it by its menu.
    std::function<void()> onClosed;

    // ---- state -------------------------------------------------------------
    bool clickMode = true;
    int sampleRadius = 4, sampleCount = 81;
    bool sampling = false;
    QString pictureFile = "TestImage.jpg";
    bool paletteMade = false;
    int granularity = 10;
    // The window's logical drawing size after a clipboard picture.
    QSize drawingSize{1024, 768};
    // The chart in the picture and the fit made on it.
    ChartCalibration chart;
    // Where the picture's calibration is kept ("<picture>.calibration.txt");
    // empty for a picture not chosen from a file.
    QString calibrationFile;

    // ---- procedures ----------------------------------------------------------
    // Loads `pictureFile`, or a file chosen in the dialog.
    void loadPicture(bool withDialog);
    // Opens the picture file at `path` (a recent file, a dropped file, one
    // chosen) and lists it among the recent files when it reads.
    void openPicture(const QString& path);
    void getClipboard();
    // Reads the block at x, y into the current colour; `hovering` while the
    // pointer moves over the picture, so that the history keeps the moves as one step.
    void showNotationAt(int x, int y, bool hovering = false);
    void makePicturePalette();
    void setSampleSize(int index);
    void onHelp();
    void onView3D();
    void onPictureClicked(int x, int y);
    void onPictureMouseMove(int x, int y);
    void onPictureReleased(int x, int y);
    // "Calibrate with chart": asks for the four corner patches.
    void onCalibrateChart();
    // "Mark grey reference": the next click marks the grey card.
    void onMarkGreyReference();
    void onClearCalibration();
    // "Linear picture values" ticked or not: a chart already clicked is fitted again.
    void onLinearValues();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A picture dropped here opens here; palettes and CGATS files dropped
    // here open where they would on the main window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    // Reads and shows `pictureFile` (the user's file, or else the program's
    // own found in its data folder); false when it can't be read.
    bool readPicture(bool userFile);
    void newPicture();
    // Sizes the window to show the whole picture, within the screen.
    void fitToPicture();
    void setStatus(const QString& text, int standardColourIndex);
    // Asks for the block size until it is usable and accepted; false when cancelled.
    bool chooseGranularity(long& columns, long& rows);
    // Asks whether an existing palette of the chosen name is replaced (Yes) or
    // added to (No); false when the user cancels. No question for a new file.
    bool choosePaletteWrite(bool& replace);
    // The palette records of the blocks, each ended by CR LF.
    std::string paletteRecords(long columns, long rows);
    void outlineBlocks(long columns, long rows);
    std::string blockRecord(const ColourModel& colour, long x, long y, const std::string& date,
                            const std::string& time);
    // Inverts the block around a pixel for a moment; the sums of its R, G, B.
    void flashBlock(int x, int y, long sum[3]);
    // The display-RGB reading of a block: the average into the R, G, B boxes.
    ColourModel displayReading(ColourModel colour, const long sum[3], Change what);

    // ---- the chart (chart_calibration_mode.cpp) ----------------------------
    // A click taken by the chart: a corner, the grey reference, or the start
    // of moving a corner; false when the click is a reading.
    bool chartClick(int x, int y);
    void fitChartCorners();
    void refuseFit(const std::string& message);
    void showChartMarks();
    void markGreyReference(int x, int y);
    // Over a patch of the fitted chart: its residual and left-out CIEDE2000.
    QString chartTooltipAt(int x, int y) const;
    // The region read as a measurement through the fit; false, with the
    // reason in `problem`, when it can't be read. `notes` gets what the
    // reading says of itself.
    bool readCalibrated(const photo::Region& region, ColourModel& colour,
                        std::vector<std::string>* notes, std::string* problem = nullptr);
    // "calibrated, expected ΔE00 0.4 (max 1.1)" and the notes.
    QString calibratedNote(const std::vector<std::string>& notes) const;
    void saveCalibration();
    void loadSavedCalibration();
    photo::Encoding pictureEncoding() const;

    Session& session_;
    Platform& platform_;
    QScrollArea* scroll_ = nullptr;
    // The corner being moved, where the press was, and whether it moved yet.
    int draggedCorner_ = -1;
    // The picture calibrationFile belongs to: another picture shown since
    // (the clipboard's, one set by a caller) never writes it.
    int calibrationSerial_ = -1;
    QPoint dragStart_;
    bool dragMoved_ = false;
    std::optional<std::array<Tristimulus, photo::chartPatches>> chartReference_;
};

} // namespace huelinx
