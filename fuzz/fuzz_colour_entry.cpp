// The colour model on any typed text: the bytes are split into box texts and
// a notation to enter, as a user typing into the main window would, with the
// renotation table loaded once. What the entry came to agrees with what it
// says and what it changed. The same bytes read as one typed or pasted colour
// give box texts that, written back, read as the same colour.
#include "colour/colour_model.h"
#include "colour/muntable.h"
#include "colour/typed_colour.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

const huelinx::MunTable* table() {
    static const huelinx::MunTable* loaded = [] {
        auto* t = new huelinx::MunTable;
        if (!huelinx::loadMunTableFile(HUELINX_DATA_DIR "/Vadoro.dat", *t).ok) __builtin_trap();
        return t;
    }();
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    using namespace huelinx;
    const auto notation = static_cast<Notation>(data[0] % 6);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (const auto typed = readTypedColour(rest, notation)) {
        if (readTypedColour(typedColourText(*typed)) != typed) __builtin_trap();
    }
    ColourModel colour = ColourModel::initial();
    const int first = static_cast<int>(firstBox(notation));
    for (int i = 0; i < boxesOf(notation); ++i) {
        const std::size_t cut = rest.find('|');
        colour[static_cast<Box>(first + i)] = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    const ColourModel typed = colour;
    colour = enter(std::move(colour), notation, *table());
    for (const std::string& message : colour.messages)
        if (message.size() > 300) __builtin_trap();
    // An entry that gives no colour says why, and one that says something
    // gave none: callers decide by the outcome, the user reads the message.
    const bool failed = colour.outcome.hasAny(
        {Outcome::Refused, Outcome::FormatError, Outcome::OutOfMunsellRange, Outcome::NoNotation});
    if (failed == colour.messages.empty()) __builtin_trap();
    // A refused entry changes nothing but what was typed.
    if (colour.outcome.has(Outcome::Refused) &&
        (colour.box != typed.box || colour.slider != typed.slider))
        __builtin_trap();
    return 0;
}
