// Runs huelinx-convert over the fixed corpus and compares what it prints with
// the hashes recorded in convert_corpus.expected. To record them anew (only
// when a change of output is meant), run this test with
// HUELINX_RECORD_CORPUS=<path of convert_corpus.expected>.
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

corpus::Outcome runConverter(const corpus::Run& run, const fs::path& folder) {
    {
        std::ofstream in(folder / "in.txt", std::ios::binary);
        for (const auto& line : run.lines)
            in << line << "\n";
    }
    std::string command =
        "cd " + shellQuoted(folder.string()) + " && " + shellQuoted(HUELINX_CONVERT_PATH);
    for (const auto& arg : run.args)
        command += " " + shellQuoted(arg);
    command += " < in.txt > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(folder / "out.txt"),
            readAll(folder / "err.txt")};
}

std::string hex(std::uint64_t value) {
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::map<std::pair<int, int>, std::string> readExpected(const std::string& path) {
    std::map<std::pair<int, int>, std::string> expected;
    std::ifstream in(path);
    int run, group;
    std::string hash;
    while (in >> run >> group >> hash)
        expected[{run, group}] = hash;
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
    const auto expected =
        record ? decltype(readExpected("")){} : readExpected(HUELINX_CORPUS_EXPECTED);
    if (!record) {
        ASSERT_FALSE(expected.empty()) << "no hashes in " << HUELINX_CORPUS_EXPECTED;
    }
    std::ostringstream recorded;
    int mismatches = 0;
    std::size_t groups = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const corpus::Outcome outcome = runConverter(runs[r], folder);
        const auto records = corpus::records(outcome);
        const auto hashes = corpus::groupHashes(records);
        groups += hashes.size();
        for (std::size_t g = 0; g < hashes.size(); ++g) {
            recorded << r << " " << g << " " << hex(hashes[g]) << "\n";
            if (record) continue;
            const auto found = expected.find({static_cast<int>(r), static_cast<int>(g)});
            if (found != expected.end() && found->second == hex(hashes[g])) continue;
            if (++mismatches > 5) continue;
            std::string args;
            for (const auto& a : runs[r].args)
                args += " " + a;
            std::string now;
            for (std::size_t k = g * corpus::groupSize;
                 k < records.size() && k < (g + 1) * corpus::groupSize; ++k)
                now += records[k] + "\n";
            ADD_FAILURE() << "run " << r << " (" << args << "), records " << g * corpus::groupSize
                          << " on changed; they are now:\n"
                          << now;
        }
    }
    fs::remove_all(folder);
    if (record) {
        std::ofstream(record) << recorded.str();
        return;
    }
    EXPECT_EQ(mismatches, 0) << mismatches << " groups changed";
    EXPECT_EQ(groups, expected.size()) << "the number of output groups changed";
}

} // namespace
} // namespace huelinx
