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

#include <iosfwd>
#include <string>
#include <vector>

namespace huelinx {

// Runs the converter on the arguments (without the program name), reading
// --csv lines from `in`. Returns the exit status: 0 when every colour
// converted, 1 when one failed (each failure is written to `err`), 2 for a
// command line that can't be used. The Munsell table is looked for in the
// working directory, then in `dataFolders`.
int runConverter(const std::vector<std::string>& args, const std::vector<std::string>& dataFolders,
                 std::istream& in, std::ostream& out, std::ostream& err);

// The CSV header line of the output.
extern const char* const converterHeader;

} // namespace huelinx
