// huelinx-convert's runs over whole files: a palette exported to another
// program's format, and the samples of a CGATS.17 measurement file converted.
#pragma once

#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "colour/reflectance_colour.h"
#include "exchange/colour_csv.h"
#include "exchange/palette_export.h"

#include <iosfwd>
#include <string>

namespace huelinx {

// Converts the rows of the palette file as the palette viewer does (from
// `start`, the window's model with the options applied) and writes them to
// `outPath` in `format`, whole or not at all. Rows without a notation the
// data hold are left out and counted on `err`. Returns the exit status: 0
// when the file was written, 1 when it wasn't (the reason on `err`).
int exportPaletteFile(ExportFormat format, const std::string& palettePath,
                      const std::string& outPath, const ColourModel& start, const MunTable& table,
                      const IsccNbsTable& names, std::ostream& err);

// The columns --spectral-illuminant and --observer add to a CGATS report:
// X, Y, Z and L*a*b* of each spectral sample under that light and observer,
// headed X_F11_10,Y_F11_10,Z_F11_10,L_F11_10,a_F11_10,b_F11_10.
struct SpectralColumns {
    std::string illuminant;
    int observer = 2;
    SpectralWeights weights;
};

// Converts every sample of a CGATS.17 file and prints the report: a header,
// then per sample "sample_id,sample_name," and the colour's columns with
// `extras`, then with `spectral` its columns (left empty, with a note on
// `err`, when the file holds no spectra). With `paletteOut`, the samples are also appended to that
// palette file as records tagged with their names (or ids). A file that can't be read or holds a
// fault prints nothing and writes nothing: one message on `err`, exit status 1. The report is
// printed and flushed before the palette is appended, so a report the output refuses adds nothing
// to the palette.
int convertCgatsFile(const std::string& path, const std::string& paletteOut,
                     const ColourModel& start, const MunTable& table, const CsvExtras& extras,
                     const SpectralColumns* spectral, std::ostream& out, std::ostream& err);

// Says on `err` that the output stream refused a write (`where`, when not
// empty, tells how far the run got: "at line 97"), with the system's reason,
// and gives the exit status 1. Call it as soon as the stream fails, while
// errno still holds the failed write's error.
int outputFailure(std::ostream& err, const std::string& where);

} // namespace huelinx
