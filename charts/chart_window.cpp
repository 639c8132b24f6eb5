#include "charts/chart_window.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace huelinx {

ChartWindow::ChartWindow(ColourHost& host, Program& program, const Opening& opening,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), program_(program), companion_(opening.companion) {
    setObjectName(opening.objectName);
    setWindowTitle(opening.title);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    const QSize client(twips(opening.clientTwips.width()), twips(opening.clientTwips.height()));
    surface = new ChartSurface("surface", client, opening.ground, this);
    surface->tooltipAt = [this](int x, int y) { return tooltipAt(x, y); };
    // The window holds the surface alone: it opens at the surface's layout
    // size and can be enlarged, the surface following it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(surface);
    resize(surface->layoutSize());
}

void ChartWindow::placePrintButton(const QString& text, int left, int top, int width, int height) {
    printButton = placeButton(surface, "Command1", text, left, top, width, height);
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
}

void ChartWindow::onPrint() {
    if (!program_.platform.printWindow(this)) program_.platform.message("Printer not Found");
}

void ChartWindow::closeEvent(QCloseEvent* event) {
    // Closing a chart is the same as clearing its check box in the main window.
    event->accept();
    host_.companionClosed(companion_);
}

} // namespace huelinx
