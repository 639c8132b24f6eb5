// huelinx-convert: the command-line converter. It needs no display and no
// window toolkit: it runs the colour model on the core alone.
#include "tools/converter.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The folder of the running program, where the build puts data/ beside it.
std::string programFolder(const char* argv0) {
    std::error_code failed;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed) return self.parent_path().string();
    return std::filesystem::absolute(argv0, failed).parent_path().string();
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // The converter flushes its output and its errors itself before it waits
    // for input.
    std::cin.tie(nullptr);
    std::cerr.unsetf(std::ios::unitbuf);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> dataFolders{programFolder(argv[0]) + "/data"};
    return huelinx::runConverter(args, dataFolders, std::cin, std::cout, std::cerr);
}
