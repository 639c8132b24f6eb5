// The main of the window tests: an offscreen QApplication, so that windows and
// dialogs work without a display, in the Fusion style the program uses.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

namespace {

// The offscreen platform's notes about what it can't do (raise a window,
// size hints, runtime folders) say nothing about the program under test.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support") || message.startsWith("QStandardPaths:"))
        return;
    std::cerr << message.toStdString() << "\n";
    if (type == QtFatalMsg) std::abort();
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietPlatformNotes);
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
