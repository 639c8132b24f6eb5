// Makes the Munsell data file "Vadoro.dat" from the renotation data
// (hue, value, chroma, x, y, Y per line, with a header line).
//
// Levels: the whole values 0..10, then 0.2, 0.4, 0.6 and 0.8 (appended, so
// programs that read only the whole values read the file as before). Each
// level's grid point is the data point of that hue, value and chroma, or 0,0
// where the data have none. Value 0 takes the value-0.2 points; it and value
// 0.2 take the value-0.4 points of a hue that value 0.2 lacks, so that colours
// of that hue darker than value 0.4 still convert. Chroma index 0 is written as the white
// 3101,3163. Chromas above 32 are not part of the grid.
#pragma once

#include "files/result.h"

#include <string>
#include <string_view>

namespace huelinx {

// The file contents, "x,y" records with CR LF line ends, or the message naming
// the input and its first bad line.
Loaded<std::string> generateVadoro(std::string_view csv, const std::string& csvName);

} // namespace huelinx
