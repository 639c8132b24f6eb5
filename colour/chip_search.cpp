// The nearest chip of a set. The chips' L*a*b* are held in a tree of boxes,
// each split in two along its widest side, with at most eight chips in a
// leaf. The search goes down the nearer box first and passes over a box, or a
// chip, whose lower bound of CIEDE2000 (ciede2000LowerBoundSquared) lies above
// the best difference found so far plus a small slack; so a chip whose
// difference could equal the best is always computed, and ties go to the chip
// that comes first in the set, whatever the order of the visit.
#include "colour/chip_set.h"

#include "colour/colorimetry.h"
#include "colour/mun2xyz.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace huelinx {

struct ChipSearch::Index {
    struct Entry {
        LabChroma colour;
        std::size_t chip; // place in the set
    };
    struct Node {
        LabBox box;
        std::uint32_t begin = 0, end = 0; // its entries
        std::int32_t low = -1, high = -1; // the two halves; -1 for a leaf
    };
    std::vector<Lab> labs;      // in set order
    std::vector<Entry> entries; // in tree order
    std::vector<Node> nodes;    // nodes[0] is the whole set
};

namespace {

using Index = ChipSearch::Index;
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr std::uint32_t leafSize = 8;

bool finite(const Lab& c) {
    return std::isfinite(c.L) && std::isfinite(c.a) && std::isfinite(c.b);
}

std::size_t settingsKey(const ColourSettings& s) {
    const auto illuminant = std::min<std::size_t>(static_cast<std::size_t>(s.illuminant), 2);
    return illuminant * 2 + (s.pwd ? 1 : 0);
}

LabBox boxOf(const Index::Entry* first, const Index::Entry* last) {
    LabBox box{infinity, -infinity, infinity, -infinity, infinity, -infinity, 0};
    for (const Index::Entry* e = first; e != last; ++e) {
        const Lab& c = e->colour.lab;
        box.lowL = std::min(box.lowL, c.L), box.highL = std::max(box.highL, c.L);
        box.lowA = std::min(box.lowA, c.a), box.highA = std::max(box.highA, c.a);
        box.lowB = std::min(box.lowB, c.b), box.highB = std::max(box.highB, c.b);
        box.highChroma = std::max(box.highChroma, e->colour.chroma);
    }
    return box;
}

double axisOf(const Lab& c, int axis) {
    return axis == 0 ? c.L : axis == 1 ? c.a : c.b;
}

// Makes the node of entries [begin, end) and, for more than a leaf's worth,
// its two halves split at the middle of the widest side; gives its place.
std::int32_t buildNode(Index& index, std::uint32_t begin, std::uint32_t end) {
    const auto place = static_cast<std::int32_t>(index.nodes.size());
    Index::Node node;
    node.box = boxOf(index.entries.data() + begin, index.entries.data() + end);
    node.begin = begin, node.end = end;
    index.nodes.push_back(node);
    if (end - begin <= leafSize) return place;
    const LabBox& b = node.box;
    const double sides[] = {b.highL - b.lowL, b.highA - b.lowA, b.highB - b.lowB};
    const int axis = static_cast<int>(std::max_element(sides, sides + 3) - sides);
    const std::uint32_t middle = begin + (end - begin) / 2;
    std::nth_element(index.entries.begin() + begin, index.entries.begin() + middle,
                     index.entries.begin() + end, [axis](const auto& p, const auto& q) {
                         const double u = axisOf(p.colour.lab, axis),
                                      v = axisOf(q.colour.lab, axis);
                         return u < v || (u == v && p.chip < q.chip);
                     });
    const std::int32_t low = buildNode(index, begin, middle);
    const std::int32_t high = buildNode(index, middle, end);
    index.nodes[static_cast<std::size_t>(place)].low = low;
    index.nodes[static_cast<std::size_t>(place)].high = high;
    return place;
}

// The search for one colour: the best chip so far, and how far a lower bound
// may lie above its difference before a box or chip can be passed over.
struct Search {
    const Index& index;
    Lab colour;
    LabChroma query;
    double de00 = infinity;
    std::size_t chip = std::numeric_limits<std::size_t>::max();

    // Rounding in the bounds and in the full formula stays far below this slack.
    double limitSquared() const {
        const double limit = de00 + 1e-9 * (1.0 + de00 + std::abs(colour.L) + query.chroma);
        return limit * limit;
    }
    void offer(double d, std::size_t index) {
        if (d < de00 || (d == de00 && index < chip)) de00 = d, chip = index;
    }
    double bound(std::int32_t node) const {
        return ciede2000LowerBoundSquared(query, index.nodes[static_cast<std::size_t>(node)].box);
    }
    void visit(std::int32_t place, double nodeBound) {
        if (nodeBound > limitSquared()) return;
        const Index::Node& node = index.nodes[static_cast<std::size_t>(place)];
        if (node.low < 0) {
            for (std::uint32_t i = node.begin; i < node.end; ++i) {
                const Index::Entry& e = index.entries[i];
                if (ciede2000LowerBoundSquared(query, e.colour) > limitSquared()) continue;
                offer(ciede2000(colour, e.colour.lab), e.chip);
            }
            return;
        }
        const double low = bound(node.low), high = bound(node.high);
        // Not a number (a colour too far out for the formulas) visits both.
        if (!(high < low)) {
            visit(node.low, low), visit(node.high, high);
        } else {
            visit(node.high, high), visit(node.low, low);
        }
    }
};

} // namespace

std::optional<Lab> labOfMunsell(float hue, float value, float chroma, const MunTable& table,
                                const ColourSettings& settings) {
    const CieOfMunsell cie = mun2xyz(hue, value, chroma, table, settings);
    if (cie.status != MunsellToCie::Ok) return std::nullopt;
    const LabOfXyz lab = xyzlab(cie.X, cie.Y, cie.Z, settings);
    return Lab{lab.L, lab.a, lab.b};
}

MunsellSteps munsellSteps(const MunsellColour& colour, const Chip& chip) {
    MunsellSteps steps;
    steps.dV = colour.value - chip.value;
    steps.dC = colour.chroma - chip.chroma;
    const bool grey =
        colour.neutral || colour.chroma == 0.0f || chip.neutral || chip.chroma == 0.0f;
    if (!grey) steps.dH = std::remainder(colour.hue - chip.hue, 100.0f);
    return steps;
}

ChipSearch::ChipSearch(ChipSet set, const MunTable& table) : set_(std::move(set)), table_(table) {}
ChipSearch::~ChipSearch() = default;

const ChipSearch::Index& ChipSearch::indexFor(const ColourSettings& settings) {
    auto& index = indices_[settingsKey(settings)];
    if (index) return *index;
    index = std::make_unique<Index>();
    for (const Chip& chip : set_.chips) {
        // Chips are read only when the data hold them; a set made otherwise
        // gives a chip outside them the colour black.
        const auto lab = labOfMunsell(chip.hue, chip.value, chip.chroma, table_, settings);
        index->labs.push_back(lab.value_or(Lab{}));
    }
    for (std::size_t i = 0; i < index->labs.size(); ++i)
        index->entries.push_back({withChroma(index->labs[i]), i});
    if (!index->entries.empty())
        buildNode(*index, 0, static_cast<std::uint32_t>(index->entries.size()));
    return *index;
}

const Lab& ChipSearch::chipLab(std::size_t chip, const ColourSettings& settings) {
    return indexFor(settings).labs.at(chip);
}

std::optional<ChipSearch::Found> ChipSearch::nearestIndex(const Lab& colour,
                                                          const ColourSettings& settings) {
    const Index& index = indexFor(settings);
    if (index.entries.empty() || !finite(colour)) return std::nullopt;
    Search search{index, colour, withChroma(colour)};
    search.visit(0, 0.0);
    if (search.chip >= index.labs.size()) return std::nullopt; // every difference was not a number
    return Found{search.chip, search.de00};
}

std::optional<ChipSearch::Found>
ChipSearch::nearestIndexByAllChips(const Lab& colour, const ColourSettings& settings) {
    const Index& index = indexFor(settings);
    if (index.labs.empty() || !finite(colour)) return std::nullopt;
    Search search{index, colour, withChroma(colour)};
    for (std::size_t i = 0; i < index.labs.size(); ++i)
        search.offer(ciede2000(colour, index.labs[i]), i);
    if (search.chip >= index.labs.size()) return std::nullopt;
    return Found{search.chip, search.de00};
}

std::optional<NearestChip> ChipSearch::nearest(const Lab& colour, const MunsellColour& notation,
                                               const ColourSettings& settings) {
    const auto found = nearestIndex(colour, settings);
    if (!found) return std::nullopt;
    const Chip& chip = set_.chips[found->index];
    return NearestChip{found->index,
                       chip.notation,
                       chip.label,
                       found->de00,
                       munsellSteps(notation, chip),
                       found->de00 <= chipMatchLimit};
}

std::optional<NearestChip> ChipSearch::nearestToNotation(const MunsellColour& notation,
                                                         const ColourSettings& settings) {
    const auto lab = labOfMunsell(notation.neutral ? 0.0f : notation.hue, notation.value,
                                  notation.neutral ? 0.0f : notation.chroma, table_, settings);
    if (!lab) return std::nullopt;
    return nearest(*lab, notation, settings);
}

} // namespace huelinx
