// What the whole program shares: the Munsell table, the platform layer, and
// the program-wide state that every window reads and writes.
#pragma once

#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "colour/tristimulus.h"
#include "platform/platform.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace huelinx {

struct Program {
    explicit Program(Platform& p) : platform(p) {}

    Platform& platform;
    MunTable table;
    // Folders searched, after the working directory, for the files read at start.
    QStringList dataFolders;
    // The ISCC-NBS names; empty when their files could not be read.
    IsccNbsTable colourNames;

    QString versionText;
    // The current display colour, 0..255 each.
    std::int16_t curRed = 0, curGreen = 0, curBlue = 0;
    // The last colour had to be clipped to be shown.
    bool rgbOutOfRange = false;
    Reflectance reflectance{};
    QString instrumentName;
    QString paletteFile, paletteTag;

    // Path of a file read at start: the working directory first, then the data folders.
    QString locateDataFile(const QString& name) const;
    // The data folders as plain strings, for the core's readers.
    std::vector<std::string> dataFolderList() const;
};

} // namespace huelinx
