// Time from the start of the process to the main window on the screen,
// following the program's own start-up. Run it on a display (or under Xvfb).
#include "app/application.h"
#include "mainwindow/main_window.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QTest>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

// Seconds since this process started, from the kernel's record of its start.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field; // field 22: start time in clock ticks
    const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9 - started;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    huelinx::QtPlatform platform;
    huelinx::Application program(platform, {HUELINX_DATA_DIR});
    if (!program.start()) return 1;
    huelinx::MainWindow& form = program.mainWindow();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form, 5000)) return 1;
    std::cout << "window shown " << secondsSinceProcessStart() * 1000.0 << " ms after the start\n";
    return 0;
}
