// The data files read at start, and where each one is found. Every folder list
// is searched in order and the first folder holding the file wins; for the
// program and the converter the list starts with the working folder, so a
// user's own Vadoro.dat or name table there is used before the program's
// own. The loaders and the report of the files in use both go through
// firstFolderHolding, so what is loaded and what is said can't disagree.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace huelinx {

inline constexpr const char* munsellTableFile = "Vadoro.dat";
inline constexpr const char* renotationRealFile = "munsell-renotation-real.csv";

// The folders searched for data files, in order. `workingFolderFirst`: the
// first one is the working folder (".").
struct DataFolders {
    std::vector<std::string> searched;
    bool workingFolderFirst = false;
};

// The working folder, then the program's data folders: how the window and
// the converter look for their files.
[[nodiscard]] DataFolders withWorkingFolder(const std::vector<std::string>& programData);

// The program's own data folders for a program whose executable is in
// `programFolder`: data/ beside it (the build tree), then the installed data
// folder at the same place relative to it as bin/ to share/huelinx in the
// install layout, so an installed tree works wherever it is moved.
[[nodiscard]] std::vector<std::string> programDataFolders(const std::string& programFolder);

// The first of `folders` holding a file `name`; none when no folder does.
[[nodiscard]] std::optional<std::string>
firstFolderHolding(const std::string& name, const std::vector<std::string>& folders);

// The path of `name` in `folder`: the name alone for the working folder, so
// messages name the file as the user sees it.
[[nodiscard]] std::string pathIn(const std::string& folder, const std::string& name);

struct DataFile {
    std::string name; // "Vadoro.dat"
    // The file used; when no folder holds it, the name alone (its loader then
    // says it can't be opened).
    std::string path;
    bool found = false;
    bool fromWorkingFolder = false; // the working folder's own copy is used
    // The program's own copy that the working folder's one is used instead
    // of; empty when there is none or the working folder's isn't used.
    std::string programPath;
};

// Where `name` is found among `folders`.
[[nodiscard]] DataFile findDataFile(const std::string& name, const DataFolders& folders);

// Every data file read at start: the Munsell table, the two ISCC-NBS name
// files (both from the folder holding iscc-nbs-blocks.csv, as they are
// loaded) and the renotation data of the chip set renotation-real.
[[nodiscard]] std::vector<DataFile> dataFilesInUse(const DataFolders& folders);

// A path as a user can find the file: absolute, without "." and "..".
[[nodiscard]] std::string shownPath(const std::string& path);

// One line per file: "Vadoro.dat: /home/u/data/Vadoro.dat", with
// " (working folder, instead of PATH)" for a working-folder file that hides
// the program's own and "not found" for a missing one.
[[nodiscard]] std::string dataFilesText(const std::vector<DataFile>& files);

// The note for the files the working folder's copies are used for, one
// sentence each; empty when every file is the program's own.
[[nodiscard]] std::string workingFolderNote(const std::vector<DataFile>& files);

} // namespace huelinx
