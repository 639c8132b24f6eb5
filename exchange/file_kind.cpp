#include "exchange/file_kind.h"

#include <algorithm>
#include <cctype>

namespace huelinx {

namespace {

constexpr std::string_view pictureSignatures[] = {
    std::string_view("\x89PNG\r\n\x1a\n", 8), // PNG
    std::string_view("\xff\xd8\xff", 3),      // JPEG
    std::string_view("II*\0", 4),             // TIFF, little-endian
    std::string_view("MM\0*", 4),             // TIFF, big-endian
};

bool endsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool isCgats(std::string_view head) {
    // A byte-order mark and blanks may stand before the first keyword.
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && head.substr(first).starts_with("CGATS")) return true;
    return head.find("BEGIN_DATA_FORMAT") != std::string_view::npos;
}

} // namespace

FileKind kindOfFile(std::string_view firstBytes, std::string_view name) {
    const std::string_view head = firstBytes.substr(0, fileKindBytes);
    for (std::string_view signature : pictureSignatures)
        if (head.starts_with(signature)) return FileKind::Picture;
    if (isCgats(head)) return FileKind::Cgats;
    if (endsWithNoCase(name, ".csv")) return FileKind::Palette;
    return FileKind::Unknown;
}

} // namespace huelinx
