#include "app/application.h"

#include "app/companions.h"
#include "mainwindow/file_drop.h"
#include "mainwindow/main_window.h"

namespace huelinx {

Application::Application(Platform& platform, const std::vector<std::string>& dataFolders)
    : resources_(Resources::withWorkingFolder(dataFolders)), session_(resources_),
      main_(std::make_unique<MainWindow>(session_, platform)), platform_(platform),
      companions_(new Companions(session_, platform, *main_)) {}

Application::~Application() = default;

bool Application::start() {
    return main_->start();
}

void Application::openFiles(const QStringList& paths) {
    openLocalFiles(session_, platform_, paths);
}

} // namespace huelinx
