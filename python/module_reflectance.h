// spectrum_to_xyz: X, Y, Z and L*a*b* of reflectance spectra under any
// illuminant of the spectral tables and the 2 or 10 degree observer.
#pragma once

#include "colour/light_tables.h"

#include <pybind11/pybind11.h>

#include <string>

namespace huelinx::pyspectra {

namespace py = pybind11;

// Reflectances (..., n) as fractions at `wavelengths` (None: 380..780 nm at
// 5 nm, n = 81; or 360..750 nm at 10 nm, n = 40, as the instruments read,
// taken to the 5 nm grid as the program takes their readings). Returns a dict
// of arrays X, Y, Z, L, a, b of shape (...). An unknown illuminant (any case)
// or observer, or other wavelengths, raise ValueError naming the choices.
py::dict spectrumToXyz(py::handle reflectance, py::handle wavelengths,
                       const std::string& illuminant, int observer, const SpectralTables& tables);

} // namespace huelinx::pyspectra
