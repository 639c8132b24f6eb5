#include "converter_run.h"

#include "tools/converter.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace huelinx::testing {

Outcome convert(const Args& args, const std::string& input, const Files& files) {
    namespace fs = std::filesystem;
    const fs::path previous = fs::current_path();
    const fs::path dir =
        fs::temp_directory_path() / ("huelinx-convert-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    for (const auto& [name, text] : files)
        std::ofstream(name, std::ios::binary) << text;
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runConverter(args, {HUELINX_DATA_DIR}, in, out, err);
    fs::current_path(previous);
    fs::remove_all(dir);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

} // namespace huelinx::testing
