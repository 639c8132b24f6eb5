// Chip sets: named lists of Munsell chips, and the chip nearest a colour by
// CIEDE2000.
//
// A chip-set file is CSV with the header `notation,label` (or `notation`
// alone); each further line is one chip: its notation (hue, value, a slash,
// chroma: 5R 6/8, 5R6/8, 7.5YR 4/6; neutrals N 5/, N5/ or N 5/0) and an
// optional label. Blank lines are passed over. Every chip must lie inside the
// Munsell data.
//
// Two sets are built in: `renotation-real` (the colours of
// munsell-renotation-real.csv, which holds no grey, followed by the neutral
// series N 1/ to N 9/ and N 9.5/) and `soil` (the hue pages 10R to 5Y at the
// values and chromas soil charts use, and the neutrals). User sets are the
// .csv files of a `chipsets` folder in the working directory or beside the
// program, named by their file name without .csv.
#pragma once

#include "colour/ciede2000.h"
#include "colour/muntable.h"
#include "colour/settings.h"
#include "files/result.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

struct Chip {
    std::string notation; // as written in the set
    std::string label;
    double hue = 0; // on the 0..100 circle (10RP is 0); 0 for a neutral
    double value = 0;
    double chroma = 0;
    bool neutral = false; // hue N
};

struct ChipSet {
    std::string name;
    std::vector<Chip> chips;
};

// A Munsell notation read as a chip (label empty); no value for anything else,
// a value outside 0..10 included.
[[nodiscard]] std::optional<Chip> readChipNotation(std::string_view text);
// The same with any value: callers that check the value themselves.
[[nodiscard]] std::optional<Chip> readMunsellNotation(std::string_view text);

// The hue, value and chroma texts of a notation, trimmed: "5R 4/14" and
// "5R4/14" give "5R", "4", "14", "N 5/" gives "N", "5", "". No value
// without a slash; the texts aren't checked.
struct NotationTexts {
    std::string_view hue, value, chroma;
};
[[nodiscard]] std::optional<NotationTexts> splitNotation(std::string_view text);

// Reads the text of a chip-set file; `fileName` names it in messages, and the
// set takes `name`. A chip outside the Munsell data (mun2xyz not Ok) is a bad line;
// without a set the message names the file and its first bad line.
[[nodiscard]] Loaded<ChipSet> readChipSet(std::string_view text, const std::string& fileName,
                                          const std::string& name, const MunTable& table);

// The built-in sets. `renotation-real` from the text of munsell-renotation-real.csv
// (columns hue,value,chroma,x,y,Y), then the ten greys of the neutral series;
// `soil` from the table alone.
[[nodiscard]] Loaded<ChipSet> renotationRealChips(std::string_view csv,
                                                  const std::string& fileName);
[[nodiscard]] ChipSet soilChips(const MunTable& table);

// Where chip sets are looked for: the data folders (for the renotation data)
// and the folders holding user sets, in the order they are searched.
struct ChipSetPlaces {
    std::vector<std::string> dataFolders;
    std::vector<std::string> chipFolders;
};

// `chipsets` in the working directory, then `chipsets` beside the program.
[[nodiscard]] std::vector<std::string> chipSetFolders(const std::string& programFolder);

// The names of the sets there are: the built-in ones, then the user sets in
// name order (a name met twice is the first folder's file; a user file named
// like a built-in set is left out).
[[nodiscard]] std::vector<std::string> availableChipSets(const ChipSetPlaces& places);

// Loads a set by name (built-in or user), or, when `nameOrPath` names a file
// (it holds a slash or ends in .csv), that file.
[[nodiscard]] Loaded<ChipSet> loadChipSet(const std::string& nameOrPath,
                                          const ChipSetPlaces& places, const MunTable& table);

// ---- the nearest chip ----------------------------------------------------------

// The CIEDE2000 above which a colour matches no chip.
constexpr double chipMatchLimit = 5.0;

// How a colour differs from a chip in Munsell steps, colour minus chip. dH is
// on the 100-step hue circle, the short way round (-50..50); 0 when the colour
// or the chip is neutral (hue N or chroma 0).
struct MunsellSteps {
    float dH = 0, dV = 0, dC = 0;
};

struct MunsellColour {
    float hue = 0, value = 0, chroma = 0;
    bool neutral = false;
};

[[nodiscard]] MunsellSteps munsellSteps(const MunsellColour& colour, const Chip& chip);

struct NearestChip {
    std::size_t index = 0; // the chip's place in the set
    std::string notation, label;
    double de00 = 0;
    MunsellSteps steps;
    bool withinLimit = false; // false: no chip within chipMatchLimit
};

// Searches one chip set. The chips' L*a*b* under each illuminant and PWD
// setting are computed the first time that setting is searched (mun2xyz, then
// xyzlab). Not safe to share between threads while it fills them in.
class ChipSearch {
  public:
    ChipSearch(ChipSet set, const MunTable& table);
    ~ChipSearch();
    ChipSearch(const ChipSearch&) = delete;
    ChipSearch& operator=(const ChipSearch&) = delete;

    const ChipSet& set() const { return set_; }
    // The chip's L*a*b* under `settings`.
    const Lab& chipLab(std::size_t index, const ColourSettings& settings);

    // The index of the chip with the smallest CIEDE2000 to `colour` (L*a*b*
    // under `settings`), ties to the chip that comes first, and that CIEDE2000.
    // No value for an empty set or a colour that is not finite.
    struct Found {
        std::size_t index;
        double de00;
    };
    [[nodiscard]] std::optional<Found> nearestIndex(const Lab& colour,
                                                    const ColourSettings& settings);
    // The same by comparing every chip: slower, for checking.
    [[nodiscard]] std::optional<Found> nearestIndexByAllChips(const Lab& colour,
                                                              const ColourSettings& settings);

    // The nearest chip to a colour given both as L*a*b* and as Munsell notation.
    [[nodiscard]] std::optional<NearestChip>
    nearest(const Lab& colour, const MunsellColour& notation, const ColourSettings& settings);
    // The nearest chip to a Munsell notation, its L*a*b* computed as the chips' are.
    [[nodiscard]] std::optional<NearestChip> nearestToNotation(const MunsellColour& notation,
                                                               const ColourSettings& settings);

    // The chips' L*a*b* under one setting and the tree the search walks
    // (chip_search.cpp).
    struct Index;

  private:
    const Index& indexFor(const ColourSettings& settings);

    ChipSet set_;
    const MunTable& table_;
    std::array<std::unique_ptr<Index>, 6> indices_; // illuminant x PWD
};

// L*a*b* of a Munsell notation under `settings` as chips get theirs; no value
// outside the data.
[[nodiscard]] std::optional<Lab> labOfMunsell(float hue, float value, float chroma,
                                              const MunTable& table,
                                              const ColourSettings& settings);

} // namespace huelinx
