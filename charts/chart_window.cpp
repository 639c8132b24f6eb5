#include "charts/chart_window.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "platform/platform.h"
#include "session/session.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace huelinx {

ChartWindow::ChartWindow(Session& session, Platform& platform, const Opening& opening,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), platform_(platform) {
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
    colourChanges_ = session.colourChanged.connect([this](const ColourChange& change) {
        if (isVisible()) followColour(change);
    });
}

void ChartWindow::placePrintButton(const QString& text, int left, int top, int width, int height) {
    printButton = placeButton(surface, "Command1", text, left, top, width, height);
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
}

void ChartWindow::onPrint() {
    if (!platform_.printWindow(this)) platform_.message("Printer not Found");
}

void ChartWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) onClosed();
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace huelinx
