// The CGATS reader on any text: a file that reads gives one sample per data
// set, every colour finite; one that doesn't says why in a message of bounded
// length.
#include "exchange/cgats.h"
#include "exchange/cgats_samples.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

bool finite(const huelinx::CgatsSample& sample) {
    bool all = std::isfinite(sample.xyz.X) && std::isfinite(sample.xyz.Y) &&
               std::isfinite(sample.xyz.Z) && std::isfinite(sample.lab.L) &&
               std::isfinite(sample.lab.a) && std::isfinite(sample.lab.b);
    for (float r : sample.reflectance)
        all = all && std::isfinite(r);
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const huelinx::Loaded<huelinx::CgatsTable> read = huelinx::readCgats(text, "fuzz.txt");
    if (!read.value) {
        if (read.message.size() > 300) __builtin_trap();
        return 0;
    }
    const huelinx::CgatsTable& table = *read.value;
    if (table.valueEnds.size() != table.setCount() * table.fields.size()) __builtin_trap();
    if (!table.valueEnds.empty() && table.valueEnds.back() != table.values.size()) __builtin_trap();
    for (std::size_t i = 1; i < table.valueEnds.size(); ++i)
        if (table.valueEnds[i] < table.valueEnds[i - 1]) __builtin_trap();

    const huelinx::CgatsSamples samples = huelinx::cgatsSamples(table, "fuzz.txt");
    if (!samples.ok) {
        if (samples.message.size() > 300 || !samples.samples.empty()) __builtin_trap();
        return 0;
    }
    if (samples.samples.size() != table.setCount()) __builtin_trap();
    for (const huelinx::CgatsSample& sample : samples.samples)
        if (!finite(sample)) __builtin_trap();
    // Both steps at once read the same.
    if (huelinx::readCgatsSamples(text, "fuzz.txt").samples.size() != samples.samples.size())
        __builtin_trap();
    return 0;
}
