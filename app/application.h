// The program as a whole: the resources read at start, the session every
// window shares, the main window and the windows its check boxes open.
#pragma once

#include "session/resources.h"
#include "session/session.h"

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

    Session& session() { return session_; }
    MainWindow& mainWindow() { return *main_; }
    Companions& companions() { return *companions_; }

  private:
    Resources resources_;
    Session session_;
    std::unique_ptr<MainWindow> main_;
    Companions* companions_ = nullptr; // a child of the main window
};

} // namespace huelinx
