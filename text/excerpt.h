// Input quoted in a message: at most a few dozen characters of it, so that a
// file of junk or a pasted page can't turn a message into megabytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huelinx {

// The text as a message may quote it: control characters (a binary file's
// bytes, line ends, C1 controls and line separators in UTF-8) become '?', and a text longer than
// `limit` characters is cut at a character boundary and ends in "...".
[[nodiscard]] std::string excerpt(std::string_view text, std::size_t limit = 40);

} // namespace huelinx
