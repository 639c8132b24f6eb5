// The search cells of each value level, prepared once when the Munsell table
// is loaded, so that the CIE-to-Munsell search can pass over cells whose
// bounding box cannot hold the sample. The search keeps its order (hue index
// ascending, then chroma index), so it finds exactly the cell that testing
// every cell in turn would find.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "colour/muntable.h"

namespace huelinx {

// Distance of (px, py) from the segment u to w, and how far along it the
// nearest point lies (0 at u, 1 at w).
struct Projection {
    double distance = 0, along = 0;
};
[[nodiscard]] Projection project(double px, double py, double ux, double uy, double wx, double wy);

class CellIndex {
  public:
    CellIndex() = default;
    explicit CellIndex(const MunTable& table);

    // Same answer as findcell on the table this index was made from.
    [[nodiscard]] CellPosition find(float x, float y, int v) const;

    // A point of the data's grid lines at level v: hue index k + along a
    // ring, or chroma index j + along a line of one hue.
    struct GridPoint {
        float hueIndex = 0, chromaIndex = 0;
    };
    // The point of the level's grid lines (cell edges, and the lines of a
    // hue whose data reach beyond both its neighbours') nearest (x, y), when
    // it lies within `tolerance`; the grid lines of the data's rim are the
    // ones a point outside every cell can be near.
    [[nodiscard]] std::optional<GridPoint> nearGridLine(float x, float y, int v,
                                                        double tolerance) const;

    struct Cell {
        float ax, ay, bx, by, cx, cy, dx, dy;
        // Bounding box with a margin; meaningful only when `prunable`.
        float minX, minY, maxX, maxY;
        // Convex and clockwise, so only points near its box can test inside.
        bool prunable;
        std::int16_t k, j;
    };
    static Cell makeCell(float ax, float ay, float bx, float by, float cx, float cy, float dx,
                         float dy, int k, int j);

    // Between levels v and v + 1: the cells both levels have, in search
    // order, each with the box of its corners at both levels (and a margin).
    // Every cell blended between the two levels lies in that box.
    struct PairCell {
        float minX, minY, maxX, maxY;
        bool prunable; // always: a point in a cell lies in its box
        std::int16_t k, j;
    };
    [[nodiscard]] std::span<const PairCell> cellsBetween(int v) const;
    // Indices into cellsBetween(v), in search order, of the cells whose box
    // may hold (x, y).
    [[nodiscard]] std::pair<const std::uint16_t*, const std::uint16_t*>
    candidatesBetween(float x, float y, int v) const;
    // Lines of one hue k from chroma index j to j + 1 that both levels have
    // but no cell between them has as an edge.
    [[nodiscard]] std::span<const CellPosition> spikesBetween(int v) const;

  private:
    // Cells of each value level in search order.
    std::vector<Cell> levels_[MunTable::levelCount];

    // Lines of one hue, between two chromas, that no cell has as an edge.
    struct Spike {
        float ux, uy, wx, wy;
        std::int16_t k, j;
    };
    std::vector<Spike> spikes_[MunTable::levelCount];
    void findSpikes(int v);

    // A grid over the chromaticity diagram per level: each bucket lists, in
    // search order, the cells that a point in it may lie in (every cell that
    // can't be pruned, and the prunable ones whose box meets the bucket).
    // Points off the grid can only lie in cells that can't be pruned.
    static constexpr int gridSize = 48;
    struct Grid {
        float x0 = 0, y0 = 0, scaleX = 0, scaleY = 0;
        std::vector<std::uint32_t> start;    // gridSize * gridSize + 1 offsets
        std::vector<std::uint16_t> cells;    // indices into the level's cells
        std::vector<std::uint16_t> unpruned; // for points off the grid
        // The cells a point may lie in, as a range of indices.
        std::pair<const std::uint16_t*, const std::uint16_t*> candidates(float x, float y) const;
    };
    Grid grids_[MunTable::levelCount];
    template <typename Item> static Grid makeGrid(const std::vector<Item>& items);

    struct Pair {
        std::vector<PairCell> cells;
        Grid grid;
        std::vector<CellPosition> spikes;
    };
    Pair pairs_[MunTable::levelCount - 1];
    void pairLevels(int v);
    // The bucket column or row of a coordinate; -1 or gridSize off the grid.
    static int bucket(float coordinate, float origin, float scale);

    const MunTable* table_ = nullptr;
};

} // namespace huelinx
