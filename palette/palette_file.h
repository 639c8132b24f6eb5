// The palette file: one colour per line, each field followed by a comma, lines
// ended by CR LF, records only ever appended. A record holds 22 fields:
//
//   date (mm-dd-yyyy), time (hh:mm:ss), tag, Munsell hue, value, chroma,
//   X, Y, Z, L*, a*, b*, linear red, green, blue, R, G, B, C, M, Y, K
//
// and a soil sample's record two more, the notations of its moist and its dry
// reading ("10YR 3/2", "10YR 5/2"), either of which may be empty. A record
// without them ends after K as records always have, so readers that take 22
// fields read every file.
//
// Texts are written in double quotes exactly as they stand, except that a
// double quote inside a text is written as two single quotes, so every
// reader finds the record's fields where they belong, and that a text a
// spreadsheet would take for a formula (a tag "=1+2", "@x", "-a") gets a
// leading apostrophe, "'=1+2", which spreadsheets show as text; numbers such
// as "-12.50" are kept. The reader takes the apostrophe off again. The three
// linear values are numbers without quotes.
#pragma once

#include "colour/colour_model.h"
#include "files/result.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

struct PaletteRecord {
    std::string date, time, tag;
    std::array<std::string, 3> munsell; // hue, value, chroma as shown
    std::array<std::string, 3> xyz;
    std::array<std::string, 3> lab;
    std::array<float, 3> linear{}; // 0..1
    std::array<std::string, 3> rgb;
    std::array<std::string, 4> cmyk;
    std::string moist, dry; // a soil sample's readings; written when either is given
};

// The record of a colour: its boxes as shown and the linear values of its
// display colour; date, time and tag are left to the caller.
PaletteRecord paletteRecord(const ColourModel& colour);

// The record as one line, CR LF included.
std::string paletteLine(const PaletteRecord& record);

// Appends one record to the file in a single write; not ok with a message
// naming the file when it can't be opened or written.
[[nodiscard]] Result appendPaletteLine(const std::string& path, const std::string& line);

// The first six fields of a record: date, time, tag, hue, value, chroma, and
// the moist and dry readings when the record has them.
struct PaletteRow {
    std::array<std::string, 6> fields;
    std::string moist, dry;
    bool complete = false; // the line held six fields
    std::size_t line = 0;  // 1-based line number in the file
};

// The palette file to use for `path`: a file of that name in another case,
// when one exists beside it and no file has the name exactly (Linux tells
// "TestImage.csv" from "TESTIMAGE.CSV", and one palette must not end up in
// two files); otherwise `path` itself.
std::string sameFileAnyCase(const std::string& path);

// Reads the records of a palette file, at most `limit` of them. Fields may be
// quoted or not (a quoted field may hold commas); blanks around unquoted
// fields are dropped; of what follows the sixth field only the 23rd and 24th
// (moist and dry) are read. Empty lines
// are passed over. A field the writer marked as text ("'=1+2") reads as it
// was given ("=1+2").
std::vector<PaletteRow> readPaletteRows(std::string_view text, std::size_t limit = 10000);

// Whether a row after line `line` (1-based) holds six fields with a hue or a
// chroma: a row a palette view would show. Rows are read one at a time and
// not kept.
bool rowsWithNotationAfter(std::string_view text, std::size_t line);

} // namespace huelinx
