// File > Open Recent and the files dropped on the main window.
#include "mainwindow/file_drop.h"
#include "mainwindow/main_window.h"
#include "text/safe_text.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

namespace huelinx {

void MainWindow::followRecentFiles() {
    setAcceptDrops(true);
    // The items are made once and rewritten in place, so the item clicked
    // is never deleted under its own click when the list changes.
    for (std::size_t i = 0; i < RecentFiles::limit; ++i) {
        QAction* action = recentMenu->addAction(QString());
        action->setObjectName(QString("fileRecentAction_%1").arg(i));
        connect(action, &QAction::triggered, this, [this, i] {
            const auto& entries = session_.recent().entries();
            // A copy: opening the file changes the list.
            if (i < entries.size()) openRecent(RecentFiles::Entry(entries[i]));
        });
    }
    recent_ = session_.recentChanged.connect([this] { showRecentFiles(); });
    showRecentFiles();
}

void MainWindow::showRecentFiles() {
    const auto& entries = session_.recent().entries();
    // Empty, the submenu can't be opened.
    recentMenu->setEnabled(!entries.empty());
    const QList<QAction*> items = recentMenu->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const bool listed = static_cast<std::size_t>(i) < entries.size();
        items[i]->setVisible(listed);
        if (!listed) continue;
        const RecentFiles::Entry& entry = entries[static_cast<std::size_t>(i)];
        QString text = QString::fromStdString(oneLineText(entry.path));
        // A '&' in a name is shown, not taken as the item's key.
        text.replace('&', "&&");
        const char* kind = entry.kind == RecentFiles::Kind::Palette ? "palette" : "picture";
        items[i]->setText(QString("&%1 %2 (%3)").arg((i + 1) % 10).arg(text, kind));
    }
}

void MainWindow::openRecent(const RecentFiles::Entry& entry) {
    if (!QFileInfo(QString::fromStdString(entry.path)).isFile()) {
        session_.note("\"" + oneLineText(entry.path) +
                      "\" is no longer there; it was taken off the recent files.");
        session_.removeRecent(entry.path);
        return;
    }
    if (entry.kind == RecentFiles::Kind::Palette)
        session_.paletteFileWanted.send(entry.path);
    else
        session_.pictureFileWanted.send(entry.path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (carriesLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!carriesLocalFiles(event->mimeData())) return;
    event->acceptProposedAction();
    openDroppedFiles(session_, platform_, *event->mimeData());
}

} // namespace huelinx
