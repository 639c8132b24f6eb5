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
    void find(float x, float y, int v, std::int16_t& k, std::int16_t& j) const;

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
    const MunTable* table_ = nullptr;
};

} // namespace huelinx
