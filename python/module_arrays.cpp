#include "python/module_arrays.h"

#include <cmath>

namespace huelinx::pyarrays {

Doubles numbers(py::handle object, const char* what) {
    auto values = py::reinterpret_steal<Doubles>(DoublesConversion::raw_array_t(object.ptr()));
    if (values) return values;
    if (PyErr_ExceptionMatches(PyExc_MemoryError)) throw py::error_already_set();
    PyErr_Clear();
    throw py::value_error(std::string(what) + " must be numbers");
}

Triples triples(py::handle object, const char* what) {
    Triples t{numbers(object, what), {}, 0};
    if (t.values.ndim() == 1 && t.values.shape(0) == 0) { // an empty list: no colours
        t.shape = {0};
        return t;
    }
    if (t.values.ndim() == 0 || t.values.shape(t.values.ndim() - 1) != 3)
        throw py::value_error(std::string(what) + " must have 3 numbers a colour (shape (..., 3))");
    t.shape.assign(t.values.shape(), t.values.shape() + t.values.ndim() - 1);
    t.count = static_cast<std::size_t>(t.values.size() / 3);
    return t;
}

Shape with(Shape shape, py::ssize_t last) {
    shape.push_back(last);
    return shape;
}

py::array_t<double> doubles(const Shape& shape) {
    return py::array_t<double>(shape);
}

py::array textArray(const Shape& shape, const batch::Texts& texts, std::size_t count) {
    // The narrowest width that holds the longest text.
    std::size_t width = 1;
    for (std::size_t i = 0; i < count; ++i)
        width = std::max(width, strnlen(texts.chars.data() + i * texts.width, texts.width));
    return textArray(shape, count, width, [&](std::size_t i) {
        const char* chars = texts.chars.data() + i * texts.width;
        return std::string_view(chars, strnlen(chars, width));
    });
}

py::array statusArray(const Shape& shape, const std::vector<Status>& status) {
    std::vector<std::string_view> texts;
    for (std::size_t k = 0; k <= static_cast<std::size_t>(Status::BadRegion); ++k)
        texts.push_back(batch::statusText(static_cast<Status>(k)));
    return kindArray(shape, status.size(), texts,
                     [&](std::size_t i) { return static_cast<std::size_t>(status[i]); });
}

py::array objectArray(const Shape& shape, const std::vector<std::string>& texts) {
    py::list items;
    for (const std::string& text : texts)
        items.append(py::reinterpret_steal<py::str>(
            PyUnicode_DecodeUTF8(text.data(), static_cast<py::ssize_t>(text.size()), "replace")));
    py::array flat = py::module_::import("numpy").attr("array")(items, py::arg("dtype") = "object");
    return flat.attr("reshape")(py::tuple(py::cast(shape)));
}

bool isText(py::handle object) {
    return py::isinstance<py::str>(object) || py::isinstance<py::bytes>(object);
}

bool holdsText(py::handle object) {
    if (py::isinstance<py::array>(object)) {
        const char kind = py::reinterpret_borrow<py::array>(object).dtype().kind();
        return kind == 'U' || kind == 'S' || kind == 'O';
    }
    if (!py::isinstance<py::sequence>(object) || isText(object)) return false;
    // A list with any text in it is a list of notations; its other items are
    // no notation (or, for NaN, not a number).
    for (py::handle item : py::reinterpret_borrow<py::sequence>(object))
        if (isText(item)) return true;
    return false;
}

void readText(py::handle item, batch::Notations& into, std::size_t i) {
    if (py::isinstance<py::str>(item)) {
        py::ssize_t size = 0;
        const char* utf8 = PyUnicode_AsUTF8AndSize(item.ptr(), &size);
        if (!utf8) {
            if (!PyErr_ExceptionMatches(PyExc_UnicodeError)) throw py::error_already_set();
            PyErr_Clear();
            into.status[i] = Status::BadText;
            return;
        }
        batch::readNotation(std::string_view(utf8, static_cast<std::size_t>(size)), into, i);
    } else if (py::isinstance<py::bytes>(item))
        batch::readNotation(py::cast<std::string>(item), into, i);
    else if (py::isinstance<py::float_>(item) && std::isnan(py::cast<double>(item)))
        into.status[i] = Status::NotANumber;
    else
        into.status[i] = Status::NotANotation;
}

NotationInput notationInput(py::handle object) {
    NotationInput in;
    if (isText(object)) {
        in.notations.resize(1);
        readText(object, in.notations, 0);
        in.count = 1;
        return in;
    }
    if (holdsText(object)) {
        py::array items =
            py::module_::import("numpy").attr("asarray")(object, py::arg("dtype") = "object");
        in.shape.assign(items.shape(), items.shape() + items.ndim());
        py::array flat = items.attr("ravel")();
        in.notations.resize(static_cast<std::size_t>(flat.size()));
        std::size_t i = 0;
        for (py::handle item : flat)
            readText(item, in.notations, i++);
        in.count = in.notations.size();
        return in;
    }
    in.numbers = triples(object, "notations");
    in.shape = in.numbers->shape;
    in.count = in.numbers->count;
    return in;
}

} // namespace huelinx::pyarrays
