// The chip-set reader on any text: a set that loads holds only chips the
// Munsell data hold; one that doesn't says why in a message of bounded length.
#include "colour/chip_set.h"
#include "colour/mun2xyz.h"
#include "colour/muntable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

const huelinx::MunTable& table() {
    static const huelinx::MunTable* loaded = [] {
        auto* t = new huelinx::MunTable;
        if (!huelinx::loadMunTableFile(HUELINX_DATA_DIR "/Vadoro.dat", *t).ok) __builtin_trap();
        return t;
    }();
    return *loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const huelinx::Loaded<huelinx::ChipSet> load =
        huelinx::readChipSet(text, "fuzz.csv", "fuzz", table());
    if (!load.value && load.message.size() > 300) __builtin_trap();
    if (load.value)
        for (const huelinx::Chip& chip : load.value->chips)
            if (huelinx::mun2xyz(chip.hue, chip.value, chip.chroma, table(), {}).status !=
                huelinx::MunsellToCie::Ok)
                __builtin_trap();
    return 0;
}
