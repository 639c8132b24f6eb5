// Reading a whole file into memory, for the readers of the program's data and
// users' files; each caller words its own message when it fails.
#pragma once

#include <cstdint>
#include <string>

namespace huelinx {

// CannotOpen: missing, unreadable, or a folder. NotAFile: a device, a FIFO or
// a socket, which would never end or never answer. TooLarge: longer than the
// caller's limit, refused before a byte is read.
enum class FileRead { Ok, CannotOpen, CannotRead, NotAFile, TooLarge };

struct FileText {
    FileRead status = FileRead::CannotOpen;
    std::string text; // the bytes as they stand, when Ok
};

// The largest file each kind of reader takes (in bytes).
inline constexpr std::uint64_t megabyte = 1024 * 1024;
// Palettes, CGATS measurement files, colour lists, reflectance files.
inline constexpr std::uint64_t userFileLimit = 256 * megabyte;
// The Munsell data, the ISCC-NBS name tables, chip sets.
inline constexpr std::uint64_t tableFileLimit = 16 * megabyte;
// The settings file and the name of the last palette.
inline constexpr std::uint64_t settingsFileLimit = 64 * 1024;

// Reads the plain file at `path` if it holds at most `limit` bytes. Opening
// never waits (a FIFO is refused at once), and only a plain file is read.
[[nodiscard]] FileText readWholeFile(const std::string& path, std::uint64_t limit);

// Why a read failed, for a caller's message: "cannot be opened", "is not a
// plain file", "is larger than 256 MB", ...; empty when `status` is Ok.
[[nodiscard]] std::string readFailure(FileRead status, std::uint64_t limit);

// The message a user's file that can't be read gives when it was asked for
// by name: "File not found" when it can't be opened, else the file and why
// ("\"/dev/zero\" is not a plain file.").
[[nodiscard]] std::string unreadableFileMessage(const std::string& path, FileRead status,
                                                std::uint64_t limit);

} // namespace huelinx
