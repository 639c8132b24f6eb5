#include "colour/xyz2mun.h"

#include "colour/cellindex.h"
#include "colour/colorimetry.h"
#include "colour/mun2xyz.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace huelinx {

namespace {

struct Pt {
    double x, y;
};

Pt operator+(Pt a, Pt b) {
    return {a.x + b.x, a.y + b.y};
}
Pt operator-(Pt a, Pt b) {
    return {a.x - b.x, a.y - b.y};
}
Pt operator*(Pt a, double f) {
    return {a.x * f, a.y * f};
}
double cross(Pt a, Pt b) {
    return a.x * b.y - a.y * b.x;
}

struct Quad {
    Pt a, b, c, d;
};

// Whether p lies to the right of the directed line u to w (the outer side of
// an edge of a clockwise cell); a point on the line is not.
bool rightOf(Pt p, Pt u, Pt w) {
    return (u.y - w.y) * (p.x - u.x) + (w.x - u.x) * (p.y - u.y) > 0.0;
}

// Same rule as inquad, in double precision.
bool inside(Pt p, const Quad& q) {
    return !(rightOf(p, q.a, q.b) || rightOf(p, q.b, q.c) || rightOf(p, q.c, q.d) ||
             rightOf(p, q.d, q.a));
}

double distance(Pt a, Pt b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The chromaticities of the table at level v, or, with f above 0, at the
// value f of the way to level v + 1: each grid point on the straight line
// from its place at v to its place at v + 1, in double precision from the
// same entries the Munsell-to-CIE interpolation reads. So a cell of this
// level maps hue and chroma exactly as that interpolation does.
class Level {
  public:
    Level(const MunTable& table, int v, double f) : t_(table), v_(v), f_(f) {}

    Pt at(int k, int j) const {
        const Pt p{t_.exactX(v_, k, j), t_.exactY(v_, k, j)};
        if (f_ == 0.0) return p;
        const Pt q{t_.exactX(v_ + 1, k, j), t_.exactY(v_ + 1, k, j)};
        return {p.x + (q.x - p.x) * f_, p.y + (q.y - p.y) * f_};
    }
    Quad cell(int k, int j) const {
        return {at(k, j), at(k + 1, j), at(k + 1, j + 1), at(k, j + 1)};
    }
    // Whether the Munsell-to-CIE interpolation has all corners of cell
    // (k, j) at this value: at level v and, between levels, at v + 1 too.
    bool holds(int k, int j) const {
        if (k < 0 || k >= MunTable::fileHues || j < 0 || j + 1 >= MunTable::chromaCount)
            return false;
        for (int v = v_; v <= v_ + (f_ > 0.0 ? 1 : 0); ++v)
            for (int dk = 0; dk < 2; ++dk)
                for (int dj = 0; dj < 2; ++dj)
                    if (t_.at(v, k + dk, j + dj, 0) == 0) return false;
        return true;
    }

  private:
    const MunTable& t_;
    int v_;
    double f_;
};

// A place in a cell: hue index k + fh, chroma index j + fc.
struct CellPoint {
    int k = 0, j = 0;
    double fh = 0.5, fc = 0.5;
    HueChroma hueChroma() const { return {(k + fh) * 2.5, (j + fc) * 2.0}; }
};

// The cell's bilinear map: fh runs along the hue (A to B), fc along the
// chroma (A to D), as the Munsell-to-CIE interpolation blends the corners.
Pt mapped(const Quad& q, double fh, double fc) {
    return (q.a * (1.0 - fh) + q.b * fh) * (1.0 - fc) + (q.d * (1.0 - fh) + q.c * fh) * fc;
}

// How far (fh, fc) lies outside the cell's square.
double outside(double fh, double fc) {
    return std::max({0.0, -fh, fh - 1.0, -fc, fc - 1.0});
}

// A start for Newton: the bilinear map's inverse in closed form, the root of
// a quadratic in fc nearest the cell (its rounding the Newton steps remove).
void closedForm(Pt p, const Quad& q, double& fh, double& fc) {
    const Pt e = q.b - q.a, f = q.d - q.a, g = q.a - q.b + q.c - q.d, h = p - q.a;
    const double k2 = cross(g, f), k1 = cross(e, f) + cross(h, g), k0 = cross(h, e);
    double roots[2] = {NAN, NAN};
    if (std::fabs(k2) <= 1e-12 * std::fabs(k1)) {
        roots[0] = -k0 / k1;
    } else {
        const double w = std::sqrt(std::max(0.0, k1 * k1 - 4.0 * k0 * k2));
        const double s = -0.5 * (k1 + std::copysign(w, k1));
        roots[0] = s / k2;
        roots[1] = k0 / s;
    }
    double best = 0.5;
    fh = fc = 0.5;
    for (const double v : roots) {
        const Pt den = e + g * v;
        const double u =
            std::fabs(den.x) > std::fabs(den.y) ? (h.x - f.x * v) / den.x : (h.y - f.y * v) / den.y;
        if (!std::isfinite(u) || !std::isfinite(v) || outside(u, v) >= best) continue;
        best = outside(u, v);
        fh = u;
        fc = v;
    }
}

// Newton steps on the cell's bilinear map from (fh, fc) until a step is
// below 1e-15. False where the map is singular (the white corner of the
// innermost ring) or the steps diverge.
bool newton(Pt p, const Quad& q, double& fh, double& fc) {
    for (int step = 0; step < 8; ++step) {
        const Pt r = mapped(q, fh, fc) - p;
        const Pt dh = (q.b - q.a) * (1.0 - fc) + (q.c - q.d) * fc;
        const Pt dc = (q.d - q.a) * (1.0 - fh) + (q.c - q.b) * fh;
        const double det = cross(dh, dc);
        if (!(std::fabs(det) > 1e-300)) return false;
        const double sh = cross(r, dc) / det, sc = cross(dh, r) / det;
        fh -= sh;
        fc -= sc;
        if (!std::isfinite(fh) || !std::isfinite(fc) || outside(fh, fc) > 4.0) return false;
        if (std::fabs(sh) + std::fabs(sc) <= 1e-15) break;
    }
    return true;
}

// One way of bisecting a cell: the line joining the midpoints of edges
// (from1, to1) and (from2, to2) divides it, and the half on p's side of the
// line (taken from the first midpoint, or from the second when `fromSecond`)
// is kept, until the first edge stops moving in double precision (at most
// 60 rounds). Returns the last two midpoints.
using Corner = Pt Quad::*;
std::pair<Pt, Pt> halve(Pt p, Quad q, Corner from1, Corner to1, Corner from2, Corner to2,
                        bool fromSecond) {
    const auto mid = [](Pt a, Pt b) { return (a + b) * 0.5; };
    Pt m1 = q.*from1, m2 = q.*from2;
    for (int i = 0; i < 60; ++i) {
        m1 = mid(q.*from1, q.*to1);
        m2 = mid(q.*from2, q.*to2);
        const Pt before1 = q.*from1, before2 = q.*to1;
        if (!(fromSecond ? rightOf(p, m2, m1) : rightOf(p, m1, m2)))
            q.*to1 = m1, q.*to2 = m2;
        else
            q.*from1 = m1, q.*from2 = m2;
        if ((q.*from1).x == before1.x && (q.*to1).x == before2.x && (q.*from1).y == before1.y &&
            (q.*to1).y == before2.y)
            break;
    }
    return {m1, m2};
}

// Bisection of the cell for where Newton can't go: across the hue (lines of
// one fh of the bilinear map) and across the chroma (lines of one fc), so the
// last midpoints give fh and fc.
void bisect(Pt p, const Quad& cell, double& fh, double& fc) {
    const Pt m2 = halve(p, cell, &Quad::a, &Quad::b, &Quad::d, &Quad::c, false).second;
    const Pt n1 = halve(p, cell, &Quad::a, &Quad::d, &Quad::b, &Quad::c, true).first;
    const double outer = distance(cell.c, cell.d), side = distance(cell.d, cell.a);
    fh = outer > 0.0 ? distance(cell.d, m2) / outer : 0.0;
    fc = side > 0.0 ? distance(cell.a, n1) / side : 0.0;
}

// When a Newton solution lies outside its cell: moves to the neighbouring
// cell on that side if the data hold it (across 10RP around the circle).
bool moveToNeighbour(CellPoint& at, const Level& level) {
    constexpr double slack = 1e-12;
    const int hues = MunTable::fileHues;
    if (at.fc > 1.0 + slack && level.holds(at.k, at.j + 1)) {
        ++at.j, at.fc -= 1.0;
    } else if (at.fc < -slack && level.holds(at.k, at.j - 1)) {
        --at.j, at.fc += 1.0;
    } else if (at.fh > 1.0 + slack && level.holds((at.k + 1) % hues, at.j)) {
        at.k = (at.k + 1) % hues, at.fh -= 1.0;
    } else if (at.fh < -slack && level.holds((at.k + hues - 1) % hues, at.j)) {
        at.k = (at.k + hues - 1) % hues, at.fh += 1.0;
    } else {
        return false;
    }
    at.fh = std::clamp(at.fh, 0.0, 1.0);
    at.fc = std::clamp(at.fc, 0.0, 1.0);
    return true;
}

// Places p in cell `at` of `level`: Newton on the cell's bilinear map from
// its closed-form inverse; a solution outside the cell moves on to the
// neighbouring cell where the data hold one (with `mayMove`), else stays on
// the cell's edge. Bisection where Newton can't go, or with `bisectOnly`.
CellPoint place(Pt p, const Level& level, CellPoint at, bool mayMove, bool bisectOnly = false) {
    Quad q = level.cell(at.k, at.j);
    if (bisectOnly) {
        bisect(p, q, at.fh, at.fc);
        return at;
    }
    closedForm(p, q, at.fh, at.fc);
    for (int moves = 0;; ++moves) {
        if (!newton(p, q, at.fh, at.fc)) {
            bisect(p, q, at.fh, at.fc);
            return at;
        }
        if (!mayMove || outside(at.fh, at.fc) == 0.0 || moves == 6 || !moveToNeighbour(at, level))
            break;
        q = level.cell(at.k, at.j);
    }
    at.fh = std::clamp(at.fh, 0.0, 1.0);
    at.fc = std::clamp(at.fc, 0.0, 1.0);
    return at;
}

Projection project(Pt p, Pt u, Pt w) {
    return huelinx::project(p.x, p.y, u.x, u.y, w.x, w.y);
}

// How far outside the data's rim a chromaticity may lie and still count as on
// it: a tenth of the table's last digit, well above the rounding of a sample
// given by rounded numbers on the rim.
constexpr double rimTolerance = 1e-5;

// A place found at a value: in a cell, on the data's rim (the nearest point
// of an edge, or of a line of one hue whose data reach beyond both its
// neighbours'), or both: a rim point settled into the cell of its edge.
struct Found {
    HueChroma hc;
    std::optional<CellPoint> cell;
    std::optional<HueChroma> rim;
};

// Hue and chroma of p on the rim of the level's data, within rimTolerance:
// on an edge of a cell, or on a line of one hue whose data reach beyond both
// its neighbours'; then settled into the cell on that edge, if any.
std::optional<Found> onRim(Pt p, const Level& level, std::optional<HueChroma> nearest) {
    if (!nearest) return std::nullopt;
    const double hh = nearest->H / 2.5, cc = nearest->C / 2.0;
    const int k = std::min(static_cast<int>(hh), MunTable::fileHues - 1);
    const int j = static_cast<int>(cc);
    for (const auto& [dk, dj] : {std::pair{0, 0}, {0, -1}, {-1, 0}, {-1, -1}}) {
        if (!level.holds(k + dk, j + dj)) continue;
        const CellPoint at = place(p, level, {k + dk, j + dj}, true);
        return Found{at.hueChroma(), at, nearest};
    }
    return Found{*nearest, std::nullopt, std::nullopt};
}

// The nearest point, within rimTolerance, of the edges of the cells between
// levels lower and lower + 1 and of the lines of one hue that both levels
// have but no such cell has as an edge, blended at the level's fraction.
std::optional<HueChroma> nearestOnBlendedRim(Pt p, const Level& level, const MunTable& table,
                                             int lower) {
    std::optional<HueChroma> best;
    double nearest = rimTolerance;
    const auto consider = [&](Projection pr, double H, double C) {
        if (pr.distance > nearest) return;
        nearest = pr.distance;
        best = HueChroma{H, C};
    };
    const auto cells = table.cells().cellsBetween(lower);
    const auto [first, last] =
        table.cells().candidatesBetween(static_cast<float>(p.x), static_cast<float>(p.y), lower);
    for (const std::uint16_t* i = first; i != last; ++i) {
        const CellIndex::PairCell& c = cells[*i];
        const Quad q = level.cell(c.k, c.j);
        const double k = c.k, j = c.j;
        const Projection ring = project(p, q.d, q.c), inner = project(p, q.a, q.b);
        const Projection left = project(p, q.a, q.d), right = project(p, q.b, q.c);
        consider(ring, (k + ring.along) * 2.5, (j + 1.0) * 2.0);
        consider(inner, (k + inner.along) * 2.5, j * 2.0);
        consider(left, k * 2.5, (j + left.along) * 2.0);
        consider(right, (k + 1.0) * 2.5, (j + right.along) * 2.0);
    }
    for (const CellPosition& s : table.cells().spikesBetween(lower)) {
        const Projection line = project(p, level.at(s.k, s.j), level.at(s.k, s.j + 1));
        consider(line, s.k * 2.5, (s.j + line.along) * 2.0);
    }
    return best;
}

// p at level v of the table: in the cell that holds it, else on the rim.
std::optional<Found> atLevel(Pt p, const MunTable& table, int v) {
    const Level level(table, v, 0.0);
    const CellPosition cell =
        table.cells().find(static_cast<float>(p.x), static_cast<float>(p.y), v);
    if (cell.found()) {
        const CellPoint at = place(p, level, {cell.k, cell.j}, true);
        return Found{at.hueChroma(), at, std::nullopt};
    }
    const auto g = table.cells().nearGridLine(static_cast<float>(p.x), static_cast<float>(p.y), v,
                                              rimTolerance);
    if (!g) return std::nullopt;
    return onRim(p, level, HueChroma{g->hueIndex * 2.5, g->chromaIndex * 2.0});
}

// p between the levels lower and lower + 1, at the fraction f: in the first
// blended cell (in search order) that holds it, else on the blended rim.
std::optional<Found> betweenLevels(Pt p, const MunTable& table, int lower, double f) {
    const Level level(table, lower, f);
    const auto cells = table.cells().cellsBetween(lower);
    const auto [first, last] =
        table.cells().candidatesBetween(static_cast<float>(p.x), static_cast<float>(p.y), lower);
    for (const std::uint16_t* i = first; i != last; ++i) {
        const CellIndex::PairCell& c = cells[*i];
        if (p.x < c.minX || p.x > c.maxX || p.y < c.minY || p.y > c.maxY) continue;
        if (!inside(p, level.cell(c.k, c.j))) continue;
        const CellPoint at = place(p, level, {c.k, c.j}, true);
        return Found{at.hueChroma(), at, std::nullopt};
    }
    return onRim(p, level, nearestOnBlendedRim(p, level, table, lower));
}

// The sample the search places, and how its notation is checked: the
// forward conversion (under illuminant C, with the sample's PWD setting) of
// a notation is compared with the sample's X, Y, Z.
struct Sample {
    double X, Y, Z;
    const MunTable& table;
    ColourSettings c;

    // max |dX_i| / max(X, Y, Z); infinity when the forward conversion
    // refuses the notation. From value 10 on, where the forward conversion
    // stays at value 10, the sample is taken at value 10's luminance.
    double residual(double H, double V, double C) const {
        const CieOfMunsell f = mun2xyz(H, V, C, table, c);
        if (f.status != MunsellToCie::Ok) return std::numeric_limits<double>::infinity();
        const double scale = V > 10.0 ? f.Y / Y : 1.0;
        const double dX = std::fabs(f.X - X * scale), dY = std::fabs(f.Y - Y * scale),
                     dZ = std::fabs(f.Z - Z * scale);
        return std::max({dX, dY, dZ}) / (std::max({X, Y, Z}) * scale);
    }
};

// The relative residual Newton is to reach.
constexpr double refined = 1e-7;

double wrapped(double hue) {
    return hue >= 100.0 ? hue - 100.0 : hue;
}

// The notation of a place found at value V, checked by the forward
// conversion. One that misses `refined` is compared with the cell's
// bisection and the rim's nearest point, and the nearest of them kept (a
// cell that isn't convex can send Newton off the point's edge). OutsideData
// where the forward conversion refuses it.
MunsellOfXyz checked(const Found& found, double V, Pt p, const Level& level, const Sample& sample) {
    MunsellOfXyz out;
    out.V = V;
    HueChroma hc{wrapped(found.hc.H), found.hc.C};
    double residual = sample.residual(hc.H, V, hc.C);
    const auto consider = [&](HueChroma other) {
        other.H = wrapped(other.H);
        const double r = sample.residual(other.H, V, other.C);
        if (r < residual) hc = other, residual = r;
    };
    if (residual > refined && found.rim) consider(*found.rim);
    if (residual > refined && found.cell)
        consider(place(p, level, *found.cell, false, true).hueChroma());
    if (!std::isfinite(residual)) {
        out.fit = MunsellFit::OutsideData;
        return out;
    }
    out.fit = MunsellFit::InData;
    out.H = hc.H;
    out.C = hc.C;
    out.residual = residual;
    return out;
}

// How far a value may lie from a level and still take the level's notation
// when the blended levels don't reach the colour: half the last digit the
// value is shown with. The data print Y to two or four decimals, which puts
// their own points at value 3 about 0.0011 below their level.
constexpr double levelSnap = 0.005;

// The notation at the level nearest V, for a colour within levelSnap of it
// that the level's data hold but the blend with the next level doesn't: the
// data's own points at a level's rim. Its value is the level's, so the
// forward conversion takes it; its residual says how far the Y is off.
std::optional<MunsellOfXyz> atNearLevel(Pt p, double V, LevelPosition at, const Sample& sample) {
    if (at.f == 0.0) return std::nullopt;
    const int level = at.f < 0.5 ? at.lower : at.lower + 1;
    if (level >= MunTable::levelCount) return std::nullopt;
    const double levelValue = MunTable::levelValue[level];
    if (std::fabs(V - levelValue) > levelSnap) return std::nullopt;
    const auto found = atLevel(p, sample.table, level);
    if (!found) return std::nullopt;
    const MunsellOfXyz fit =
        checked(*found, levelValue, p, Level(sample.table, level, 0.0), sample);
    if (fit.fit != MunsellFit::InData) return std::nullopt;
    return fit;
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
    float ax = whiteX, ay = whiteY, bx = whiteX, by = whiteY;
    while (k != 40) {
        if (j == 0) ax = bx = whiteX, ay = by = whiteY;
        const bool ringEnds = j + 1 >= MunTable::chromaCount || table.at(v, k, j + 1, 0) == 0 ||
                              table.at(v, k, j + 1, 1) == 0 || table.at(v, k + 1, j + 1, 0) == 0 ||
                              table.at(v, k + 1, j + 1, 1) == 0;
        if (ringEnds) {
            j = 0;
            ++k;
            continue;
        }
        const float dx = table.x(v, k, j + 1), dy = table.y(v, k, j + 1);
        const float cx = table.x(v, k + 1, j + 1), cy = table.y(v, k + 1, j + 1);
        if (inquad(x, y, ax, ay, bx, by, cx, cy, dx, dy)) return {k, j};
        ax = dx, ay = dy, bx = cx, by = cy;
        ++j;
    }
    return {k, j};
}

HueChroma cellsplit(double x, double y, std::int16_t v, std::int16_t k, std::int16_t j,
                    const MunTable& table) {
    return place({x, y}, Level(table, v, 0.0), {k, j}, false).hueChroma();
}

MunsellOfXyz xyz2mun(double X, double Y, double Z, const MunTable& table, const ColourSettings& s) {
    MunsellOfXyz out;
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) return out;
    const ValueOfY value = y2val(Y, s);
    const double V = value.V;
    out.V = V;
    Y = value.Y;
    const double sum = X + Y + Z;
    const Pt p{X / sum, Y / sum};
    if (sum == 0.0 || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(V)) return out;
    ColourSettings c = s;
    c.illuminant = Illuminant::C;
    const Sample sample{X, Y, Z, table, c};

    // A value whose level's luminance gives the sample's Y to the residual
    // Newton reaches takes that level, whose data are whole there (between
    // two levels only the cells both have are blended).
    LevelPosition at = levelOf(V);
    double atV = V;
    const double tolerance = refined * std::max({X, Y, Z});
    for (const int level : {at.lower, at.lower + 1}) {
        if (at.f == 0.0 || level >= MunTable::levelCount) break;
        if (std::fabs(val2y(MunTable::levelValue[level], s) - Y) > tolerance) continue;
        at = {level, 0.0};
        atV = MunTable::levelValue[level];
        break;
    }
    const Level level(table, at.lower, at.f);
    const auto found =
        at.f == 0.0 ? atLevel(p, table, at.lower) : betweenLevels(p, table, at.lower, at.f);
    if (found) {
        const MunsellOfXyz fit = checked(*found, atV, p, level, sample);
        if (fit.fit == MunsellFit::InData) return fit;
    }
    if (const auto snapped = atNearLevel(p, V, at, sample)) return *snapped;
    // No notation at the sample's value converts to it: the data of the two
    // levels around it, blended, don't reach it.
    out.fit = MunsellFit::OutsideData;
    return out;
}

} // namespace huelinx
