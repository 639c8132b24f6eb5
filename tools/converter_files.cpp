#include "tools/converter_files.h"

#include "exchange/cgats_import.h"
#include "files/file_read.h"
#include "files/file_write.h"
#include "palette/palette_file.h"
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
                     std::ostream& out, std::ostream& err) {
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
    std::string report = imported.reportText;
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
    return 0;
}

int outputFailure(std::ostream& err, const std::string& where) {
    const int error = errno;
    err << "huelinx-convert: the output could not be written" << (where.empty() ? "" : " ") << where
        << ": " << (error != 0 ? std::strerror(error) : "the write failed") << "\n";
    return 1;
}

} // namespace huelinx
