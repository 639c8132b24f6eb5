// huelinx-convert: converts colours on the command line through the colour
// model of the main window, so that what it prints is exactly what the window
// shows after the same entries.
//
//   huelinx-convert [options] KIND VALUES...
//   huelinx-convert [options] --csv < lines
//
// KIND is munsell (hue value chroma), xyz (X Y Z), xy (x y Y), lab (L a b),
// rgb (R G B) or cmyk (C M Y K). Options: --illuminant C|D50|D65, --pwd,
// --gamma G (1..3), --white-balance P (50..100).
#pragma once

#include "colour/muntable.h"
#include "session/resources.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace huelinx {

// Runs the converter on the arguments (without the program name), reading
// --csv lines from `in` (ended by LF, CR LF or CR; fields may be in double
// quotes). Every colour, and every --csv line, gives one output line, so the
// output stays aligned with the input: a colour that can't be converted gives
// a line of empty fields with the reason in the message field, and the reason
// (with the line number for --csv) on `err`; a blank line gives empty fields
// and no message. Returns the exit status: 0 when every colour converted, 1
// when one failed or `out` refused a write (a full disk: said on `err`, and
// the run stops there), 2 for a command line that can't be used (nothing is
// converted). The Munsell table is looked for in the working directory, then
// in `dataFolders`.
int runConverter(const std::vector<std::string>& args, const std::vector<std::string>& dataFolders,
                 std::istream& in, std::ostream& out, std::ostream& err);

// The same run on resources whose Munsell table is already loaded, for a
// caller that runs many command lines in one process (the fuzz target reads
// the table once).
int runConverter(const std::vector<std::string>& args, Resources& resources, std::istream& in,
                 std::ostream& out, std::ostream& err);

// The CSV header line of the output.
extern const char* const converterHeader;

} // namespace huelinx
