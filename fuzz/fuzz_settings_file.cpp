// The settings file reader on any text: line 2 gives a port number or a
// device name, never both.
#include "instrument_data/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const huelinx::StoredSettings s = huelinx::parseSettings(text);
    if (s.commPort && s.commDevice) __builtin_trap();
    return 0;
}
