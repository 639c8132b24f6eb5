// The program as a whole: the resources read at start, the session every
// window shares, the main window and the windows its check boxes open.
#pragma once

#include "session/resources.h"
#include "session/session.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace huelinx {

class Companions;
class MainWindow;
class Platform;

class Application {
  public:
    // `dataFolders`: where the files read at start are looked for after the
    // working directory.
    Application(Platform& platform, const std::vector<std::string>& dataFolders);
    ~Application();

    // Starts the main window; false when the Munsell table could not be read
    // (the message has been shown).
    bool start();
    // Opens the files the program was started with, in order, as dropping
    // them on the main window does: pictures in the picture window,
    // palettes in the viewer, CGATS files imported.
    void openFiles(const QStringList& paths);

    Session& session() { return session_; }
    MainWindow& mainWindow() { return *main_; }
    Companions& companions() { return *companions_; }

  private:
    Resources resources_;
    Session session_;
    std::unique_ptr<MainWindow> main_;
    Platform& platform_;
    Companions* companions_ = nullptr; // a child of the main window
};

} // namespace huelinx
