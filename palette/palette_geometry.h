// The 3D palette viewer's geometry: a parallel projection of the Munsell
// solid with value as the vertical axis, chroma the distance from it and hue
// the angle around it. Drawing units: one chroma step is one unit, one value
// step four units, the origin at chroma 0, value 5; x to the right, y up.
// Degrees become radians with the factor 0.0174532925.
#pragma once

#include <string_view>
#include <vector>

namespace huelinx {

constexpr double viewerDegree = 0.0174532925;

struct ViewParams {
    double rotationRad = 0; // rotation slider x degree
    double tiltDeg = 75;    // 90 - tilt slider
    double zoomHalf = 20;   // half the width of the view
    double panX = 0, panY = 0;
};

// From the positions of the rotation (-180..180), tilt (0..90), zoom (1..40),
// pan X (0..800) and pan Y (0..400) sliders.
ViewParams viewFromSliders(int rotation, int tilt, int zoom, int panX, int panY);

struct ViewPoint {
    double x = 0, y = 0;
};

// Where an entry (hue angle in radians, value, chroma) is drawn:
// x = C cos(h + r), y = C sin(h + r) cos t + 4 sin t (V - 5).
ViewPoint projectEntry(float hueAngle, float value, float chroma, const ViewParams& view);

// The entry nearest to (x, y) by city-block distance among `points` (index 0
// unused, entries 1..count); a tie keeps the lower entry. 0 when there is none.
int pickEntry(const std::vector<ViewPoint>& points, int count, double x, double y);

// The hue angle of a hue text such as 5.0YR (any letter case): the endings yr,
// gy, bg, pb, rp, r, y, g, b, p in this order add 10, 30, 50, 70, 90, 0, 20,
// 40, 60, 80 to the number before them; the hue number times 3.6 degrees.
// False, leaving `angle`, for a text with none of these endings.
bool hueAngleOf(std::string_view hueText, float& angle);

} // namespace huelinx
