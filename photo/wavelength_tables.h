// The spectral tables of the photo calibration and its benchmark: reflectance
// spectra a row each (the chart, the training set), spectra a column each
// (illuminants, observers) and camera sensitivities in long form, every one
// on the grid 380..780 nm at 5 nm. Each fault names the file and the line.
#pragma once

#include "colour/illuminant.h"

#include "files/result.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx::photo {

inline constexpr int spectralFirstNm = 380;
inline constexpr int spectralStepNm = 5;
inline constexpr int spectralCount = 81; // 380..780 nm

using Spectrum = std::array<double, spectralCount>;

struct NamedSpectrum {
    std::string name;
    Spectrum values{};
};

// A row a spectrum: header `id,name,380,385,...,780`, then `id,name,v380,...`
// (chart-reflectance.csv, training-reflectance.csv). Names are the second
// field; ids are whole numbers counting from 1 in file order.
[[nodiscard]] Loaded<std::vector<NamedSpectrum>> readRowSpectra(std::string_view text,
                                                                const std::string& name);

// A column a spectrum: header `wavelength_nm,NAME,...`, then one line a
// wavelength (illuminants.csv, the observers); names are the header's.
[[nodiscard]] Loaded<std::vector<NamedSpectrum>> readColumnSpectra(std::string_view text,
                                                                   const std::string& name);

struct CameraSensitivity {
    std::string name;
    Spectrum r{}, g{}, b{};
};

// Long form: header `camera,wavelength_nm,r,g,b`, then each camera's 81
// wavelengths in order, one camera after another (cameras.csv).
[[nodiscard]] Loaded<std::vector<CameraSensitivity>> readCameraSpectra(std::string_view text,
                                                                       const std::string& name);

// The same from files; the message names the file by its path.
[[nodiscard]] Loaded<std::vector<NamedSpectrum>> readRowSpectraFile(const std::string& path);
[[nodiscard]] Loaded<std::vector<NamedSpectrum>> readColumnSpectraFile(const std::string& path);
[[nodiscard]] Loaded<std::vector<CameraSensitivity>> readCameraSpectraFile(const std::string& path);

// The spectrum of that name, or null.
[[nodiscard]] const NamedSpectrum* findSpectrum(const std::vector<NamedSpectrum>& spectra,
                                                std::string_view name);

// X, Y, Z under illuminant C (white Y = 100) of a reflectance spectrum (a
// fraction) with the instruments' own weights (`tris`): the 10 nm grid from
// 360 to 750 nm takes every other 5 nm value, and below 380 nm the value at
// 380 nm.
[[nodiscard]] Tristimulus instrumentXyz(const Spectrum& reflectance);

} // namespace huelinx::photo
