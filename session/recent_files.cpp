#include "session/recent_files.h"

#include "files/file_read.h"
#include "files/file_write.h"
#include "text/list_input.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace huelinx {

namespace {

constexpr const char* paletteWord = "palette";
constexpr const char* pictureWord = "picture";

} // namespace

std::string absolutePath(std::string_view path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::string(path), error);
    if (error) return std::string(path);
    return absolute.lexically_normal().string();
}

std::string folderOf(std::string_view path) {
    if (path.empty()) return {};
    return std::filesystem::path(absolutePath(path)).parent_path().string();
}

RecentFiles::RecentFiles(std::string storeFile) : storeFile_(std::move(storeFile)) {
    if (storeFile_.empty()) return;
    const FileText file = readWholeFile(storeFile_, settingsFileLimit);
    if (file.status == FileRead::Ok) entries_ = readStore(file.text);
}

Result RecentFiles::add(Kind kind, std::string_view path) {
    if (path.empty() || path.find_first_of("\r\n") != std::string_view::npos) return {true, {}};
    const std::string absolute = absolutePath(path);
    std::erase_if(entries_, [&](const Entry& e) { return e.path == absolute; });
    entries_.insert(entries_.begin(), Entry{kind, absolute});
    if (entries_.size() > limit) entries_.resize(limit);
    return store();
}

Result RecentFiles::remove(std::string_view path) {
    const std::string absolute = absolutePath(path);
    if (std::erase_if(entries_, [&](const Entry& e) { return e.path == absolute; }) == 0)
        return {true, {}};
    return store();
}

Result RecentFiles::store() const {
    if (storeFile_.empty()) return {true, {}};
    return replaceFile(storeFile_, storeText(entries_));
}

std::string RecentFiles::storeText(const std::vector<Entry>& entries) {
    std::string text;
    for (const Entry& e : entries) {
        text += e.kind == Kind::Palette ? paletteWord : pictureWord;
        // The path is the rest of the line as it stands: commas and quotes
        // in it need no quoting, and it holds no line end.
        text += ',' + e.path + "\r\n";
    }
    return text;
}

std::vector<RecentFiles::Entry> RecentFiles::readStore(std::string_view text) {
    std::vector<Entry> entries;
    ListReader lines(text);
    while (!lines.atEnd() && entries.size() < limit) {
        const std::string line = *lines.line();
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma + 1 == line.size()) continue;
        const std::string kind = line.substr(0, comma);
        Entry entry{Kind::Palette, line.substr(comma + 1)};
        if (kind == pictureWord)
            entry.kind = Kind::Picture;
        else if (kind != paletteWord)
            continue;
        // A file listed twice by hand is listed once, where it first stands.
        if (std::ranges::find(entries, entry.path, &Entry::path) == entries.end())
            entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace huelinx
