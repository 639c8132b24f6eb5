#include "colour/object_colour_solid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace huelinx {

namespace {

using Vector = ObjectColourSolid::Vector;

// Normals are grouped by the cell of a cube they point through, taken with
// opposite normals together: 3 faces of the cube of cells x cells each.
constexpr int cells = 10;

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double length(const Vector& a) {
    return std::sqrt(dot(a, a));
}

// The cell a unit normal points through, the normal turned to the side of its
// largest component so opposite normals share a cell.
int cellOf(Vector& n) {
    int a = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(n[i]) > std::abs(n[a])) a = i;
    if (n[a] < 0)
        for (double& c : n)
            c = -c;
    const auto index = [](double t) { return std::clamp(int((t + 1) / 2 * cells), 0, cells - 1); };
    return (a * cells + index(n[(a + 1) % 3] / n[a])) * cells + index(n[(a + 2) % 3] / n[a]);
}

// The largest |n.q| over the unit normals n within the group's cone.
double coneBound(double axisDot, double qLength, double cosSpread, double sinSpread) {
    const double s = std::abs(axisDot);
    if (s >= qLength * cosSpread) return qLength;
    const double t = std::sqrt(std::max(0.0, qLength * qLength - s * s));
    return s * cosSpread + t * sinSpread;
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
    std::vector<std::pair<int, Vector>> found; // cell, unit normal
    for (std::size_t i = 0; i < generators_.size(); ++i)
        for (std::size_t j = i + 1; j < generators_.size(); ++j) {
            Vector n = cross(generators_[i], generators_[j]);
            const double size = length(n);
            if (!(size > 1e-12 * length(generators_[i]) * length(generators_[j]))) continue;
            for (double& c : n)
                c /= size;
            const int cell = cellOf(n);
            found.emplace_back(cell, n);
        }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t first = 0; first < found.size();) {
        std::size_t end = first;
        Group g;
        g.first = normals_.size();
        for (; end < found.size() && found[end].first == found[first].first; ++end) {
            const Vector& n = found[end].second;
            normals_.push_back(n);
            double sum = 0;
            for (const Vector& gen : generators_)
                sum += std::abs(dot(n, gen));
            halfWidths_.push_back(sum / 2);
            for (int c = 0; c < 3; ++c)
                g.axis[c] += n[c];
        }
        g.end = normals_.size();
        const double size = length(g.axis);
        for (double& c : g.axis)
            c /= size;
        g.leastHalfWidth = std::numeric_limits<double>::infinity();
        for (std::size_t f = g.first; f < g.end; ++f) {
            g.cosSpread = std::min(g.cosSpread, dot(g.axis, normals_[f]));
            g.leastHalfWidth = std::min(g.leastHalfWidth, halfWidths_[f]);
        }
        // A little wider than measured, so rounding never leaves a normal out.
        g.cosSpread = std::max(-1.0, g.cosSpread - 1e-12);
        g.sinSpread = std::sqrt(1 - g.cosSpread * g.cosSpread);
        groups_.push_back(g);
        first = end;
    }
}

double ObjectColourSolid::groupExcess(const Group& g, const Vector& q) const {
    double most = -std::numeric_limits<double>::infinity();
    for (std::size_t f = g.first; f < g.end; ++f)
        most = std::max(most, std::abs(dot(normals_[f], q)) - halfWidths_[f]);
    return most;
}

MacAdamCheck ObjectColourSolid::check(double X, double Y, double Z) const {
    const Vector q{X - white_[0] / 2, Y - white_[1] / 2, Z - white_[2] / 2};
    const double qLength = length(q);
    if (!std::isfinite(qLength) || groups_.empty()) return {false, qLength};
    // A bound on each group's excess; the group of the largest bound first.
    constexpr std::size_t most = 3 * cells * cells;
    std::array<double, most> bounds{};
    std::size_t best = 0;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const Group& g = groups_[i];
        bounds[i] = coneBound(dot(g.axis, q), qLength, g.cosSpread, g.sinSpread) - g.leastHalfWidth;
        if (bounds[i] > bounds[best]) best = i;
    }
    double excess = groupExcess(groups_[best], q);
    // Rounding of the bounds is far below this; a group within it is measured.
    const double slack = 1e-9 * (qLength + white_[1]);
    for (std::size_t i = 0; i < groups_.size(); ++i)
        if (i != best && bounds[i] + slack > excess)
            excess = std::max(excess, groupExcess(groups_[i], q));
    return {excess <= macAdamTolerance, excess};
}

double ObjectColourSolid::excessOverEveryFace(double X, double Y, double Z) const {
    const Vector q{X - white_[0] / 2, Y - white_[1] / 2, Z - white_[2] / 2};
    double excess = -std::numeric_limits<double>::infinity();
    for (std::size_t f = 0; f < normals_.size(); ++f)
        excess = std::max(excess, std::abs(dot(normals_[f], q)) - halfWidths_[f]);
    return excess;
}

std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables, Illuminant illuminant) {
    const photo::Spectrum* light = tables.illuminant(illuminantName(illuminant));
    const ObserverFunctions* observer = tables.observer(observerDegrees(illuminant));
    if (!light || !observer) return std::nullopt;
    return ObjectColourSolid(*light, *observer);
}

} // namespace huelinx
