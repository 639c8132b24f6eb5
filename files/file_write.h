// Files written whole or not at all. A full disk, a folder that can't be
// written or a file taken by a folder of its name never leaves half a record
// or half a table behind: the file holds either everything or what it held
// before, and the caller gets a message that names the file and the reason.
#pragma once

#include "files/result.h"

#include <string>
#include <string_view>

namespace huelinx {

// Writes `text` as the whole of the file at `path`: into a new temporary file
// `<path>.XXXXXX` beside it (made exclusively, so a file or link planted
// there is never opened), renamed over it once every byte is written and the
// file closed. The new file keeps the permissions of the file it replaces; a
// file new at `path` gets 0666 less the umask. A `path` that is a symbolic
// link is refused and left as it is (writing through it would let a planted
// link overwrite any file, replacing it would break the user's link), and so
// is anything else that is not a plain file. On failure the temporary file is
// removed and a file already at `path` is left as it was.
[[nodiscard]] Result replaceFile(const std::string& path, std::string_view text);

// Appends `text` to the file at `path`. An existing plain file is appended to
// even through a symbolic link (a palette may be a link to a file kept
// elsewhere); a missing file is made at `path` itself, never through a link
// that leads nowhere, and nothing that is not a plain file is written. On
// failure the file is cut back to the length it had, so it ends in a whole
// record, and a file the call made is removed.
[[nodiscard]] Result appendToFile(const std::string& path, std::string_view text);

} // namespace huelinx
