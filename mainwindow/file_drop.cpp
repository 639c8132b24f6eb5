#include "mainwindow/file_drop.h"

#include "exchange/file_kind.h"
#include "instruments/batch_import.h"
#include "platform/picture_filter.h"
#include "session/session.h"
#include "text/safe_text.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace huelinx {

namespace {

std::string shown(const QString& path) {
    return "\"" + oneLineText(path.toStdString()) + "\"";
}

void openDroppedFile(Session& session, Platform& platform, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        session.note(shown(path) + " can't be opened; nothing was read from it.");
        return;
    }
    FileKind kind = kindOfFile(file.read(fileKindBytes).toStdString(), path.toStdString());
    file.close();
    // Other formats the toolkit reads (BMP, GIF, WebP, ...) are pictures too.
    if (kind == FileKind::Unknown && isReadablePicture(path)) kind = FileKind::Picture;
    switch (kind) {
    case FileKind::Picture:
        session.pictureFileWanted.send(path.toStdString());
        break;
    case FileKind::Palette:
        session.paletteFileWanted.send(path.toStdString());
        break;
    case FileKind::Cgats:
        BatchImport(session, platform).importCgatsFile(path);
        break;
    case FileKind::Unknown:
        session.note(
            shown(path) +
            " is neither a picture, a palette (.csv) nor a CGATS file; it was not opened.");
        break;
    }
}

} // namespace

bool carriesLocalFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return true;
    return false;
}

void openDroppedFiles(Session& session, Platform& platform, const QMimeData& data) {
    QStringList paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    openLocalFiles(session, platform, paths);
}

void openLocalFiles(Session& session, Platform& platform, const QStringList& paths) {
    for (const QString& path : paths)
        openDroppedFile(session, platform, path);
}

} // namespace huelinx
