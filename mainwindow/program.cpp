#include "mainwindow/program.h"

#include "colour/data_files.h"

namespace huelinx {

QString Program::locateDataFile(const QString& name) const {
    return QString::fromStdString(
        findDataFile(name.toStdString(), withWorkingFolder(dataFolderList())).path);
}

std::vector<std::string> Program::dataFolderList() const {
    std::vector<std::string> folders;
    for (const QString& folder : dataFolders)
        folders.push_back(folder.toStdString());
    return folders;
}

} // namespace huelinx
