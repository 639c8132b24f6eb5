// The palette reader on any text: whatever a palette file holds, every row it
// returns has six fields or says it is incomplete, and no field is read past
// the end of its line. And the text as a tag: a record written with it reads
// back with the tag as it was given, whatever mark keeps a spreadsheet from
// running it; and as a soil sample's dry reading, which reads back the same.
#include "palette/palette_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Tags the palette keeps exactly: one line, no double quote (written as two
// single quotes), no blank at either end (the reader drops those).
bool keptExactly(std::string_view tag) {
    if (tag.find_first_of("\"\r\n") != std::string_view::npos) return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return tag.empty() || (!blank(tag.front()) && !blank(tag.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const huelinx::PaletteRow& row : huelinx::readPaletteRows(text, 200)) {
        for (const std::string& field : row.fields)
            if (field.size() > size) __builtin_trap();
        if (row.moist.size() > size || row.dry.size() > size) __builtin_trap();
    }
    if (size <= 200 && keptExactly(text)) {
        huelinx::PaletteRecord record;
        record.tag = std::string(text);
        record.dry = std::string(text);
        const auto rows = huelinx::readPaletteRows(huelinx::paletteLine(record));
        if (rows.size() != 1 || rows[0].fields[2] != text) __builtin_trap();
        if (rows[0].dry != text || !rows[0].moist.empty()) __builtin_trap();
    }
    return 0;
}
