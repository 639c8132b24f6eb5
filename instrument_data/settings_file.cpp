#include "instrument_data/settings_file.h"

#include "files/file_read.h"
#include "files/file_write.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace huelinx {

namespace {

constexpr const char* fileName = "tzm.cfg";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string settingsFilePath() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
        const std::string name = entry.path().filename().string();
        if (lower(name) == fileName && entry.is_regular_file(ec)) return name;
    }
    return fileName;
}

StoredSettings parseSettings(std::string_view content) {
    StoredSettings stored;
    stored.opened = true;
    ListReader reader(content);
    stored.instrumentName = reader.line();
    if (const auto line = reader.line()) {
        const auto number = strictNumber(*line);
        if (number && *number == roundHalfEven(*number) && *number >= -32768 && *number <= 32767)
            stored.commPort = static_cast<int>(*number);
        else if (!number && !trimmed(*line).empty())
            stored.commDevice = trimmed(*line);
    }
    return stored;
}

StoredSettings readSettingsFile() {
    // A settings file that can't be read, or is no plain file of settings'
    // size, gives the settings of a first start.
    const FileText file = readWholeFile(settingsFilePath(), settingsFileLimit);
    if (file.status != FileRead::Ok) return {};
    return parseSettings(file.text);
}

Result writeSettingsFile(const std::string& instrumentName, int commPort,
                         const std::string& commDevice) {
    const std::string path = settingsFilePath();
    Result written =
        replaceFile(path, instrumentName + "\r\n" +
                              (commDevice.empty() ? printText(commPort) : commDevice) + "\r\n");
    if (!written.ok) written.message = "The settings could not be saved: " + written.message;
    return written;
}

} // namespace huelinx
