#include "colour/light_tables.h"

namespace huelinx {

namespace {

// The file's path in the first folder holding it, or a message saying where
// it was looked for.
Loaded<std::string> located(const std::string& name, const std::vector<std::string>& folders) {
    if (const auto folder = firstFolderHolding(name, folders)) return {pathIn(*folder, name), {}};
    return {std::nullopt, "\"" + name + "\" was not found in the data folders."};
}

Result readObserver(const std::string& name, const std::vector<std::string>& folders,
                    ObserverFunctions& observer) {
    const Loaded<std::string> path = located(name, folders);
    if (!path.value) return {false, path.message};
    Loaded<std::vector<photo::NamedSpectrum>> columns = photo::readColumnSpectraFile(*path.value);
    if (!columns.value) return {false, columns.message};
    const auto& c = *columns.value;
    if (c.size() != 3 || c[0].name != "x_bar" || c[1].name != "y_bar" || c[2].name != "z_bar")
        return {false, *path.value + ": the columns should be x_bar, y_bar, z_bar."};
    observer = {c[0].values, c[1].values, c[2].values};
    return {true, {}};
}

} // namespace

const photo::Spectrum* SpectralTables::illuminant(std::string_view name) const {
    const photo::NamedSpectrum* found = photo::findSpectrum(illuminants, name);
    return found ? &found->values : nullptr;
}

const ObserverFunctions* SpectralTables::observer(int degrees) const {
    if (degrees == 2) return &observer2;
    if (degrees == 10) return &observer10;
    return nullptr;
}

std::vector<std::string> SpectralTables::illuminantNames() const {
    std::vector<std::string> names;
    for (const photo::NamedSpectrum& s : illuminants)
        names.push_back(s.name);
    return names;
}

Loaded<SpectralTables> loadSpectralTables(const std::vector<std::string>& folders) {
    SpectralTables tables;
    const Loaded<std::string> path = located(illuminantsFile, folders);
    if (!path.value) return {std::nullopt, path.message};
    Loaded<std::vector<photo::NamedSpectrum>> lights = photo::readColumnSpectraFile(*path.value);
    if (!lights.value) return {std::nullopt, lights.message};
    tables.illuminants = std::move(*lights.value);
    for (const auto& [file, observer] :
         {std::pair{observer2File, &tables.observer2}, {observer10File, &tables.observer10}}) {
        const Result read = readObserver(file, folders, *observer);
        if (!read.ok) return {std::nullopt, read.message};
    }
    return {std::move(tables), {}};
}

} // namespace huelinx
