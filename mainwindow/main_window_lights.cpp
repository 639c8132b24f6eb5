// View > Spectral Light and Spectral Observer: a reflectance reading (an
// instrument's, Import %R) is also given in Messages as X, Y, Z and L*a*b*
// under the light and observer chosen. Its notation stays the one under C.
#include "mainwindow/main_window.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>

namespace huelinx {

void MainWindow::buildSpectralMenus() {
    viewMenu->addSeparator();
    spectralLightMenu = viewMenu->addMenu("Spectral &Light");
    spectralLightMenu->setObjectName("viewSpectralLightMenu");
    spectralObserverMenu = viewMenu->addMenu("Spectral &Observer");
    spectralObserverMenu->setObjectName("viewSpectralObserverMenu");
    std::string why;
    const SpectralTables* tables = session_.spectralTables(why);
    if (!tables) {
        for (QMenu* menu : {spectralLightMenu, spectralObserverMenu}) {
            menu->setEnabled(false);
            menu->setToolTip(qs(why));
        }
        return;
    }
    auto* lights = new QActionGroup(spectralLightMenu);
    for (const std::string& name : tables->illuminantNames()) {
        QAction* light = spectralLightMenu->addAction(qs(name));
        light->setObjectName(qs("spectralLight" + name));
        light->setCheckable(true);
        light->setChecked(name == session_.spectralLight);
        lights->addAction(light);
        connect(light, &QAction::triggered, this, [this, name] { session_.spectralLight = name; });
    }
    auto* observers = new QActionGroup(spectralObserverMenu);
    for (const int degrees : {2, 10}) {
        QAction* observer = spectralObserverMenu->addAction(degrees == 2 ? "2\u00b0 (CIE 1931)"
                                                                         : "10\u00b0 (CIE 1964)");
        observer->setObjectName(QString("spectralObserver%1").arg(degrees));
        observer->setCheckable(true);
        observer->setChecked(degrees == session_.spectralObserver);
        observers->addAction(observer);
        connect(observer, &QAction::triggered, this,
                [this, degrees] { session_.spectralObserver = degrees; });
    }
}

void MainWindow::noteReading(const QString& before) {
    const std::string line = session_.readingUnderLight(session_.reflectance);
    if (line.empty()) return;
    // What the reading's change said (outside the data, ...) stays above it.
    const QString said = messagesBox->toPlainText();
    if (!said.isEmpty() && (said != before || colour().outsideData))
        messagesBox->appendPlainText(qs(line));
    else
        showNote(qs(line));
}

} // namespace huelinx
