#include "text/excerpt.h"

namespace huelinx {

namespace {

// Whether a byte continues a UTF-8 character rather than starting one.
bool continuesCharacter(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
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
        out += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
    if (cut) out += "...";
    return out;
}

} // namespace huelinx
