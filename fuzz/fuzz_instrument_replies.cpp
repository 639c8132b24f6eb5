// Every instrument reply parser and the reflectance file reader on any bytes:
// a reply that is accepted leaves finite reflectances.
#include "instrument_data/reply_parse.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    using Parser = bool (*)(std::string_view, huelinx::Reflectance&);
    for (Parser parse : {huelinx::parseCe7000, huelinx::parseCe2180, huelinx::parseXth,
                         huelinx::parseCi, huelinx::parseSpectrolino}) {
        huelinx::Reflectance curve{};
        (void)parse(reply, curve);
    }
    huelinx::Reflectance curve{};
    (void)huelinx::parseReflectanceFile(reply, curve);
    return 0;
}
