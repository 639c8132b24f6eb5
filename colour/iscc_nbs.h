// ISCC-NBS colour names of Munsell notations: the 267 level-3 names (with their
// abbreviations and their level-2 and level-1 names) and the ordered block
// rules that give a notation its name, read from "iscc-nbs-blocks.csv" and
// "iscc-nbs-names.csv" (see data/README.md).
//
// Blocks file: a header line, then one rule a line,
//   hue_from,hue_to,value_min,value_min_op,value_max,value_max_op,
//   chroma_min,chroma_min_op,chroma_max,chroma_max_op,level3
// A rule's hue range is half-open, hue_from <= h < hue_to, on the file's hue
// number h = 10 x family index + hue number (5R = 5, 10BG = 60, 10RP = 100); a
// range whose end is below its start wraps through 10RP (99,1 holds h >= 99 and
// h < 1), and 0,100 holds every hue. A minimum's operator is > or >=, a
// maximum's < or <=; an empty bound (number and operator both empty) is open.
// The first rule in file order that holds for a notation gives its level-3
// number.
//
// Names file: a header line, then level3,name,abbreviation,level2,level2_name,
// level1,level1_name.
//
// Both files: items separated by commas, lines ended by CR LF, LF or CR; blank
// lines are passed over.
#pragma once

#include "colour/hue.h"
#include "colour/muntable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

struct IsccNbsName {
    int level3 = 0;
    std::string name;         // "vivid pink"
    std::string abbreviation; // "viv.Pk"
    int level2 = 0;
    std::string level2Name; // "pink"
    int level1 = 0;
    std::string level1Name; // "pink"

    bool operator==(const IsccNbsName&) const = default;
};

// One rule of the blocks file. Bounds are kept in single precision, the
// precision of the program's notations, so a value or chroma equal to a bound
// as the program holds it compares as equal.
struct IsccNbsRule {
    enum class Bound : unsigned char { Open, Inclusive, Exclusive };
    float hueFrom = 0, hueTo = 100;
    float valueMin = 0, valueMax = 0, chromaMin = 0, chromaMax = 0;
    Bound valueMinKind = Bound::Open, valueMaxKind = Bound::Open;
    Bound chromaMinKind = Bound::Open, chromaMaxKind = Bound::Open;
    int level3 = 0;
    std::size_t line = 0; // line of the blocks file the rule was read from

    // Whether the hue, in (0, 100] as the file counts it (10RP = 100), lies
    // in the rule's hue range; 0,100 is the whole circle.
    [[nodiscard]] bool holdsHue(float hue) const;
    [[nodiscard]] bool wholeCircle() const { return hueFrom == 0.0f && hueTo == 100.0f; }
    // Whether the value and chroma satisfy every bound that is present.
    [[nodiscard]] bool holds(float value, float chroma) const;

    bool operator==(const IsccNbsRule&) const = default;
};

// The loaded rules and names: a plain value, copied and compared as a whole.
// An empty table names nothing.
class IsccNbsTable {
  public:
    // The name of the notation hue (on the 0..100 circle, as converth gives
    // it; taken modulo 100, so 0 and 100 are both 10RP), value and chroma.
    // A chroma of 0 is a neutral whatever the hue. nullptr when no rule holds
    // (or a number is not finite); otherwise the name lives as long as this
    // table and is unchanged by copies of it.
    [[nodiscard]] const IsccNbsName* nameOf(float hue, float value, float chroma) const;
    // The name of the neutral N value: its chroma is taken as 0, and having no
    // hue it can only be named by a rule for the whole circle (0,100).
    [[nodiscard]] const IsccNbsName* nameOfNeutral(float value) const;
    // The name of a notation whose hue was read by converth: the hue N is a
    // neutral (chroma taken as 0), a hue without family names nothing.
    [[nodiscard]] const IsccNbsName* nameOf(const HueOfText& hue, float value, float chroma) const;

    // The level-3 name with that number; nullptr when the table has none.
    [[nodiscard]] const IsccNbsName* level3(int number) const;

    [[nodiscard]] const std::vector<IsccNbsRule>& rules() const { return rules_; }
    [[nodiscard]] const std::vector<IsccNbsName>& names() const { return names_; }
    [[nodiscard]] bool empty() const { return rules_.empty(); }

    bool operator==(const IsccNbsTable&) const = default;

  private:
    friend Result loadIsccNbs(std::string_view, const std::string&, std::string_view,
                              const std::string&, IsccNbsTable&);
    // Splits the hue circle at every range end into segments [segmentStart_[i],
    // segmentStart_[i + 1]), the last being the hue 100 alone, and files each
    // rule under the few nodes of a binary tree over the segments that make up
    // its hue range: the rules of a segment are those of the nodes from its
    // leaf to the root. Memory and time grow as rules x log(segments), however
    // the ranges overlap.
    void index();
    // The first rule, in file order, whose hue range holds `segment` and whose
    // bounds hold the value and chroma; -1 for none.
    [[nodiscard]] int firstRule(std::size_t segment, float value, float chroma) const;

    std::vector<IsccNbsRule> rules_;
    std::vector<IsccNbsName> names_;  // sorted by level3
    std::vector<int> nameOfRule_;     // index into names_ for each rule
    std::vector<float> segmentStart_; // ascending, segmentStart_[0] == 0
    std::size_t leaves_ = 0;          // the tree's leaves: segments, rounded up to a power of 2
    // Node n (1 the root, n's children 2n and 2n + 1, leaf of segment s at
    // leaves_ + s) holds the rules nodeRules_[nodeStart_[n] .. nodeStart_[n + 1]),
    // ascending.
    std::vector<std::uint32_t> nodeStart_;
    std::vector<int> nodeRules_;
};

inline constexpr const char* isccNbsBlocksFile = "iscc-nbs-blocks.csv";
inline constexpr const char* isccNbsNamesFile = "iscc-nbs-names.csv";

// Fills `table` from the texts of a blocks file and a names file; the names
// only name the files in messages. A malformed line is reported with its file
// and line and at most 40 characters of the bad item, a rule naming a level-3
// number the names file lacks likewise. On failure `table` is left as it was.
Result loadIsccNbs(std::string_view blocksText, const std::string& blocksName,
                   std::string_view namesText, const std::string& namesName, IsccNbsTable& table);
// Reads iscc-nbs-blocks.csv and iscc-nbs-names.csv from `folder` and loads them.
Result loadIsccNbsFolder(const std::string& folder, IsccNbsTable& table);

} // namespace huelinx
