// The Munsell data file loader on any text: a file that loads gives a table
// the CIE-to-Munsell search can run on; one that doesn't names the problem in
// a message of bounded length and leaves the table as it was.
#include "colour/muntable.h"
#include "colour/xyz2mun.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static huelinx::MunTable table;
    const huelinx::Result loaded = huelinx::loadMunTable(text, "fuzz.dat", table);
    if (!loaded.ok && loaded.message.size() > 300) __builtin_trap();
    if (loaded.ok) (void)huelinx::xyz2mun(20.0f, 20.0f, 25.0f, table, {});
    return 0;
}
