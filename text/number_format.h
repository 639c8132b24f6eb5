// Number-to-text rules shared by every field, message and file of the program.
//
// Fixed patterns ("###.00", "##0.00", "0.0000", ".0000", "##0", "##.00", "#.##",
// " ##.00", "   #.##"): '#' is an optional digit, '0' a required digit, '.' the
// decimal point, any other character a literal written as it stands. A minus
// sign goes before everything, literals included ("- .50" with " ##.00"). The
// integer part is written in full however few placeholders the pattern has;
// a pattern with no required integer digit writes .50 for 0.5, and a pattern
// whose decimals are all optional keeps its point for whole numbers ("#.##"
// writes 5 as "5."). Values are first taken to 15 significant digits and then
// rounded half away from zero at the last decimal place, so 0.125 with "0.00"
// gives 0.13. A result that rounds to zero carries no minus sign.
#pragma once

#include <string>
#include <string_view>

namespace huelinx {

// `value` written with `pattern`; "NaN", "Inf" or "-Inf" for a value that is
// not a finite number.
std::string formatNumber(double value, std::string_view pattern);
// The same through strings of digits, for any magnitude and any number of
// places; formatNumber takes this way only where its whole-number arithmetic
// would overflow. Kept apart so that tests can hold the two against each other.
std::string formatNumberByDigits(double value, std::string_view pattern);
// The number `value` written with `pattern` reads back as (strictNumber of
// formatNumber, 0 where that is no number), without the text where the
// pattern holds nothing but its digits and point.
double numberAsWritten(double value, std::string_view pattern);

// The shortest decimal form of a number: whole numbers without a point, single
// precision values with up to 7 significant digits, double precision values
// with up to 15; exponent form ("1E-05", "1.234568E+07") only below 1E-4 or from
// 1E7 (singles) / 1E15 (doubles) on. 0.5 is written "0.5", 100 as "100".
std::string plainText(float value);
std::string plainText(double value);
std::string plainText(long long value);
inline std::string plainText(int value) {
    return plainText(static_cast<long long>(value));
}

// The general form with a sign position: a blank before a non-negative number,
// "-" before a negative one (" 120", "-2.5").
std::string signedText(float value);
std::string signedText(double value);
std::string signedText(long long value);
inline std::string signedText(int value) {
    return signedText(static_cast<long long>(value));
}

// A number as a text file's print statement writes it: the sign position, the
// shortest form and one trailing blank (" 2.5 ", "-3 ").
std::string printText(float value);
std::string printText(double value);
std::string printText(long long value);
inline std::string printText(int value) {
    return printText(static_cast<long long>(value));
}

// A line built from items in print zones of 14 characters (zones start at
// columns 1, 15, 29, ...). `zoned` writes an item and pads the line with blanks
// to the next zone start; an item that ends exactly on a zone boundary still
// gets a whole zone of blanks, so items never run together. `joined` writes an
// item with no padding.
class PrintLine {
  public:
    static constexpr std::size_t zoneWidth = 14;
    PrintLine& zoned(std::string_view item);
    PrintLine& joined(std::string_view item);
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

// A text as the write statement of a text file writes it: in double quotes,
// nothing inside escaped.
std::string quoted(std::string_view text);

} // namespace huelinx
