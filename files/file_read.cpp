#include "files/file_read.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace huelinx {

namespace {

// Reads `fd` to its end, failing once more than `limit` bytes come (a file
// that grows while it is read).
FileRead readAll(int fd, std::uint64_t limit, std::string& text) {
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FileRead::CannotRead;
        if (n == 0) return FileRead::Ok;
        if (text.size() + static_cast<std::size_t>(n) > limit) return FileRead::TooLarge;
        text.append(block, static_cast<std::size_t>(n));
    }
}

} // namespace

FileText readWholeFile(const std::string& path, std::uint64_t limit) {
    // O_NONBLOCK: opening a FIFO with no writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {FileRead::CannotOpen, {}};
    struct stat file {};
    FileText read;
    if (::fstat(fd, &file) != 0)
        read.status = FileRead::CannotRead;
    else if (S_ISDIR(file.st_mode))
        read.status = FileRead::CannotOpen;
    else if (!S_ISREG(file.st_mode))
        read.status = FileRead::NotAFile;
    else if (static_cast<std::uint64_t>(file.st_size) > limit)
        read.status = FileRead::TooLarge;
    else {
        read.text.reserve(static_cast<std::size_t>(file.st_size));
        read.status = readAll(fd, limit, read.text);
    }
    ::close(fd);
    if (read.status != FileRead::Ok) read.text = {};
    return read;
}

std::string readFailure(FileRead status, std::uint64_t limit) {
    switch (status) {
    case FileRead::Ok:
        return {};
    case FileRead::CannotOpen:
        return "cannot be opened";
    case FileRead::CannotRead:
        return "cannot be read";
    case FileRead::NotAFile:
        return "is not a plain file";
    case FileRead::TooLarge:
        return limit >= megabyte && limit % megabyte == 0
                   ? "is larger than " + std::to_string(limit / megabyte) + " MB"
                   : "is larger than " + std::to_string(limit / 1024) + " KB";
    }
    return {};
}

std::string unreadableFileMessage(const std::string& path, FileRead status, std::uint64_t limit) {
    if (status == FileRead::CannotOpen) return "File not found";
    return "\"" + path + "\" " + readFailure(status, limit) + ".";
}

} // namespace huelinx
