// Reading a whole file into memory, for the readers of the program's data and
// users' files; each caller words its own message when it fails.
#pragma once

#include <string>

namespace huelinx {

enum class FileRead { Ok, CannotOpen, CannotRead };

struct FileText {
    FileRead status = FileRead::CannotOpen;
    std::string text; // the bytes as they stand, when Ok
};

// A path that names a folder can't be opened.
[[nodiscard]] FileText readWholeFile(const std::string& path);

} // namespace huelinx
