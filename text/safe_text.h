// Text the program writes for others to read: names in other programs'
// palette formats, fields of the CSV files spreadsheets open, and file text
// printed on the terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

// The code points of UTF-8 text. Only the shortest form of a code point is
// read; a byte that starts no valid sequence (Latin-1 text of old files, an
// overlong form such as E0 80 8A, a surrogate, a point past U+10FFFF) stands
// for itself, as the Latin-1 letter of that number.
[[nodiscard]] std::vector<char32_t> codePoints(std::string_view text);

// Appends a code point as UTF-8.
void appendUtf8(std::string& out, char32_t point);

// Whether a code point controls the layout rather than showing a letter: C0
// controls (tab, line ends, escape), DEL, C1 controls (U+0080..U+009F) and the
// line and paragraph separators U+2028, U+2029.
[[nodiscard]] bool isControlPoint(char32_t point);

// Text on one line as valid UTF-8: decoded as codePoints reads it, each
// control character then replaced by a blank. "a\tb" gives "a b"; the
// overlong line feed "x\xE0\x80\x8A" gives "x\u00E0  " (its bytes as letters).
[[nodiscard]] std::string oneLineText(std::string_view text);

// A text field as a spreadsheet must read it: text that a spreadsheet would
// take as a formula (starting with '=', '+', '-', '@', a tab or a CR, after
// any leading apostrophes) gets a leading apostrophe, which spreadsheets
// show as text and hide. A number ("-12.5", "+3", "-1e5") is kept as it is.
// "=SUM(A1)" gives "'=SUM(A1)"; "'=x" gives "''=x", so that reading back
// restores exactly what was written.
[[nodiscard]] std::string spreadsheetText(std::string_view text);

// Whether spreadsheetText would give the text a leading apostrophe.
[[nodiscard]] bool needsSpreadsheetMark(std::string_view text);

// Whether a text read back carries the apostrophe spreadsheetText adds.
[[nodiscard]] bool hasSpreadsheetMark(std::string_view text);

// The text spreadsheetText was given: the apostrophe it added removed.
[[nodiscard]] std::string_view withoutSpreadsheetMark(std::string_view text);

} // namespace huelinx
