// The current colour: what the main window shows in its six notations, its
// sliders and its swatch, with the settings the conversions read, as one
// value. Every way the colour can change (Enter in one of the six notations,
// a slider, the illuminant, PWD, the display gamma, the white balance, a click
// on the swatch) is one function from the current model to the new one.
//
// The texts of the boxes are the colour's record: an entry reads the boxes of
// its notation as the user left them, converts, and rewrites the boxes of the
// other notations in their fixed formats. A box the user has typed into but
// not entered keeps its text until a conversion rewrites it; entries that fail
// leave every box as it was.
//
// Example: the initial model entered as Munsell (6.4Y 8.6/10.4, illuminant C)
// shows X, Y, Z = 65.10, 70.37, 15.75, x, y = 0.4305, 0.4654 and R, G, B = 241, 218, 62.
#pragma once

#include "colour/muntable.h"
#include "colour/rgbcmyk.h"
#include "colour/settings.h"
#include "colour/xyz2mun.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace huelinx {

// The eighteen boxes of the six notations, in the order the window shows them.
enum class Box {
    Hue,
    Value,
    Chroma, // Munsell notation
    X,
    Y,
    Z, // CIE X, Y, Z (white Y = 100)
    SmallX,
    SmallY, // chromaticity x, y
    L,
    A,
    B, // CIE L*, a*, b*
    Red,
    Green,
    Blue, // display R, G, B (0..255)
    Cyan,
    Magenta,
    Yellow,
    Black // C, M, Y, K percentages
};
constexpr int boxCount = 18;

enum class Notation { Munsell, Xyz, Chromaticity, Lab, Rgb, Cmyk };

// The box of display channel 0 (R), 1 (G) or 2 (B).
constexpr Box rgbBox(int channel) {
    return static_cast<Box>(static_cast<int>(Box::Red) + channel);
}

// The first box of a notation and how many it has.
Box firstBox(Notation notation);
int boxesOf(Notation notation);

// The sliders beside the boxes. Their ranges are those of the window:
// hue 0..202 (hue p/2), value 1..20 (value p/2), chroma 0..40, R, G, B 0..255.
enum class Slider { Hue, Value, Chroma, Red, Green, Blue };
constexpr int sliderCount = 6;
int sliderMinimum(Slider slider);
int sliderMaximum(Slider slider);

struct LabColour {
    float L = 0, a = 0, b = 0;
};

// What an entry came to; an entry with none of these converted the colour
// into every notation. An entry may come to several at once (a hue without a
// family that is also beyond the Munsell range, a colour outside the data
// that the display can't show either). The messages say the same in words,
// for the user; callers decide by these.
enum class Outcome : std::uint8_t {
    // Nothing changed but the typed boxes: a box without a usable number,
    // y = 0, L* below 0, X, Y, Z of some light whose sum is not above 0.
    Refused = 1 << 0,
    // A Munsell hue without a family ("Format Error"): it reads as 100 plus
    // its number, so the boxes may show a hue the text doesn't name.
    FormatError = 1 << 1,
    // A Munsell notation beyond the sliders or the table ("Out of Munsell
    // Range"): the boxes of the other notations keep the colour before.
    OutOfMunsellRange = 1 << 2,
    // The Munsell data hold no notation for the colour, or the notation
    // entered lies outside them.
    OutsideData = 1 << 3,
    // X, Y, Z read from a file or an instrument whose sum is not above 0:
    // the Munsell and x, y boxes are emptied.
    NoNotation = 1 << 4,
    // The display can't show the colour: R, G, B were clipped.
    OutOfDisplayRange = 1 << 5,
};

// The set of outcomes of one change; empty for a colour converted whole.
class EntryOutcome {
  public:
    constexpr EntryOutcome() = default;
    constexpr EntryOutcome(std::initializer_list<Outcome> outcomes) {
        for (Outcome o : outcomes)
            add(o);
    }
    constexpr void add(Outcome o) { bits_ |= static_cast<std::uint8_t>(o); }
    constexpr bool has(Outcome o) const { return (bits_ & static_cast<std::uint8_t>(o)) != 0; }
    constexpr bool hasAny(EntryOutcome of) const { return (bits_ & of.bits_) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool operator==(const EntryOutcome&) const = default;

  private:
    std::uint8_t bits_ = 0;
};

// The outcomes of an entry that gives no new colour: a box without a usable
// number, or a Munsell notation without a hue family or beyond the data's
// range. The window and the converter show no colour for them.
inline constexpr EntryOutcome noNewColour{Outcome::Refused, Outcome::FormatError,
                                          Outcome::OutOfMunsellRange};

// The boxes from the hue to b* hold numbers kept at full precision too.
constexpr int exactCount = 11;
std::array<double, exactCount> noExact();

struct ColourModel {
    // The text each box shows.
    std::array<std::string, boxCount> box;
    // Slider positions.
    std::array<int, sliderCount> slider{0, 1, 0, 255, 255, 0};
    // The display colour of the swatch, 0..255 each.
    std::int16_t red = 0, green = 0, blue = 0;
    // The last display conversion had to clip the colour.
    bool rgbOutOfRange = false;
    // The display colour as clipped into 0..255, also when it is out of range
    // (the swatch then shows black); exports show this one.
    std::array<std::int16_t, 3> clippedRgb{0, 0, 0};
    // "Out of RGB Range" is shown beside the swatch (set by the display
    // conversions that write the R, G, B boxes; a CMYK entry leaves it).
    bool outOfRangeShown = false;
    // The last conversion met a notation or chromaticity outside the Munsell data.
    bool outsideData = false;
    // The numbers of the first eleven boxes (hue to b*) at the precision the
    // conversions computed them, for callers that want more than the boxes'
    // decimals (the converter's --full): the hue on the 0..100 circle, NaN
    // for a grey, for a box that is empty and before any conversion.
    std::array<double, exactCount> exact = noExact();

    // The settings every conversion reads.
    ColourSettings settings;
    std::string gammaText = "2.2"; // the gamma box
    int gammaPosition = 22;        // the gamma slider: gamma times ten, 10..30
    int whiteBalance = 100;        // the white-balance slider, 50..100
    // While set, the display conversion only computes the display colour and
    // leaves the R, G, B and C, M, Y, K boxes, their sliders and the
    // out-of-range label alone (imports of whole tables).
    bool quietDisplay = false;

    // ---- what the last change did ------------------------------------------
    // Messages to show, in order.
    std::vector<std::string> messages;
    // What the change came to (Outcome::Refused: it changed nothing else).
    EntryOutcome outcome;
    // A Munsell notation was converted: open hue and value pages follow it.
    bool munsellConverted = false;
    // L*, a*, b* were computed and shown: an open tolerance set follows them.
    std::optional<LabColour> labShown;
    // The gamma changed and the notation was converted anew: an open
    // ColorChecker is redrawn.
    bool gammaChanged = false;

    // The full-precision number of a box from the hue to b*.
    double exactOf(Box b) const { return exact[static_cast<std::size_t>(b)]; }
    const std::string& operator[](Box b) const { return box[static_cast<std::size_t>(b)]; }
    std::string& operator[](Box b) { return box[static_cast<std::size_t>(b)]; }
    int position(Slider s) const { return slider[static_cast<std::size_t>(s)]; }
    // Forgets what the last change did (messages, refusal, what follows it);
    // every change starts so, and a view calls it once it has shown them.
    void forgetChange();

    // The model before start-up converts anything: 6.4Y 8.6/10.4 in the
    // Munsell boxes, the others empty, the designed slider positions.
    static ColourModel initial();
};

// ---- typing and entering ------------------------------------------------------

// A box's text as the user typed it; nothing is converted.
ColourModel edit(ColourModel colour, Box box, std::string text);

// Enter in a notation's boxes: converts from that notation to all the others.
ColourModel enter(ColourModel colour, Notation notation, const MunTable& table);
// The same change made in place, for callers that convert many colours in a
// row (the command-line converter, the imports, palette loading).
void enterInPlace(ColourModel& colour, Notation notation, const MunTable& table);
ColourModel enterMunsell(ColourModel colour, const MunTable& table);
ColourModel enterXyz(ColourModel colour, const MunTable& table);
// x, y from their boxes with the luminance Y already shown.
ColourModel enterChromaticity(ColourModel colour, const MunTable& table);
ColourModel enterLab(ColourModel colour, const MunTable& table);
// R, G, B by the leading-number rule, rounded and clamped into 0..255.
ColourModel enterRgb(ColourModel colour, const MunTable& table);
ColourModel enterCmyk(ColourModel colour, const MunTable& table);
// X, Y, Z under illuminant C measured or computed at full precision (a
// spectrophotometer's reading, a photo region, a CGATS sample taken to C):
// the Munsell notation is searched from them as they are; under D5000 and
// D65 the X, Y, Z, x, y, L*a*b* and display boxes show them adapted to the
// selected illuminant, as a notation's are. The X, Y, Z boxes show two
// decimals, and every other notation comes from the full-precision values.
// Values of some light with X + Y + Z not above 0 have no notation: the
// Munsell and x, y boxes are emptied and a message says why.
ColourModel enterXyzValues(ColourModel colour, const Tristimulus& xyz, const MunTable& table);

// The Munsell notation of X, Y, Z (white Y = 100) under the selected
// illuminant: under D5000 and D65 they are first taken to illuminant C, the
// data's, by the Bradford adaptation (the inverse of the one mun2xyz makes),
// so that the X, Y, Z a notation shows come back to that notation. Every
// entry of X, Y, Z, x, y or L*a*b* and the Python module search through here.
[[nodiscard]] MunsellOfXyz munsellOfXyz(double X, double Y, double Z, const MunTable& table,
                                        const ColourSettings& settings);

// The Munsell notation of X, Y, Z under the selected illuminant as the
// Munsell boxes show it after an X, Y, Z entry: hue, value and chroma to two
// decimals; black (Y = 0) is N 0.00/0.00, a grey (chroma 0.00) has the hue
// N, a value below 0.5 shows as it is (0.12), and a colour outside the data
// shows its value alone (hue and chroma texts empty). A colour the data hold
// at one of the two levels around its value only is outside the data too:
// that level's notation would be another colour.
struct ShownNotation {
    MunsellFit fit = MunsellFit::NotANumber;
    // False when X + Y + Z is not above 0 (and Y is): there is no notation.
    bool shown = false;
    bool black = false, grey = false;
    double hue = 0;      // on the 0..100 circle, rounded to two decimals
    double value = 0;    // as computed (0 for black)
    double chroma = 0;   // as computed
    double exactHue = 0; // the hue as computed, not rounded
    std::string hueText, valueText, chromaText;
};
[[nodiscard]] ShownNotation shownNotation(double X, double Y, double Z, const MunTable& table,
                                          const ColourSettings& settings);

// ---- sliders, settings, swatch ------------------------------------------------

// A slider moved by the user to `position` (clamped into its range).
ColourModel moveSlider(ColourModel colour, Slider slider, int position, const MunTable& table);
// The illuminant chosen (even the one already chosen): converts the notation anew.
ColourModel selectIlluminant(ColourModel colour, Illuminant illuminant, const MunTable& table);
// The window after start-up (the initial notation converted under illuminant
// C) with these settings made as a user makes them: PWD, the white balance,
// the gamma text (empty: left at 2.2), then the illuminant.
ColourModel startedWindow(const MunTable& table, Illuminant illuminant, bool pwd,
                          std::optional<int> whiteBalance, const std::string& gamma);
// PWD ticked or cleared; takes effect at the next conversion.
ColourModel setPwd(ColourModel colour, bool on);
// The gamma box's text changed: a number from 1 to 3 moves the gamma slider.
ColourModel editGamma(ColourModel colour, std::string text, const MunTable& table);
// The gamma slider moved (10..30): gamma p/10, and the notation converted anew.
ColourModel moveGammaSlider(ColourModel colour, int position, const MunTable& table);
// The white-balance slider moved (50..100): the display white of green and
// blue; takes effect at the next conversion.
ColourModel moveWhiteBalance(ColourModel colour, int position);
// A click on the swatch read the colour R, G, B: it goes into the R, G, B
// boxes and is converted unless a channel is 0 or 255.
ColourModel clickSwatch(ColourModel colour, int red, int green, int blue, const MunTable& table);

// The display colour read from the R, G, B boxes as they stand (leading
// number, rounded, clamped into 0..255); the boxes keep their text, the R, G,
// B sliders follow. Saving to a palette takes the colour this way.
ColourModel readRgbBoxes(ColourModel colour);

// A box's text as a number that single precision can hold. Otherwise no
// number, and `problem` says why as the window says it, naming the box:
// "L* is out of range: "1e39"." for a number too large for single precision,
// "L* needs a number; it holds "blue"." for a text that is no number.
std::optional<double> singleNumber(const std::string& text, const char* name, std::string& problem);

// X, Y, Z of some light (Y above 0) whose sum is not above 0: they have no
// chromaticity, so no notation, and the window refuses them as an entry.
[[nodiscard]] bool withoutChromaticity(double X, double Y, double Z);

// Linear value (0..1) of a display channel level (0..255) through the
// channel's white level and gamma; channel 1, 2, 3 is R, G, B.
float linearChannel(std::int16_t level, const ColourSettings& settings, int channel);

// ---- the entries' rules, one number at a time ------------------------------------
// The rules the entries above follow, for callers that convert numbers
// without boxes (the Python module): the entries call the same functions.

// The settings of the window after start-up with these choices made, as
// startedWindow makes them, without converting anything.
[[nodiscard]] ColourSettings startedSettings(Illuminant illuminant, bool pwd,
                                             std::optional<int> whiteBalance,
                                             const std::string& gamma);
// The gamma slider position (10..30) a gamma box's text moves the slider to:
// gamma times ten, halves to even; none for a text that is no number from 1 to 3.
[[nodiscard]] std::optional<int> gammaSliderPosition(const std::string& text);
// The display gamma of a gamma slider position: position/10 for every channel.
void applyGammaPosition(ColourSettings& settings, int position);
// The display white of green and blue of a white-balance position (50..100).
void applyWhiteBalance(ColourSettings& settings, int position);

// The position an entered Munsell notation moves a slider to, from `target`
// in the slider's steps (hue and value times two, chroma as it is), halves to
// the even whole number. A value from 0 up to the first place (black and the
// darkest greys) stays at the first place. None beyond the slider's range:
// the notation is out of Munsell range.
[[nodiscard]] std::optional<int> enteredSliderPosition(Slider slider, float target);

// X, Y, Z under the selected illuminant of L*, a*, b* entered relative to
// its white; none below L* 0.
[[nodiscard]] std::optional<Tristimulus> xyzOfLabEntry(double L, double a, double b,
                                                       const ColourSettings& settings);
// X, Y, Z as an entry computes them, in double precision.
struct PreciseXyz {
    double X = 0, Y = 0, Z = 0;
};
// X, Y, Z of chromaticity x, y and luminance Y; none for y = 0.
[[nodiscard]] std::optional<PreciseXyz> xyzOfChromaticity(double x, double y, double Y);
// The display colour of an entry of luminance Y: black without light (Y not
// above 0), else that of `xyz` (for an X, Y, Z entry, the values L*a*b* used).
[[nodiscard]] RgbOfXyz entryDisplay(float Y, const Tristimulus& xyz,
                                    const ColourSettings& settings);
// A display level as an R, G, B entry reads it: rounded, halves to even, and
// clamped into 0..255.
[[nodiscard]] std::int16_t displayLevel(double number);
// X, Y, Z (white Y = 100) of linear display r, g, b.
[[nodiscard]] Tristimulus xyzOfLinear(float r, float g, float b, const ColourSettings& settings);

} // namespace huelinx
