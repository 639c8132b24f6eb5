// Soil colour rules: the contrast class of two soil colours (Faint, Distinct
// or Prominent), as soil describers give it for mottles and horizon
// boundaries, and the diagnostic colour checks on a moist and a dry reading.
//
// The class is read from the differences of two chips of the soil book:
//
//   hue pages | Faint              | Distinct (when not Faint)
//   0         | dV <= 2, dC <= 1   | dV < 4 and dC < 4
//   1         | dV <= 1, dC <= 1   | dV < 3 and dC < 3
//   2         | dV = 0,  dC = 0    | dV < 2 and dC < 2
//
// and Prominent otherwise. A hue page is 2.5 steps of the hue circle; pages
// are counted the short way round (10RP and 2.5R are one page apart), and a
// difference that is not a whole number of pages counts as the next whole
// page. A grey (hue N, or chroma 0) against a chromatic colour is one page
// apart; two greys are on the same page. dV and dC are the absolute
// differences of the chips' values and chromas (a grey's chroma is 0). When
// both colours have value <= 3 and chroma <= 2 the class is Faint whatever
// the hues.
//
// Notations are compared through the chips of the built-in `soil` set: one
// that is a chip is used as it stands, any other is first taken to the soil
// chip nearest it by CIEDE2000 (and the result says so). The CIEDE2000
// reported is that of the two notations as given, not of their chips.
#pragma once

#include "colour/chip_set.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace huelinx {

enum class ContrastClass : std::uint8_t { Faint, Distinct, Prominent };

// "Faint", "Distinct", "Prominent".
[[nodiscard]] const char* contrastClassName(ContrastClass contrast);

// The differences the class is read from: hue pages (0 to 20), value, chroma.
struct ContrastSteps {
    double pages = 0, dV = 0, dC = 0;
};

// The differences and the class of two chips by the rules above, their
// notations taken as they stand.
[[nodiscard]] ContrastSteps contrastSteps(const MunsellColour& a, const MunsellColour& b);
[[nodiscard]] ContrastClass contrastClassOfChips(const MunsellColour& a, const MunsellColour& b);

// The contrast of two notations through the soil chips.
struct SoilContrast {
    enum class Status : std::uint8_t {
        Ok,
        OutsideData,   // a notation the Munsell data don't hold (see `which`)
        NoChipWithin5, // a notation more than 5 CIEDE2000 from every soil chip
    };
    Status status = Status::Ok;
    int which = 0; // with a failure: the notation at fault, 0 or 1
    ContrastClass contrast = ContrastClass::Faint;
    double de00 = 0; // of the two notations as given
    ContrastSteps steps;
    std::size_t chip[2] = {0, 0};         // the chips compared: places in the soil set
    bool takenToChip[2] = {false, false}; // the notation was not a chip itself
};

// Why a contrast has no class, as a message; empty for Ok.
[[nodiscard]] std::string soilContrastProblem(const SoilContrast& contrast);

// Compares notations under one illuminant and PWD setting. Builds the soil
// set and its chips' L*a*b* once; not safe to share between threads (the
// chip search is not).
class SoilComparer {
  public:
    SoilComparer(const MunTable& table, const ColourSettings& settings);

    const ChipSet& chips() const { return search_.set(); }
    [[nodiscard]] SoilContrast compare(const MunsellColour& a, const MunsellColour& b);

  private:
    // The soil chip a notation is, or the nearest one; false when it has none.
    bool chipOf(const MunsellColour& colour, SoilContrast& out, int which, Lab& lab);

    const MunTable& table_;
    ColourSettings settings_;
    ChipSearch search_;
    std::unordered_map<std::uint32_t, std::uint32_t> places_; // chip key -> place in the set
    std::vector<double> chipDe00_; // CIEDE2000 of each pair of chips, NaN until needed
};

// The colour rules of diagnostic horizons that read a moist and a dry colour
// of the same soil, as recorded (no chip is substituted): the mollic or
// umbric colour (moist value <= 3 and chroma <= 3, dry value <= 5) and the
// chernic colour (moist value <= 3 and chroma <= 2, dry value <= 5). A grey's
// chroma is 0. Neither reading is ever estimated from the other.
struct SoilColourChecks {
    bool mollicColour = false;
    bool chernicColour = false;
};
[[nodiscard]] SoilColourChecks soilColourChecks(const MunsellColour& moist,
                                                const MunsellColour& dry);

} // namespace huelinx
