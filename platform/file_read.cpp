#include "platform/file_read.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace huelinx {

FileText readWholeFile(const std::string& path) {
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec)) return {FileRead::CannotOpen, {}};
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return {FileRead::CannotRead, {}};
    return {FileRead::Ok, content.str()};
}

} // namespace huelinx
