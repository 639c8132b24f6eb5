#include "session/palette_document.h"

#include "files/file_write.h"
#include "palette/palette_file.h"

#include <algorithm>
#include <cctype>

namespace huelinx {

std::string PaletteDocument::fileNamed(std::string typed) {
    std::string ending = typed.size() >= 4 ? typed.substr(typed.size() - 4) : typed;
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending != ".csv") typed += ".csv";
    return sameFileAnyCase(typed);
}

Result PaletteDocument::append(const std::string& records) {
    file_ = fileNamed(file_);
    const Result written = appendToFile(file_, records);
    if (written.ok) changed.send(Write::Appended);
    return written;
}

Result PaletteDocument::replace(const std::string& records) {
    file_ = fileNamed(file_);
    const Result written = replaceFile(file_, records);
    if (written.ok) changed.send(Write::Replaced);
    return written;
}

} // namespace huelinx
