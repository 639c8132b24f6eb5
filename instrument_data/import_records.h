// Reading the records of an import file: comma-separated records of a fixed
// number of fields, and the tab-separated notations of a steps file.
#pragma once

#include "text/list_input.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

enum class RecordRead {
    Record,   // `count` fields were read
    End,      // nothing but blank lines was left
    CutShort, // the data ended inside the record
};

// Reads the next record of `count` fields, passing over blank lines first;
// `line` is set to the line where the record begins.
RecordRead readImportRecord(ListReader& reader, int count, std::vector<std::string>& fields,
                            std::size_t& line);

// Hue, value and chroma of a steps line: the texts around its first two tabs.
// No value when the line has fewer than two tabs.
std::optional<std::array<std::string, 3>> splitStepsLine(std::string_view line);

} // namespace huelinx
