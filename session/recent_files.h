// The palettes and pictures opened lately, newest first, for File > Open
// Recent. Each file is listed once (by its absolute path), at most ten are
// kept, and the list is stored in a small file in the working folder
// ("palette,<path>" or "picture,<path>" a line, the path as it stands up to
// the line end) so that it outlives the program. A line that can't be read
// is passed over.
#pragma once

#include "files/result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

class RecentFiles {
  public:
    enum class Kind { Palette, Picture };
    struct Entry {
        Kind kind;
        std::string path; // absolute
        bool operator==(const Entry&) const = default;
    };
    static constexpr std::size_t limit = 10;

    // A list kept in `storeFile` (none kept when empty), read from it now.
    explicit RecentFiles(std::string storeFile = {});

    // Puts the file first (taking it from where it stood) and stores the
    // list; a path holding a line end is not listed, as the store could not
    // keep it. Not ok when the store could not be written (the list in
    // memory has the file all the same).
    Result add(Kind kind, std::string_view path);
    // Takes the file off the list and stores the list.
    Result remove(std::string_view path);
    const std::vector<Entry>& entries() const { return entries_; }

    // The store's text for `entries`, and the entries read from such a text.
    static std::string storeText(const std::vector<Entry>& entries);
    static std::vector<Entry> readStore(std::string_view text);

  private:
    Result store() const;

    std::string storeFile_;
    std::vector<Entry> entries_;
};

// `path` made absolute against the working folder, with "." and ".." steps
// taken out; the path as it stands when that fails.
std::string absolutePath(std::string_view path);

// The folder a file is in, absolute; empty for an empty path.
std::string folderOf(std::string_view path);

} // namespace huelinx
