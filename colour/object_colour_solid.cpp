#include "colour/object_colour_solid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace huelinx {

namespace {

using Vector = ObjectColourSolid::Vector;

// Four floats, as one register of every vector unit the program is built for.
using Float4 = float __attribute__((vector_size(16)));
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

Float4 load(const float* from) {
    Float4 v;
    std::memcpy(&v, from, sizeof v);
    return v;
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
            normals_.push_back(n);
            halfWidths_.push_back(sum / 2);
            nx_.push_back(float(n[0]));
            ny_.push_back(float(n[1]));
            nz_.push_back(float(n[2]));
            w_.push_back(float(sum / 2));
        }
    // The padding: a face no point reaches.
    while (nx_.size() % blockSize != 0) {
        nx_.push_back(0);
        ny_.push_back(0);
        nz_.push_back(0);
        w_.push_back(std::numeric_limits<float>::max());
    }
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
    if (size > 1e30) {
        const double excess = excessOverEveryFace(X, Y, Z);
        return {excess <= macAdamTolerance, excess};
    }
    const Float4 qx = {float(q[0]), float(q[0]), float(q[0]), float(q[0])};
    const Float4 qy = {float(q[1]), float(q[1]), float(q[1]), float(q[1])};
    const Float4 qz = {float(q[2]), float(q[2]), float(q[2]), float(q[2])};
    const std::size_t blocks = nx_.size() / blockSize;
    std::array<float, mostBlocks> blockMost{};
    float most = -std::numeric_limits<float>::max();
    for (std::size_t b = 0; b < blocks; ++b) {
        Float4 m = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                    -std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
        for (std::size_t f = b * blockSize; f < (b + 1) * blockSize; f += 4) {
            const Float4 v = load(&nx_[f]) * qx + load(&ny_[f]) * qy + load(&nz_[f]) * qz;
            const Float4 d = (v < 0 ? -v : v) - load(&w_[f]);
            m = d > m ? d : m;
        }
        blockMost[b] = std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
        most = std::max(most, blockMost[b]);
    }
    // Single precision is out by far less than this (a few units in the last
    // place of |q| and of the half widths, about 100): the blocks within twice
    // it of the largest are measured again in double, and give the answer.
    const float rounding = 1e-6f * float(size + 200);
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t b = 0; b < blocks; ++b)
        if (blockMost[b] >= most - 2 * rounding) excess = std::max(excess, blockExcess(b, q));
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
