// A colour model as a line of CSV, the same in every report the program
// writes (the command-line converter, the CGATS import report): the texts of
// its 18 boxes as the main window shows them, then one message field, then
// optionally the ISCC-NBS name and the nearest chip.
//
//   hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message
//   [,name,abbreviation][,chip,chip_label,dE00,dH,dV,dC][,macadam,macadam_excess]
//
// Example: 5R 4/14 under illuminant C with both extras and the
// renotation-real chips ends ",vivid red,viv.R,5R 4/14,,0.00,0.00,0.00,0.00".
#pragma once

#include "colour/chip_set.h"
#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"
#include "colour/macadam_limits.h"

#include <string>
#include <string_view>

namespace huelinx {

inline constexpr const char* colourCsvHeader =
    "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message";

// One field, in double quotes (a quote inside doubled) when it holds a comma,
// a quote or a line end. Text a spreadsheet would take for a formula ("=1+2",
// "@x", "-a") is written as "'=1+2", quoted, with the apostrophe spreadsheets
// read as "this is text" (text/safe_text.h); numbers ("-12.5") stay as they are.
void appendCsvField(std::string& line, std::string_view text);

// The boxes and the message field: "Out of RGB Range", the model's messages
// and "Outside the Munsell data", separated by "; ".
[[nodiscard]] std::string colourCsv(const ColourModel& colour);
// The message field's text alone (unquoted).
[[nodiscard]] std::string colourMessage(const ColourModel& colour);

// The columns the name and the chip add after the message; a column group is
// there when its table or search is given.
struct CsvExtras {
    const IsccNbsTable* names = nullptr;
    ChipSearch* chips = nullptr;
    // The MacAdam limits: "within" or "beyond" and the excess over the solid's
    // faces to four decimals (below 0 inside), empty without X, Y, Z.
    const MacAdamSolids* limits = nullptr;

    [[nodiscard]] std::string header() const;
    // The columns left empty, for a line with no colour.
    [[nodiscard]] std::string empty() const;
    // The columns of a colour; empty name and chip columns for a colour
    // without a notation, "no chip within 5" past the match limit.
    [[nodiscard]] std::string of(const ColourModel& colour) const;
};

} // namespace huelinx
