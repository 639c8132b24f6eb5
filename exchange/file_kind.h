// What kind of file the user handed the program (dropped on a window): a
// picture, a palette or a CGATS measurement file, told from its first bytes
// and, for a palette, its name.
#pragma once

#include <cstddef>
#include <string_view>

namespace huelinx {

enum class FileKind { Unknown, Picture, Palette, Cgats };

// How many first bytes kindOfFile looks at.
inline constexpr std::size_t fileKindBytes = 4096;

// A PNG, JPEG or TIFF signature is a picture; a text whose first line starts
// with "CGATS", or that holds "BEGIN_DATA_FORMAT" within its first bytes, is a
// CGATS file; a name ending in ".csv" (any case) is a palette. Anything else
// is unknown here (the window may still read it as a picture).
FileKind kindOfFile(std::string_view firstBytes, std::string_view name);

} // namespace huelinx
