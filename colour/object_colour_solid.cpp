#include "colour/object_colour_solid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace huelinx {

namespace {

using Vector = ObjectColourSolid::Vector;

// Four floats or two doubles, as one register of every vector unit the
// program is built for.
using Float4 = float __attribute__((vector_size(16)));
using Mask4 = int __attribute__((vector_size(16)));
// Faces are measured in blocks of this many (twelve vectors); blocks are
// bounded four at a time, in groups.
constexpr std::size_t blockSize = 48;
constexpr std::size_t groupBlocks = 4;
// The most blocks a solid of 81 generators has.
constexpr std::size_t mostBlocks = (81 * 80 / 2 + blockSize - 1) / blockSize;

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double length(const Vector& a) {
    return std::sqrt(dot(a, a));
}

Vector unit(Vector a) {
    const double size = length(a);
    for (double& c : a)
        c /= size;
    return a;
}

template <typename Vector, typename T> Vector load(const T* from) {
    Vector v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

Float4 all(float x) {
    return Float4{x, x, x, x};
}

// The normal turned to the side of its largest component, so that a normal
// and its opposite (one pair of faces) are one point.
void turnToLargest(Vector& n) {
    int a = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(n[i]) > std::abs(n[a])) a = i;
    if (n[a] < 0)
        for (double& c : n)
            c = -c;
}

// The direction along which the points spread most (the principal axis of
// their scatter), by power iteration.
Vector widestDirection(const std::vector<Vector>& points, std::size_t first, std::size_t end) {
    Vector mean{};
    for (std::size_t f = first; f < end; ++f)
        for (int c = 0; c < 3; ++c)
            mean[c] += points[f][c] / double(end - first);
    std::array<Vector, 3> scatter{};
    for (std::size_t f = first; f < end; ++f)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                scatter[i][j] += (points[f][i] - mean[i]) * (points[f][j] - mean[j]);
    Vector direction{1, 1, 1};
    for (int step = 0; step < 50; ++step) {
        const Vector next{dot(scatter[0], direction), dot(scatter[1], direction),
                          dot(scatter[2], direction)};
        if (!(length(next) > 0)) break;
        direction = unit(next);
    }
    return direction;
}

// The index of the largest of four.
int largestLane(Float4 v) {
    int at = 0;
    for (int lane = 1; lane < 4; ++lane)
        if (v[lane] > v[at]) at = lane;
    return at;
}

} // namespace

ObjectColourSolid::ObjectColourSolid(const photo::Spectrum& light,
                                     const ObserverFunctions& observer) {
    double whiteY = 0;
    for (int i = 0; i < photo::spectralCount; ++i)
        whiteY += light[i] * observer.y[i];
    const double k = whiteY > 0 ? 100.0 / whiteY : 0.0;
    for (int i = 0; i < photo::spectralCount; ++i) {
        const double s = k * light[i];
        generators_.push_back({s * observer.x[i], s * observer.y[i], s * observer.z[i]});
        for (int c = 0; c < 3; ++c)
            white_[c] += generators_.back()[c];
    }
    // Every pair of generators that spans a plane gives a pair of faces.
    for (std::size_t i = 0; i < generators_.size(); ++i)
        for (std::size_t j = i + 1; j < generators_.size(); ++j) {
            Vector n = cross(generators_[i], generators_[j]);
            const double size = length(n);
            if (!(size > 1e-12 * length(generators_[i]) * length(generators_[j]))) continue;
            for (double& c : n)
                c /= size;
            double sum = 0;
            for (const Vector& g : generators_)
                sum += std::abs(dot(n, g));
            turnToLargest(n);
            everyNormal_.push_back(n);
            everyHalfWidth_.push_back(sum / 2);
        }
    keepDistinctPlanes();
    orderFaces(0, normals_.size());
    makeBlocks();
}

// Faces in the same plane are measured once. Generators in one plane through
// black give as many pairs of faces in one pair of planes: z-bar is 0 from
// 650 nm on (10 degree observer: from 560 nm on), and the 351 pairs of those
// 27 generators (990 of 45) all have the normal (0, 0, 1) and one half width.
void ObjectColourSolid::keepDistinctPlanes() {
    std::vector<std::array<double, 4>> planes;
    for (std::size_t f = 0; f < everyNormal_.size(); ++f)
        planes.push_back(
            {everyNormal_[f][0], everyNormal_[f][1], everyNormal_[f][2], everyHalfWidth_[f]});
    std::sort(planes.begin(), planes.end());
    planes.erase(std::unique(planes.begin(), planes.end()), planes.end());
    for (const auto& [x, y, z, w] : planes) {
        normals_.push_back({x, y, z});
        halfWidths_.push_back(w);
    }
}

// Orders faces [first, end) so that each group, and each block of a group,
// holds neighbouring normals: split across the direction the normals spread
// most, at a whole group near the middle, down to blocks.
void ObjectColourSolid::orderFaces(std::size_t first, std::size_t end) {
    if (end - first <= blockSize) return;
    const std::size_t part =
        end - first > groupBlocks * blockSize ? groupBlocks * blockSize : blockSize;
    const std::size_t parts = (end - first + part - 1) / part;
    const std::size_t middle = first + parts / 2 * part;
    // The faces before the middle are those furthest back along the widest
    // direction (ties by place, so the split is the same every time).
    const Vector widest = widestDirection(normals_, first, end);
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t f = first; f < end; ++f)
        order.emplace_back(dot(normals_[f], widest), f);
    std::nth_element(order.begin(), order.begin() + long(middle - first), order.end());
    std::vector<Vector> n;
    std::vector<double> w;
    for (const auto& [along, f] : order) {
        n.push_back(normals_[f]);
        w.push_back(halfWidths_[f]);
    }
    std::copy(n.begin(), n.end(), normals_.begin() + long(first));
    std::copy(w.begin(), w.end(), halfWidths_.begin() + long(first));
    orderFaces(first, middle);
    orderFaces(middle, end);
}

void ObjectColourSolid::makeBlocks() {
    for (std::size_t f = 0; f < normals_.size(); ++f) {
        nx_.push_back(float(normals_[f][0]));
        ny_.push_back(float(normals_[f][1]));
        nz_.push_back(float(normals_[f][2]));
        w_.push_back(float(halfWidths_[f]));
    }
    // The padding: a face no point reaches.
    while (nx_.size() % blockSize != 0) {
        nx_.push_back(0);
        ny_.push_back(0);
        nz_.push_back(0);
        w_.push_back(std::numeric_limits<float>::max());
    }
    for (std::size_t first = 0; first < normals_.size(); first += blockSize)
        addBox(blockBoxes_, first, std::min(normals_.size(), first + blockSize));
    for (std::size_t first = 0; first < normals_.size(); first += groupBlocks * blockSize)
        addBox(groupBoxes_, first, std::min(normals_.size(), first + groupBlocks * blockSize));
    blockCount_ = blockBoxes_.base.size();
    groupCount_ = groupBoxes_.base.size();
    // Runs that bound nothing fill the last vector.
    for (BoxColumns* boxes : {&blockBoxes_, &groupBoxes_})
        while (boxes->base.size() % 4 != 0) {
            for (std::vector<float>& axis : boxes->axes)
                axis.push_back(0);
            for (int k = 0; k < 3; ++k) {
                boxes->low[k].push_back(0);
                boxes->high[k].push_back(0);
                boxes->alongVertex[k].push_back(0);
            }
            boxes->base.push_back(std::numeric_limits<float>::max());
        }
}

// The oriented box of the normals of faces [first, end): e_1 their mean
// direction, e_2 and e_3 the directions across it along which they spread
// most and least.
void ObjectColourSolid::addBox(BoxColumns& boxes, std::size_t first, std::size_t end) {
    Vector mean{};
    for (std::size_t f = first; f < end; ++f)
        for (int c = 0; c < 3; ++c)
            mean[c] += normals_[f][c];
    const Vector e1 = unit(mean);
    const Vector u = unit(cross(e1, std::abs(e1[0]) < 0.9 ? Vector{1, 0, 0} : Vector{0, 1, 0}));
    const Vector v = cross(e1, u);
    double uu = 0, uv = 0, vv = 0;
    for (std::size_t f = first; f < end; ++f) {
        const double a = dot(normals_[f], u), b = dot(normals_[f], v);
        uu += a * a;
        uv += a * b;
        vv += b * b;
    }
    const double turn = 0.5 * std::atan2(2 * uv, uu - vv);
    Vector e2;
    for (int c = 0; c < 3; ++c)
        e2[c] = std::cos(turn) * u[c] + std::sin(turn) * v[c];
    const std::array<Vector, 3> axes{e1, e2, cross(e1, e2)};
    Vector vertex{};
    for (const Vector& g : generators_)
        for (int c = 0; c < 3; ++c)
            vertex[c] += (dot(e1, g) > 0 ? 0.5 : -0.5) * g[c];
    for (int k = 0; k < 3; ++k) {
        double low = 2, high = -2;
        for (std::size_t f = first; f < end; ++f) {
            low = std::min(low, dot(normals_[f], axes[k]));
            high = std::max(high, dot(normals_[f], axes[k]));
        }
        for (int c = 0; c < 3; ++c)
            boxes.axes[3 * k + c].push_back(float(axes[k][c]));
        // A little wider than measured, so rounding never leaves a normal out.
        boxes.low[k].push_back(float(low - 1e-6));
        boxes.high[k].push_back(float(high + 1e-6));
        boxes.alongVertex[k].push_back(float(dot(axes[k], vertex)));
    }
    boxes.base.push_back(0);
}

float ObjectColourSolid::blockMost(std::size_t block, float qx, float qy, float qz) const {
    const Float4 x = all(qx), y = all(qy), z = all(qz);
    Float4 m = all(-std::numeric_limits<float>::max());
    for (std::size_t f = block * blockSize; f < (block + 1) * blockSize; f += 4) {
        const Float4 v =
            load<Float4>(&nx_[f]) * x + load<Float4>(&ny_[f]) * y + load<Float4>(&nz_[f]) * z;
        const Float4 d = (v < 0 ? -v : v) - load<Float4>(&w_[f]);
        m = d > m ? d : m;
    }
    return std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
}

// The largest excess in double over the faces of a block whose excess in
// single precision (computed as blockMost does) is at least `least`.
double ObjectColourSolid::excessNear(std::size_t block, const Vector& q, float least) const {
    const Float4 x = all(float(q[0])), y = all(float(q[1])), z = all(float(q[2]));
    double most = -std::numeric_limits<double>::infinity();
    for (std::size_t f = block * blockSize; f < (block + 1) * blockSize; f += 4) {
        const Float4 v =
            load<Float4>(&nx_[f]) * x + load<Float4>(&ny_[f]) * y + load<Float4>(&nz_[f]) * z;
        const Mask4 near = (v < 0 ? -v : v) - load<Float4>(&w_[f]) >= least;
        for (std::size_t lane = 0; lane < 4; ++lane)
            if (near[lane] && f + lane < normals_.size())
                most = std::max(most, std::abs(dot(normals_[f + lane], q)) - halfWidths_[f + lane]);
    }
    return most;
}

namespace {

// For four runs of faces (blocks or groups) from `at`, a bound on the excess
// of their faces over q, and a guess of it from the first axis alone. A face
// of normal n has half width w >= n.v and w >= -n.v (v is in the solid and
// the solid is symmetric), so its faces' excess n.q - w and -n.q - w is at
// most n.(q - v) or n.(-q - v); over the box, n.d is at most the sum over
// the axes of max(low_k t_k, high_k t_k) for t_k = e_k.d.
template <typename Boxes>
[[gnu::always_inline]] inline Float4 boxBound(const Boxes& k, std::size_t at, Float4 x, Float4 y,
                                              Float4 z, Float4& guess) {
    Float4 plus = -load<Float4>(&k.base[at]), minus = plus;
    for (std::size_t a = 0; a < 3; ++a) {
        const Float4 t = load<Float4>(&k.axes[3 * a][at]) * x +
                         load<Float4>(&k.axes[3 * a + 1][at]) * y +
                         load<Float4>(&k.axes[3 * a + 2][at]) * z;
        const Float4 along = load<Float4>(&k.alongVertex[a][at]);
        const Float4 tPlus = t - along, tMinus = -t - along;
        if (a == 0) guess = (tPlus > tMinus ? tPlus : tMinus) - load<Float4>(&k.base[at]);
        const Float4 low = load<Float4>(&k.low[a][at]), high = load<Float4>(&k.high[a][at]);
        const Float4 lp = low * tPlus, hp = high * tPlus, lm = low * tMinus, hm = high * tMinus;
        plus += lp > hp ? lp : hp;
        minus += lm > hm ? lm : hm;
    }
    return plus > minus ? plus : minus;
}

} // namespace

MacAdamCheck ObjectColourSolid::check(double X, double Y, double Z) const {
    const Vector q{X - white_[0] / 2, Y - white_[1] / 2, Z - white_[2] / 2};
    const double size = std::abs(q[0]) + std::abs(q[1]) + std::abs(q[2]);
    // Infinite X, Y, Z are beyond every face; not a number is beyond none.
    if (std::isnan(size)) return {false, size};
    if (std::isinf(size)) return {false, std::numeric_limits<double>::infinity()};
    // Beyond single precision: measured in double alone.
    if (size > 1e30 || blockCount_ == 0) {
        const double excess = excessOverEveryFace(X, Y, Z);
        return {excess <= macAdamTolerance, excess};
    }
    const float qx = float(q[0]), qy = float(q[1]), qz = float(q[2]);
    const Float4 x = all(qx), y = all(qy), z = all(qz);
    // Every group's bound, and the group whose first axis goes furthest
    // beyond the solid...
    std::array<float, mostBlocks / groupBlocks + 8> groupBound;
    Float4 guess, best = all(-std::numeric_limits<float>::max());
    Mask4 bestIndex = {0, 0, 0, 0}, index = {0, 1, 2, 3};
    for (std::size_t g = 0; g < groupBoxes_.base.size(); g += 4, index += 4) {
        const Float4 bound = boxBound(groupBoxes_, g, x, y, z, guess);
        std::memcpy(&groupBound[g], &bound, sizeof bound);
        const Mask4 better = guess > best;
        best = better ? guess : best;
        bestIndex = better ? index : bestIndex;
    }
    // ...whose block guessed the same way is measured first...
    const std::size_t firstGroup = std::size_t(bestIndex[largestLane(best)]);
    (void)boxBound(blockBoxes_, groupBlocks * firstGroup, x, y, z, guess);
    const std::size_t first = groupBlocks * firstGroup + std::size_t(largestLane(guess));
    std::array<float, mostBlocks + 4> most;
    std::array<std::size_t, mostBlocks + 4> measured;
    std::size_t measuredCount = 0;
    most[first] = blockMost(first, qx, qy, qz);
    measured[measuredCount++] = first;
    float largest = most[first];
    // Single precision is out by far less than this (a few units in the last
    // place of |q| and of the half widths, about 100).
    const float rounding = 1e-6f * float(size + 200);
    // ...then every group, and every block of it, whose bound could beat the
    // largest excess found. The bounds in single precision are lowered by ten
    // times their rounding and more.
    const float margin = 2e-5f * float(size + 200);
    for (std::size_t g = 0; g < groupCount_; ++g) {
        if (groupBound[g] < largest - 4 * rounding - margin) continue;
        std::array<float, 4> blockBound;
        const Float4 bound = boxBound(blockBoxes_, groupBlocks * g, x, y, z, guess);
        std::memcpy(&blockBound, &bound, sizeof bound);
        for (std::size_t i = 0; i < groupBlocks; ++i) {
            const std::size_t b = groupBlocks * g + i;
            if (b == first || b >= blockCount_ || blockBound[i] < largest - 4 * rounding - margin)
                continue;
            most[b] = blockMost(b, qx, qy, qz);
            measured[measuredCount++] = b;
            largest = std::max(largest, most[b]);
        }
    }
    // The faces within twice the rounding of the largest, again in double.
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < measuredCount; ++i)
        if (const std::size_t b = measured[i]; most[b] >= largest - 2 * rounding)
            excess = std::max(excess, excessNear(b, q, largest - 2 * rounding));
    return {excess <= macAdamTolerance, excess};
}

double ObjectColourSolid::excessOverEveryFace(double X, double Y, double Z) const {
    const Vector q{X - white_[0] / 2, Y - white_[1] / 2, Z - white_[2] / 2};
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t f = 0; f < everyNormal_.size(); ++f)
        excess = std::max(excess, std::abs(dot(everyNormal_[f], q)) - everyHalfWidth_[f]);
    return excess;
}

std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables, std::string_view illuminant,
                                         int degrees) {
    const photo::Spectrum* light = tables.illuminant(illuminant);
    const ObserverFunctions* observer = tables.observer(degrees);
    if (!light || !observer) return std::nullopt;
    return ObjectColourSolid(*light, *observer);
}

std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables, Illuminant illuminant) {
    return solidOf(tables, illuminantName(illuminant), observerDegrees(illuminant));
}

} // namespace huelinx
