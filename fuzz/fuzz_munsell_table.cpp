// The Munsell data file loader on any text: a file that loads gives a table
// the CIE-to-Munsell search can run on; one that doesn't names the problem in
// a message of bounded length and leaves the table as it was.
#include "colour/muntable.h"
#include "colour/xyz2mun.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The whole values of a file (all 0), so that an input starting with '+'
// reaches the dark levels after them: a whole file is far longer than the
// fuzzer's inputs.
const std::string& wholeValues() {
    static const std::string zeros = [] {
        std::string text;
        for (int i = 0; i < huelinx::MunTable::baseNumbers / 2; ++i)
            text += "0,0\r\n";
        return text;
    }();
    return zeros;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string withTail;
    if (!text.empty() && text.front() == '+') {
        withTail = wholeValues();
        withTail.append(text.substr(1));
        text = withTail;
    }
    static huelinx::MunTable table;
    const huelinx::Result loaded = huelinx::loadMunTable(text, "fuzz.dat", table);
    if (!loaded.ok && loaded.message.size() > 300) __builtin_trap();
    if (loaded.ok) (void)huelinx::xyz2mun(20.0f, 20.0f, 25.0f, table, {});
    return 0;
}
