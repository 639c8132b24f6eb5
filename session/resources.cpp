#include "session/resources.h"

#include "colour/colour_naming.h"

namespace huelinx {

Resources Resources::withWorkingFolder(const std::vector<std::string>& programData) {
    return {huelinx::withWorkingFolder(programData), chipSetPlacesFor(programData)};
}

Resources Resources::inFolders(const std::vector<std::string>& folders,
                               const std::string& programFolder) {
    return {{folders, false}, {folders, chipSetFolders(programFolder)}};
}

Resources::Resources(DataFolders folders, ChipSetPlaces chipPlaces)
    : folders_(std::move(folders)), chipPlaces_(std::move(chipPlaces)) {}
Resources::~Resources() = default;

DataFile Resources::locate(const std::string& name) const {
    return findDataFile(name, folders_);
}

std::vector<DataFile> Resources::filesInUse() const {
    return dataFilesInUse(folders_);
}

Result Resources::loadTable() {
    return loadMunTableFile(locate(munsellTableFile).path, table_);
}

Result Resources::loadNames() {
    return loadIsccNbsFromFolders(folders_.searched, names_);
}

Result Resources::loadSpectra() {
    if (spectra_) return {true, {}};
    Loaded<SpectralTables> load = loadSpectralTables(folders_.searched);
    if (!load.value) return {false, load.message};
    spectra_ = std::move(load.value);
    solids_ = huelinx::macAdamSolids(*spectra_);
    return {true, {}};
}

std::vector<std::string> Resources::chipSetNames() const {
    return availableChipSets(chipPlaces_);
}

Result Resources::chooseChipSet(const std::string& name) {
    Loaded<ChipSet> load = loadChipSet(name, chipPlaces_, table_);
    if (!load.value) return {false, load.message};
    chips_ = std::make_unique<ChipSearch>(std::move(*load.value), table_);
    chipSetName_ = name;
    return {true, {}};
}

} // namespace huelinx
