// The conversions behind every way the current colour can change. The order
// of the steps and the single-precision arithmetic are those of the window
// the model stands for: each box is written in its format from the numbers of
// the step that computes it.
#include "colour/colour_model.h"

#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
#include "colour/xyz2mun.h"
#include "text/excerpt.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

namespace huelinx {

namespace {

constexpr int sliderRange[sliderCount][2] = {{0, 202}, {1, 20},  {0, 40},
                                             {0, 255}, {0, 255}, {0, 255}};

Box boxAt(Box first, int offset) {
    return static_cast<Box>(static_cast<int>(first) + offset);
}

int& sliderOf(ColourModel& colour, Slider s) {
    return colour.slider[static_cast<std::size_t>(s)];
}

// A new change: what the last one did is forgotten.
void beginChange(ColourModel& colour) {
    colour.forgetChange();
}

std::size_t exactIndex(Box box) {
    return static_cast<std::size_t>(box);
}

// A box written in its format from a number, which is kept at full precision.
// A box holds single precision: a number beyond it shows as Inf, as the
// window shows one, so that callers see the overflow.
void writeNumber(ColourModel& colour, Box box, double number, const char* pattern) {
    const float single = static_cast<float>(number);
    colour[box] = formatNumber(std::isfinite(single) ? number : single, pattern);
    colour.exact[exactIndex(box)] = number;
}

// A box's number at full precision, its text left as it is (typed).
void keepExact(ColourModel& colour, Box box, double number) {
    colour.exact[exactIndex(box)] = number;
}

void refuse(ColourModel& colour, std::string message) {
    colour.outcome.add(Outcome::Refused);
    colour.messages.push_back(std::move(message));
}

// A box read as a number that single precision can hold; otherwise the entry
// is refused with the message of singleNumber.
std::optional<double> readNumber(ColourModel& colour, Box box, const char* name) {
    std::string problem;
    const auto number = singleNumber(colour[box], name, problem);
    if (!number) refuse(colour, std::move(problem));
    return number;
}

// X, Y, Z of some light (Y above 0) whose sum is not above 0 have no
// chromaticity and so no notation: such an entry is refused with `message`
// before any box changes, so no box keeps the notation of the colour before.
bool refusedWithoutChromaticity(ColourModel& colour, double X, double Y, double Z,
                                const char* message) {
    if (!withoutChromaticity(X, Y, Z)) return false;
    refuse(colour, message);
    return true;
}

// A slider position for a value, halves to the even whole number; no value
// when it lies outside the slider's range.
std::optional<int> sliderPosition(Slider s, float value) {
    const double position = roundHalfEven(value);
    if (!(position >= sliderMinimum(s) && position <= sliderMaximum(s))) return std::nullopt;
    return static_cast<int>(position);
}

void writeRgbBoxes(ColourModel& colour) {
    const std::int16_t rgb[3] = {colour.red, colour.green, colour.blue};
    for (int i = 0; i < 3; ++i)
        colour[boxAt(Box::Red, i)] = std::to_string(rgb[i]);
}

void followRgbSliders(ColourModel& colour) {
    sliderOf(colour, Slider::Red) = colour.red;
    sliderOf(colour, Slider::Green) = colour.green;
    sliderOf(colour, Slider::Blue) = colour.blue;
}

void showCmyk(ColourModel& colour, float r, float g, float b) {
    const CmykOfRgb cmyk = rgbcmyk(r, g, b, colour.settings);
    const int ink[4] = {cmyk.C, cmyk.M, cmyk.Y, cmyk.K};
    for (int i = 0; i < 4; ++i)
        colour[boxAt(Box::Cyan, i)] = std::to_string(ink[i]);
}

// Whether the display can show the colour just entered as display levels or
// inks, said as a colour from X, Y, Z says it.
void showDisplayRange(ColourModel& colour, bool outOfRange) {
    colour.clippedRgb = {colour.red, colour.green, colour.blue};
    colour.rgbOutOfRange = outOfRange;
    colour.outOfRangeShown = outOfRange;
    if (outOfRange) colour.outcome.add(Outcome::OutOfDisplayRange);
}

// A display colour; unless quiet, the R, G, B boxes (zeros for a colour the
// display can't show), their sliders, the label and C, M, Y, K.
void showRgb(ColourModel& colour, const RgbOfXyz& rgb) {
    colour.red = rgb.R;
    colour.green = rgb.G;
    colour.blue = rgb.B;
    colour.rgbOutOfRange = rgb.outOfRange;
    if (rgb.outOfRange) colour.outcome.add(Outcome::OutOfDisplayRange);
    colour.clippedRgb = {rgb.R, rgb.G, rgb.B};
    if (colour.quietDisplay) return;
    if (colour.rgbOutOfRange) colour.red = colour.green = colour.blue = 0;
    writeRgbBoxes(colour);
    followRgbSliders(colour);
    colour.outOfRangeShown = colour.rgbOutOfRange;
    showCmyk(colour, rgb.linear.r, rgb.linear.g, rgb.linear.b);
}

// A grey (or black) on the display: equal channels from its Y alone.
void showGreyDisplay(ColourModel& colour, float Y) {
    showRgb(colour, greyrgb(Y, colour.settings));
}

// The display colour of an entry of luminance Y: black without light, else
// that of X, Y, Z as given.
void showEntryDisplay(ColourModel& colour, const PreciseXyz& xyz) {
    const Tristimulus t{static_cast<float>(xyz.X), static_cast<float>(xyz.Y),
                        static_cast<float>(xyz.Z)};
    showRgb(colour, entryDisplay(t.Y, t, colour.settings));
}

// L*, a*, b* of X, Y, Z (under the selected illuminant).
void showLab(ColourModel& colour, const PreciseXyz& xyz) {
    const LabOfXyz lab = xyzlab(xyz.X, xyz.Y, xyz.Z, colour.settings);
    const float values[3] = {lab.L, lab.a, lab.b};
    for (int i = 0; i < 3; ++i)
        writeNumber(colour, boxAt(Box::L, i), values[i], "###.00");
    colour.labShown = LabColour{lab.L, lab.a, lab.b};
}

// The X, Y, Z boxes written from numbers, with the pattern of the entry.
void writeXyz(ColourModel& colour, const PreciseXyz& xyz, const char* pattern) {
    const double values[3] = {xyz.X, xyz.Y, xyz.Z};
    for (int i = 0; i < 3; ++i)
        writeNumber(colour, boxAt(Box::X, i), values[i], pattern);
}

void findMunsellOf(ColourModel& colour, const PreciseXyz& xyz, const MunTable& table,
                   const PreciseXyz* underC = nullptr);

void moveSliders(ColourModel& colour, std::initializer_list<std::pair<Slider, float>> moves) {
    for (const auto& [s, target] : moves) {
        const double position = roundHalfEven(target);
        if (std::isnan(position)) continue;
        sliderOf(colour, s) = static_cast<int>(
            std::clamp(position, double(sliderMinimum(s)), double(sliderMaximum(s))));
    }
}

// Black, N 0/: X, Y, Z of no light. x, y are those of the illuminant's white,
// as for every grey.
void showBlack(ColourModel& colour) {
    const Tristimulus w = whiteOf(colour.settings.illuminant);
    const float sum = w.X + w.Y + w.Z;
    writeNumber(colour, Box::SmallX, w.X / sum, ".0000");
    writeNumber(colour, Box::SmallY, w.Y / sum, ".0000");
}

ShownNotation notationShown(const PreciseXyz& xyz, const MunTable& table,
                            const ColourSettings& settings, bool underC);

// The Munsell notation of X, Y, Z, and x, y; the Munsell sliders follow,
// stopping at their ends. Entries that compute X, Y, Z give them here at
// full precision, not as the two decimals their boxes show. The notation is
// searched from `underC` when given (X, Y, Z as read under illuminant C, of
// which `xyz` are the shown, adapted values), else from `xyz`.
void findMunsellOf(ColourModel& colour, const PreciseXyz& xyz, const MunTable& table,
                   const PreciseXyz* underC) {
    const ShownNotation shown =
        notationShown(underC ? *underC : xyz, table, colour.settings, underC != nullptr);
    colour.outsideData = shown.fit == MunsellFit::OutsideData;
    if (colour.outsideData) colour.outcome.add(Outcome::OutsideData);
    if (!shown.shown) {
        // Values read from a file or an instrument that have no notation:
        // the boxes are emptied rather than left with the colour before.
        for (Box box : {Box::Hue, Box::Value, Box::Chroma, Box::SmallX, Box::SmallY}) {
            colour[box].clear();
            keepExact(colour, box, std::nan(""));
        }
        colour.outcome.add(Outcome::NoNotation);
        colour.messages.push_back("No Munsell notation: X + Y + Z is not above 0");
        return;
    }
    if (shown.black) {
        showBlack(colour);
    } else {
        const double sum = xyz.X + xyz.Y + xyz.Z;
        writeNumber(colour, Box::SmallX, xyz.X / sum, ".0000");
        writeNumber(colour, Box::SmallY, xyz.Y / sum, ".0000");
    }
    colour[Box::Hue] = shown.hueText;
    colour[Box::Value] = shown.valueText;
    colour[Box::Chroma] = shown.chromaText;
    const bool notation = !shown.hueText.empty();
    keepExact(colour, Box::Hue, notation && !shown.grey ? shown.exactHue : std::nan(""));
    keepExact(colour, Box::Value, shown.value);
    keepExact(colour, Box::Chroma, notation ? shown.chroma : std::nan(""));
    // A value below 0.5 leaves the value slider at its first place.
    const float value = static_cast<float>(shown.value) * 2.0f;
    const float chroma = static_cast<float>(shown.chroma);
    if (shown.black)
        moveSliders(colour, {{Slider::Value, 0.0f}, {Slider::Chroma, 0.0f}});
    else if (!notation)
        moveSliders(colour, {{Slider::Value, value}});
    else if (shown.grey)
        moveSliders(colour, {{Slider::Value, value}, {Slider::Chroma, chroma}});
    else
        moveSliders(colour, {{Slider::Hue, static_cast<float>(shown.hue) * 2.0f},
                             {Slider::Value, value},
                             {Slider::Chroma, chroma}});
}

// X, Y, Z of linear r, g, b, shown in their boxes rounded to two decimals
// and written plain; L*a*b* and the Munsell notation come from the
// full-precision values.
void showXyzOfLinear(ColourModel& colour, float r, float g, float b, const MunTable& table) {
    const Tristimulus t = xyzOfLinear(r, g, b, colour.settings);
    const PreciseXyz xyz{t.X, t.Y, t.Z};
    const double values[3] = {xyz.X, xyz.Y, xyz.Z};
    for (int i = 0; i < 3; ++i) {
        colour[boxAt(Box::X, i)] = plainText(numberAsWritten(values[i], "###.00"));
        keepExact(colour, boxAt(Box::X, i), values[i]);
    }
    showLab(colour, xyz);
    findMunsellOf(colour, xyz, table);
}

// The Munsell notation of the boxes to every other notation.
void convertMunsell(ColourModel& colour, const MunTable& table) {
    colour.outsideData = false;
    colour.munsellConverted = true;
    const HueOfText hueRead = converth(colour[Box::Hue]);
    const double hue = hueRead.hue;
    const bool neutral = hueRead.family == HueFamily::Neutral;
    if (hueRead.family == HueFamily::Missing) {
        colour.outcome.add(Outcome::FormatError);
        colour.messages.push_back("Format Error");
    }
    const auto outOfRange = [&colour] {
        colour.outcome.add(Outcome::OutOfMunsellRange);
        colour.messages.push_back("Out of Munsell Range");
    };
    const auto value = strictNumber(colour[Box::Value]);
    const auto chroma = neutral ? std::optional<double>(0.0) : strictNumber(colour[Box::Chroma]);
    if (!value || !chroma) return outOfRange();
    const float v = static_cast<float>(*value);
    const float c = static_cast<float>(*chroma);
    // A grey has no chroma, whatever its box held.
    if (neutral && strictNumber(colour[Box::Chroma]).value_or(1.0) != 0.0)
        colour[Box::Chroma] = "0";

    // The Munsell sliders follow; a notation beyond a slider's range stops
    // here. Values from 0 up to the value slider's first position (black and
    // the darkest greys) leave it there; a grey leaves the hue slider alone.
    std::vector<std::pair<Slider, float>> moves = {{Slider::Value, v * 2.0f}, {Slider::Chroma, c}};
    if (!neutral) moves.insert(moves.begin(), {Slider::Hue, static_cast<float>(hue) * 2.0f});
    for (const auto& [s, target] : moves) {
        const auto position = enteredSliderPosition(s, target);
        if (!position) return outOfRange();
        sliderOf(colour, s) = *position;
    }
    const double onCircle = wrappedHue(hue);

    const CieOfMunsell cie = mun2xyz(onCircle, *value, *chroma, table, colour.settings);
    if (cie.status == MunsellToCie::OutOfTable) return outOfRange();
    colour.outsideData = cie.status == MunsellToCie::OutsideData;
    if (colour.outsideData) colour.outcome.add(Outcome::OutsideData);
    keepExact(colour, Box::Hue, neutral ? std::nan("") : onCircle);
    keepExact(colour, Box::Value, *value);
    keepExact(colour, Box::Chroma, *chroma);
    const PreciseXyz xyz{cie.X, cie.Y, cie.Z};
    writeXyz(colour, xyz, "##0.00");
    writeNumber(colour, Box::SmallX, cie.x, "0.0000");
    writeNumber(colour, Box::SmallY, cie.y, "0.0000");
    showLab(colour, xyz);
    if (c == 0.0f && cie.status == MunsellToCie::Ok)
        showGreyDisplay(colour, cie.Y);
    else
        showEntryDisplay(colour, xyz);
}

void takeRgbBoxes(ColourModel& colour) {
    std::int16_t* channels[3] = {&colour.red, &colour.green, &colour.blue};
    for (int i = 0; i < 3; ++i)
        *channels[i] = displayLevel(leadingNumber(colour[boxAt(Box::Red, i)]));
}

void convertRgb(ColourModel& colour, const MunTable& table) {
    std::int16_t* channels[3] = {&colour.red, &colour.green, &colour.blue};
    takeRgbBoxes(colour);
    writeRgbBoxes(colour);
    followRgbSliders(colour);
    // Typed levels are the display's own (taken into 0..255): nothing of the
    // colour before is out of range any more.
    showDisplayRange(colour, false);
    float linear[3];
    for (int i = 0; i < 3; ++i)
        linear[i] = linearChannel(*channels[i], colour.settings, i + 1);
    showCmyk(colour, linear[0], linear[1], linear[2]);
    showXyzOfLinear(colour, linear[0], linear[1], linear[2], table);
}

void xyzEntry(ColourModel& colour, const MunTable& table) {
    const auto X = readNumber(colour, Box::X, "X");
    const auto Y = X ? readNumber(colour, Box::Y, "Y") : std::nullopt;
    const auto Z = Y ? readNumber(colour, Box::Z, "Z") : std::nullopt;
    if (!Z) return;
    if (refusedWithoutChromaticity(colour, *X, *Y, *Z, "X + Y + Z needs to be above 0.")) return;
    const double typed[3] = {*X, *Y, *Z};
    for (int i = 0; i < 3; ++i)
        keepExact(colour, boxAt(Box::X, i), typed[i]);
    const PreciseXyz xyz{*X, *Y, *Z};
    showLab(colour, xyz);
    findMunsellOf(colour, xyz, table);
    showEntryDisplay(colour, xyz);
}

// X, Y, Z read under illuminant C: shown adapted to the selected illuminant,
// searched as read.
void xyzValuesEntry(ColourModel& colour, const Tristimulus& t, const MunTable& table) {
    const PreciseXyz underC{t.X, t.Y, t.Z};
    PreciseXyz xyz = underC;
    if (colour.settings.illuminant != Illuminant::C)
        if (const auto adapted = xyzconvert(Adaptation::FromC, t.X, t.Y, t.Z, colour.settings))
            xyz = {adapted->X, adapted->Y, adapted->Z};
    writeXyz(colour, xyz, "###.00");
    showLab(colour, xyz);
    findMunsellOf(colour, xyz, table, &underC);
    showEntryDisplay(colour, xyz);
}

void chromaticityEntry(ColourModel& colour, const MunTable& table) {
    const auto xText = readNumber(colour, Box::SmallX, "x");
    const auto yText = xText ? readNumber(colour, Box::SmallY, "y") : std::nullopt;
    const auto YText = yText ? readNumber(colour, Box::Y, "Y") : std::nullopt;
    if (!YText) return;
    const auto xyz = xyzOfChromaticity(*xText, *yText, *YText);
    if (!xyz) {
        refuse(colour, "y needs a number other than 0.");
        return;
    }
    if (refusedWithoutChromaticity(colour, xyz->X, xyz->Y, xyz->Z, "y needs a number above 0."))
        return;
    writeNumber(colour, Box::X, xyz->X, "###.00");
    keepExact(colour, Box::Y, xyz->Y);
    writeNumber(colour, Box::Z, xyz->Z, "###.00");
    showLab(colour, *xyz);
    findMunsellOf(colour, *xyz, table);
    showEntryDisplay(colour, *xyz);
}

void labEntry(ColourModel& colour, const MunTable& table) {
    const auto L = readNumber(colour, Box::L, "L*");
    const auto a = L ? readNumber(colour, Box::A, "a*") : std::nullopt;
    const auto b = a ? readNumber(colour, Box::B, "b*") : std::nullopt;
    if (!b) return;
    const auto fromLab = xyzOfLabEntry(*L, *a, *b, colour.settings);
    if (!fromLab) {
        refuse(colour, "L* needs a number of 0 or more.");
        return;
    }
    const PreciseXyz xyz{fromLab->X, fromLab->Y, fromLab->Z};
    if (refusedWithoutChromaticity(colour, xyz.X, xyz.Y, xyz.Z,
                                   "L*, a*, b* give no colour: X + Y + Z is not above 0."))
        return;
    const double lab[3] = {*L, *a, *b};
    for (int i = 0; i < 3; ++i)
        keepExact(colour, boxAt(Box::L, i), lab[i]);
    writeXyz(colour, xyz, "###.00");
    showEntryDisplay(colour, xyz);
    findMunsellOf(colour, xyz, table);
}

void cmykEntry(ColourModel& colour, const MunTable& table) {
    float ink[4];
    const char* names[4] = {"C", "M", "Y", "K"};
    for (int i = 0; i < 4; ++i) {
        const auto n = readNumber(colour, boxAt(Box::Cyan, i), names[i]);
        if (!n) return;
        ink[i] = std::clamp(static_cast<float>(static_cast<float>(*n) / 100.0), 0.0f, 1.0f);
    }
    const RgbOfCmyk rgb = cmykrgb(ink[0], ink[1], ink[2], ink[3], colour.settings);
    colour.red = rgb.R;
    colour.green = rgb.G;
    colour.blue = rgb.B;
    showDisplayRange(colour, rgb.clamped);
    writeRgbBoxes(colour);
    followRgbSliders(colour);
    showXyzOfLinear(colour, rgb.linear.r, rgb.linear.g, rgb.linear.b, table);
}

} // namespace

namespace {

// The notation shown for X, Y, Z under the selected illuminant, or under C
// when `underC`.
ShownNotation notationShown(const PreciseXyz& xyz, const MunTable& table,
                            const ColourSettings& settings, bool underC) {
    const double X = xyz.X, Y = xyz.Y, Z = xyz.Z;
    ShownNotation shown;
    if (Y <= 0.0 && std::isfinite(X) && std::isfinite(Z)) {
        shown.fit = MunsellFit::InData;
        shown.shown = shown.black = shown.grey = true;
        shown.hueText = "N";
        shown.valueText = shown.chromaText = formatNumber(0.0, "##0.00");
        return shown;
    }
    if (!(X + Y + Z > 0.0)) return shown;
    shown.shown = true;
    const MunsellOfXyz munsell =
        underC ? xyz2mun(X, Y, Z, table, settings) : munsellOfXyz(X, Y, Z, table, settings);
    const bool found = munsell.fit == MunsellFit::InData;
    shown.fit = munsell.fit;
    shown.value = munsell.V;
    shown.valueText = formatNumber(shown.value, "##0.00");
    if (!found) return shown;
    shown.exactHue = munsell.H;
    shown.hue = numberAsWritten(munsell.H, "###.00");
    shown.chroma = munsell.C;
    shown.chromaText = formatNumber(munsell.C, "##0.00");
    // A grey (chroma 0.00 as shown) has the hue N and no chroma.
    static const std::string zeroChroma = formatNumber(0.0, "##0.00");
    shown.grey = shown.chromaText == zeroChroma;
    if (shown.grey) shown.chroma = 0.0;
    shown.hueText = shown.grey ? "N" : hconvert(static_cast<float>(shown.hue));
    return shown;
}

} // namespace

MunsellOfXyz munsellOfXyz(double X, double Y, double Z, const MunTable& table,
                          const ColourSettings& settings) {
    if (settings.illuminant == Illuminant::C) return xyz2mun(X, Y, Z, table, settings);
    const auto underC = xyzconvert(Adaptation::ToC, X, Y, Z, settings);
    if (!underC) return {};
    return xyz2mun(underC->X, underC->Y, underC->Z, table, settings);
}

ShownNotation shownNotation(double X, double Y, double Z, const MunTable& table,
                            const ColourSettings& settings) {
    return notationShown({X, Y, Z}, table, settings, false);
}

bool withoutChromaticity(double X, double Y, double Z) {
    return Y > 0.0 && !(X + Y + Z > 0.0);
}

std::optional<double> singleNumber(const std::string& text, const char* name,
                                   std::string& problem) {
    const auto number = strictNumber(text);
    if (number && std::isfinite(static_cast<float>(*number))) return number;
    problem = std::string(name) +
              (isNumberText(text) ? " is out of range: \"" : " needs a number; it holds \"") +
              excerpt(text) + "\".";
    return std::nullopt;
}

float linearChannel(std::int16_t level, const ColourSettings& s, int channel) {
    return static_cast<float>(
        std::pow(level / double{s.channelScale[channel]} / 255.0, 1.0 / s.gammaInv[channel]));
}

ColourSettings startedSettings(Illuminant illuminant, bool pwd, std::optional<int> whiteBalance,
                               const std::string& gamma) {
    const ColourModel initial = ColourModel::initial();
    ColourSettings settings = initial.settings;
    settings.pwd = pwd;
    if (whiteBalance) applyWhiteBalance(settings, *whiteBalance);
    const auto position = gammaSliderPosition(gamma);
    if (position && *position != initial.gammaPosition) applyGammaPosition(settings, *position);
    settings.illuminant = illuminant;
    return settings;
}

std::optional<int> gammaSliderPosition(const std::string& text) {
    const auto number = strictNumber(text);
    if (!number || !(*number >= 1.0 && *number <= 3.0)) return std::nullopt;
    return static_cast<int>(roundHalfEven(*number * 10.0));
}

void applyGammaPosition(ColourSettings& settings, int position) {
    const double gamma = strictNumber(plainText(std::clamp(position, 10, 30) / 10.0)).value_or(2.2);
    for (float& g : settings.gammaInv)
        g = static_cast<float>(1.0 / gamma);
}

void applyWhiteBalance(ColourSettings& settings, int position) {
    const float k3 = static_cast<float>(std::clamp(position, 50, 100) / 100.0);
    settings.channelScale[3] = k3;
    // Green falls by 52/85 of the fall of blue; red keeps its level.
    settings.channelScale[2] = static_cast<float>(1.0 - (1.0 - k3) / (85.0 / 52.0));
}

std::optional<int> enteredSliderPosition(Slider s, float target) {
    const bool darkest = s == Slider::Value && target >= 0.0f && target < 1.0f;
    return sliderPosition(s, darkest ? 1.0f : target);
}

std::optional<Tristimulus> xyzOfLabEntry(double L, double a, double b,
                                         const ColourSettings& settings) {
    return labxyz(L, a, b, whiteOf(settings.illuminant));
}

std::optional<PreciseXyz> xyzOfChromaticity(double x, double y, double Y) {
    if (y == 0.0) return std::nullopt;
    const double z = 1.0 - x - y;
    return PreciseXyz{x * Y / y, Y, z * Y / y};
}

RgbOfXyz entryDisplay(float Y, const Tristimulus& xyz, const ColourSettings& settings) {
    return Y <= 0.0f ? greyrgb(0.0f, settings) : xyzrgb(xyz.X, xyz.Y, xyz.Z, settings);
}

std::int16_t displayLevel(double number) {
    return static_cast<std::int16_t>(std::clamp(roundHalfEven(number), 0.0, 255.0));
}

Tristimulus xyzOfLinear(float r, float g, float b, const ColourSettings& settings) {
    const Tristimulus t = rgbxyz(r, g, b, settings);
    return {t.X * 100.0f, t.Y * 100.0f, t.Z * 100.0f};
}

Box firstBox(Notation notation) {
    constexpr Box first[] = {Box::Hue, Box::X, Box::SmallX, Box::L, Box::Red, Box::Cyan};
    return first[static_cast<int>(notation)];
}

int boxesOf(Notation notation) {
    constexpr int count[] = {3, 3, 2, 3, 3, 4};
    return count[static_cast<int>(notation)];
}

int sliderMinimum(Slider s) {
    return sliderRange[static_cast<int>(s)][0];
}
int sliderMaximum(Slider s) {
    return sliderRange[static_cast<int>(s)][1];
}

std::array<double, exactCount> noExact() {
    std::array<double, exactCount> none;
    none.fill(std::nan(""));
    return none;
}

void ColourModel::forgetChange() {
    messages.clear();
    outcome = {};
    munsellConverted = false;
    labShown.reset();
    gammaChanged = false;
}

ColourModel ColourModel::initial() {
    ColourModel colour;
    colour[Box::Hue] = "6.4Y";
    colour[Box::Value] = "8.6";
    colour[Box::Chroma] = "10.4";
    return colour;
}

ColourModel edit(ColourModel colour, Box box, std::string text) {
    beginChange(colour);
    colour[box] = std::move(text);
    return colour;
}

ColourModel enter(ColourModel colour, Notation notation, const MunTable& table) {
    enterInPlace(colour, notation, table);
    return colour;
}

void enterInPlace(ColourModel& colour, Notation notation, const MunTable& table) {
    beginChange(colour);
    switch (notation) {
    case Notation::Munsell:
        convertMunsell(colour, table);
        break;
    case Notation::Xyz:
        xyzEntry(colour, table);
        break;
    case Notation::Chromaticity:
        chromaticityEntry(colour, table);
        break;
    case Notation::Lab:
        labEntry(colour, table);
        break;
    case Notation::Rgb:
        convertRgb(colour, table);
        break;
    case Notation::Cmyk:
        cmykEntry(colour, table);
        break;
    }
}

ColourModel enterMunsell(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Munsell, table);
}

ColourModel enterXyz(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Xyz, table);
}

ColourModel enterChromaticity(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Chromaticity, table);
}

ColourModel enterLab(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Lab, table);
}

ColourModel enterRgb(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Rgb, table);
}

ColourModel enterCmyk(ColourModel colour, const MunTable& table) {
    return enter(std::move(colour), Notation::Cmyk, table);
}

ColourModel startedWindow(const MunTable& table, Illuminant illuminant, bool pwd,
                          std::optional<int> whiteBalance, const std::string& gamma) {
    ColourModel colour = selectIlluminant(ColourModel::initial(), Illuminant::C, table);
    colour = setPwd(std::move(colour), pwd);
    if (whiteBalance) colour = moveWhiteBalance(std::move(colour), *whiteBalance);
    if (!gamma.empty() && gamma != colour.gammaText)
        colour = editGamma(std::move(colour), gamma, table);
    return selectIlluminant(std::move(colour), illuminant, table);
}

ColourModel enterXyzValues(ColourModel colour, const Tristimulus& xyz, const MunTable& table) {
    beginChange(colour);
    xyzValuesEntry(colour, xyz, table);
    return colour;
}

ColourModel moveSlider(ColourModel colour, Slider s, int position, const MunTable& table) {
    beginChange(colour);
    position = std::clamp(position, sliderMinimum(s), sliderMaximum(s));
    sliderOf(colour, s) = position;
    switch (s) {
    case Slider::Hue: {
        float h = static_cast<float>(position / 2.0);
        if (h == 0.0f) h = 100.0f;
        if (h > 100.0f) h = 1.0f;
        colour[Box::Hue] = hconvert(h);
        break;
    }
    case Slider::Value:
        // The top position (value 10) leaves the box as it is.
        if (position < 20) colour[Box::Value] = plainText(position / 2.0);
        break;
    case Slider::Chroma:
        colour[Box::Chroma] = std::to_string(position);
        break;
    case Slider::Red:
    case Slider::Green:
    case Slider::Blue: {
        const int channel = static_cast<int>(s) - static_cast<int>(Slider::Red);
        colour[boxAt(Box::Red, channel)] = std::to_string(position);
        convertRgb(colour, table);
        return colour;
    }
    }
    convertMunsell(colour, table);
    return colour;
}

ColourModel selectIlluminant(ColourModel colour, Illuminant illuminant, const MunTable& table) {
    beginChange(colour);
    colour.settings.illuminant = illuminant;
    convertMunsell(colour, table);
    return colour;
}

ColourModel setPwd(ColourModel colour, bool on) {
    beginChange(colour);
    colour.settings.pwd = on;
    return colour;
}

ColourModel editGamma(ColourModel colour, std::string text, const MunTable& table) {
    beginChange(colour);
    colour.gammaText = std::move(text);
    // An empty box is a gamma still being typed.
    if (trimmed(colour.gammaText).empty()) return colour;
    const auto number = strictNumber(colour.gammaText);
    if (!number || !std::isfinite(static_cast<float>(*number))) {
        refuse(colour, "Gamma needs a number; it holds \"" + excerpt(colour.gammaText) + "\".");
        return colour;
    }
    const auto position = gammaSliderPosition(colour.gammaText);
    // A slider already at that position does not move, and nothing follows.
    if (!position || *position == colour.gammaPosition) return colour;
    return moveGammaSlider(std::move(colour), *position, table);
}

ColourModel moveGammaSlider(ColourModel colour, int position, const MunTable& table) {
    beginChange(colour);
    colour.gammaPosition = std::clamp(position, 10, 30);
    colour.gammaText = plainText(colour.gammaPosition / 10.0);
    applyGammaPosition(colour.settings, colour.gammaPosition);
    convertMunsell(colour, table);
    colour.gammaChanged = true;
    return colour;
}

ColourModel moveWhiteBalance(ColourModel colour, int position) {
    beginChange(colour);
    colour.whiteBalance = std::clamp(position, 50, 100);
    applyWhiteBalance(colour.settings, colour.whiteBalance);
    return colour;
}

ColourModel readRgbBoxes(ColourModel colour) {
    beginChange(colour);
    takeRgbBoxes(colour);
    followRgbSliders(colour);
    return colour;
}

ColourModel clickSwatch(ColourModel colour, int red, int green, int blue, const MunTable& table) {
    beginChange(colour);
    const int rgb[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i)
        colour[boxAt(Box::Red, i)] = std::to_string(rgb[i]);
    // A colour at the edge of the display's range is only shown in the boxes.
    if (std::any_of(rgb, rgb + 3, [](int c) { return c == 0 || c == 255; })) return colour;
    convertRgb(colour, table);
    return colour;
}

} // namespace huelinx
