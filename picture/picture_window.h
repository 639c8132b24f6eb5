// The picture analysis window: shows a picture (a JPEG file or the
// clipboard's picture) and reports the Munsell notation of the block of
// pixels under the mouse, converted by the main window. It also turns the
// whole picture into a palette file.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QAction;
class QCloseEvent;
class QLineEdit;
class QMenuBar;
class QScrollArea;

namespace huelinx {

class PictureSurface;
class Platform;
class Session;

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

    // ---- procedures ----------------------------------------------------------
    // Loads `pictureFile`, or a file chosen in the dialog.
    void loadPicture(bool withDialog);
    void getClipboard();
    void showNotationAt(int x, int y);
    void makePicturePalette();
    void setSampleSize(int index);
    void onHelp();
    void onView3D();
    void onPictureClicked(int x, int y);
    void onPictureMouseMove(int x, int y);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
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

    Session& session_;
    Platform& platform_;
    QScrollArea* scroll_ = nullptr;
};

} // namespace huelinx
