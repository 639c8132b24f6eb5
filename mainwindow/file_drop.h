// Files dropped on a window: pictures open in the picture window, palettes
// in the palette viewer, CGATS files are imported into the palette. The
// main window and the picture window take drops alike.
#pragma once

#include <QStringList>

class QMimeData;

namespace huelinx {

class Platform;
class Session;

// Whether a drag carries files of this machine, which a window then accepts.
bool carriesLocalFiles(const QMimeData* data);

// Opens each local file of `data` in order, through the session's channels;
// a file that is no picture, palette or CGATS file is said in Messages.
// The current colour stays as it is.
void openDroppedFiles(Session& session, Platform& platform, const QMimeData& data);
// The same for files named by their paths (the program's arguments).
void openLocalFiles(Session& session, Platform& platform, const QStringList& paths);

} // namespace huelinx
