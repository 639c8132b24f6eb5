// The arrays the module takes and gives: colours of three numbers, notations
// as texts or numbers, and text arrays written in place.
#pragma once

#include "python/batch.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx::pyarrays {

namespace py = pybind11;
using batch::Status;

using Shape = std::vector<py::ssize_t>;
using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

// Colours of three numbers: a (3,) array is one colour (shape ()), (..., 3)
// many. Lists and non-contiguous or integer arrays are copied into doubles.
struct Triples {
    Doubles values;
    Shape shape; // the shape of one number a colour
    std::size_t count = 0;
};

// NumPy's conversion into doubles, whose errors Doubles::ensure would clear.
struct DoublesConversion : Doubles {
    using Doubles::raw_array_t;
};

// The object as C-ordered doubles. Only what NumPy can't read as numbers is
// "not numbers": its memory errors go through as they are.
Doubles numbers(py::handle object, const char* what);

// Colours of three numbers from any object NumPy reads; `what` names them
// in the ValueError of one that isn't.
Triples triples(py::handle object, const char* what);

// The shape with one more axis of `last` items.
Shape with(Shape shape, py::ssize_t last);

// An array of doubles of that shape, to be filled.
py::array_t<double> doubles(const Shape& shape);

// A NumPy array of fixed-width text ("<U" width, at least 1) whose item i
// is text(i), ASCII of at most `width` characters; written in place, with the
// interpreter lock let go.
template <typename TextOf>
py::array textArray(const Shape& shape, std::size_t count, std::size_t width, TextOf text) {
    const std::size_t w = std::max<std::size_t>(width, 1);
    py::array out(py::dtype("<U" + std::to_string(w)), shape);
    auto* units = static_cast<char32_t*>(out.mutable_data());
    py::gil_scoped_release free;
    for (std::size_t i = 0; i < count; ++i, units += w) {
        const std::string_view t = text(i);
        const std::size_t n = std::min(t.size(), w);
        for (std::size_t c = 0; c < n; ++c)
            units[c] = static_cast<unsigned char>(t[c]);
        std::fill(units + n, units + w, U'\0');
    }
    return out;
}

py::array textArray(const Shape& shape, const batch::Texts& texts, std::size_t count);

// A text array whose item i is texts[kindOf(i)], one of a few ASCII texts,
// as wide as the longest of those used: each item is copied from its text's
// code units, made once a call.
template <typename KindOf>
py::array kindArray(const Shape& shape, std::size_t count,
                    const std::vector<std::string_view>& texts, KindOf kindOf) {
    std::vector<std::uint8_t> used(texts.size(), 0);
    for (std::size_t i = 0; i < count; ++i)
        used[kindOf(i)] = 1;
    std::size_t width = 1;
    for (std::size_t k = 0; k < texts.size(); ++k)
        if (used[k]) width = std::max(width, texts[k].size());
    std::vector<char32_t> units(texts.size() * width, U'\0');
    for (std::size_t k = 0; k < texts.size(); ++k)
        for (std::size_t c = 0; c < texts[k].size() && c < width; ++c)
            units[k * width + c] = static_cast<unsigned char>(texts[k][c]);
    py::array out(py::dtype("<U" + std::to_string(width)), shape);
    auto* into = static_cast<char32_t*>(out.mutable_data());
    py::gil_scoped_release free;
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(into + i * width, units.data() + kindOf(i) * width, width * sizeof(char32_t));
    return out;
}

// Statuses as text: NumPy compares and prints them as any others.
py::array statusArray(const Shape& shape, const std::vector<Status>& status);

// Texts that may hold any characters (chip labels of a user's set).
py::array objectArray(const Shape& shape, const std::vector<std::string>& texts);

// Notations: a string, a sequence or array of strings, or numbers (..., 3)
// of hue on the 0..100 circle, value and chroma.
struct NotationInput {
    batch::Notations notations;     // of texts
    std::optional<Triples> numbers; // or of numbers, read a chunk at a time
    Shape shape;
    std::size_t count = 0;
};

// A string or bytes: one notation.
bool isText(py::handle object);

// An array of text or objects, or a sequence with any text in it: notations.
bool holdsText(py::handle object);

// One item of a notation input into place i. A string UTF-8 can't hold (a
// lone surrogate) is bad text: that item alone, the others convert.
void readText(py::handle item, batch::Notations& into, std::size_t i);

// Notations as given: one string, texts, or numbers (..., 3).
NotationInput notationInput(py::handle object);

// Runs convert(part, first) over the notations, `part` holding those from
// `first` on. Numbers are read into a small Notations a chunk at a time, which
// stays in the cache, rather than into a copy of the whole input.
template <typename Convert> void eachPart(const NotationInput& in, Convert convert) {
    if (!in.numbers) {
        convert(in.notations, std::size_t{0});
        return;
    }
    constexpr std::size_t chunk = 4096;
    batch::Notations part;
    const double* v = in.numbers->values.data();
    for (std::size_t first = 0; first < in.count; first += chunk) {
        part.resize(std::min(chunk, in.count - first));
        for (std::size_t i = 0; i < part.size(); ++i)
            batch::readTriple(v + 3 * (first + i), part, i);
        convert(part, first);
    }
}

} // namespace huelinx::pyarrays
