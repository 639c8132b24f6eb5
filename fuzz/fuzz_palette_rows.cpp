// The palette reader on any text: whatever a palette file holds, every row it
// returns has six fields or says it is incomplete, and no field is read past
// the end of its line.
#include "palette/palette_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const huelinx::PaletteRow& row : huelinx::readPaletteRows(text, 200))
        for (const std::string& field : row.fields)
            if (field.size() > size) __builtin_trap();
    return 0;
}
