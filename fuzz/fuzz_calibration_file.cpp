// The chart calibration file reader on any text: a file it takes, written
// again, reads back to the same text, and every refusal names the file.
#include "photo/calibration.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace huelinx::photo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = readCalibrationText(text, "fuzz.calibration");
    if (!read.value) {
        if (read.message.rfind("fuzz.calibration, line ", 0) != 0) __builtin_trap();
        return 0;
    }
    const std::string written = calibrationText(*read.value);
    const auto again = readCalibrationText(written, "again");
    if (!again.value || calibrationText(*again.value) != written) __builtin_trap();
    // A calibration read from any file can be applied without harm.
    (void)again.value->apply({0.5, 0.25, 1e300});
    return 0;
}
