#include "text/excerpt.h"

namespace huelinx {

namespace {

// Whether a byte continues a UTF-8 character rather than starting one.
bool continuesCharacter(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of a layout control that starts at `i` when it is not one byte:
// a C1 control in UTF-8 (C2 80..C2 9F, which some terminals obey as escape
// sequences) or the line and paragraph separators (E2 80 A8, E2 80 A9); 0
// for anything else.
std::size_t controlSequenceLength(std::string_view text, std::size_t i) {
    const auto at = [&text](std::size_t k) {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
    };
    if (at(i) == 0xC2 && at(i + 1) >= 0x80 && at(i + 1) <= 0x9F) return 2;
    if (at(i) == 0xE2 && at(i + 1) == 0x80 && (at(i + 2) == 0xA8 || at(i + 2) == 0xA9)) return 3;
    return 0;
}

} // namespace

std::string excerpt(std::string_view text, std::size_t limit) {
    std::size_t end = text.size();
    const bool cut = end > limit;
    if (cut) {
        end = limit;
        while (end > 0 && continuesCharacter(static_cast<unsigned char>(text[end])))
            --end;
    }
    std::string out;
    out.reserve(end + 3);
    for (std::size_t i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (const std::size_t length = controlSequenceLength(text, i)) {
            out += '?';
            i += length - 1;
            continue;
        }
        out += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
    if (cut) out += "...";
    return out;
}

} // namespace huelinx
