// The number readers and writers on any text: a number read strictly is
// written and read back as the same value.
#include "text/excerpt.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)huelinx::leadingNumber(text);
    (void)huelinx::isNumberText(text);
    (void)huelinx::excerpt(text);
    if (const auto n = huelinx::strictNumber(text)) {
        (void)huelinx::roundHalfEven(*n);
        if (std::isfinite(*n)) {
            const std::string written = huelinx::plainText(*n);
            const auto back = huelinx::strictNumber(written);
            if (!back) __builtin_trap();
            for (const char* pattern : {"###.00", "##0.00", "0.0000", ".0000", "##0", "##.00"})
                (void)huelinx::formatNumber(*n, pattern);
        }
    }
    return 0;
}
