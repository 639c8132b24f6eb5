// huelinx: the colour-notation converter's window program.
#include "app/application.h"
#include "colour/data_files.h"
#include "mainwindow/main_window.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Huelinx");
    QApplication::setStyle("Fusion");

    huelinx::QtPlatform platform;
    // Files read at start are looked for in the working directory, then in
    // data/ beside the program (the build tree), then in the installed data.
    huelinx::Application program(
        platform,
        huelinx::programDataFolders(QCoreApplication::applicationDirPath().toStdString()));
    if (!program.start()) return 1;
    program.mainWindow().show();
    // Files given to the program (from a file manager or the menu entry's
    // "Open With") open as if dropped on it.
    QStringList files = QApplication::arguments();
    files.removeFirst();
    program.openFiles(files);
    return app.exec();
}
