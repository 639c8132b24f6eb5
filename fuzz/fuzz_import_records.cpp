// The import readers on any text: records of every size an import reads, and
// steps lines. Each record read moves the reader on, so a run always ends.
#include "instrument_data/import_records.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int count : {3, 4, 5, 6, 43}) {
        huelinx::ListReader reader(text);
        std::vector<std::string> fields;
        std::size_t line = 0, records = 0;
        while (huelinx::readImportRecord(reader, count, fields, line) ==
               huelinx::RecordRead::Record) {
            if (fields.size() != static_cast<std::size_t>(count)) __builtin_trap();
            if (++records > size) __builtin_trap();
        }
    }
    huelinx::ListReader lines(text);
    for (lines.skipBlankLines(); !lines.atEnd(); lines.skipBlankLines())
        (void)huelinx::splitStepsLine(lines.field().value_or(""));
    return 0;
}
