// huelinx: the colour-notation converter's window program.
#include "mainwindow/main_window.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Huelinx");
    QApplication::setStyle("Fusion");

    huelinx::QtPlatform platform;
    huelinx::Program program(platform);
    // Files read at start are looked for in the working directory, then here.
    program.dataFolders << QCoreApplication::applicationDirPath() + "/data";

    huelinx::MainWindow form(program);
    if (!form.start()) return 1;
    form.show();
    return app.exec();
}
