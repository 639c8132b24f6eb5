#include "colour/xyz2mun.h"

#include "colour/cellindex.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace huelinx {

namespace {

struct Pt {
    float x, y;
};

Pt mid(Pt a, Pt b) {
    return {(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f};
}

bool inside(Pt p, Pt a, Pt b, Pt c, Pt d) {
    return inquad(p.x, p.y, a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y);
}

// Whether p lies to the right of the directed line u to w (the outer side of
// an edge of a clockwise cell); a point on the line is not.
bool rightOf(Pt p, Pt u, Pt w) {
    return (u.y - w.y) * (p.x - u.x) + (w.x - u.x) * (p.y - u.y) > 0.0f;
}

// Euclidean distance of two single-precision points, squared and summed in
// double precision.
double distance(Pt a, Pt b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

struct Quad {
    Pt a, b, c, d;
    bool sameAs(const Quad& o) const { return std::memcmp(this, &o, sizeof(Quad)) == 0; }
};

// The chromaticities of the table at value index v, or, with f above 0, at
// the value v + f between the levels v and v + 1. Between the levels each
// grid point lies f of the way from its place at v to its place at v + 1:
// the same straight line the Munsell-to-CIE interpolation follows, so a
// cell of this level maps hue and chroma exactly as that interpolation does.
class Level {
  public:
    Level(const MunTable& table, int v, float f) : t_(table), v_(v), f_(f) {}

    Pt at(int k, int j) const {
        const Pt p{t_.x(v_, k, j), t_.y(v_, k, j)};
        if (f_ == 0.0f) return p;
        const Pt q{t_.x(v_ + 1, k, j), t_.y(v_ + 1, k, j)};
        return {p.x + (q.x - p.x) * f_, p.y + (q.y - p.y) * f_};
    }
    Quad cell(int k, int j) const {
        return {at(k, j), at(k + 1, j), at(k + 1, j + 1), at(k, j + 1)};
    }

  private:
    const MunTable& t_;
    int v_;
    float f_;
};

// One round of a bisection leaves the cell unchanged once the midpoints stop
// moving in single precision; every later round would then repeat it exactly,
// so stopping there gives the same cell and the same last midpoint as running
// all 50 rounds.
template <typename Round> void bisect(Quad& q, Round round) {
    for (int i = 0; i < 50; ++i) {
        const Quad before = q;
        round(q);
        if (q.sameAs(before)) break;
    }
}

HueChroma split(Pt p, const Quad& cell, int k, int j) {
    Pt m2{0, 0}, n1{0, 0};
    Quad q = cell;
    // Each round keeps the half on the point's side of the dividing line
    // alone. The point already lies in the cell; testing the other edges of
    // the half as well would, for a point on (or a rounding error outside)
    // an edge of the cell, reject the half it lies on and drift away from
    // the edge round after round.
    bisect(q, [&](Quad& s) {
        const Pt m1 = mid(s.a, s.b);
        m2 = mid(s.d, s.c);
        if (!rightOf(p, m1, m2))
            s.b = m1, s.c = m2;
        else
            s.a = m1, s.d = m2;
    });
    q = cell;
    bisect(q, [&](Quad& s) {
        n1 = mid(s.a, s.d);
        const Pt n2 = mid(s.b, s.c);
        if (!rightOf(p, n2, n1))
            s.d = n1, s.c = n2;
        else
            s.a = n1, s.b = n2;
    });
    const double outer = distance(cell.c, cell.d);
    const double side = distance(cell.d, cell.a);
    const float fh = outer > 0.0 ? static_cast<float>(distance(cell.d, m2) / outer) : 0.0f;
    const float fc = side > 0.0 ? static_cast<float>(distance(cell.a, n1) / side) : 0.0f;
    return {(static_cast<float>(k) + fh) * 2.5f, (static_cast<float>(j) + fc) * 2.0f};
}

} // namespace

bool inquad(float px, float py, float Ax, float Ay, float Bx, float By, float Cx, float Cy,
            float Dx, float Dy) {
    const auto above = [px, py](float ux, float uy, float wx, float wy) {
        return (uy - wy) * (px - ux) + (wx - ux) * (py - uy) > 0.0f;
    };
    const bool outside = above(Ax, Ay, Bx, By) || above(Bx, By, Cx, Cy) || above(Cx, Cy, Dx, Dy) ||
                         above(Dx, Dy, Ax, Ay);
    return !outside;
}

CellPosition findcell(float x, float y, std::int16_t v, const MunTable& table) {
    if (v < 0 || v >= MunTable::levelCount) return {};
    std::int16_t k = 0, j = 0;
    Pt a{whiteX, whiteY}, b{whiteX, whiteY};
    while (k != 40) {
        if (j == 0) a = b = Pt{whiteX, whiteY};
        const bool ringEnds = j + 1 >= MunTable::chromaCount || table.at(v, k, j + 1, 0) == 0 ||
                              table.at(v, k, j + 1, 1) == 0 || table.at(v, k + 1, j + 1, 0) == 0 ||
                              table.at(v, k + 1, j + 1, 1) == 0;
        if (ringEnds) {
            j = 0;
            ++k;
            continue;
        }
        const Pt d{table.x(v, k, j + 1), table.y(v, k, j + 1)};
        const Pt c{table.x(v, k + 1, j + 1), table.y(v, k + 1, j + 1)};
        if (inside({x, y}, a, b, c, d)) return {k, j};
        a = d;
        b = c;
        ++j;
    }
    return {k, j};
}

HueChroma cellsplit(float x, float y, std::int16_t v, std::int16_t k, std::int16_t j,
                    const MunTable& table) {
    return split({x, y}, Level(table, v, 0.0f).cell(k, j), k, j);
}

namespace {

// Calls visit(cell, its blended quad) in search order for every cell between
// levels lower and lower + 1 whose box holds p, until visit returns true.
template <typename Visit>
void visitBlendedCells(Pt p, const Level& level, const MunTable& table, int lower, Visit visit) {
    const auto cells = table.cells().cellsBetween(lower);
    const auto [first, last] = table.cells().candidatesBetween(p.x, p.y, lower);
    for (const std::uint16_t* i = first; i != last; ++i) {
        const CellIndex::PairCell& c = cells[*i];
        if (p.x < c.minX || p.x > c.maxX || p.y < c.minY || p.y > c.maxY) continue;
        if (visit(c, level.cell(c.k, c.j))) return;
    }
}

// The first cell between levels lower and lower + 1 that holds p, blended
// at the level's fraction.
std::optional<CellPosition> blendedCell(Pt p, const Level& level, const MunTable& table,
                                        int lower) {
    std::optional<CellPosition> found;
    visitBlendedCells(p, level, table, lower, [&](const CellIndex::PairCell& c, const Quad& q) {
        if (inside(p, q.a, q.b, q.c, q.d)) found = CellPosition{c.k, c.j};
        return found.has_value();
    });
    return found;
}

Projection project(Pt p, Pt u, Pt w) {
    return huelinx::project(p.x, p.y, u.x, u.y, w.x, w.y);
}

// How far outside the data's rim a chromaticity may lie and still count as on
// it: a tenth of the table's last digit, well above the rounding of the
// single-precision arithmetic that puts a point given on the rim just outside.
constexpr double rimTolerance = 1e-5;

// Hue and chroma of p between two levels where it lies on the rim of their
// blended data, within rimTolerance: on an edge of a blended cell, or on a
// line of one hue whose data reach beyond both its neighbours'.
std::optional<HueChroma> onBlendedRim(Pt p, const Level& level, const MunTable& table, int lower) {
    std::optional<HueChroma> best;
    double nearest = rimTolerance;
    const auto consider = [&](Projection pr, float H, float C) {
        if (pr.distance > nearest) return;
        nearest = pr.distance;
        best = HueChroma{H, C};
    };
    visitBlendedCells(p, level, table, lower, [&](const CellIndex::PairCell& c, const Quad& q) {
        const float k = c.k, j = c.j;
        const Projection ring = project(p, q.d, q.c), inner = project(p, q.a, q.b);
        const Projection left = project(p, q.a, q.d), right = project(p, q.b, q.c);
        consider(ring, (k + static_cast<float>(ring.along)) * 2.5f, (j + 1.0f) * 2.0f);
        consider(inner, (k + static_cast<float>(inner.along)) * 2.5f, j * 2.0f);
        consider(left, k * 2.5f, (j + static_cast<float>(left.along)) * 2.0f);
        consider(right, (k + 1.0f) * 2.5f, (j + static_cast<float>(right.along)) * 2.0f);
        return false;
    });
    for (const CellPosition& s : table.cells().spikesBetween(lower)) {
        const Projection line = project(p, level.at(s.k, s.j), level.at(s.k, s.j + 1));
        consider(line, static_cast<float>(s.k) * 2.5f,
                 (static_cast<float>(s.j) + static_cast<float>(line.along)) * 2.0f);
    }
    return best;
}

// Hue and chroma of p at level v of the table, given the cell that holds
// it there: in that cell, else on the data's rim.
std::optional<HueChroma> atLevel(Pt p, const MunTable& table, int v, CellPosition cell) {
    if (cell.found()) return split(p, Level(table, v, 0.0f).cell(cell.k, cell.j), cell.k, cell.j);
    if (const auto g = table.cells().nearGridLine(p.x, p.y, v, rimTolerance))
        return HueChroma{g->hueIndex * 2.5f, g->chromaIndex * 2.0f};
    return std::nullopt;
}

// Hue and chroma of p between the levels lower and lower + 1, at the
// fraction f: in the blended cell that holds it, else on the blended rim.
std::optional<HueChroma> betweenLevels(Pt p, const MunTable& table, int lower, float f) {
    const Level level(table, lower, f);
    if (const auto cell = blendedCell(p, level, table, lower))
        return split(p, level.cell(cell->k, cell->j), cell->k, cell->j);
    return onBlendedRim(p, level, table, lower);
}

// How near a level of the table a value lies when it takes that level.
constexpr float valueSnap = 1e-4f;

} // namespace

MunsellOfXyz xyz2mun(float X, float Y, float Z, const MunTable& table, const ColourSettings& s) {
    MunsellOfXyz out;
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) return out;
    const ValueOfY value = y2val(Y, s);
    const float V = value.V;
    out.V = V;
    Y = value.Y;
    const float sum = X + Y + Z;
    const float x = X / sum, y = Y / sum;
    if (sum == 0.0f || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(V)) return out;
    const Pt p{x, y};

    // The table ends at value 10: from there on the value-10 level stands alone.
    const int top = MunTable::levelCount - 1;
    const LevelPosition position = levelOf(V);
    const int lower = position.lower;
    const float f = static_cast<float>(position.f);
    const auto finish = [&out](float H, float C, MunsellFit fit) {
        out.H = wrappedHue(H);
        out.C = C;
        out.fit = fit;
        return out;
    };

    // The cells that hold the point at the two levels around its value.
    const int a = std::min(lower, top - 1);
    const CellPosition cellA = table.cells().find(x, y, a);
    const CellPosition cellB = table.cells().find(x, y, a + 1);
    const auto found = f == 0.0f ? atLevel(p, table, lower, lower == a ? cellA : cellB)
                                 : betweenLevels(p, table, lower, f);
    if (found) return finish(found->H, found->C, MunsellFit::InData);
    // A value a rounding error from a level of the table takes that level:
    // the data of the other level may end before the point.
    if (f > 0.0f && (f < valueSnap || f > 1.0f - valueSnap)) {
        const bool toLower = f < valueSnap;
        if (const auto hc = atLevel(p, table, toLower ? a : a + 1, toLower ? cellA : cellB))
            return finish(hc->H, hc->C, MunsellFit::InData);
    }

    // Off the data between the levels: each level on its own. Lying in the
    // data at one level only gives that level's notation, unblended; at both
    // (the cells between them don't hold the point), the blend of the two.
    const auto onA = atLevel(p, table, a, cellA), onB = atLevel(p, table, a + 1, cellB);
    if (onA && onB) {
        HueChroma ha = *onA, hb = *onB;
        const float w = lower == top ? 1.0f : f;
        if (std::fabs(ha.H - hb.H) > 20.0f) {
            if (ha.H >= 50.0f)
                hb.H += 100.0f;
            else
                ha.H += 100.0f;
        }
        return finish((1.0f - w) * ha.H + w * hb.H, (1.0f - w) * ha.C + w * hb.C,
                      MunsellFit::InData);
    }
    if (onA || onB) {
        const HueChroma& only = onA ? *onA : *onB;
        return finish(only.H, only.C, MunsellFit::OneLevel);
    }
    return finish(0.0f, 0.0f, MunsellFit::OutsideData);
}

} // namespace huelinx
