// The imports that write tables with counts of colours the display can't show
// (steps, ColorChecker, colour chart), and the reflectance-curve import.
#include "colour/tristimulus.h"
#include "exchange/colour_csv.h"
#include "instrument_data/import_records.h"
#include "instruments/batch_import.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/excerpt.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

namespace huelinx {

namespace {

const char* const xyzLabRgb = ",X,Y,Z,L*,a*,b*,R,G,B";
const char* const checkerNote =
    "  Chart data: McCamy, Marcus and Davidson, J. Appl. Photogr. Eng. 2 (1976) 95-99";
const char* const checkerGamutLine =
    "If R G B value is 0 or 255 the color is out of the gamut of a CRT and is for approximation "
    "only  Illuminant C 2 degree observer  Taviel  March 12 2002";

// Keeps the display conversion quiet while a table import runs: the colour
// is computed, the R, G, B and C, M, Y, K boxes are left as they were.
class QuietDisplay {
  public:
    explicit QuietDisplay(ColourModel& colour) : colour_(colour) { colour_.quietDisplay = true; }
    ~QuietDisplay() { colour_.quietDisplay = false; }

  private:
    ColourModel& colour_;
};

} // namespace

void BatchImport::convertNotation(const std::string& hue, const std::string& value,
                                  const std::string& chroma) {
    platform_.processEvents();
    const bool converted = enterColour(Notation::Munsell, {hue, value, chroma});
    platform_.processEvents();
    ++written_;
    if (!converted) {
        write(emptyFields(9) + "\r\n");
        return;
    }
    write(convertedFields() + "\r\n");
    countDisplayable();
}

std::optional<std::string> BatchImport::readTable(const QString& input, const QString& output) {
    auto text = readInput(input);
    if (!text) return std::nullopt;
    // An empty table is as good as none.
    if (text->empty()) {
        platform_.message("File not found");
        return std::nullopt;
    }
    if (!createOutput(output)) return std::nullopt;
    return text;
}

void BatchImport::importSteps() {
    const QString name = "steps.txt";
    const auto text = readTable(name, "stepsMUNSELL.txt");
    if (!text) return;
    QuietDisplay quiet(colour_);
    write("H,V,C,X,Y,Z,L*,a*,b*,R,G,B\r\n");
    ListReader reader(*text);
    for (reader.skipBlankLines(); !reader.atEnd(); reader.skipBlankLines()) {
        const std::size_t line = reader.lineNumber();
        recordLine_ = line;
        const auto notation = splitStepsLine(reader.field().value_or(""));
        if (!notation)
            return stopped(line, name,
                           "the line needs hue, value and chroma separated by two tabs.");
        const auto& [hue, value, chroma] = *notation;
        write(hue + "," + value + "," + chroma);
        convertNotation(hue, value, chroma);
    }
    reportCounts();
}

void BatchImport::importChecker() {
    const QString name = "ccnames.csv";
    const auto text = readTable(name, "cchecker.csv");
    if (!text) return;
    QuietDisplay quiet(colour_);
    ListReader reader(*text);
    write(caption() + checkerNote + "\r\n" + checkerGamutLine + "\r\n");
    write(reader.line().value_or("") + xyzLabRgb + "\r\n");
    std::vector<std::string> f;
    while (readRecord(reader, 5, f, name)) {
        // A CSV file: names a spreadsheet would run as formulas are marked as text.
        std::string fields;
        for (std::size_t i = 0; i < 5; ++i) {
            if (i > 0) fields += ',';
            appendCsvField(fields, f[i]);
        }
        write(fields);
        convertNotation(f[2], f[3], f[4]);
    }
    reportCounts();
}

void BatchImport::importChart() {
    const QString name = "RHScolors.txt";
    const auto text = readTable(name, "RHScolorsMUNSELL.txt");
    if (!text) return;
    QuietDisplay quiet(colour_);
    ListReader reader(*text);
    write(caption() + "\r\n");
    write(reader.line().value_or("") + xyzLabRgb + "\r\n");
    std::vector<std::string> f;
    while (readRecord(reader, 6, f, name)) {
        write(f[0] + "," + f[1] + "," + f[2]);
        convertNotation(f[3], f[4], f[5]);
    }
    reportCounts();
}

void BatchImport::importCurves() {
    const QString name = "munfile1.txt";
    const auto text = readInput(name);
    if (!text || !createOutput("munout.txt")) return;
    write(caption() + "\r\n");
    ListReader reader(*text);
    std::vector<std::string> f;
    while (readRecord(reader, 43, f, name)) {
        const std::size_t line = recordLine_;
        Reflectance curve = session_.reflectance;
        for (int i = 1; i <= 40; ++i) {
            const auto v = strictNumber(f[2 + i]);
            if (!v)
                return stopped(line, name,
                               "\"" + QString::fromStdString(excerpt(f[2 + i])) +
                                   "\" is not a number.");
            curve[i] = static_cast<float>(*v);
        }
        const auto d = reader.line();
        if (!d) return stopped(line, name, "the record is cut short.");
        session_.reflectance = curve;
        const Tristimulus t = tris(curve);
        const float xyz[3] = {t.X, t.Y, t.Z};
        const bool converted =
            enterColour(Notation::Xyz, {plainText(xyz[0]), plainText(xyz[1]), plainText(xyz[2])});
        platform_.processEvents();
        PrintLine zones;
        for (int i = 0; i < 3; ++i)
            zones.zoned(f[i]);
        for (Box b : {Box::Hue, Box::Value, Box::Chroma})
            zones.zoned(converted ? colour_[b] : std::string());
        for (float n : xyz)
            zones.zoned(printText(n));
        zones.zoned(*d);
        for (int i = 1; i <= 40; ++i)
            zones.zoned(printText(curve[i]));
        write(zones.text() + "\r\n");
        ++written_;
    }
    if (written_ > 0) lastReading_ = session_.readingUnderLight(session_.reflectance);
    platform_.beep();
}

} // namespace huelinx
