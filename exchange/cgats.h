// CGATS.17 measurement files as text tables: header keywords, the field names
// of the data format and one set of values per data line.
//
// The text is read line by line; a line ends in CR LF, LF or a lone CR, and
// line numbers count from 1. On every line a `#` outside double quotes starts a
// comment that runs to the line end; blank and comment lines may stand
// anywhere. A line is split into values at blanks and tabs. A value that
// starts with a double quote runs to the next double quote on the same line
// (it may hold blanks and `#`) and is kept without its quotes; a quote left
// open is an error. A quote inside a bare value is an ordinary character.
//
// - The first line holding anything is the file identifier (CGATS.17, IT8.7/2,
//   ...) when it is a single value other than the table words below; it is
//   kept as the keyword with the empty name "". A first line of several values
//   is read as a keyword line: files without an identifier are read too.
// - Before BEGIN_DATA, a line is a keyword: its first value is the name, the
//   rest the value (a single quoted value loses its quotes; several values are
//   kept as written from the first to the last). `KEYWORD "NAME"` lines are
//   keywords like any other. NUMBER_OF_FIELDS and NUMBER_OF_SETS must hold a
//   whole number; they are kept as keywords too.
// - BEGIN_DATA_FORMAT starts its line; the field names follow on that line
//   and on as many lines as needed, up to END_DATA_FORMAT, after which nothing
//   may follow on its line. A name may appear only once. NUMBER_OF_FIELDS, when
//   given, must equal the number of names.
// - BEGIN_DATA stands alone on its line; each following line with values is
//   one set, with exactly one value per field, until a line that starts with a
//   bare END_DATA. NUMBER_OF_SETS, when given, must equal the number of sets,
//   and at least one set is needed. Whatever follows END_DATA is not read.
// - Table words (BEGIN_DATA_FORMAT, END_DATA_FORMAT, BEGIN_DATA, END_DATA,
//   NUMBER_OF_FIELDS, NUMBER_OF_SETS) and the lookups of keyword() and field()
//   ignore case; names and values are kept as written.
// - At most 100,000 sets and 10,000 fields. The values of the sets are kept
//   one after another in one text, each found by where it ends, so a table
//   takes little more memory than the file's text.
//
// Example:
//   CGATS.17
//   ORIGINATOR "Shop scanner"   # a quoted value may hold blanks
//   NUMBER_OF_FIELDS 3
//   BEGIN_DATA_FORMAT
//   SAMPLE_ID SAMPLE_NAME XYZ_Y
//   END_DATA_FORMAT
//   NUMBER_OF_SETS 2
//   BEGIN_DATA
//   1 "Light grey" 62.1
//   2 Black 3.5
//   END_DATA
// gives the keywords ("", CGATS.17), (ORIGINATOR, Shop scanner),
// (NUMBER_OF_FIELDS, 3), (NUMBER_OF_SETS, 2); the fields SAMPLE_ID,
// SAMPLE_NAME, XYZ_Y; the sets {1, Light grey, 62.1} and {2, Black, 3.5} from
// lines 10 and 11. Had line 11 been `2 Black`, the message would be
// `name.txt, line 11: expected 3 values (NUMBER_OF_FIELDS), found 2.`
#pragma once

#include "files/result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace huelinx {

// The most sets and fields a table may hold, and the most bytes their values
// may take together.
constexpr std::size_t cgatsMaxSets = 100'000;
constexpr std::size_t cgatsMaxFields = 10'000;
constexpr std::size_t cgatsMaxValueBytes = UINT32_MAX;

struct CgatsTable {
    std::vector<std::pair<std::string, std::string>> keywords; // file order; values unquoted
    std::vector<std::string> fields;                           // BEGIN_DATA_FORMAT names as written
    std::string values;                   // every set's values, unquoted, one after another
    std::vector<std::uint32_t> valueEnds; // where each value ends in `values`, set by set
    std::vector<std::size_t> setLines;    // 1-based file line of each set
    std::size_t formatLine = 0;           // 1-based line of BEGIN_DATA_FORMAT
    // The number of sets (data lines).
    std::size_t setCount() const { return setLines.size(); }
    // A value of a set: `field` counts the fields of BEGIN_DATA_FORMAT from 0.
    std::string_view value(std::size_t set, std::size_t field) const;
    // The value of a keyword (first occurrence), or nullptr.
    const std::string* keyword(std::string_view name) const;
    // The column of a field name, or -1.
    int field(std::string_view name) const;
};

// Reads the text of a CGATS file; `fileName` names it in messages. Without a
// table the message names the file, the line and what was expected, quoting
// at most 40 characters of the file's text.
[[nodiscard]] Loaded<CgatsTable> readCgats(std::string_view text, const std::string& fileName);

// Whether two words are the same but for the case of ASCII letters.
[[nodiscard]] bool sameWord(std::string_view a, std::string_view b);

} // namespace huelinx
