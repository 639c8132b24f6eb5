// The samples of a CGATS.17 measurement file (exchange/cgats_samples.h) as
// colours of the program. The Munsell data are relative to illuminant C, so
// every sample is taken there: X, Y, Z and L*, a*, b* relative to D50 or D65
// are adapted to C (Bradford, as the program adapts between its illuminants;
// L*, a*, b* first go to X, Y, Z with the white of their own illuminant),
// spectra are weighted with illuminant C. Each sample is then entered as the
// main window enters a measurement (X, Y, Z at full precision), under
// illuminant C, and written twice: as a palette record tagged with the
// sample's name (or its id when it has none), and as a line of the report,
//
//   sample_id,sample_name,hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message
//   [,name,abbreviation][,chip,chip_label,dE00,dH,dV,dC]
//
// Names and ids are taken as UTF-8 with their control characters (escapes,
// tabs, C1 controls) turned into blanks (text/safe_text.h); report fields a
// spreadsheet would read as formulas start with an apostrophe (colour_csv.h).
//
// A sample the colour model gives no notation (its X + Y + Z is not above 0)
// is in the report with its reason, but not in the palette, whose readers
// need a notation; the note counts such samples.
//
// A file with a fault gives no records and no report: the reader's message,
// or, for an L* below 0, the file, the line and the value.
#pragma once

#include "colour/colour_model.h"
#include "colour/muntable.h"
#include "colour/tristimulus.h"
#include "exchange/colour_csv.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

struct CgatsImport {
    bool ok = false;
    std::string message; // why nothing was imported
    // How the values were read (white, scale, wavelengths) and the illuminant
    // they were converted under.
    std::string note;
    std::size_t samples = 0;
    std::size_t withoutNotation = 0; // samples in the report but not in the palette
    std::string paletteText;         // palette records, CR LF after each
    std::string reportText;          // the header and a line per sample, CR LF after each
    ColourModel last;                // the last sample's colour, for the window to show
    // The samples' reflectance readings, one per report line, when the file
    // holds spectra; empty otherwise.
    std::vector<Reflectance> readings;
};

// `start` is the window's colour (its display settings are kept); `date` and
// `time` go into every palette record.
[[nodiscard]] CgatsImport importCgats(std::string_view text, const std::string& fileName,
                                      const ColourModel& start, const MunTable& table,
                                      const CsvExtras& extras, const std::string& date,
                                      const std::string& time);

// The report's file name, for the working directory where the palette goes:
// "/media/meter/measure.txt" -> "measure-report.csv". A report never replaces
// a file of `keep` (the palette the samples were added to, the file read):
// when the name is one of them, the first of "measure-report-2.csv",
// "measure-report-3.csv", ... that is none of them.
[[nodiscard]] std::string cgatsReportName(const std::string& cgatsPath,
                                          const std::vector<std::string>& keep = {});

// Whether two paths may name the same file: the same path once made absolute
// with links followed, compared without regard to the case of letters (a file
// system may not tell "Field.csv" from "field.csv", and the palette file is
// looked up in any case).
[[nodiscard]] bool maySameFile(const std::string& a, const std::string& b);

} // namespace huelinx
