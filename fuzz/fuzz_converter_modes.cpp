// huelinx-convert's modes on any command line and input. The first line of
// the input is the argument list (split at blanks); the rest is standard
// input. The argument "@" names a file holding that rest (a CGATS file, a
// palette to export, a chip set or a picture), and "@out" the file an export writes;
// a line "==" splits the rest into that file (before) and standard input
// (after). Runs take place in a work folder of their own, emptied after each
// run, and inputs with an argument holding a "/" (or named like a saved
// crash input) are skipped, so nothing outside it is read or written. The target checks what the
// converter promises: an exit status of 0, 1 or 2, a message on standard error exactly when the
// status is not 0 (the file modes' notes aside), one output line for every --csv input line, empty
// fields on every line an error names (those of --contrast and --soil too; a --soil header naming
// the moist and dry columns gives no line), and an export written whole or not at all.
#include "colour/data_files.h"
#include "colour/muntable.h"
#include "text/number_read.h"
#include "tools/converter.h"
#include "tools/converter_input.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const inFile = "in.csv";
const char* const outFile = "out.file";

// The folder the runs take place in, beside where the fuzzer was started, so
// a crash's input is saved near it; emptied of everything but saved inputs.
const fs::path& workFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::current_path() / "fuzz_converter_modes.work";
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

bool savedInput(const std::string& name) {
    for (const char* saved : {"crash-", "leak-", "timeout-", "oom-", "slow-unit-"})
        if (name.starts_with(saved)) return true;
    return false;
}

// Empties the work folder of what a run left; gives how many files the run
// wrote (the input file aside).
std::size_t emptyWorkFolder(const std::string& inputFile) {
    std::size_t written = 0;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(workFolder(), ignored)) {
        const std::string name = entry.path().filename().string();
        if (savedInput(name)) continue;
        written += name != inputFile;
        fs::remove_all(entry.path(), ignored);
    }
    return written;
}

// Lines as the converter reads them: ended by LF, CR LF or a lone CR; an
// empty piece after the last line end is no line.
std::size_t lineCount(std::string_view text) {
    std::size_t count = 0, i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        ++count;
        if (end == std::string_view::npos) break;
        i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return count;
}

std::vector<std::string> split(std::string_view text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(at, start)) != std::string_view::npos; start = end + 1)
        parts.emplace_back(text.substr(start, end - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

struct Input {
    std::vector<std::string> args;
    std::string file, in;
    bool csv = false, fileModes = false, exports = false, photo = false;
    int inputNamed = 0;           // how often "@" is given
    bool textOnly = false;        // --help or --version: a text, no conversion
    std::size_t emptyFields = 18; // before the message of a line that failed
    bool soil = false;            // --soil, which reads a header naming moist and dry
};

// Whether --soil takes the first input line for a header naming its moist
// and dry columns: such a line gives no row (the output's header stands for it).
bool namesSoilColumns(const Input& input) {
    if (!input.soil) return false;
    const std::string_view first =
        huelinx::trimmed(std::string_view(input.in).substr(0, input.in.find_first_of("\r\n")));
    if (first.empty()) return false;
    std::string scratch;
    std::vector<std::string> fields;
    huelinx::splitFields(first, scratch, fields);
    bool named[2] = {false, false};
    for (const std::string& field : fields) {
        std::string name(huelinx::trimmed(field));
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        named[0] |= name == "moist";
        named[1] |= name == "dry";
    }
    return named[0] && named[1];
}

// The arguments and texts of a fuzz input; false for one that could reach
// outside the work folder.
bool readInput(std::string_view data, Input& input) {
    const std::size_t end = data.find('\n');
    const std::string_view first = data.substr(0, end);
    const std::string_view rest =
        end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
    for (std::string& arg : split(first, ' ')) {
        if (arg.empty()) continue;
        // A file named like the fuzzer's saved inputs would be left in the
        // work folder and not counted as written.
        if (arg.find('/') != std::string::npos || arg.find('\\') != std::string::npos ||
            arg == inFile || savedInput(arg))
            return false;
        input.inputNamed += arg == "@";
        input.csv |= arg == "--csv";
        input.fileModes |= arg == "--cgats" || arg == "--export" || arg == "--photo";
        input.photo |= arg == "--photo";
        input.exports |= arg == "--export";
        input.textOnly |= arg == "--help" || arg == "-h" || arg == "--version";
        if (arg == "--contrast") input.emptyFields = 7; // class, dE00, dH, dV, dC, chip1, chip2
        if (arg == "--soil") input.emptyFields = 2, input.soil = true; // mollic, chernic
        if (arg == "@") arg = inFile;
        if (arg == "@out") arg = outFile;
        input.args.push_back(std::move(arg));
    }
    if (input.args.size() > 16) return false;
    const std::size_t cut = rest.find("\n==\n");
    input.file = std::string(rest.substr(0, cut));
    input.in = std::string(cut == std::string_view::npos ? rest : rest.substr(cut + 4));
    return true;
}

// Whether every line that standard error names ("line N: ...") printed empty
// fields: no line shows another line's colour. A --photo row starts with the
// region's name and ends with the fit's columns, empty on such a line.
bool namedLinesAreEmpty(const std::string& out, const std::string& err, const Input& input) {
    const std::vector<std::string> outLines = split(out, '\n');
    const std::size_t header = namesSoilColumns(input) ? 1 : 0; // input lines without a row
    for (const std::string& line : split(err, '\n')) {
        if (!line.starts_with("line ")) continue;
        std::size_t number = 0, digit = 5;
        for (; digit < line.size() && line[digit] >= '0' && line[digit] <= '9'; ++digit)
            number = number * 10 + static_cast<std::size_t>(line[digit] - '0');
        if (digit == 5 || number <= header || number - header >= outLines.size()) return false;
        const std::string& row = outLines[number - header];
        if (input.photo ? !row.ends_with(",,,")
                        : !row.starts_with(std::string(input.emptyFields, ',')))
            return false;
    }
    return true;
}

// The table is read once; the converter's table loading is fuzzed with the
// Munsell data file's reader.
huelinx::Resources& resources() {
    static huelinx::Resources* loaded = [] {
        auto* r = new huelinx::Resources(huelinx::Resources::withWorkingFolder({HUELINX_DATA_DIR}));
        const std::string path = std::string(HUELINX_DATA_DIR) + "/" + huelinx::munsellTableFile;
        if (!huelinx::loadMunTableFile(path, r->table()).ok) __builtin_trap();
        return r;
    }();
    return *loaded;
}

// A line without the display's "Out of RGB Range", which stays beside the
// swatch after an entry that writes no display colour (RGB, CMYK).
std::string withoutRangeNote(std::string line) {
    for (const char* note : {";Out of RGB Range", "Out of RGB Range; ", "Out of RGB Range"}) {
        const std::size_t at = line.find(note);
        if (at != std::string::npos) return line.erase(at, std::string_view(note).size());
    }
    return line;
}

void check(bool promise) {
    if (!promise) __builtin_trap();
}

} // namespace

// Whether the first lines of a --csv run each print what they print alone:
// no line shows another line's colour (a --soil header's rows aside).
bool linesStandAlone(const Input& input, const std::string& out) {
    // Rows read through a header's columns depend on that header by design.
    if (namesSoilColumns(input)) return true;
    const std::vector<std::string> outLines = split(out, '\n');
    std::istringstream lines(input.in);
    std::string line;
    for (std::size_t i = 1; i <= 6 && i + 1 < outLines.size() && std::getline(lines, line); ++i) {
        if (line.find('\r') != std::string::npos) return true; // numbered differently
        Input first = input;
        first.in = line;
        if (namesSoilColumns(first)) continue; // a header when first: no row alone
        std::istringstream in(line + "\n");
        std::ostringstream alone, err;
        huelinx::runConverter(input.args, resources(), in, alone, err);
        const std::vector<std::string> aloneLines = split(alone.str(), '\n');
        if (aloneLines.size() < 2 ||
            withoutRangeNote(aloneLines[1]) != withoutRangeNote(outLines[i]))
            return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input;
    if (!readInput(std::string_view(reinterpret_cast<const char*>(data), size), input)) return 0;
    const fs::path started = fs::current_path();
    fs::current_path(workFolder());
    std::ofstream(inFile, std::ios::binary) << input.file;
    std::istringstream in(input.in);
    std::ostringstream outStream, errStream;
    const int status = huelinx::runConverter(input.args, resources(), in, outStream, errStream);
    const std::string out = outStream.str(), err = errStream.str();
    // Checked here, where the run's files are.
    const bool converting = input.csv && status != 2 && !input.textOnly && !out.empty();
    const bool standAlone = !converting || linesStandAlone(input, out);
    const std::size_t written = emptyWorkFolder(inFile);
    fs::current_path(started);

    check(status >= 0 && status <= 2);
    check(status == 0 || !err.empty());
    if (input.textOnly) return 0;
    if (!input.fileModes) check((status == 0) == err.empty());
    // A run that can't start (a chip set that can't be read) prints nothing.
    if (input.csv && status != 2 && !out.empty()) {
        check(std::count(out.begin(), out.end(), '\n') ==
              static_cast<std::ptrdiff_t>(1 + lineCount(input.in) -
                                          (namesSoilColumns(input) ? 1 : 0)));
        check(namedLinesAreEmpty(out, err, input));
        check(standAlone);
    }
    if (input.csv && out.empty()) check(status != 0 && err.starts_with("huelinx-convert: "));
    // Files are written whole or not at all: a run that failed wrote none.
    check(status == 0 || written == 0);
    // An export writes its file (unless it writes over its own input).
    if (input.exports && status == 0 && input.inputNamed < 2) check(written == 1);
    return 0;
}
