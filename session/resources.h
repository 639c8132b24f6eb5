// What the program reads once at start and every window, tool and binding
// shares: the Munsell table, the ISCC-NBS names, the chip set searched for
// the nearest chip, and the folders all of them are found in. Every data file
// is found by one search (colour/data_files.h), so what is loaded and what
// the program reports as loaded can't disagree.
#pragma once

#include "colour/chip_set.h"
#include "colour/data_files.h"
#include "colour/iscc_nbs.h"
#include "colour/light_tables.h"
#include "colour/macadam_limits.h"
#include "colour/muntable.h"
#include "files/result.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace huelinx {

class Resources {
  public:
    // The window and the converter: the working folder, then `programData`;
    // chip sets in "chipsets" there and beside the program (the folder
    // holding the first of `programData`).
    static Resources withWorkingFolder(const std::vector<std::string>& programData);
    // Bindings that never read the working folder: `folders` alone, chip sets
    // in "chipsets" of the working folder and of `programFolder`.
    static Resources inFolders(const std::vector<std::string>& folders,
                               const std::string& programFolder);

    Resources(DataFolders folders, ChipSetPlaces chipPlaces);
    // The chip set searched holds on to the table: resources stay where they are made.
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;
    ~Resources();

    const DataFolders& folders() const { return folders_; }
    // Where data files read from now on are looked for.
    void setFolders(DataFolders folders) { folders_ = std::move(folders); }
    const ChipSetPlaces& chipPlaces() const { return chipPlaces_; }
    // Where a data file is read from (the first folder holding it).
    DataFile locate(const std::string& name) const;
    // Every data file read at start and where each one is.
    std::vector<DataFile> filesInUse() const;

    // Loads the Munsell table (Vadoro.dat); not ok with the loader's message.
    [[nodiscard]] Result loadTable();
    // Loads the ISCC-NBS names; not ok with why names can't be given.
    [[nodiscard]] Result loadNames();
    // Loads the illuminants and observers for spectra (photo/illuminants.csv,
    // photo/cmf-1931-2deg.csv, photo/cmf-1964-10deg.csv) unless they are
    // loaded already; not ok with why.
    [[nodiscard]] Result loadSpectra();

    const MunTable& table() const { return table_; }
    MunTable& table() { return table_; }
    // Empty when the name files could not be read.
    const IsccNbsTable& names() const { return names_; }
    // Null until loadSpectra has succeeded.
    const SpectralTables* spectra() const { return spectra_ ? &*spectra_ : nullptr; }
    // The object-colour solids of the three illuminants, built by loadSpectra;
    // null until it has succeeded.
    const MacAdamSolids* macAdamSolids() const { return solids_ ? &*solids_ : nullptr; }

    // The chip sets there are, built-in ones first.
    std::vector<std::string> chipSetNames() const;
    // Loads a chip set by name and makes it the one searched; the set searched
    // before stays when this one can't be read (the message says why).
    [[nodiscard]] Result chooseChipSet(const std::string& name);
    // The set searched for the nearest chip; null when none could be read.
    ChipSearch* chips() { return chips_.get(); }
    const std::string& chipSetName() const { return chipSetName_; }

  private:
    DataFolders folders_;
    ChipSetPlaces chipPlaces_;
    MunTable table_;
    IsccNbsTable names_;
    std::optional<SpectralTables> spectra_;
    std::optional<MacAdamSolids> solids_;
    std::unique_ptr<ChipSearch> chips_;
    std::string chipSetName_;
};

} // namespace huelinx
