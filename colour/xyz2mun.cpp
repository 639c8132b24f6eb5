#include "colour/xyz2mun.h"

#include "colour/cellindex.h"
#include "colour/colorimetry.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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

Quad loadCell(const MunTable& t, int v, int k, int j) {
    return {{t.x(v, k, j), t.y(v, k, j)},
            {t.x(v, k + 1, j), t.y(v, k + 1, j)},
            {t.x(v, k + 1, j + 1), t.y(v, k + 1, j + 1)},
            {t.x(v, k, j + 1), t.y(v, k, j + 1)}};
}

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
    if (v < 0 || v >= MunTable::valueCount) return {};
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
    const Pt p{x, y};
    Pt m2{0, 0}, n1{0, 0};
    Quad q = loadCell(table, v, k, j);
    bisect(q, [&](Quad& s) {
        const Pt m1 = mid(s.a, s.b);
        m2 = mid(s.d, s.c);
        if (inside(p, s.a, m1, m2, s.d))
            s.b = m1, s.c = m2;
        else
            s.a = m1, s.d = m2;
    });
    q = loadCell(table, v, k, j);
    bisect(q, [&](Quad& s) {
        n1 = mid(s.a, s.d);
        const Pt n2 = mid(s.b, s.c);
        if (inside(p, s.a, s.b, n2, n1))
            s.d = n1, s.c = n2;
        else
            s.a = n1, s.b = n2;
    });
    q = loadCell(table, v, k, j);
    const double outer = distance(q.c, q.d);
    const double side = distance(q.d, q.a);
    const float fh = outer > 0.0 ? static_cast<float>(distance(q.d, m2) / outer) : 0.0f;
    const float fc = side > 0.0 ? static_cast<float>(distance(q.a, n1) / side) : 0.0f;
    return {(static_cast<float>(k) + fh) * 2.5f, (static_cast<float>(j) + fc) * 2.0f};
}

namespace {

struct LevelFit {
    float H = 0, C = 0;
    bool found = false;
};

LevelFit fitLevel(float x, float y, int v, const MunTable& table) {
    const CellPosition cell = table.cells().find(x, y, v);
    const HueChroma split = cellsplit(x, y, static_cast<std::int16_t>(v), cell.k, cell.j, table);
    return {split.H, split.C, cell.found()};
}

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

    // The table ends at value 10: from there on the value-10 level stands alone.
    const float top = static_cast<float>(MunTable::valueCount - 1);
    int lower = MunTable::valueCount - 2;
    float f = 1.0f;
    if (V < top) {
        lower = V > 0.0f ? static_cast<int>(std::floor(V)) : 0;
        f = V > 0.0f ? V - static_cast<float>(lower) : 0.0f;
    }

    LevelFit lo = fitLevel(x, y, lower, table);
    LevelFit hi = fitLevel(x, y, lower + 1, table);
    float H = 0, C = 0;
    out.fit = MunsellFit::InData;
    if (lo.found != hi.found) {
        // Lying in the data at one level only: that level's notation, unblended.
        const LevelFit& only = lo.found ? lo : hi;
        H = only.H;
        C = only.C;
        out.fit = MunsellFit::OneLevel;
    } else {
        if (!lo.found) out.fit = MunsellFit::OutsideData;
        C = (1.0f - f) * lo.C + f * hi.C;
        if (std::fabs(lo.H - hi.H) > 20.0f) {
            if (lo.H >= 50.0f)
                hi.H += 100.0f;
            else
                lo.H += 100.0f;
        }
        H = (1.0f - f) * lo.H + f * hi.H;
    }
    if (H >= 100.0f) H -= 100.0f;
    out.H = H;
    out.C = C;
    return out;
}

} // namespace huelinx
