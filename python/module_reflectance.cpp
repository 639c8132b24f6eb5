#include "python/module_reflectance.h"

#include "colour/reflectance_colour.h"
#include "python/module_arrays.h"

#include <cmath>

namespace huelinx::pyspectra {

namespace {

using pyarrays::Doubles;
using pyarrays::Shape;

// The grid the wavelengths name: 5 (380..780 at 5 nm) or 10 (360..750 at 10 nm).
int gridOf(py::handle wavelengths) {
    if (wavelengths.is_none()) return 5;
    const Doubles nm = pyarrays::numbers(wavelengths, "wavelengths");
    const auto on = [&](int first, int step, int count) {
        if (nm.ndim() != 1 || nm.shape(0) != count) return false;
        for (int i = 0; i < count; ++i)
            if (nm.data()[i] != first + step * i) return false;
        return true;
    };
    if (on(380, 5, photo::spectralCount)) return 5;
    if (on(360, 10, 40)) return 10;
    throw py::value_error("wavelengths must be 380..780 nm at 5 nm (81 values) or 360..750 nm at "
                          "10 nm (40 values, as the instruments read)");
}

SpectralWeights weightsOf(const std::string& illuminant, int observer,
                          const SpectralTables& tables) {
    const auto lower = [](std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    };
    std::string choices, name = illuminant;
    for (const std::string& known : tables.illuminantNames()) {
        choices += (choices.empty() ? "\"" : ", \"") + known + "\"";
        if (lower(known) == lower(illuminant)) name = known;
    }
    if (observer != 2 && observer != 10) throw py::value_error("observer must be 2 or 10");
    const auto weights = spectralWeights(tables, name, observer);
    if (!weights) throw py::value_error("illuminant must be one of " + choices);
    return *weights;
}

} // namespace

py::dict spectrumToXyz(py::handle reflectance, py::handle wavelengths,
                       const std::string& illuminant, int observer, const SpectralTables& tables) {
    const SpectralWeights weights = weightsOf(illuminant, observer, tables);
    const int grid = gridOf(wavelengths);
    const py::ssize_t n = grid == 5 ? photo::spectralCount : 40;
    const Doubles r = pyarrays::numbers(reflectance, "reflectance");
    if (r.ndim() == 0 || r.shape(r.ndim() - 1) != n)
        throw py::value_error("reflectance must have " + std::to_string(n) +
                              " values a spectrum, one at each wavelength (shape (..., " +
                              std::to_string(n) + "))");
    const Shape shape(r.shape(), r.shape() + r.ndim() - 1);
    const std::size_t count = static_cast<std::size_t>(r.size() / n);
    py::array_t<double> out[6] = {pyarrays::doubles(shape), pyarrays::doubles(shape),
                                  pyarrays::doubles(shape), pyarrays::doubles(shape),
                                  pyarrays::doubles(shape), pyarrays::doubles(shape)};
    double* into[6];
    for (int k = 0; k < 6; ++k)
        into[k] = out[k].mutable_data();
    {
        py::gil_scoped_release free;
        const double* v = r.data();
        for (std::size_t i = 0; i < count; ++i, v += n) {
            SpectralColour c;
            if (grid == 5) {
                photo::Spectrum s;
                std::copy(v, v + n, s.begin());
                c = spectralColour(s, weights);
            } else {
                Reflectance reading{};
                for (int j = 0; j < 40; ++j)
                    reading[static_cast<std::size_t>(j + 1)] = static_cast<float>(100.0 * v[j]);
                c = spectralColour(reading, weights);
            }
            const double values[6] = {c.X, c.Y, c.Z, c.lab.L, c.lab.a, c.lab.b};
            for (int k = 0; k < 6; ++k)
                into[k][i] = values[k];
        }
    }
    py::dict result;
    const char* const names[6] = {"X", "Y", "Z", "L", "a", "b"};
    for (int k = 0; k < 6; ++k)
        result[names[k]] = out[k];
    return result;
}

} // namespace huelinx::pyspectra
