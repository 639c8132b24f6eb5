#include "colour/data_files.h"

#include "colour/iscc_nbs.h"

#include <filesystem>

// The installed data folder relative to the installed programs; the build
// sets it from its install layout.
#ifndef HUELINX_DATA_FROM_PROGRAMS
#define HUELINX_DATA_FROM_PROGRAMS "../share/huelinx"
#endif

namespace huelinx {

namespace fs = std::filesystem;

std::vector<std::string> programDataFolders(const std::string& programFolder) {
    const fs::path folder(programFolder);
    return {(folder / "data").string(),
            (folder / HUELINX_DATA_FROM_PROGRAMS).lexically_normal().string()};
}

DataFolders withWorkingFolder(const std::vector<std::string>& programData) {
    DataFolders folders{{"."}, true};
    folders.searched.insert(folders.searched.end(), programData.begin(), programData.end());
    return folders;
}

std::optional<std::string> firstFolderHolding(const std::string& name,
                                              const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        std::error_code ignored;
        if (fs::exists(fs::path(folder) / name, ignored)) return folder;
    }
    return std::nullopt;
}

std::string pathIn(const std::string& folder, const std::string& name) {
    if (folder == ".") return name;
    return (fs::path(folder) / name).string();
}

namespace {

// `name` in `folder` (a folder of the list, or none), and the program's own
// copy behind a working-folder one.
DataFile dataFileIn(const std::string& name, const std::optional<std::string>& folder,
                    const DataFolders& folders, const std::string& programName) {
    DataFile file{name, name, false, false, {}};
    if (!folder) return file;
    file.path = pathIn(*folder, name);
    file.found = true;
    file.fromWorkingFolder = folders.workingFolderFirst && *folder == folders.searched.front();
    if (!file.fromWorkingFolder) return file;
    const std::vector<std::string> program(folders.searched.begin() + 1, folders.searched.end());
    if (const auto own = firstFolderHolding(programName, program))
        file.programPath = pathIn(*own, name);
    return file;
}

} // namespace

DataFile findDataFile(const std::string& name, const DataFolders& folders) {
    return dataFileIn(name, firstFolderHolding(name, folders.searched), folders, name);
}

std::vector<DataFile> dataFilesInUse(const DataFolders& folders) {
    const auto namesFolder = firstFolderHolding(isccNbsBlocksFile, folders.searched);
    std::vector<DataFile> files{
        findDataFile(munsellTableFile, folders),
        dataFileIn(isccNbsBlocksFile, namesFolder, folders, isccNbsBlocksFile),
        dataFileIn(isccNbsNamesFile, namesFolder, folders, isccNbsBlocksFile),
        findDataFile(renotationRealFile, folders)};
    // The names file is read from the blocks file's folder, whether it is there or not.
    std::error_code ignored;
    files[2].found = namesFolder && fs::exists(files[2].path, ignored);
    return files;
}

std::string shownPath(const std::string& path) {
    std::error_code failed;
    const fs::path absolute = fs::absolute(path, failed);
    return failed ? path : absolute.lexically_normal().string();
}

std::string dataFilesText(const std::vector<DataFile>& files) {
    std::string text;
    for (const DataFile& file : files) {
        text += file.name + ": " + (file.found ? shownPath(file.path) : std::string("not found"));
        if (file.fromWorkingFolder)
            text += file.programPath.empty()
                        ? " (working folder)"
                        : " (working folder, instead of " + shownPath(file.programPath) + ")";
        text += "\n";
    }
    return text;
}

std::string workingFolderNote(const std::vector<DataFile>& files) {
    std::string note;
    for (const DataFile& file : files) {
        if (!file.found || !file.fromWorkingFolder) continue;
        if (!note.empty()) note += " ";
        note += "The working folder's " + file.name + " is used";
        note += file.programPath.empty()
                    ? "."
                    : ", not the program's own " + shownPath(file.programPath) + ".";
    }
    return note;
}

} // namespace huelinx
