// The settings file "tzm.cfg" in the working directory: line 1 the instrument
// name as it stands, line 2 the serial port: its number written with a blank
// before and after it (" 1 "), or a device path or name as it stands
// ("/dev/ttyUSB0", "COM3"). Lines end with CR LF; every write replaces the
// whole file. The name is matched without regard to letter case, so a file
// saved as "TZM.cfg" is read and replaced under that name.
#pragma once

#include "files/result.h"

#include <optional>
#include <string>
#include <string_view>

namespace huelinx {

// The settings file of the working directory: an existing file whose name is
// tzm.cfg in any letter case, else "tzm.cfg".
std::string settingsFilePath();

struct StoredSettings {
    bool opened = false;                       // the file exists and could be read
    std::optional<std::string> instrumentName; // line 1, when present
    std::optional<int> commPort;               // line 2, when it is a whole number
    std::optional<std::string> commDevice;     // line 2, when it is no number: a device
};

StoredSettings readSettingsFile();
// The settings a text holds, read as readSettingsFile reads the file's.
StoredSettings parseSettings(std::string_view content);

// Replaces the file, line 2 the device when one is given, else the port
// number; not ok with a message naming the file when it can't be written.
[[nodiscard]] Result writeSettingsFile(const std::string& instrumentName, int commPort,
                                       const std::string& commDevice);

} // namespace huelinx
