#include "tools/converter.h"

#include "colour/chip_set.h"
#include "colour/ciede2000.h"
#include "colour/colour_model.h"
#include "colour/colour_naming.h"
#include "colour/data_files.h"
#include "colour/hue.h"
#include "colour/illuminant.h"
#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "exchange/colour_csv.h"
#include "exchange/palette_export.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"
#include "tools/converter_files.h"
#include "tools/converter_input.h"
#include "tools/converter_photo.h"
#include "tools/converter_soil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>

namespace huelinx {

const char* const converterHeader = colourCsvHeader;

namespace {

const char* const usage =
    "usage: huelinx-convert [options] KIND VALUES...\n"
    "       huelinx-convert [options] --csv < lines\n"
    "       huelinx-convert [options] --export FORMAT PALETTE.csv OUT\n"
    "       huelinx-convert [options] --cgats FILE [--palette OUT.csv]\n"
    "       huelinx-convert [options] --photo PICTURE --chart X1,Y1,...,X4,Y4 [--csv] < regions\n"
    "\n"
    "Converts a colour as the Huelinx window does and prints a header line and one\n"
    "CSV line: "
    "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message\n"
    "\n"
    "KIND and VALUES:\n"
    "  munsell HUE VALUE CHROMA   e.g. munsell 5R 5 10\n"
    "  xyz X Y Z                  white Y = 100, under the illuminant chosen\n"
    "  xy x y Y                   chromaticity and luminance, under the illuminant chosen\n"
    "  lab L A B                  relative to the white of the illuminant chosen\n"
    "  rgb R G B                  0..255\n"
    "  cmyk C M Y K               percentages\n"
    "\n"
    "--csv reads lines KIND,A,B,C[,D] from standard input and writes one line each.\n"
    "A colour that can't be converted gives a line with empty fields and the reason\n"
    "in the message field; the reason and the line's number also go to standard\n"
    "error, and the exit status is 1.\n"
    "\n"
    "Options:\n"
    "  --illuminant C|D50|D65     illuminant C 2 degree (default), D5000, D65 10 degree\n"
    "  --pwd                      value 10 for Y = 100\n"
    "  --gamma G                  display gamma, 1 to 3 (default 2.2)\n"
    "  --white-balance P          display white level, 50 to 100 (default 100)\n"
    "  --full                     every number at the precision it was computed (the\n"
    "                             shortest text that reads back as the same double),\n"
    "                             the hue also as a number 0..100: hue,hue_number,value,\n"
    "                             chroma,X,Y,Z,x,y,L,a,b,... (empty for a grey's hue)\n"
    "  --names                    adds the ISCC-NBS name: name,abbreviation\n"
    "  --chips SET|FILE           adds the nearest chip of a chip set (renotation-real,\n"
    "                             soil, a set in a chipsets folder, or a CSV file):\n"
    "                             chip,chip_label,dE00,dH,dV,dC\n"

    "  --help                     this text\n"
    "  --version                  the version and the data files in use (a file of the\n"
    "                             working folder is used before the program's own)\n"
    "\n"
    "Files:\n"
    "  --export gpl|ase|cgats PALETTE.csv OUT\n"
    "                             writes a palette file as a GIMP palette, an Adobe\n"
    "                             Swatch Exchange file or CGATS.17 text\n"
    "  --cgats FILE               converts the samples of a CGATS.17 file (XYZ, LAB or\n"
    "                             spectral) and prints: sample_id,sample_name, then the\n"
    "                             columns above (with --names and --chips)\n"
    "  --palette OUT.csv          with --cgats, also appends the samples to a palette\n"
    "\n"
    "Photographs with a colour rendition chart in the frame:\n"
    "  --photo PICTURE            reads regions of a PNG, JPEG or TIFF picture through the\n"
    "                             chart: lines name,x,y,width,height (pixels) from standard\n"
    "                             input give region (the line's name), the columns above\n"
    "                             (with --names and --chips), expected_dE00_median,\n"
    "                             expected_dE00_max and notes\n"
    "  --chart X1,Y1,...,X4,Y4    the centres of the top-left, top-right, bottom-right and\n"
    "                             bottom-left patches as the picture shows them (pixels)\n"
    "  --fit 3x3|rootpoly2        the correction fitted on the chart (default 3x3)\n"
    "  --linear                   the picture's values are linear (a 16-bit TIFF from a\n"
    "                             raw developer); sRGB-encoded otherwise\n"
    "  --reference X,Y,R,YREF     a grey card beside the sample: its centre, the half side\n"
    "                             of the square read (pixels) and its Y (above 0 to 100);\n"
    "                             it scales the sample's exposure to the chart's\n"
    "\n"
    "Exit status: 0 when every colour converted, 1 when one could not be converted or\n"
    "the output could not be written (a full disk: the reason goes to standard error),\n"
    "2 for a command line that can't be used.\n";

// Said by --help after the usage: the lines printed for a command line that
// can't be used stay as they were.
const char* const limitsUsage =
    "\n"
    "MacAdam limits (with a colour, --csv, --cgats or --photo):\n"
    "  --limits                   adds whether each colour is within the limits of\n"
    "                             surface colours under the illuminant chosen:\n"
    "                             macadam,macadam_excess (within or beyond, and the\n"
    "                             excess over the object-colour solid: X, Y, Z units\n"
    "                             with a perfect white Y = 100, below 0 inside)\n";

// Said by --help after the usage (and to a soil mode's command line that can't
// be used): the lines printed for the colour modes' mistakes stay as they were.
const char* const soilUsage =
    "\n"
    "usage: huelinx-convert [options] --contrast|--soil NOTATION1 NOTATION2\n"
    "       huelinx-convert [options] --contrast|--soil --csv < pairs\n"
    "\n"
    "Soil colours (a pair is two notations separated by a comma, a semicolon or a\n"
    "tab: 10YR 6/3, 5YR 3/4):\n"
    "  --contrast                 the contrast class of the pair through the soil chips:\n"
    "                             class,dE00,dH,dV,dC,chip1,chip2,message (dH in hue\n"
    "                             pages; chip1, chip2: the soil chip a notation that is\n"
    "                             no chip was taken to)\n"
    "  --soil                     the colour checks of a moist and a dry reading:\n"
    "                             mollic_colour,chernic_colour,message (yes or no); with\n"
    "                             --csv also palette records' moist and dry fields, and\n"
    "                             the columns a first line names moist and dry\n";

// Said by --help after the usage (and to a command line whose spectral options
// can't be used), so the lines printed for the other modes' mistakes stay as
// they were.
const char* const spectralUsage =
    "\n"
    "Spectral samples of --cgats under another light and observer:\n"
    "  --spectral-illuminant NAME adds X, Y, Z and L*a*b* of each spectral sample under\n"
    "                             that illuminant of illuminants.csv (A, C, D50, D65, F1\n"
    "                             to F12, ISO7589; default C), against its own white:\n"
    "                             X_NAME_OBS,Y_NAME_OBS,Z_NAME_OBS,L_NAME_OBS,a_NAME_OBS,\n"
    "                             b_NAME_OBS (the notation stays the one under C)\n"
    "  --observer 2|10            the observer of those columns: CIE 1931 2 degree\n"
    "                             (default) or CIE 1964 10 degree\n";

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
    bool full = false;
    bool names = false;
    std::string chips;
    bool limits = false; // --limits
    Strings colour;
    std::optional<ExportFormat> exportFormat; // --export: colour holds PALETTE OUT
    std::string cgatsFile, paletteOut;
    // --spectral-illuminant and --observer: the spectral columns of --cgats.
    std::optional<std::string> spectralIlluminant;
    std::optional<int> observer;
    // --photo and the options that go with it.
    std::string photoFile;
    std::optional<photo::ChartCorners> chart;
    photo::FitKind fit = photo::FitKind::Matrix3x3;
    bool linear = false, fitGiven = false;
    std::optional<photo::GreyCardAt> reference;
    std::optional<SoilMode> soil; // --contrast or --soil
};

// Whether a soil mode goes with the other options; an empty error means it does.
std::string checkSoilModes(const Options& options) {
    if (!options.soil) return {};
    if (options.exportFormat || !options.cgatsFile.empty() || !options.photoFile.empty())
        return "--contrast and --soil are runs of their own, not with files";
    if (options.full || options.names || !options.chips.empty())
        return "--full, --names and --chips go with colours, not --contrast or --soil";
    if (options.csv && !options.colour.empty()) return "--csv takes its pairs from standard input";
    if (!options.csv && (options.colour.empty() || options.colour.size() > 2))
        return "--contrast and --soil need a pair of notations (or --csv)";
    return {};
}

// Whether the photo options go together; an empty error means they do.
std::string checkPhotoModes(const Options& options) {
    const bool photoOptions =
        options.chart || options.fitGiven || options.linear || options.reference;
    if (options.photoFile.empty())
        return photoOptions ? "--chart, --fit, --linear and --reference go with --photo"
                            : std::string();
    if (options.exportFormat || !options.cgatsFile.empty())
        return "--photo and the other file modes are separate runs";
    if (options.full) return "--full goes with a colour or --csv, not --photo";
    if (!options.colour.empty()) return "--photo takes its regions from standard input";
    if (!options.chart) return "--photo needs --chart, the centres of the four corner patches";
    return {};
}

// Whether the modes asked for go together; an empty error means they do.
std::string checkModes(const Options& options) {
    if ((options.spectralIlluminant || options.observer) && options.cgatsFile.empty())
        return "--spectral-illuminant and --observer go with --cgats";
    if (options.limits && (options.soil || options.exportFormat))
        return "--limits goes with colours, --cgats and --photo, not --export, --contrast or "
               "--soil";
    if (const std::string photo = checkPhotoModes(options); !photo.empty()) return photo;
    if (options.soil) return checkSoilModes(options);
    if (!options.photoFile.empty()) return {};
    const bool files = options.exportFormat || !options.cgatsFile.empty();
    if (options.exportFormat && !options.cgatsFile.empty())
        return "--export and --cgats are separate runs";
    if (files && options.csv) return "--csv converts standard input, not files";
    if (files && options.full) return "--full goes with a colour or --csv, not files";
    if (options.exportFormat && options.colour.size() != 2)
        return "--export needs a palette file and an output file";
    if (!options.cgatsFile.empty() && !options.colour.empty())
        return "--cgats takes its colours from the file";
    if (!options.paletteOut.empty() && options.cgatsFile.empty())
        return "--palette goes with --cgats";
    if (options.csv && !options.colour.empty())
        return "--csv takes its colours from standard input";
    if (!options.csv && !files && options.colour.empty()) return "no colour given";
    return {};
}

// Parses a photo option at args[i] (moving i past its value); false when
// args[i] is none, `problem` says why a value can't be used.
bool parsePhotoOption(const Strings& args, std::size_t& i, Options& options, std::string& problem) {
    const std::string& a = args[i];
    const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
    if (a == "--linear") {
        options.linear = true;
        return true;
    }
    if (a != "--photo" && a != "--chart" && a != "--fit" && a != "--reference") return false;
    if (value) ++i;
    if (a == "--photo") {
        if (!value)
            problem = "--photo needs a picture file";
        else
            options.photoFile = *value;
    } else if (a == "--chart") {
        options.chart = value ? chartCornersText(*value) : std::nullopt;
        if (!options.chart)
            problem = "--chart needs eight numbers X1,Y1,X2,Y2,X3,Y3,X4,Y4: the centres of the "
                      "top-left, top-right, bottom-right and bottom-left patches";
    } else if (a == "--fit") {
        const auto fit = value ? photo::fitNamed(*value) : std::nullopt;
        if (!fit)
            problem = "--fit needs 3x3 or rootpoly2";
        else
            options.fit = *fit;
        options.fitGiven = true;
    } else {
        options.reference = value ? greyCardText(*value) : std::nullopt;
        if (!options.reference)
            problem = "--reference needs X,Y,R,YREF: the grey card's centre and half side in "
                      "pixels (R 0 or more) and its Y, above 0 to 100";
    }
    return true;
}

// Parses the command line; an empty error means it can be used.
std::string parseOptions(const Strings& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        std::string problem;
        if (parsePhotoOption(args, i, options, problem)) {
            if (!problem.empty()) return problem;
        } else if (a == "--pwd") {
            options.pwd = true;
        } else if (a == "--csv") {
            options.csv = true;
        } else if (a == "--contrast" || a == "--soil") {
            const SoilMode mode = a == "--contrast" ? SoilMode::Contrast : SoilMode::Checks;
            if (options.soil && *options.soil != mode)
                return "--contrast and --soil are separate runs";
            options.soil = mode;
        } else if (a == "--full") {
            options.full = true;
        } else if (a == "--names") {
            options.names = true;
        } else if (a == "--limits") {
            options.limits = true;
        } else if (a == "--chips") {
            if (!hasValue) return "--chips needs a chip set name or file";
            options.chips = args[++i];
        } else if (a == "--export") {
            options.exportFormat = hasValue ? exportFormatNamed(args[++i]) : std::nullopt;
            if (!options.exportFormat) return "--export needs gpl, ase or cgats";
        } else if (a == "--cgats" || a == "--palette") {
            if (!hasValue) return a + " needs a file name";
            (a == "--cgats" ? options.cgatsFile : options.paletteOut) = args[++i];
        } else if (a == "--spectral-illuminant") {
            if (!hasValue) return "--spectral-illuminant needs an illuminant name";
            options.spectralIlluminant = args[++i];
        } else if (a == "--observer") {
            const std::string degrees = hasValue ? args[++i] : std::string();
            if (degrees != "2" && degrees != "10") return "--observer needs 2 or 10";
            options.observer = degrees == "2" ? 2 : 10;
        } else if (a == "--illuminant") {
            const auto named =
                hasValue ? illuminantNamed(args[++i], NameCase::Either) : std::nullopt;
            if (!named) return "--illuminant needs C, D50 or D65";
            options.illuminant = *named;
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
    return checkModes(options);
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

// The name of a box in messages, as the window names it.
const char* boxName(Box box) {
    static const char* const names[boxCount] = {"hue", "value", "chroma", "X",  "Y",  "Z",
                                                "x",   "y",     "L*",     "a*", "b*", "R",
                                                "G",   "B",     "C",      "M",  "Y",  "K"};
    return names[static_cast<int>(box)];
}

// The header of --full: the hue's number follows its text.
const char* const fullHeader = "hue,hue_number,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message";

// The fields before the message: one more with --full.
std::size_t fieldsOf(bool full) {
    return boxCount + (full ? 1 : 0);
}

// The line of a colour that can't be converted: every field empty, and why.
std::string failedRow(const std::string& reason, bool full) {
    std::string line(fieldsOf(full), ',');
    appendCsvField(line, reason);
    return line;
}

// The line of a blank input line: every field empty, no message.
std::string blankRow(bool full) {
    return std::string(fieldsOf(full), ',');
}

// The shortest text that reads back as the same double; empty for NaN.
void appendExact(std::string& line, double number) {
    if (std::isnan(number)) return;
    char text[32];
    line.append(text, std::to_chars(text, text + sizeof text, number).ptr);
}

// The --full line: the hue's text and number, the numbers from value to b*
// as computed, the display and ink levels (whole numbers) and the message.
std::string fullRow(const ColourModel& colour) {
    std::string line;
    line.reserve(320);
    appendCsvField(line, colour[Box::Hue]);
    line += ',';
    appendExact(line, colour.exactOf(Box::Hue));
    for (int i = static_cast<int>(Box::Value); i < boxCount; ++i) {
        const Box box = static_cast<Box>(i);
        line += ',';
        if (i < exactCount)
            appendExact(line, colour.exactOf(box));
        else
            appendCsvField(line, colour[box]);
    }
    line += ',';
    appendCsvField(line, colourMessage(colour));
    return line;
}

// Why the model gave no colour for the entry just made, or nothing when it
// gave one: it refused a box without a usable number, or the Munsell notation
// has no hue family or lies outside the data's range (the boxes of the other
// notations then stay as the colour before had them, or show a hue the text
// doesn't name). The reason is the model's messages, as the window shows them.
std::string refusalOf(const ColourModel& colour) {
    if (!colour.outcome.hasAny(noNewColour)) return {};
    std::string reason;
    for (const std::string& message : colour.messages)
        reason += (reason.empty() ? "" : "; ") + message;
    return reason.empty() ? std::string("refused") : reason;
}

// Whether a box shows a number single precision couldn't hold, as the model
// writes one: Inf, -Inf or NaN. Compared letter by letter: every box of every
// line is looked at.
bool showsNonFinite(const std::string& text) {
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() != sign + 3) return false;
    const char* t = text.data() + sign;
    return (t[0] == 'I' && t[1] == 'n' && t[2] == 'f') ||
           (t[0] == 'N' && t[1] == 'a' && t[2] == 'N');
}

// Why a converted colour is no colour: a number of it came out beyond single
// precision. Nothing when every box holds a number.
std::string overflowOf(const ColourModel& colour) {
    for (int i = 0; i < boxCount; ++i) {
        const std::string& text = colour.box[static_cast<std::size_t>(i)];
        if (showsNonFinite(text))
            return std::string("out of range: ") + boxName(static_cast<Box>(i)) + " would be " +
                   text;
    }
    return {};
}

// Why a value can't go into its box, or nothing when it can: no number, or
// one too large for a double (worded as the window words one too large for
// single precision). The hue of a Munsell notation is any text; the model
// reads it.
std::string valueFailure(Box box, const std::string& value) {
    if (strictNumber(value)) return {};
    if (isNumberText(value))
        return std::string(boxName(box)) + " is out of range: \"" + excerpt(value) + "\".";
    return "\"" + excerpt(value) + "\" is not a number";
}

using Extras = CsvExtras;

class Converter {
  public:
    explicit Converter(const MunTable& table) : table_(table) {}
    Extras extras;
    // Every number at the precision it was computed (--full).
    bool full = false;

    // The window after start-up (the initial notation converted under
    // illuminant C) with the options applied as a user would set them.
    void apply(const Options& o) {
        colour_ = startedWindow(table_, o.illuminant, o.pwd, o.whiteBalance, o.gamma);
    }

    // Converts one colour (its kind and values) into its CSV line. A colour
    // that can't be converted gives the line of empty fields with the reason,
    // and the reason in `error`; returns whether it converted.
    bool convert(const Strings& colour, std::string& line, std::string& error);
    const ColourModel& colour() const { return colour_; }

  private:
    std::string enterValues(const Kind& kind, const Strings& colour);
    std::string row() const;
    const MunTable& table_;
    ColourModel colour_;
};

// Puts the values into the boxes of the kind's notation, in order, and enters
// them as the window would; gives why the colour can't be converted, if it
// can't. A value that is no number stops before its box.
std::string Converter::enterValues(const Kind& kind, const Strings& colour) {
    const auto& boxes = kind.boxes;
    if (colour.size() - 1 != boxes.size())
        return std::string(kind.name) + " needs " + std::to_string(boxes.size()) +
               " values, found " + std::to_string(colour.size() - 1);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        std::string value(trimmed(colour[i + 1]));
        if (!(i == 0 && kind.notation == Notation::Munsell)) {
            std::string failure = valueFailure(boxes[i], value);
            if (!failure.empty()) return failure;
        }
        colour_[boxes[i]] = std::move(value);
    }
    enterInPlace(colour_, kind.notation, table_);
    std::string refusal = refusalOf(colour_);
    return refusal.empty() ? overflowOf(colour_) : refusal;
}

bool Converter::convert(const Strings& colour, std::string& line, std::string& error) {
    const std::string first = colour.empty() ? std::string() : colour[0];
    const std::string name = lettersIn(std::string(trimmed(first)), ::tolower);
    const auto kind =
        std::find_if(kinds().begin(), kinds().end(), [&](const Kind& k) { return name == k.name; });
    error = kind == kinds().end() ? "unknown kind \"" + excerpt(first) + "\""
                                  : enterValues(*kind, colour);
    line = error.empty() ? row() : failedRow(error, full);
    line += error.empty() ? extras.of(colour_) : extras.empty();
    return error.empty();
}

std::string Converter::row() const {
    return full ? fullRow(colour_) : colourCsv(colour_);
}

// Converts standard input line by line. A write the output refuses (a full
// disk) ends the run at once: the lines after it would be lost too. The line
// number is 64-bit, so a run of more than 2^31 lines still counts right.
int convertLines(Converter& converter, std::istream& in, std::ostream& out, std::ostream& err) {
    int status = 0;
    LineSource source(in);
    std::string text, scratch, result, error;
    Strings fields;
    for (std::uint64_t number = 1;; ++number) {
        if (!flushBeforeWaiting(source, out, err))
            return outputFailure(err, "before line " + std::to_string(number));
        if (!source.next(text)) break;
        const std::string_view line = trimmed(text);
        if (line.empty()) {
            out << blankRow(converter.full) << converter.extras.empty() << "\n";
        } else {
            splitFields(line, scratch, fields);
            if (!converter.convert(fields, result, error)) {
                err << "line " << number << ": " << error << "\n";
                status = 1;
            }
            out << result << "\n";
        }
        if (!out) return outputFailure(err, "at line " + std::to_string(number));
    }
    out.flush();
    return out ? status : outputFailure(err, "at the end");
}

// The data files this run reads: the Munsell table, the name tables for
// names, the renotation data for that chip set.
std::vector<DataFile> filesRead(const Options& options, const DataFolders& folders) {
    std::vector<DataFile> files = dataFilesInUse(folders);
    const bool names = options.names || options.exportFormat;
    std::erase_if(files, [&](const DataFile& file) {
        if (file.name == isccNbsBlocksFile || file.name == isccNbsNamesFile) return !names;
        if (file.name == renotationRealFile) return options.chips != "renotation-real";
        return false;
    });
    return files;
}

// The name tables and the chip set the options ask for; why they can't be
// loaded, or nothing. The chip set searched is null unless the options name one.
std::string loadExtras(const Options& options, Resources& resources, ChipSearch*& chips) {
    chips = nullptr;
    // An export names every swatch.
    if (options.names || options.exportFormat) {
        const Result loaded = resources.loadNames();
        if (!loaded.ok) return loaded.message;
    }
    if (options.limits) {
        const Result loaded = resources.loadSpectra();
        if (!loaded.ok) return "the MacAdam limits can't be given: " + loaded.message;
    }
    if (options.chips.empty()) return {};
    const Result chosen = resources.chooseChipSet(options.chips);
    if (!chosen.ok) return chosen.message;
    chips = resources.chips();
    return {};
}

} // namespace

namespace {

// What the command line asks for before any colour: the usage or the version
// text, or the options. Gives the exit status when the run ends here.
std::optional<int> readCommandLine(const Strings& args, const DataFolders& folders,
                                   Options& options, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        out << usage << limitsUsage << soilUsage << spectralUsage << std::flush;
        return out ? 0 : outputFailure(err, "");
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        out << "huelinx-convert " << HUELINX_VERSION << "\nData files:\n"
            << dataFilesText(dataFilesInUse(folders)) << std::flush;
        return out ? 0 : outputFailure(err, "");
    }
    const std::string problem = parseOptions(args, options);
    if (!problem.empty()) {
        err << "huelinx-convert: " << problem << "\n" << usage;
        if (options.soil) err << soilUsage;
        if (options.spectralIlluminant || options.observer || problem.starts_with("--observer") ||
            problem.starts_with("--spectral"))
            err << spectralUsage;
        return 2;
    }
    if (const std::string note = workingFolderNote(filesRead(options, folders)); !note.empty())
        err << "huelinx-convert: note: " << note << "\n";
    return std::nullopt;
}

// The spectral columns the options ask for, in `columns`; the exit status when
// the run ends here: 1 when the tables can't be read, 2 for an illuminant the
// tables don't hold (the usage names those they do).
std::optional<int> spectralColumns(const Options& options, Resources& resources,
                                   std::optional<SpectralColumns>& columns, std::ostream& err) {
    if (!options.spectralIlluminant && !options.observer) return std::nullopt;
    if (const Result loaded = resources.loadSpectra(); !loaded.ok) {
        err << "huelinx-convert: " << loaded.message << "\n";
        return 1;
    }
    const SpectralTables& tables = *resources.spectra();
    // The name as the file writes it, whatever the case typed ("f11" is F11).
    std::string name = options.spectralIlluminant.value_or("C");
    for (const std::string& known : tables.illuminantNames())
        if (lettersIn(known, ::tolower) == lettersIn(name, ::tolower)) name = known;
    const int observer = options.observer.value_or(2);
    const auto weights = spectralWeights(tables, name, observer);
    if (!weights) {
        std::string choices;
        for (const std::string& known : tables.illuminantNames())
            choices += (choices.empty() ? "" : ", ") + known;
        err << "huelinx-convert: unknown illuminant \"" << excerpt(name)
            << "\": --spectral-illuminant needs one of " << choices << "\n"
            << usage << spectralUsage;
        return 2;
    }
    columns = SpectralColumns{name, observer, *weights};
    return std::nullopt;
}

// The run with its options read and the Munsell table loaded.
int runModes(const Options& options, Resources& resources, std::istream& in, std::ostream& out,
             std::ostream& err) {
    const MunTable& table = resources.table();
    Converter converter(table);
    converter.apply(options);
    converter.full = options.full;
    ChipSearch* chips = nullptr;
    if (const std::string failure = loadExtras(options, resources, chips); !failure.empty()) {
        err << "huelinx-convert: " << failure << "\n";
        return 1;
    }
    if (options.soil)
        return runSoilMode(*options.soil, options.colour, options.csv, table,
                           converter.colour().settings, in, out, err);
    const IsccNbsTable& names = resources.names();
    converter.extras = {options.names ? &names : nullptr, chips,
                        options.limits ? resources.macAdamSolids() : nullptr};
    if (options.exportFormat)
        return exportPaletteFile(*options.exportFormat, options.colour[0], options.colour[1],
                                 converter.colour(), table, names, err);
    if (!options.photoFile.empty()) {
        const photo::PhotoSetup setup{
            *options.chart, options.fit,
            options.linear ? photo::Encoding::Linear : photo::Encoding::Srgb, options.reference};
        return convertPhoto(options.photoFile, setup,
                            resources.locate("photo/chart-reflectance.csv").path,
                            converter.colour(), table, converter.extras, in, out, err);
    }
    if (!options.cgatsFile.empty()) {
        std::optional<SpectralColumns> spectral;
        if (const auto status = spectralColumns(options, resources, spectral, err)) return *status;
        return convertCgatsFile(options.cgatsFile, options.paletteOut, converter.colour(), table,
                                converter.extras, spectral ? &*spectral : nullptr, out, err);
    }
    out << (options.full ? fullHeader : converterHeader) << converter.extras.header() << "\n";
    if (!out) return outputFailure(err, "");
    if (options.csv) return convertLines(converter, in, out, err);
    std::string line, error;
    const bool converted = converter.convert(options.colour, line, error);
    out << line << "\n";
    out.flush();
    if (!out) return outputFailure(err, "");
    if (converted) return 0;
    err << "huelinx-convert: " << error << "\n";
    return 1;
}

} // namespace

int runConverter(const Strings& args, const Strings& dataFolders, std::istream& in,
                 std::ostream& out, std::ostream& err) {
    Options options;
    // The working directory first, then the data folders.
    Resources resources = Resources::withWorkingFolder(dataFolders);
    if (const auto ended = readCommandLine(args, resources.folders(), options, out, err))
        return *ended;
    const Result loaded = resources.loadTable();
    if (!loaded.ok) {
        err << "huelinx-convert: " << loaded.message << "\n";
        return 1;
    }
    return runModes(options, resources, in, out, err);
}

int runConverter(const Strings& args, Resources& resources, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    Options options;
    if (const auto ended = readCommandLine(args, resources.folders(), options, out, err))
        return *ended;
    return runModes(options, resources, in, out, err);
}

} // namespace huelinx
