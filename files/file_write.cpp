#include "files/file_write.h"

#include "text/excerpt.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace huelinx {

namespace {

std::string quoted(const std::string& path) {
    return "\"" + excerpt(path, 200) + "\"";
}

std::string reasonOf(int error) {
    return error != 0 ? std::strerror(error) : "the file could not be written";
}

Result failed(const std::string& path, int error) {
    return {false, quoted(path) + " can't be written: " + reasonOf(error) + "."};
}

Result leftAsItIs(const std::string& path, const std::string& what) {
    return {false,
            quoted(path) + " is " + what + "; it was left as it is and nothing was written."};
}

// Writes all of `text` to `fd`; the error number of the first failure, or 0.
int writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Six letters or digits that make a temporary name nobody can guess ahead.
std::string randomSuffix() {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string suffix(6, 'x');
    for (char& c : suffix)
        c = letters[random() % (sizeof letters - 1)];
    return suffix;
}

// Creates a new file `<path>.<six random characters>` beside `path`, never
// opening anything that was there before (a planted file or link makes it
// try another name). The descriptor, or -1 with errno set.
int createTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + "." + randomSuffix();
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

Result replaceFile(const std::string& path, std::string_view text) {
    struct stat target {};
    const bool exists = ::lstat(path.c_str(), &target) == 0;
    if (exists && S_ISLNK(target.st_mode)) return leftAsItIs(path, "a symbolic link");
    if (exists && S_ISDIR(target.st_mode)) return failed(path, EISDIR);
    if (exists && !S_ISREG(target.st_mode)) return leftAsItIs(path, "not a plain file");
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) return failed(path, errno);
    // A new file has 0666 less the umask (open applied it); a replaced one
    // keeps the permissions it had, so a private file stays private.
    int error = exists && ::fchmod(fd, target.st_mode & 0777) != 0 ? errno : 0;
    if (error == 0) error = writeAll(fd, text);
    if (::close(fd) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error == 0) return {true, {}};
    ::unlink(temporary.c_str());
    return failed(path, error);
}

Result appendToFile(const std::string& path, std::string_view text) {
    // An existing file is opened through a link (a palette may be the user's
    // link to a file elsewhere); a new file is made only at `path` itself,
    // never through a link that leads nowhere.
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0666);
        created = fd >= 0;
        struct stat link {};
        if (fd < 0 && errno == EEXIST && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            return leftAsItIs(path, "a symbolic link to a file that does not exist");
    }
    if (fd < 0) return failed(path, errno);
    struct stat file {};
    const bool statted = ::fstat(fd, &file) == 0;
    if (!statted || !S_ISREG(file.st_mode)) {
        const int error = statted ? 0 : errno;
        ::close(fd);
        return statted ? leftAsItIs(path, "not a plain file") : failed(path, error);
    }
    int error = writeAll(fd, text);
    // Whatever part of the record reached the disk goes again.
    if (error != 0 && !created) (void)::ftruncate(fd, file.st_size);
    if (::close(fd) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
        if (!created) (void)::truncate(path.c_str(), file.st_size);
    }
    if (error == 0) return {true, {}};
    if (created) ::unlink(path.c_str());
    return failed(path, error);
}

} // namespace huelinx
