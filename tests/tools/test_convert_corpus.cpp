// Runs huelinx-convert over the fixed corpus and compares what each run prints
// with the hash recorded in convert_corpus.expected. To find the lines that
// moved, run the converter built before and after a change on the same runs
// and compare their output: HUELINX_CORPUS_DUMP=<folder> writes each run's
// arguments, input, output and errors into <folder>/<run>/, and
// HUELINX_CORPUS_CONVERTER=<program> runs another build's converter instead.
// To record the hashes anew (only when a change of output is meant), run this
// test with HUELINX_RECORD_CORPUS=<path of convert_corpus.expected>.
#include "convert_corpus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The converter to run: this build's, or the one HUELINX_CORPUS_CONVERTER names.
std::string converterPath() {
    const char* other = std::getenv("HUELINX_CORPUS_CONVERTER");
    return other ? other : HUELINX_CONVERT_PATH;
}

corpus::Outcome runConverter(const corpus::Run& run, const fs::path& folder) {
    {
        std::ofstream in(folder / "in.txt", std::ios::binary);
        for (const auto& line : run.lines)
            in << line << "\n";
    }
    std::string command =
        "cd " + shellQuoted(folder.string()) + " && " + shellQuoted(converterPath());
    for (const auto& arg : run.args)
        command += " " + shellQuoted(arg);
    command += " < in.txt > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(folder / "out.txt"),
            readAll(folder / "err.txt")};
}

// Keeps a copy of a run's files, with its arguments one a line, for comparing
// two builds' output line by line.
void dumpRun(const fs::path& folder, const corpus::Run& run, const fs::path& dump, std::size_t r) {
    const fs::path target = dump / std::to_string(r);
    fs::create_directories(target);
    for (const char* name : {"in.txt", "out.txt", "err.txt"})
        fs::copy_file(folder / name, target / name, fs::copy_options::overwrite_existing);
    std::ofstream args(target / "args.txt");
    for (const auto& arg : run.args)
        args << arg << "\n";
}

std::string hex(std::uint64_t value) {
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

// One line per run: its number and the hash of what it printed.
std::map<int, std::string> readExpected(const std::string& path) {
    std::map<int, std::string> expected;
    std::ifstream in(path);
    int run;
    std::string hash;
    while (in >> run >> hash)
        expected[run] = hash;
    return expected;
}

TEST(ConverterCorpus, PrintsWhatItPrintedWhenTheCorpusWasRecorded) {
    const fs::path folder =
        fs::temp_directory_path() / ("huelinx-corpus-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const auto runs = corpus::runs();
    std::size_t lineCount = 0;
    for (const auto& run : runs)
        lineCount += run.lines.size();
    ASSERT_GE(lineCount, 100000u);

    const char* record = std::getenv("HUELINX_RECORD_CORPUS");
    const auto expected = readExpected(HUELINX_CORPUS_EXPECTED);
    if (!record) {
        ASSERT_EQ(expected.size(), runs.size()) << "hashes in " << HUELINX_CORPUS_EXPECTED;
    }
    std::ostringstream recorded;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const corpus::Outcome outcome = runConverter(runs[r], folder);
        if (const char* dump = std::getenv("HUELINX_CORPUS_DUMP"))
            dumpRun(folder, runs[r], dump, r);
        const std::string hash = hex(corpus::hashOf(outcome));
        recorded << r << " " << hash << "\n";
        if (record || expected.at(static_cast<int>(r)) == hash) continue;
        std::string args;
        for (const auto& a : runs[r].args)
            args += " " + a;
        ADD_FAILURE() << "run " << r << " (" << args << ") printed something else; it begins:\n"
                      << outcome.out.substr(0, 2000) << "\nerrors:\n"
                      << outcome.err.substr(0, 1000);
    }
    fs::remove_all(folder);
    if (record) std::ofstream(record) << recorded.str();
}

} // namespace
} // namespace huelinx
