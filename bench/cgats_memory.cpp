// Peak memory of a large CGATS import: writes a CGATS.17 file of the given
// size (200 MB unless told otherwise) to a scratch folder, reads it as the
// import does and converts every sample, then prints the time, the peak
// resident memory (getrusage ru_maxrss) and its multiple of the file size.
//
// The file is the hard case for memory: 10,000 sets of one-character values
// (the three XYZ fields and filler fields up to the size), so that any cost
// per value shows. `huelinx_cgats_memory 200` is what scripts/bench runs; it
// fails (exit status 1) when the peak passes 5 times the file size.
#include "exchange/cgats_import.h"
#include "files/file_read.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

using namespace huelinx;

constexpr int sets = 10'000;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Writes the file line by line, never holding it whole; gives its size.
std::uintmax_t writeFile(const std::string& path, double megabytes) {
    const auto fields = static_cast<long>(megabytes * 1e6 / sets / 2.0);
    std::ofstream out(path, std::ios::binary);
    out << "CGATS.17\nORIGINATOR \"huelinx_cgats_memory\"\nILLUMINATION_NAME \"C\"\n"
        << "NUMBER_OF_FIELDS " << fields << "\nBEGIN_DATA_FORMAT\nXYZ_X XYZ_Y XYZ_Z";
    for (long f = 3; f < fields; ++f)
        out << " F" << f;
    out << "\nEND_DATA_FORMAT\nNUMBER_OF_SETS " << sets << "\nBEGIN_DATA\n";
    std::string line;
    for (long f = 0; f < fields; ++f)
        line += f < 3 ? "5 " : "1 ";
    line.back() = '\n';
    for (int s = 0; s < sets; ++s)
        out << line;
    out << "END_DATA\n";
    out.close();
    return std::filesystem::file_size(path);
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 200.0;
    if (!(megabytes >= 1 && megabytes <= 4000)) {
        std::cerr << "usage: huelinx_cgats_memory [MB, 1 to 4000]\n";
        return 2;
    }
    MunTable table;
    if (!loadMunTableFile(std::string(HUELINX_DATA_DIR) + "/Vadoro.dat", table).ok) {
        std::cerr << "the Munsell data did not load\n";
        return 1;
    }
    const ColourModel start = selectIlluminant(ColourModel::initial(), Illuminant::C, table);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("huelinx-cgats-memory-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "large.txt").string();
    const std::uintmax_t size = writeFile(path, megabytes);
    const double before = peakMegabytes();

    const auto t0 = std::chrono::steady_clock::now();
    bool ok = false;
    {
        FileText file = readWholeFile(path, userFileLimit);
        const CgatsImport imported =
            importCgats(file.text, path, start, table, {}, "12-08-2026", "10:30:00");
        ok = imported.ok && imported.samples == sets;
        if (!ok) std::cerr << imported.message << "\n";
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::filesystem::remove_all(dir);
    if (!ok) return 1;

    const double fileMb = static_cast<double>(size) / (1024.0 * 1024.0);
    const double peak = peakMegabytes();
    std::printf("CGATS import of a %.0f MB file (%d sets): %.2f s, peak memory %.0f MB "
                "(%.0f MB before reading), %.1f times the file size\n",
                fileMb, sets, seconds, peak, before, (peak - before) / fileMb);
    return peak - before > 5.0 * fileMb ? 1 : 0;
}
