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
using Double2 = double __attribute__((vector_size(16)));
using Mask2 = long long __attribute__((vector_size(16)));
// Faces are measured in blocks of this many (eight vectors).
constexpr std::size_t blockSize = 32;
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

template <typename Vector, typename T> Vector load(const T* from) {
    Vector v;
    std::memcpy(&v, from, sizeof v);
    return v;
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

// For two blocks at once, whether some unit normal n of the cone (axis a,
// cos c) gives n.p above `level`, for `along` = a.p and p2 = p.p: the
// largest n.p is |p| when p is within the cone, else (a.p) c + |p x a| s.
// Decided without a square root.
Mask2 coneReaches(Double2 along, Double2 p2, Double2 c, Double2 c2, Double2 s2, Double2 level) {
    const Mask2 inCone = (along >= 0) & (along * along >= p2 * c2);
    const Mask2 reachesAll = (level < 0) | (p2 > level * level);
    const Double2 rest = level - along * c; // needed from |p x a| s
    const Mask2 reachesEdge = (rest < 0) | ((p2 - along * along) * s2 > rest * rest);
    return (inCone & reachesAll) | (~inCone & reachesEdge);
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
            normals_.push_back(n);
            halfWidths_.push_back(sum / 2);
        }
    orderFaces(0, normals_.size());
    makeBlocks();
}

// Orders faces [first, end) so that each block holds neighbouring normals:
// split at a whole block near the middle of their widest coordinate.
void ObjectColourSolid::orderFaces(std::size_t first, std::size_t end) {
    if (end - first <= blockSize) return;
    int widest = 0;
    double widestSpan = -1;
    for (int c = 0; c < 3; ++c) {
        double low = 2, high = -2;
        for (std::size_t f = first; f < end; ++f) {
            low = std::min(low, normals_[f][c]);
            high = std::max(high, normals_[f][c]);
        }
        if (high - low > widestSpan) {
            widestSpan = high - low;
            widest = c;
        }
    }
    std::vector<std::size_t> order(end - first);
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = first + i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return normals_[a][widest] < normals_[b][widest];
    });
    std::vector<Vector> n;
    std::vector<double> w;
    for (const std::size_t i : order) {
        n.push_back(normals_[i]);
        w.push_back(halfWidths_[i]);
    }
    std::copy(n.begin(), n.end(), normals_.begin() + long(first));
    std::copy(w.begin(), w.end(), halfWidths_.begin() + long(first));
    const std::size_t blocks = (end - first + blockSize - 1) / blockSize;
    const std::size_t middle = first + blocks / 2 * blockSize;
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
    for (std::size_t first = 0; first < normals_.size(); first += blockSize) {
        const std::size_t end = std::min(normals_.size(), first + blockSize);
        Vector axis{}, vertex{};
        for (std::size_t f = first; f < end; ++f)
            for (int c = 0; c < 3; ++c)
                axis[c] += normals_[f][c];
        const double size = length(axis);
        for (double& c : axis)
            c /= size;
        double cosSpread = 1;
        for (std::size_t f = first; f < end; ++f)
            cosSpread = std::min(cosSpread, dot(axis, normals_[f]));
        // A little wider than measured, so rounding never leaves a normal out.
        cosSpread -= 1e-9;
        for (const Vector& g : generators_)
            for (int c = 0; c < 3; ++c)
                vertex[c] += (dot(axis, g) > 0 ? 0.5 : -0.5) * g[c];
        addBlock(axis, cosSpread, vertex);
    }
    blockCount_ = blocks_.ax.size();
    if (blockCount_ % 2 != 0) addBlock({1, 0, 0}, 1, {}); // measured never
}

void ObjectColourSolid::addBlock(const Vector& axis, double cosSpread, const Vector& vertex) {
    BlockColumns& b = blocks_;
    b.ax.push_back(axis[0]);
    b.ay.push_back(axis[1]);
    b.az.push_back(axis[2]);
    const double c = std::max(0.0, cosSpread);
    b.c.push_back(c);
    b.c2.push_back(c * c);
    b.s2.push_back(1 - c * c);
    b.wide.push_back(cosSpread <= 0 ? -1 : 0);
    b.vx.push_back(vertex[0]);
    b.vy.push_back(vertex[1]);
    b.vz.push_back(vertex[2]);
    b.av.push_back(dot(axis, vertex));
    b.vv.push_back(dot(vertex, vertex));
}

float ObjectColourSolid::blockMost(std::size_t block, float qx, float qy, float qz) const {
    const Float4 x = {qx, qx, qx, qx}, y = {qy, qy, qy, qy}, z = {qz, qz, qz, qz};
    constexpr float least = -std::numeric_limits<float>::max();
    Float4 m = {least, least, least, least};
    for (std::size_t f = block * blockSize; f < (block + 1) * blockSize; f += 4) {
        const Float4 v =
            load<Float4>(&nx_[f]) * x + load<Float4>(&ny_[f]) * y + load<Float4>(&nz_[f]) * z;
        const Float4 d = (v < 0 ? -v : v) - load<Float4>(&w_[f]);
        m = d > m ? d : m;
    }
    return std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
}

double ObjectColourSolid::blockExcess(std::size_t block, const Vector& q) const {
    double most = -std::numeric_limits<double>::infinity();
    const std::size_t end = std::min(normals_.size(), (block + 1) * blockSize);
    for (std::size_t f = block * blockSize; f < end; ++f)
        most = std::max(most, std::abs(dot(normals_[f], q)) - halfWidths_[f]);
    return most;
}

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
    const BlockColumns& k = blocks_;
    // Per block, a.q and q.v; the block whose axis goes furthest beyond its
    // faces is measured first...
    std::array<double, mostBlocks + 1> alongQ, qv;
    std::size_t first = 0;
    double firstGuess = -std::numeric_limits<double>::infinity();
    for (std::size_t b = 0; b < blockCount_; ++b) {
        alongQ[b] = k.ax[b] * q[0] + k.ay[b] * q[1] + k.az[b] * q[2];
        qv[b] = k.vx[b] * q[0] + k.vy[b] * q[1] + k.vz[b] * q[2];
        const double guess = std::abs(alongQ[b]) - k.av[b];
        first = guess > firstGuess ? b : first;
        firstGuess = std::max(guess, firstGuess);
    }
    std::array<float, mostBlocks + 1> most{};
    most[first] = blockMost(first, qx, qy, qz);
    // Single precision is out by far less than this (a few units in the last
    // place of |q| and of the half widths, about 100).
    const float rounding = 1e-6f * float(size + 200);
    // ...then every block some face of which could beat it: as the half width
    // of a normal n is at least n.v and at least -n.v, the excess of its faces
    // n.q - w and -n.q - w is at most n.(q - v) or n.(-q - v).
    const double level = double(most[first]) - 4 * double(rounding);
    const Double2 lv = {level, level};
    const double q2 = dot(q, q);
    std::array<long long, mostBlocks + 1> measured;
    for (std::size_t b = 0; b < blockCount_; b += 2) {
        const Double2 a = load<Double2>(&alongQ[b]), av = load<Double2>(&k.av[b]);
        const Double2 twoQv = 2 * load<Double2>(&qv[b]), vv = load<Double2>(&k.vv[b]);
        const Double2 c = load<Double2>(&k.c[b]), c2 = load<Double2>(&k.c2[b]),
                      s2 = load<Double2>(&k.s2[b]);
        const Mask2 m = load<Mask2>(&k.wide[b]) |
                        coneReaches(a - av, q2 - twoQv + vv, c, c2, s2, lv) |
                        coneReaches(-a - av, q2 + twoQv + vv, c, c2, s2, lv);
        std::memcpy(&measured[b], &m, sizeof m);
    }
    float largest = most[first];
    for (std::size_t b = 0; b < blockCount_; ++b) {
        if (b == first) continue;
        most[b] = measured[b] ? blockMost(b, qx, qy, qz) : -std::numeric_limits<float>::max();
        largest = std::max(largest, most[b]);
    }
    // The blocks within twice the rounding of the largest, again in double.
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t b = 0; b < blockCount_; ++b)
        if (most[b] >= largest - 2 * rounding) excess = std::max(excess, blockExcess(b, q));
    return {excess <= macAdamTolerance, excess};
}

double ObjectColourSolid::excessOverEveryFace(double X, double Y, double Z) const {
    const Vector q{X - white_[0] / 2, Y - white_[1] / 2, Z - white_[2] / 2};
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t f = 0; f < normals_.size(); ++f)
        excess = std::max(excess, std::abs(dot(normals_[f], q)) - halfWidths_[f]);
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
