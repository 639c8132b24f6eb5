// The lights and observers for reflectance spectra: the CIE illuminants
// (A, C, D50, D65, F1..F12 and ISO 7589 studio tungsten) and the CIE 1931 2
// degree and 1964 10 degree colour matching functions, all on the grid 380 to
// 780 nm at 5 nm, read from the data folder's photo/ files.
#pragma once

#include "colour/data_files.h"
#include "files/result.h"
#include "photo/wavelength_tables.h"

#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

inline constexpr const char* illuminantsFile = "photo/illuminants.csv";
inline constexpr const char* observer2File = "photo/cmf-1931-2deg.csv";
inline constexpr const char* observer10File = "photo/cmf-1964-10deg.csv";

// A standard observer: x-bar, y-bar, z-bar at each wavelength.
struct ObserverFunctions {
    photo::Spectrum x{}, y{}, z{};
};

struct SpectralTables {
    std::vector<photo::NamedSpectrum> illuminants; // in the file's column order
    ObserverFunctions observer2, observer10;

    // The illuminant of that name ("C", "D65", "F11", ...), or null.
    [[nodiscard]] const photo::Spectrum* illuminant(std::string_view name) const;
    // The observer of 2 or 10 degrees, or null for any other number.
    [[nodiscard]] const ObserverFunctions* observer(int degrees) const;
    // The illuminants' names, in the file's order.
    [[nodiscard]] std::vector<std::string> illuminantNames() const;
};

// Reads the three files from the first of `folders` holding each; no value,
// with a message naming the file and the fault, when one is missing or
// malformed (an observer file must hold exactly x_bar, y_bar, z_bar).
[[nodiscard]] Loaded<SpectralTables> loadSpectralTables(const std::vector<std::string>& folders);

} // namespace huelinx
