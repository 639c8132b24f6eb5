#include "instrument_data/import_records.h"

namespace huelinx {

RecordRead readImportRecord(ListReader& reader, int count, std::vector<std::string>& fields,
                            std::size_t& line) {
    reader.skipBlankLines();
    if (reader.atEnd()) return RecordRead::End;
    line = reader.lineNumber();
    fields.clear();
    for (int i = 0; i < count; ++i) {
        auto field = reader.field();
        if (!field) return RecordRead::CutShort;
        fields.push_back(std::move(*field));
    }
    return RecordRead::Record;
}

std::optional<std::array<std::string, 3>> splitStepsLine(std::string_view line) {
    const std::size_t p1 = line.find('\t');
    const std::size_t p2 = p1 == std::string_view::npos ? p1 : line.find('\t', p1 + 1);
    if (p2 == std::string_view::npos) return std::nullopt;
    return std::array<std::string, 3>{std::string(line.substr(0, p1)),
                                      std::string(line.substr(p1 + 1, p2 - p1 - 1)),
                                      std::string(line.substr(p2 + 1))};
}

} // namespace huelinx
