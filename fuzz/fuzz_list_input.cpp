// The list-input reader: items and lines of any text, always moving forward
// and always ending.
#include "text/list_input.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    huelinx::ListReader fields(text);
    std::size_t steps = 0;
    while (fields.field()) {
        if (++steps > size + 1) __builtin_trap(); // every item takes a character
    }
    huelinx::ListReader lines(text);
    for (steps = 0; !lines.atEnd(); ++steps) {
        lines.skipBlankLines();
        if (!lines.line() && !lines.atEnd()) __builtin_trap();
        if (steps > size + 1) __builtin_trap();
    }
    return 0;
}
