#include "app/application.h"

#include "app/companions.h"
#include "mainwindow/main_window.h"

namespace huelinx {

Application::Application(Platform& platform, const std::vector<std::string>& dataFolders)
    : resources_(Resources::withWorkingFolder(dataFolders)), session_(resources_),
      main_(std::make_unique<MainWindow>(session_, platform)),
      companions_(new Companions(session_, platform, *main_)) {}

Application::~Application() = default;

bool Application::start() {
    return main_->start();
}

} // namespace huelinx
