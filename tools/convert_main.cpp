// huelinx-convert: the command-line converter. It needs no display and no
// window toolkit: it runs the colour model on the core alone.
#include "colour/data_files.h"
#include "tools/converter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The folder of the running program: its data folders are found from it.
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
    const std::vector<std::string> dataFolders =
        huelinx::programDataFolders(programFolder(argv[0]));
    const int status = huelinx::runConverter(args, dataFolders, std::cin, std::cout, std::cerr);
    // The converter flushed what it wrote and said so when a write failed.
    // Closing standard output tells whether the system took the rest.
    if (!std::cout.good()) return status;
    errno = 0;
    std::cout.flush();
    if (std::cout.good() && std::fclose(stdout) == 0) return status;
    std::cerr << "huelinx-convert: the output could not be written: "
              << (errno != 0 ? std::strerror(errno) : "the write failed") << "\n";
    return status == 0 ? 1 : status;
}
