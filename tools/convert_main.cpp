// huelinx-convert: the command-line converter. It never needs a display: the
// window it runs is drawn offscreen.
#include "tools/converter.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

// The toolkit's own notes (about runtime folders and the like) are not the
// converter's output.
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::cerr << message.toStdString() << "\n";
        std::abort();
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
            return huelinx::runConverter({"--help"}, {}, std::cin, std::cout, std::cerr);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietToolkit);
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    std::ios::sync_with_stdio(false);
    const QStringList dataFolders{QCoreApplication::applicationDirPath() + "/data"};
    return huelinx::runConverter(args, dataFolders, std::cin, std::cout, std::cerr);
}
