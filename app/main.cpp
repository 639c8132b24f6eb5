// huelinx: the colour-notation converter's window program.
#include "app/application.h"
#include "mainwindow/main_window.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Huelinx");
    QApplication::setStyle("Fusion");

    huelinx::QtPlatform platform;
    // Files read at start are looked for in the working directory, then here.
    huelinx::Application program(
        platform, {(QCoreApplication::applicationDirPath() + "/data").toStdString()});
    if (!program.start()) return 1;
    program.mainWindow().show();
    return app.exec();
}
