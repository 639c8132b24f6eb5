#include "tools/converter.h"

#include "colour/colour_model.h"
#include "colour/muntable.h"
#include "text/number_read.h"

#include <algorithm>
#include <filesystem>
#include <istream>
#include <map>
#include <optional>
#include <ostream>

namespace huelinx {

const char* const converterHeader = "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message";

namespace {

const char* const usage =
    "usage: huelinx-convert [options] KIND VALUES...\n"
    "       huelinx-convert [options] --csv < lines\n"
    "\n"
    "Converts a colour as the Huelinx window does and prints a header line and one\n"
    "CSV line: "
    "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message\n"
    "\n"
    "KIND and VALUES:\n"
    "  munsell HUE VALUE CHROMA   e.g. munsell 5R 5 10\n"
    "  xyz X Y Z                  white Y = 100\n"
    "  xy x y Y                   chromaticity and luminance\n"
    "  lab L A B\n"
    "  rgb R G B                  0..255\n"
    "  cmyk C M Y K               percentages\n"
    "\n"
    "--csv reads lines KIND,A,B,C[,D] from standard input and writes one line each;\n"
    "a line that can't be used is reported on standard error with its number.\n"
    "\n"
    "Options:\n"
    "  --illuminant C|D50|D65     illuminant C 2 degree (default), D5000, D65 10 degree\n"
    "  --pwd                      value 10 for Y = 100\n"
    "  --gamma G                  display gamma, 1 to 3 (default 2.2)\n"
    "  --white-balance P          display white level, 50 to 100 (default 100)\n"
    "  --help                     this text\n";

using Strings = std::vector<std::string>;

std::string lettersIn(std::string text, int (*convert)(int)) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x80) c = static_cast<char>(convert(c));
    return text;
}

struct Options {
    Illuminant illuminant = Illuminant::C;
    bool pwd = false;
    std::string gamma;
    std::optional<int> whiteBalance;
    bool csv = false;
    Strings colour;
};

// Parses the command line; an empty error means it can be used.
std::string parseOptions(const Strings& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--pwd") {
            options.pwd = true;
        } else if (a == "--csv") {
            options.csv = true;
        } else if (a == "--illuminant") {
            const std::string name = hasValue ? lettersIn(args[++i], ::toupper) : std::string();
            const std::map<std::string, Illuminant> names{{"C", Illuminant::C},
                                                          {"D50", Illuminant::D5000},
                                                          {"D5000", Illuminant::D5000},
                                                          {"D65", Illuminant::D65}};
            if (!names.count(name)) return "--illuminant needs C, D50 or D65";
            options.illuminant = names.at(name);
        } else if (a == "--gamma") {
            const auto g = hasValue ? strictNumber(args[++i]) : std::nullopt;
            if (!g || *g < 1 || *g > 3) return "--gamma needs a number from 1 to 3";
            options.gamma = args[i];
        } else if (a == "--white-balance") {
            const auto p = hasValue ? strictNumber(args[++i]) : std::nullopt;
            if (!p || *p < 50 || *p > 100 || *p != roundHalfEven(*p))
                return "--white-balance needs a whole number from 50 to 100";
            options.whiteBalance = static_cast<int>(*p);
        } else if (a.starts_with("--")) {
            return "unknown option " + a;
        } else {
            options.colour.push_back(a);
        }
    }
    if (options.csv && !options.colour.empty())
        return "--csv takes its colours from standard input";
    if (!options.csv && options.colour.empty()) return "no colour given";
    return {};
}

// One field of the output, quoted when it holds a comma, a quote or a line end.
void appendCsvField(std::string& line, const std::string& text) {
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; };
    if (std::none_of(text.begin(), text.end(), special)) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text)
        line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
}

// The kinds of colour, with the boxes their values go into in order.
struct Kind {
    const char* name;
    Notation notation;
    std::vector<Box> boxes;
};

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"munsell", Notation::Munsell, {Box::Hue, Box::Value, Box::Chroma}},
        {"xyz", Notation::Xyz, {Box::X, Box::Y, Box::Z}},
        {"xy", Notation::Chromaticity, {Box::SmallX, Box::SmallY, Box::Y}},
        {"lab", Notation::Lab, {Box::L, Box::A, Box::B}},
        {"rgb", Notation::Rgb, {Box::Red, Box::Green, Box::Blue}},
        {"cmyk", Notation::Cmyk, {Box::Cyan, Box::Magenta, Box::Yellow, Box::Black}},
    };
    return all;
}

class Converter {
  public:
    explicit Converter(const MunTable& table) : table_(table) {}

    // The window after start-up (the initial notation converted under
    // illuminant C) with the options applied as a user would set them.
    void apply(const Options& o) {
        colour_ = selectIlluminant(ColourModel::initial(), Illuminant::C, table_);
        colour_ = setPwd(std::move(colour_), o.pwd);
        if (o.whiteBalance) colour_ = moveWhiteBalance(std::move(colour_), *o.whiteBalance);
        if (!o.gamma.empty() && o.gamma != colour_.gammaText)
            colour_ = editGamma(std::move(colour_), o.gamma, table_);
        colour_ = selectIlluminant(std::move(colour_), o.illuminant, table_);
    }

    // Converts one colour into its CSV line, or gives the error for a colour
    // it can't use.
    bool convert(const Strings& colour, std::string& line, std::string& error);

  private:
    std::string row() const;
    const MunTable& table_;
    ColourModel colour_;
};

bool Converter::convert(const Strings& colour, std::string& line, std::string& error) {
    const std::string first = colour.empty() ? std::string() : colour[0];
    const std::string name = lettersIn(std::string(trimmed(first)), ::tolower);
    const auto kind =
        std::find_if(kinds().begin(), kinds().end(), [&](const Kind& k) { return name == k.name; });
    if (kind == kinds().end()) {
        error = "unknown kind \"" + first + "\"";
        return false;
    }
    const auto& boxes = kind->boxes;
    if (colour.size() - 1 != boxes.size()) {
        error = name + " needs " + std::to_string(boxes.size()) + " values, found " +
                std::to_string(colour.size() - 1);
        return false;
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        std::string value(trimmed(colour[i + 1]));
        if (!(i == 0 && kind->notation == Notation::Munsell) && !strictNumber(value)) {
            error = "\"" + value + "\" is not a number";
            return false;
        }
        colour_[boxes[i]] = std::move(value);
    }
    enterInPlace(colour_, kind->notation, table_);
    if (colour_.refused) {
        error = colour_.messages.empty() ? std::string("refused") : colour_.messages.back();
        return false;
    }
    line = row();
    return true;
}

std::string Converter::row() const {
    std::string line;
    line.reserve(160);
    for (const std::string& text : colour_.box) {
        appendCsvField(line, text);
        line += ',';
    }
    std::string messages;
    const auto add = [&messages](const std::string& message) {
        if (!messages.empty()) messages += "; ";
        messages += message;
    };
    if (colour_.outOfRangeShown) add("Out of RGB Range");
    for (const std::string& message : colour_.messages)
        add(message);
    if (colour_.outsideData) add("Outside the Munsell data");
    appendCsvField(line, messages);
    return line;
}

// The fields of a --csv line: split at every comma.
void splitFields(const std::string& line, Strings& fields) {
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) return;
        start = comma + 1;
    }
}

int convertLines(Converter& converter, std::istream& in, std::ostream& out, std::ostream& err) {
    int status = 0;
    std::string text, result, error;
    Strings fields;
    for (int number = 1;; ++number) {
        // Output and errors wait in their buffers while more input is at
        // hand, and are sent before the converter waits for input, so a user
        // typing lines sees each answer (or error) at once.
        if (in.rdbuf()->in_avail() <= 0) {
            out.flush();
            err.flush();
        }
        if (!std::getline(in, text)) break;
        const std::string line(trimmed(text));
        if (line.empty()) continue;
        splitFields(line, fields);
        if (converter.convert(fields, result, error)) {
            out << result << "\n";
        } else {
            err << "line " << number << ": " << error << "\n";
            status = 1;
        }
    }
    return status;
}

// The Munsell table file: the working directory first, then the data folders.
std::string locateTable(const Strings& dataFolders) {
    const std::string name = "Vadoro.dat";
    std::error_code ignored;
    if (std::filesystem::exists(name, ignored)) return name;
    for (const std::string& folder : dataFolders) {
        const std::string path = (std::filesystem::path(folder) / name).string();
        if (std::filesystem::exists(path, ignored)) return path;
    }
    return name;
}

} // namespace

int runConverter(const Strings& args, const Strings& dataFolders, std::istream& in,
                 std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        out << usage;
        return 0;
    }
    Options options;
    const std::string problem = parseOptions(args, options);
    if (!problem.empty()) {
        err << "huelinx-convert: " << problem << "\n" << usage;
        return 2;
    }
    MunTable table;
    const LoadResult loaded = loadMunTableFile(locateTable(dataFolders), table);
    if (!loaded.ok) {
        err << "huelinx-convert: " << loaded.message << "\n";
        return 1;
    }
    Converter converter(table);
    converter.apply(options);
    out << converterHeader << "\n";
    if (options.csv) return convertLines(converter, in, out, err);
    std::string line, error;
    if (!converter.convert(options.colour, line, error)) {
        err << "huelinx-convert: " << error << "\n";
        return 1;
    }
    out << line << "\n";
    return 0;
}

} // namespace huelinx
