#include "platform/file_write.h"

#include "text/excerpt.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace huelinx {

namespace {

std::string reasonOf(int error) {
    return error != 0 ? std::strerror(error) : "the file could not be written";
}

FileWrite failed(const std::string& path, int error) {
    return {false, "\"" + excerpt(path, 200) + "\" can't be written: " + reasonOf(error) + "."};
}

// Writes all of `text` to an open file and closes it; the error number of
// the first failure, or 0.
int writeAndClose(std::FILE* file, std::string_view text) {
    errno = 0;
    int error = 0;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size())
        error = errno != 0 ? errno : EIO;
    if (std::fflush(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    return error;
}

} // namespace

FileWrite replaceFile(const std::string& path, std::string_view text) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return failed(path, EISDIR);
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return failed(path, errno);
    if (const int error = writeAndClose(file, text)) {
        std::filesystem::remove(temporary, ec);
        return failed(path, error);
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return failed(path, ec.value());
    }
    return {true, {}};
}

FileWrite appendToFile(const std::string& path, std::string_view text) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return failed(path, EISDIR);
    const bool existed = std::filesystem::exists(path, ec);
    const std::uintmax_t before = existed ? std::filesystem::file_size(path, ec) : 0;
    if (ec) return failed(path, ec.value());
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return failed(path, errno);
    const int error = writeAndClose(file, text);
    if (error == 0) return {true, {}};
    // Whatever part of the record reached the disk goes again.
    if (existed)
        std::filesystem::resize_file(path, before, ec);
    else
        std::filesystem::remove(path, ec);
    return failed(path, error);
}

} // namespace huelinx
