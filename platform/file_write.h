// Files written whole or not at all. A full disk, a folder that can't be
// written or a file taken by a folder of its name never leaves half a record
// or half a table behind: the file holds either everything or what it held
// before, and the caller gets a message that names the file and the reason.
#pragma once

#include <string>
#include <string_view>

namespace huelinx {

struct FileWrite {
    bool ok = false;
    std::string message; // names the file and the reason when !ok
};

// Writes `text` as the whole of the file at `path`: into a temporary file
// beside it, renamed over it once every byte is written and the file closed.
// On failure the temporary file is removed and a file already at `path` is
// left as it was.
[[nodiscard]] FileWrite replaceFile(const std::string& path, std::string_view text);

// Appends `text` to the file at `path` (made when missing). On failure the
// file is cut back to the length it had, so it ends in a whole record.
[[nodiscard]] FileWrite appendToFile(const std::string& path, std::string_view text);

} // namespace huelinx
