// The Python module's conversions over many colours at once, in plain C++:
// each takes flat arrays (three numbers a colour) and fills flat outputs and
// a status a colour. No Python here, so the loops run with the interpreter
// lock released.
#pragma once

#include "colour/chip_set.h"
#include "colour/colour_model.h"
#include "colour/iscc_nbs.h"
#include "colour/muntable.h"
#include "colour/soil_contrast.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx::batch {

// Why a colour has the numbers it has; the texts are what Python sees.
enum class Status : std::uint8_t {
    Ok,
    InData,
    OutsideData,
    NotANumber,
    NotANotation,
    OutOfRange,
    OutOfRgbRange,
    NoName,
    NoChipWithin5,
    BadText,
    BadRegion, // a region of a picture that can't be read (photo_regions)
};
const char* statusText(Status status);

// The window the conversions follow: the settings it has after start-up with
// the chosen options (startedSettings), and the Munsell table its entries read.
struct Window {
    ColourSettings settings;
    const MunTable& table;
};

// The boxes three numbers are typed into, and the notation they enter.
struct Entry {
    Notation notation;
    Box boxes[3];
};
inline constexpr Entry xyzEntry{Notation::Xyz, {Box::X, Box::Y, Box::Z}};
inline constexpr Entry chromaticityEntry{Notation::Chromaticity,
                                         {Box::SmallX, Box::SmallY, Box::Y}};
inline constexpr Entry labEntry{Notation::Lab, {Box::L, Box::A, Box::B}};

// Whether the window refuses these numbers typed into the entry's boxes as
// beyond single precision, or once they are entered shows a number single
// precision can't hold (Inf or NaN) in any box: the colours huelinx-convert
// refuses as out of range.
bool windowOverflows(const Window& window, const Entry& entry, const double* values);

// Munsell notations as numbers: hue on the 0..100 circle, value, chroma, and
// whether each is a grey; `status` is Ok or why the colour has no notation.
struct Notations {
    std::vector<double> hue, value, chroma; // as given, so numbers keep full precision
    std::vector<std::uint8_t> neutral;
    std::vector<Status> status;
    void resize(std::size_t n);
    std::size_t size() const { return status.size(); }
};
// One notation text ("5R 4/14", "N 5/", "2.5YR6/8") into place i.
void readNotation(std::string_view text, Notations& into, std::size_t i);
// One (hue, value, chroma) triple into place i; the hue is taken modulo 100.
void readTriple(const double* hvc, Notations& into, std::size_t i);

// Text outputs, fixed width a colour (ASCII), for NumPy's "<U" arrays.
struct Texts {
    std::size_t width = 0;
    std::vector<char> chars; // size() * width, 0-padded
    explicit Texts(std::size_t n, std::size_t w) : width(w), chars(n * w, '\0') {}
    void put(std::size_t i, std::string_view text);
};

// X, Y, Z (white Y = 100) and x, y of notations as a Munsell entry in the
// window gives them; NaN where the status isn't Ok.
void munsellToXyz(const Notations& in, const MunTable& table, const ColourSettings& settings,
                  double* xyz, double* xy, Status* status);

// Hue, value, chroma and the notation text an X, Y, Z entry shows; a grey's
// hue and a colour outside the data's hue and chroma are NaN.
// OutOfRange where the window would refuse the entry or overflow.
void xyzToMunsell(const double* xyz, std::size_t n, const Window& window, double* hvc,
                  Texts& notation, Status* status);
// x, y, Y to X, Y, Z as the chromaticity entry does; y = 0 gives NaN and
// NotANumber, an entry the window would overflow NaN and OutOfRange.
void xyyToXyz(const double* xyy, std::size_t n, const Window& window, double* xyz, Status* status);

// The conversions of three numbers into three: NaN and NotANumber where an
// input isn't finite, NaN and OutOfRange where the window would refuse the
// entry or show a number beyond single precision (see windowOverflows).
void xyzToLab(const double* xyz, std::size_t n, const Window& window, double* lab, Status* status);
// As the window's L*a*b* entry: X, Y, Z under the illuminant chosen, relative
// to its white.
void labToXyz(const double* lab, std::size_t n, const Window& window, double* xyz, Status* status);
// The display colour of an X, Y, Z entry, clipped into 0..255; OutOfRgbRange
// where the window says "Out of RGB Range" (and shows black).
void xyzToRgb(const double* xyz, std::size_t n, const Window& window, double* rgb, Status* status);
// X, Y, Z of display R, G, B as the window's RGB entry (rounded, clamped, so
// any finite number converts).
void rgbToXyz(const double* rgb, std::size_t n, const Window& window, double* xyz, Status* status);

// ISCC-NBS names, a pointer into `names` a colour (null unless Ok); NoName
// where no rule holds.
void isccNbsNames(const Notations& in, const IsccNbsTable& names, const IsccNbsName** found,
                  Status* status);

// Nearest chips of notations (their L*a*b* computed as the chips' are).
struct ChipResults {
    std::vector<std::string> chip, label;
    std::vector<double> de00, steps; // steps: dH, dV, dC a colour
    std::vector<Status> status;
};
void nearestChips(const Notations& in, ChipSearch& chips, const ColourSettings& settings,
                  ChipResults& out);
// Nearest chips of X, Y, Z: their L*a*b* and the notation an entry shows.
void nearestChipsOfXyz(const double* xyz, std::size_t n, const Window& window, ChipSearch& chips,
                       ChipResults& out);

// The soil contrast class of pairs of notations: a[i] against b[i], or, when
// one of them holds a single notation, that one against every other.
struct ContrastResults {
    std::vector<ContrastClass> contrast;
    std::vector<double> de00, steps; // steps: hue pages, dV, dC a pair
    std::vector<std::string> chip;   // the two chips compared, "" without a class
    std::vector<std::uint8_t> taken; // two a pair: the notation was taken to its chip
    std::vector<Status> status;      // a notation's own, or OutsideData, NoChipWithin5
};
void contrastClasses(const Notations& a, const Notations& b, SoilComparer& soil,
                     ContrastResults& out);
// The mollic and chernic colour checks of moist and dry readings, paired as
// above; 0 where a status isn't Ok.
void soilChecks(const Notations& moist, const Notations& dry, std::uint8_t* mollic,
                std::uint8_t* chernic, Status* status);

// CIEDE2000 of pairs; `stride2` 0 compares every colour with one.
void deltaE2000(const double* lab1, const double* lab2, std::size_t n, std::size_t stride2,
                const De2000Weights& weights, double* de);

} // namespace huelinx::batch
