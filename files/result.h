// What the core's readers, loaders and writers give back: a value or why there
// is none, or, where nothing is given back, whether it was done and why not.
// The message names the file and the problem; callers show it as it stands.
#pragma once

#include <optional>
#include <string>

namespace huelinx {

// A load or a write that gives nothing back.
struct Result {
    bool ok = false;
    std::string message; // names the file and the problem when !ok
};

// A load that gives a value.
template <typename T> struct Loaded {
    std::optional<T> value;
    std::string message; // names the file and the problem when there is no value
};

} // namespace huelinx
