#include "tools/converter_files.h"

#include "exchange/cgats_import.h"
#include "files/file_read.h"
#include "files/file_write.h"
#include "palette/palette_file.h"
#include "text/number_format.h"
#include "text/safe_text.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <ostream>

namespace huelinx {

namespace {

// The whole file, or no value with the reason in `why`.
std::optional<std::string> readWhole(const std::string& path, std::string& why) {
    FileText file = readWholeFile(path, userFileLimit);
    if (file.status == FileRead::Ok) return std::move(file.text);
    why = file.status == FileRead::CannotOpen || file.status == FileRead::CannotRead
              ? "cannot read \"" + path + "\""
              : "cannot read \"" + path + "\": it " + readFailure(file.status, userFileLimit);
    return std::nullopt;
}

// Now, local time, in `format` (strftime).
std::string now(const char* format) {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    return std::strftime(text, sizeof text, format, &local) ? text : "";
}

// The report with the spectral columns after each line: the header's names,
// then each sample's numbers to two decimals (empty when there are no readings).
std::string withSpectralColumns(const std::string& report, const std::vector<Reflectance>& readings,
                                const SpectralColumns& columns) {
    const std::string suffix = "_" + columns.illuminant + "_" + std::to_string(columns.observer);
    std::string result;
    result.reserve(report.size() + readings.size() * 40 + 64);
    std::size_t start = 0, sample = 0;
    for (std::size_t end; (end = report.find('\n', start)) != std::string::npos; start = end + 1) {
        const bool crlf = end > start && report[end - 1] == '\r';
        result.append(report, start, end - start - (crlf ? 1 : 0));
        if (start == 0) {
            for (const char* name : {"X", "Y", "Z", "L", "a", "b"})
                result += std::string(",") + name + suffix;
        } else if (sample < readings.size()) {
            const SpectralColour c = spectralColour(readings[sample++], columns.weights);
            for (const double v : {c.X, c.Y, c.Z, c.lab.L, c.lab.a, c.lab.b})
                result += "," + formatNumber(v, "0.00");
        } else {
            result += ",,,,,,";
        }
        result += crlf ? "\r\n" : "\n";
    }
    return result;
}

} // namespace

int exportPaletteFile(ExportFormat format, const std::string& palettePath,
                      const std::string& outPath, const ColourModel& start, const MunTable& table,
                      const IsccNbsTable& names, std::ostream& err) {
    std::string why;
    const auto text = readWhole(palettePath, why);
    if (!text) {
        err << "huelinx-convert: " << why << "\n";
        return 1;
    }
    ColourModel colour = start;
    int skipped = 0;
    const std::vector<PaletteSwatch> swatches =
        paletteSwatches(readPaletteRows(*text, std::numeric_limits<std::size_t>::max()), colour,
                        table, names, skipped);
    if (skipped > 0)
        err << "huelinx-convert: " << skipped << " row(s) of \"" << palettePath
            << "\" have no Munsell notation the data hold and are left out\n";
    if (swatches.empty()) {
        err << "huelinx-convert: \"" << palettePath << "\" holds no colour to export\n";
        return 1;
    }
    const std::string contents = exportPalette(format, paletteNameOf(palettePath), swatches,
                                               start.settings.illuminant, now("%Y-%m-%dT%H:%M:%S"));
    const Result written = replaceFile(outPath, contents);
    if (!written.ok) {
        err << "huelinx-convert: " << written.message << "\n";
        return 1;
    }
    return 0;
}

int convertCgatsFile(const std::string& path, const std::string& paletteOut,
                     const ColourModel& start, const MunTable& table, const CsvExtras& extras,
                     const SpectralColumns* spectral, std::ostream& out, std::ostream& err) {
    std::string why;
    const auto text = readWhole(path, why);
    if (!text) {
        err << "huelinx-convert: " << why << "\n";
        return 1;
    }
    const CgatsImport imported =
        importCgats(*text, path, start, table, extras, now("%m-%d-%Y"), now("%H:%M:%S"));
    // Messages and the note quote the file: no escape sequence reaches the terminal.
    if (!imported.ok) {
        err << "huelinx-convert: " << oneLineText(imported.message) << "\n";
        return 1;
    }
    // The report's lines end in LF on standard output, as every other line there.
    std::string report =
        spectral ? withSpectralColumns(imported.reportText, imported.readings, *spectral)
                 : imported.reportText;
    std::erase(report, '\r');
    out << report << std::flush;
    if (!out) return outputFailure(err, "");
    if (!paletteOut.empty()) {
        const Result written = appendToFile(paletteOut, imported.paletteText);
        if (!written.ok) {
            err << "huelinx-convert: " << written.message << "\n";
            return 1;
        }
    }
    err << "huelinx-convert: " << oneLineText(path + ": " + imported.note) << "\n";
    if (spectral && imported.readings.empty())
        err << "huelinx-convert: " << oneLineText(path)
            << " holds no spectra: the spectral columns are empty\n";
    return 0;
}

int outputFailure(std::ostream& err, const std::string& where) {
    const int error = errno;
    err << "huelinx-convert: the output could not be written" << (where.empty() ? "" : " ") << where
        << ": " << (error != 0 ? std::strerror(error) : "the write failed") << "\n";
    return 1;
}

} // namespace huelinx
