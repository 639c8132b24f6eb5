// The ISCC-NBS name loader on any text: the bytes up to the first '|' are the
// blocks file, the rest the names file. A table that loads names notations
// across the circle with names it holds, the name the first rule in file
// order that holds gives; a text that doesn't load is named in a message of
// bounded length and leaves the table as it was.
#include "colour/iscc_nbs.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// The name of the first rule in file order that holds, trying every rule.
const huelinx::IsccNbsName* byEveryRule(const huelinx::IsccNbsTable& table, float hue, float value,
                                        float chroma) {
    float h = std::fmod(hue, 100.0f);
    if (h <= 0.0f) h += 100.0f;
    for (const huelinx::IsccNbsRule& rule : table.rules())
        if (rule.holdsHue(h) && rule.holds(value, chroma)) return table.level3(rule.level3);
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t bar = text.find('|');
    const std::string_view blocks = text.substr(0, bar);
    const std::string_view names = bar == std::string_view::npos ? "" : text.substr(bar + 1);
    huelinx::IsccNbsTable table;
    const huelinx::Result loaded = huelinx::loadIsccNbs(blocks, "b.csv", names, "n.csv", table);
    if (!loaded.ok) {
        if (loaded.message.size() > 300 || !table.empty()) __builtin_trap();
        return 0;
    }
    for (float hue = -1.0f; hue <= 101.0f; hue += 0.5f)
        for (const float value : {0.0f, 2.5f, 5.0f, 9.5f})
            for (const float chroma : {0.0f, 0.5f, 0.7f, 3.0f, 12.0f}) {
                const huelinx::IsccNbsName* name = table.nameOf(hue, value, chroma);
                if (name && table.level3(name->level3) != name) __builtin_trap();
                if (name != byEveryRule(table, hue, value, chroma)) __builtin_trap();
            }
    (void)table.nameOfNeutral(5.0f);
    return 0;
}
