// Where the chart's patches are in the picture, and what they read.
#include "photo/calibration.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace huelinx::photo {

namespace {

constexpr int columns = 6, rows = 4;
// Regions of more pixels than this take their medians from counts of values.
constexpr std::size_t largeRegion = 65536;

constexpr const char* patchNames[chartPatches] = {
    "dark skin", "light skin",    "blue sky",     "foliage",   "blue flower",  "bluish green",
    "orange",    "purplish blue", "moderate red", "purple",    "yellow green", "orange yellow",
    "blue",      "green",         "red",          "yellow",    "magenta",      "cyan",
    "white 9.5", "neutral 8",     "neutral 6.5",  "neutral 5", "neutral 3.5",  "black 2"};

// The projective map of the unit square onto the four corners: (0, 0) to the
// top left, (1, 0) top right, (1, 1) bottom right, (0, 1) bottom left.
struct Homography {
    double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0;

    Point operator()(double u, double v) const {
        const double w = g * u + h * v + 1;
        return {(a * u + b * v + c) / w, (d * u + e * v + f) / w};
    }
};

Homography squareOnto(const ChartCorners& k) {
    const Point p0 = k.topLeft, p1 = k.topRight, p2 = k.bottomRight, p3 = k.bottomLeft;
    const double sx = p0.x - p1.x + p2.x - p3.x, sy = p0.y - p1.y + p2.y - p3.y;
    const double dx1 = p1.x - p2.x, dx2 = p3.x - p2.x, dy1 = p1.y - p2.y, dy2 = p3.y - p2.y;
    const double den = dx1 * dy2 - dx2 * dy1;
    Homography m;
    if (den != 0) {
        m.g = (sx * dy2 - dx2 * sy) / den;
        m.h = (dx1 * sy - sx * dy1) / den;
    }
    m.a = p1.x - p0.x + m.g * p1.x;
    m.b = p3.x - p0.x + m.h * p3.x;
    m.c = p0.x;
    m.d = p1.y - p0.y + m.g * p1.y;
    m.e = p3.y - p0.y + m.h * p3.y;
    m.f = p0.y;
    return m;
}

// Whether the corners, in their order, go round a convex shape of some area.
bool convexCorners(const ChartCorners& k) {
    const Point p[4] = {k.topLeft, k.topRight, k.bottomRight, k.bottomLeft};
    int positive = 0, negative = 0;
    for (int i = 0; i < 4; ++i) {
        const Point a = p[i], b = p[(i + 1) % 4], c = p[(i + 2) % 4];
        if (!std::isfinite(a.x) || !std::isfinite(a.y)) return false;
        const double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        positive += cross > 0;
        negative += cross < 0;
    }
    return positive == 4 || negative == 4;
}

// A pixel coordinate as an int, far points held well inside the int range.
int pixelIndex(double v) {
    constexpr double far = 1e9;
    return static_cast<int>(std::clamp(v, -far, far));
}

// The region's pixels inside the picture: [x0, x1) x [y0, y1), or none.
struct Span {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};
std::optional<Span> inside(const Picture& picture, const Region& r) {
    const long long x1 = std::min<long long>(static_cast<long long>(r.x) + r.width, picture.width);
    const long long y1 =
        std::min<long long>(static_cast<long long>(r.y) + r.height, picture.height);
    const Span s{std::max(r.x, 0), static_cast<int>(x1), std::max(r.y, 0), static_cast<int>(y1)};
    if (s.x0 >= s.x1 || s.y0 >= s.y1 || picture.samples.size() < 3 * picture.pixelCount())
        return std::nullopt;
    return s;
}

// The median of a channel's samples in linear values: the mean of the two
// middle ones for an even count.
double medianLinear(std::vector<std::uint16_t>& values, const Linearizer& linear) {
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    const double upper = linear(values[mid]);
    if (values.size() % 2 == 1) return upper;
    const std::uint16_t lower = *std::max_element(values.begin(), values.begin() + mid);
    return (linear(lower) + upper) / 2;
}

} // namespace

const char* chartPatchName(int index) {
    return index >= 0 && index < chartPatches ? patchNames[index] : "?";
}

std::string patchLabel(int index) {
    return "patch " + std::to_string(index + 1) + " (" + chartPatchName(index) + ")";
}

std::array<Point, chartPatches> patchCentres(const ChartCorners& corners) {
    const Homography m = squareOnto(corners);
    std::array<Point, chartPatches> centres{};
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            centres[row * columns + col] =
                m(static_cast<double>(col) / (columns - 1), static_cast<double>(row) / (rows - 1));
    return centres;
}

double patchHalfSide(const ChartCorners& corners) {
    // A third of the distance d between neighbours, shrunk by |dx| + |dy| over
    // d so that the square, upright in the picture, stays inside a patch the
    // picture shows turned.
    const auto c = patchCentres(corners);
    double half = std::numeric_limits<double>::infinity();
    const auto neighbours = [&](Point p, Point q) {
        const double dx = std::abs(q.x - p.x), dy = std::abs(q.y - p.y);
        const double d = std::hypot(dx, dy);
        half = std::min(half, d > 0 ? d * d / (3 * (dx + dy)) : 0.0);
    };
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col) {
            const int i = row * columns + col;
            if (col + 1 < columns) neighbours(c[i], c[i + 1]);
            if (row + 1 < rows) neighbours(c[i], c[i + columns]);
        }
    return half;
}

Region squareAround(Point centre, double halfSide) {
    const double h = std::isfinite(halfSide) ? std::max(halfSide, 0.0) : 0.0;
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return {-2, -2, 1, 1};
    int x0 = pixelIndex(std::ceil(centre.x - h)), x1 = pixelIndex(std::floor(centre.x + h));
    int y0 = pixelIndex(std::ceil(centre.y - h)), y1 = pixelIndex(std::floor(centre.y + h));
    if (x1 < x0) x0 = x1 = pixelIndex(std::round(centre.x));
    if (y1 < y0) y0 = y1 = pixelIndex(std::round(centre.y));
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// The median of a channel of a large region from a count of each sample
// value: two passes over the pixels' 16-bit values, no sort.
double medianCounted(const Picture& picture, const Span& span, int channel,
                     const Linearizer& linear) {
    std::vector<std::uint32_t> counts(65536);
    for (int y = span.y0; y < span.y1; ++y) {
        const std::uint16_t* p = picture.at(span.x0, y) + channel;
        for (int x = span.x0; x < span.x1; ++x, p += 3)
            ++counts[*p];
    }
    const std::size_t n = static_cast<std::size_t>(span.x1 - span.x0) * (span.y1 - span.y0);
    // The values at sorted positions (n - 1) / 2 and n / 2.
    std::size_t seen = 0;
    int low = -1, high = -1;
    for (int v = 0; v < 65536 && high < 0; ++v) {
        seen += counts[v];
        if (low < 0 && seen > (n - 1) / 2) low = v;
        if (seen > n / 2) high = v;
    }
    const auto sample = [](int v) { return static_cast<std::uint16_t>(v); };
    return (linear(sample(low)) + linear(sample(high))) / 2;
}

std::optional<LinearRgb> medianOf(const Picture& picture, const Linearizer& linear,
                                  const Region& region) {
    const auto span = inside(picture, region);
    if (!span) return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(span->x1 - span->x0) * (span->y1 - span->y0);
    if (count > largeRegion)
        return LinearRgb{medianCounted(picture, *span, 0, linear),
                         medianCounted(picture, *span, 1, linear),
                         medianCounted(picture, *span, 2, linear)};
    std::vector<std::uint16_t> channel[3];
    for (auto& c : channel)
        c.reserve(count);
    for (int y = span->y0; y < span->y1; ++y) {
        const std::uint16_t* p = picture.at(span->x0, y);
        for (int x = span->x0; x < span->x1; ++x, p += 3)
            for (int c = 0; c < 3; ++c)
                channel[c].push_back(p[c]);
    }
    return LinearRgb{medianLinear(channel[0], linear), medianLinear(channel[1], linear),
                     medianLinear(channel[2], linear)};
}

bool anyClipped(const Picture& picture, const Region& region) {
    const auto span = inside(picture, region);
    if (!span) return false;
    for (int y = span->y0; y < span->y1; ++y) {
        const std::uint16_t* p = picture.at(span->x0, y);
        const std::uint16_t* end = p + 3 * static_cast<std::size_t>(span->x1 - span->x0);
        for (; p != end; ++p)
            if (*p == 0 || *p == 65535) return true;
    }
    return false;
}

Loaded<ChartReading> readChart(const Picture& picture, Encoding encoding,
                               const ChartCorners& corners) {
    Loaded<ChartReading> out;
    const double half = patchHalfSide(corners);
    if (!convexCorners(corners) || !std::isfinite(half)) {
        out.message = "The four corners make no chart: click the centres of the top-left, "
                      "top-right, bottom-right and bottom-left patches in that order.";
        return out;
    }
    if (half < 1) {
        out.message = "The chart is too small in the picture: its patches are less than 3 "
                      "pixels apart.";
        return out;
    }
    const Linearizer linear(encoding);
    const auto centres = patchCentres(corners);
    ChartReading reading;
    reading.encoding = encoding;
    reading.corners = corners;
    for (int i = 0; i < chartPatches; ++i) {
        const Region square = squareAround(centres[i], half);
        if (square.x < 0 || square.y < 0 || square.x + square.width > picture.width ||
            square.y + square.height > picture.height) {
            out.message = "The chart's " + patchLabel(i) + " lies outside the picture.";
            return out;
        }
        const auto median = medianOf(picture, linear, square);
        if (!median) {
            out.message = "The picture holds fewer samples than its size says.";
            return out;
        }
        reading.patches[i] = *median;
        reading.clipped[i] = anyClipped(picture, square);
    }
    out.value = reading;
    return out;
}

} // namespace huelinx::photo
