#include "charts/limit_line.h"

#include "colour/mun2xyz.h"
#include "colour/settings.h"

namespace huelinx {

namespace {

// The data's chroma steps: the scan finds the first step beyond the limits.
constexpr double chromaStep = 2.0;
// Bisection ends when the limit is known to this much chroma.
constexpr double chromaTolerance = 0.002;

enum class Where { Within, Beyond, NoData };

Where whereIs(double hue, double value, double chroma, const MunTable& table,
              const LimitExcess& excess) {
    // Illuminant C with the renotation's value scale: the default settings.
    const CieOfMunsell cie = mun2xyz(hue, value, chroma, table, ColourSettings{});
    if (cie.status != MunsellToCie::Ok) return Where::NoData;
    const Tristimulus xyz{static_cast<float>(cie.X), static_cast<float>(cie.Y),
                          static_cast<float>(cie.Z)};
    return excess(xyz) > 0 ? Where::Beyond : Where::Within;
}

} // namespace

LimitPoint limitAt(double hue, double value, double maxChroma, const MunTable& table,
                   const LimitExcess& excess) {
    LimitPoint point;
    point.hue = hue;
    point.value = value;
    // Out from the grey in the data's steps to the first colour beyond: the
    // limit lies between it and the step before, which is within.
    double within = -1;
    for (double c = 0; c <= maxChroma; c += chromaStep) {
        const Where where = whereIs(hue, value, c, table, excess);
        if (where == Where::NoData) break;
        if (where == Where::Beyond) {
            point.reached = true;
            if (within < 0) return point; // even the grey is beyond: chroma 0
            double beyond = c;
            while (beyond - within > chromaTolerance) {
                const double middle = (within + beyond) / 2;
                // A colour the data can't give between two they give counts
                // as beyond, so the limit drawn never claims more than is known.
                (whereIs(hue, value, middle, table, excess) == Where::Within ? within : beyond) =
                    middle;
            }
            point.chroma = within;
            return point;
        }
        within = c;
    }
    // The data (or the page) end first: the last chroma they hold, not reached.
    point.chroma = within < 0 ? 0 : within;
    return point;
}

std::vector<LimitPoint> hueLimitLine(double hue, const MunTable& table, const LimitExcess& excess) {
    std::vector<LimitPoint> line;
    for (int quarter = 4; quarter <= 36; ++quarter)
        line.push_back(limitAt(hue, quarter / 4.0, 28, table, excess));
    return line;
}

std::vector<LimitPoint> valueLimitLine(double value, const MunTable& table,
                                       const LimitExcess& excess) {
    std::vector<LimitPoint> line;
    for (int k = 0; k < 80; ++k)
        line.push_back(limitAt(1.25 * k, value, 40, table, excess));
    return line;
}

namespace {

// The longest run of points with no limit found that the line crosses: the
// points between two values (or hues) of the data, where the data reach only
// as far as at the nearer of the two.
constexpr std::size_t maxBridged = 3;

// Crosses the short gaps of `points` (cyclic when `closed`): each point of a
// gap takes the chroma of the chord between the reached points around it,
// when that chord passes at or beyond the data's edge at every point of the
// gap, so the line claims nothing the data contradict.
std::vector<LimitPoint> bridged(std::vector<LimitPoint> points, bool closed) {
    const std::size_t n = points.size();
    std::vector<LimitPoint> out = points;
    for (std::size_t before = 0; before < n; ++before) {
        if (!points[before].reached) continue;
        std::size_t gap = 0;
        while (gap < n && (closed || before + gap + 1 < n) &&
               !points[(before + gap + 1) % n].reached)
            ++gap;
        const std::size_t after = before + gap + 1;
        if (gap == 0 || gap > maxBridged || (!closed && after >= n)) continue;
        const double from = points[before].chroma, to = points[after % n].chroma;
        bool fits = true;
        for (std::size_t k = 1; k <= gap; ++k) {
            LimitPoint& p = out[(before + k) % n];
            p.chroma = from + (to - from) * static_cast<double>(k) / static_cast<double>(gap + 1);
            fits = fits && p.chroma >= points[(before + k) % n].chroma;
        }
        for (std::size_t k = 1; k <= gap; ++k) {
            LimitPoint& p = out[(before + k) % n];
            if (fits)
                p.reached = true;
            else
                p.chroma = points[(before + k) % n].chroma;
        }
    }
    return out;
}

} // namespace

std::vector<std::vector<LimitPoint>> limitRuns(const std::vector<LimitPoint>& found, bool closed) {
    const std::vector<LimitPoint> points = bridged(found, closed);
    std::vector<std::vector<LimitPoint>> runs;
    std::vector<LimitPoint> run;
    for (const LimitPoint& p : points) {
        if (p.reached) {
            run.push_back(p);
            continue;
        }
        if (run.size() > 1) runs.push_back(run);
        run.clear();
    }
    if (closed && !points.empty() && points.front().reached && points.back().reached) {
        // The run through the end of the circle goes on into the one at its start.
        if (run.size() == points.size()) {
            run.push_back(points.front());
            runs.push_back(run);
            return runs;
        }
        if (!runs.empty() && runs.front().front().hue == points.front().hue) {
            run.insert(run.end(), runs.front().begin(), runs.front().end());
            runs.erase(runs.begin());
        } else
            run.push_back(points.front());
    }
    if (run.size() > 1) runs.push_back(run);
    return runs;
}

void LimitLines::setCheck(LimitExcess excess) {
    excess_ = std::move(excess);
    kept_.clear();
}

const std::vector<LimitPoint>& LimitLines::line(double key, const MunTable& table) {
    static const std::vector<LimitPoint> none;
    if (!excess_) return none;
    if (&table != table_ || kept_.size() >= maxKept) {
        kept_.clear();
        table_ = &table;
    }
    auto found = kept_.find(key);
    if (found == kept_.end()) found = kept_.emplace(key, find_(key, table, excess_)).first;
    return found->second;
}

} // namespace huelinx
