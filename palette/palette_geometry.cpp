#include "palette/palette_geometry.h"

#include "colour/hue.h"

#include "text/number_read.h"

#include <cctype>
#include <cmath>
#include <string>

namespace huelinx {

ViewParams viewFromSliders(int rotation, int tilt, int zoom, int panX, int panY) {
    ViewParams v;
    v.rotationRad = rotation * viewerDegree;
    v.tiltDeg = 90 - tilt;
    v.zoomHalf = zoom;
    v.panX = (400 - panX) / 10.0;
    v.panY = (panY - 200) / 10.0;
    return v;
}

ViewPoint projectEntry(float hueAngle, float value, float chroma, const ViewParams& view) {
    const double t = view.tiltDeg * viewerDegree;
    const double a = hueAngle + view.rotationRad;
    return {chroma * std::cos(a),
            chroma * std::sin(a) * std::cos(t) + 4 * std::sin(t) * (value - 5.0)};
}

int pickEntry(const std::vector<ViewPoint>& points, int count, double x, double y) {
    double best = 1000;
    int selected = 0;
    for (int i = 1; i <= count && i < static_cast<int>(points.size()); ++i) {
        const double d = std::fabs(x - points[i].x) + std::fabs(y - points[i].y);
        if (d < best) best = d, selected = i;
    }
    return selected;
}

bool hueAngleOf(std::string_view hueText, float& angle) {
    // A grey has no hue; its chroma 0 puts it on the axis.
    if (isNeutralHue(hueText)) {
        angle = 0.0f;
        return true;
    }
    std::string text(hueText);
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct Ending {
        const char* letters;
        int offset;
    };
    static const Ending endings[] = {{"yr", 10}, {"gy", 30}, {"bg", 50}, {"pb", 70}, {"rp", 90},
                                     {"r", 0},   {"y", 20},  {"g", 40},  {"b", 60},  {"p", 80}};
    for (const Ending& e : endings) {
        const std::string_view letters(e.letters);
        if (text.size() < letters.size() ||
            text.compare(text.size() - letters.size(), letters.size(), letters) != 0)
            continue;
        const double hue =
            leadingNumber(std::string_view(text).substr(0, text.size() - letters.size())) +
            e.offset;
        angle = static_cast<float>(hue * 3.6 * viewerDegree);
        return true;
    }
    return false;
}

} // namespace huelinx
