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
        buildGrid(v);
    }
}

int CellIndex::bucket(float coordinate, float origin, float scale) {
    const float at = (coordinate - origin) * scale;
    if (!(at >= 0.0f)) return -1;
    if (at >= static_cast<float>(gridSize)) return gridSize;
    return static_cast<int>(at);
}

void CellIndex::buildGrid(int v) {
    const auto& cells = levels_[v];
    Grid& g = grids_[v];
    float x1 = 0, y1 = 0;
    bool first = true;
    for (const Cell& c : cells) {
        if (!c.prunable) continue;
        g.x0 = first ? c.minX : std::min(g.x0, c.minX);
        g.y0 = first ? c.minY : std::min(g.y0, c.minY);
        x1 = first ? c.maxX : std::max(x1, c.maxX);
        y1 = first ? c.maxY : std::max(y1, c.maxY);
        first = false;
    }
    g.scaleX = x1 > g.x0 ? static_cast<float>(gridSize) / (x1 - g.x0) : 0.0f;
    g.scaleY = y1 > g.y0 ? static_cast<float>(gridSize) / (y1 - g.y0) : 0.0f;
    std::vector<std::vector<std::uint16_t>> lists(gridSize * gridSize);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        const auto index = static_cast<std::uint16_t>(i);
        if (!c.prunable) {
            g.unpruned.push_back(index);
            for (auto& list : lists)
                list.push_back(index);
            continue;
        }
        // bucket() never decreases as its coordinate grows, so every point of
        // the box falls in a bucket between those of its corners.
        const int bx0 = std::max(bucket(c.minX, g.x0, g.scaleX), 0);
        const int bx1 = std::min(bucket(c.maxX, g.x0, g.scaleX), gridSize - 1);
        const int by0 = std::max(bucket(c.minY, g.y0, g.scaleY), 0);
        const int by1 = std::min(bucket(c.maxY, g.y0, g.scaleY), gridSize - 1);
        for (int by = by0; by <= by1; ++by)
            for (int bx = bx0; bx <= bx1; ++bx)
                lists[static_cast<std::size_t>(by * gridSize + bx)].push_back(index);
    }
    g.start.push_back(0);
    for (const auto& list : lists) {
        g.cells.insert(g.cells.end(), list.begin(), list.end());
        g.start.push_back(static_cast<std::uint32_t>(g.cells.size()));
    }
}

CellPosition CellIndex::find(float x, float y, int v) const {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        // Comparisons with a non-finite point say nothing about the edge test.
        if (table_) return findcell(x, y, static_cast<std::int16_t>(v), *table_);
        return {};
    }
    if (v < 0 || v >= MunTable::valueCount) return {};
    const Grid& g = grids_[v];
    const int bx = bucket(x, g.x0, g.scaleX), by = bucket(y, g.y0, g.scaleY);
    const bool onGrid = bx >= 0 && bx < gridSize && by >= 0 && by < gridSize;
    const std::uint16_t* first = g.unpruned.data();
    const std::uint16_t* last = first + g.unpruned.size();
    if (onGrid) {
        const auto b = static_cast<std::size_t>(by * gridSize + bx);
        first = g.cells.data() + g.start[b];
        last = g.cells.data() + g.start[b + 1];
    }
    for (const std::uint16_t* i = first; i != last; ++i) {
        const Cell& c = levels_[v][*i];
        if (c.prunable && (x < c.minX || x > c.maxX || y < c.minY || y > c.maxY)) continue;
        if (inquad(x, y, c.ax, c.ay, c.bx, c.by, c.cx, c.cy, c.dx, c.dy)) return {c.k, c.j};
    }
    return {};
}

} // namespace huelinx
