// The search cells of each value level, prepared once when the Munsell table
// is loaded, so that the CIE-to-Munsell search can pass over cells whose
// bounding box cannot hold the sample. The search keeps its order (hue index
// ascending, then chroma index), so it finds exactly the cell that testing
// every cell in turn would find.
#pragma once

#include <cstdint>
#include <vector>

#include "colour/muntable.h"

namespace huelinx {

class CellIndex {
  public:
    CellIndex() = default;
    explicit CellIndex(const MunTable& table);

    // Same answer as findcell on the table this index was made from.
    [[nodiscard]] CellPosition find(float x, float y, int v) const;

  private:
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

    // Cells of each value level in search order.
    std::vector<Cell> levels_[MunTable::valueCount];

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
    };
    Grid grids_[MunTable::valueCount];
    void buildGrid(int v);
    // The bucket column or row of a coordinate; -1 or gridSize off the grid.
    static int bucket(float coordinate, float origin, float scale);

    const MunTable* table_ = nullptr;
};

} // namespace huelinx
