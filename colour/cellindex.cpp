#include "colour/cellindex.h"

#include "colour/xyz2mun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace huelinx {

namespace {

// Margin around a cell's box, in chromaticity units. A point this far outside
// a convex cell whose angles are all at least minAngle is far enough from
// every edge that the single-precision edge test cannot call it inside.
constexpr float boxMargin = 2e-3f;
constexpr double minAngle = std::numbers::pi / 180.0;

struct P {
    double x, y;
};

// True when the polygon (3 or 4 corners) turns right at every corner, with no
// corner sharper than minAngle: then the edge test's inside region is the
// polygon itself.
bool convexClockwise(const P* p, int n) {
    for (int i = 0; i < n; ++i) {
        const P& a = p[(i + n - 1) % n];
        const P& b = p[i];
        const P& c = p[(i + 1) % n];
        const double e1x = b.x - a.x, e1y = b.y - a.y, e2x = c.x - b.x, e2y = c.y - b.y;
        if (e1x * e2y - e1y * e2x >= 0.0) return false;
        const double interior =
            std::atan2(std::fabs(e1x * e2y - e1y * e2x), -(e1x * e2x + e1y * e2y));
        if (interior < minAngle) return false;
    }
    return true;
}

} // namespace

CellIndex::Cell CellIndex::makeCell(float ax, float ay, float bx, float by, float cx, float cy,
                                    float dx, float dy, int k, int j) {
    Cell cell{ax,
              ay,
              bx,
              by,
              cx,
              cy,
              dx,
              dy,
              0,
              0,
              0,
              0,
              false,
              static_cast<std::int16_t>(k),
              static_cast<std::int16_t>(j)};
    const P quad[4] = {{ax, ay}, {bx, by}, {cx, cy}, {dx, dy}};
    // With A = B (the white of the innermost ring) the cell is the triangle B, C, D.
    cell.prunable =
        (ax == bx && ay == by) ? convexClockwise(quad + 1, 3) : convexClockwise(quad, 4);
    cell.minX = std::min({ax, bx, cx, dx}) - boxMargin;
    cell.maxX = std::max({ax, bx, cx, dx}) + boxMargin;
    cell.minY = std::min({ay, by, cy, dy}) - boxMargin;
    cell.maxY = std::max({ay, by, cy, dy}) + boxMargin;
    return cell;
}

CellIndex::CellIndex(const MunTable& table) : table_(&table) {
    for (int v = 0; v < MunTable::valueCount; ++v) {
        auto& cells = levels_[v];
        for (int k = 0; k < MunTable::fileHues; ++k) {
            float ax = whiteX, ay = whiteY, bx = whiteX, by = whiteY;
            for (int j = 0; j + 1 < MunTable::chromaCount; ++j) {
                if (table.at(v, k, j + 1, 0) == 0 || table.at(v, k, j + 1, 1) == 0 ||
                    table.at(v, k + 1, j + 1, 0) == 0 || table.at(v, k + 1, j + 1, 1) == 0)
                    break;
                const float dx = table.x(v, k, j + 1), dy = table.y(v, k, j + 1);
                const float cx = table.x(v, k + 1, j + 1), cy = table.y(v, k + 1, j + 1);
                cells.push_back(makeCell(ax, ay, bx, by, cx, cy, dx, dy, k, j));
                ax = dx, ay = dy, bx = cx, by = cy;
            }
        }
    }
}

void CellIndex::find(float x, float y, int v, std::int16_t& k, std::int16_t& j) const {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        // Comparisons with a non-finite point say nothing about the edge test.
        if (table_)
            findcell(x, y, static_cast<std::int16_t>(v), k, j, *table_);
        else
            k = 40, j = 0;
        return;
    }
    k = 40;
    j = 0;
    if (v < 0 || v >= MunTable::valueCount) return;
    for (const Cell& c : levels_[v]) {
        if (c.prunable && (x < c.minX || x > c.maxX || y < c.minY || y > c.maxY)) continue;
        std::int16_t inside = 0;
        inquad(x, y, c.ax, c.ay, c.bx, c.by, c.cx, c.cy, c.dx, c.dy, inside);
        if (inside) {
            k = c.k;
            j = c.j;
            return;
        }
    }
}

} // namespace huelinx
