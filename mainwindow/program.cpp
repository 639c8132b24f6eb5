#include "mainwindow/program.h"

#include <QDir>
#include <QFileInfo>

namespace huelinx {

QString Program::locateDataFile(const QString& name) const {
    if (QFileInfo::exists(name)) return name;
    for (const QString& folder : dataFolders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) return path;
    }
    return name;
}

std::vector<std::string> Program::dataFolderList() const {
    std::vector<std::string> folders;
    for (const QString& folder : dataFolders)
        folders.push_back(folder.toStdString());
    return folders;
}

} // namespace huelinx
