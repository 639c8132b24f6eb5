#include "palette/palette_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace huelinx {
namespace {

constexpr double k = 0.0174532925;

TEST(ViewerGeometry, HueAnglesOfEveryEndingInAnyCase) {
    const struct {
        const char* text;
        double hue;
    } cases[] = {{"5.0YR", 15},   {"5.0yr", 15},   {"10RP", 100}, {"5Y", 25},
                 {"2.5GY", 32.5}, {"7.5bg", 57.5}, {"5PB", 75},   {"5r", 5},
                 {"10G", 50},     {"5B", 65},      {"5P", 85},    {"YR", 10}};
    for (const auto& c : cases) {
        float angle = -1;
        ASSERT_TRUE(hueAngleOf(c.text, angle)) << c.text;
        EXPECT_FLOAT_EQ(angle, static_cast<float>(c.hue * 3.6 * k)) << c.text;
    }
    float kept = 1.25f;
    EXPECT_FALSE(hueAngleOf("5X", kept));
    EXPECT_FALSE(hueAngleOf("", kept));
    EXPECT_EQ(kept, 1.25f);
    // A grey sits on the axis whatever its angle; N reads as angle 0.
    for (const char* grey : {"N", "n", "N 5/"}) {
        EXPECT_TRUE(hueAngleOf(grey, kept)) << grey;
        EXPECT_EQ(kept, 0.0f);
    }
}

TEST(ViewerGeometry, TopSideAndRotatedViews) {
    const float yellow = static_cast<float>(25 * 3.6 * k); // 5Y
    // Tilt slider at 90: top view, dots at (C cos a, C sin a), the value has no say.
    ViewParams top = viewFromSliders(0, 90, 20, 400, 200);
    ViewPoint p = projectEntry(0, 3, 6, top);
    EXPECT_NEAR(p.x, 6, 1e-6);
    EXPECT_NEAR(p.y, 0, 1e-6);
    p = projectEntry(yellow, 9, 6, top);
    EXPECT_NEAR(p.x, 0, 1e-3);
    EXPECT_NEAR(p.y, 6, 1e-3);
    // Tilt slider at 0: side view, the height from the value alone (4 units a step).
    ViewParams side = viewFromSliders(0, 0, 20, 400, 200);
    EXPECT_NEAR(projectEntry(yellow, 10, 8, side).y, 20, 1e-3);
    EXPECT_NEAR(projectEntry(yellow, 0, 8, side).y, -20, 1e-3);
    // Chroma 0 lies on the value axis whatever the hue and rotation.
    ViewParams turned = viewFromSliders(73, 40, 20, 400, 200);
    EXPECT_NEAR(projectEntry(2.0f, 7, 0, turned).x, 0, 1e-9);
    // The rotation slider turns every hue by its degrees.
    ViewParams quarter = viewFromSliders(90, 90, 20, 400, 200);
    EXPECT_NEAR(projectEntry(0, 5, 4, quarter).y, 4, 1e-6);
    // Sliders to view parameters.
    const ViewParams v = viewFromSliders(-180, 15, 1, 800, 0);
    EXPECT_NEAR(v.rotationRad, -180 * k, 1e-12);
    EXPECT_EQ(v.tiltDeg, 75);
    EXPECT_EQ(v.zoomHalf, 1);
    EXPECT_EQ(v.panX, -40);
    EXPECT_EQ(v.panY, -20);
}

TEST(ViewerGeometry, PickingTakesTheNearestByCityBlockAndTheEarlierOnTies) {
    std::vector<ViewPoint> points(5);
    points[1] = {0, 0};
    points[2] = {3, 3};
    points[3] = {3, 3}; // same place as 2
    points[4] = {-2, 0};
    EXPECT_EQ(pickEntry(points, 4, 2.9, 2.0), 2);
    EXPECT_EQ(pickEntry(points, 4, -1.0, 0.0), 1); // a tie between 1 and 4 keeps 1
    EXPECT_EQ(pickEntry(points, 4, -1.1, 0.0), 4);
    EXPECT_EQ(pickEntry(points, 0, 0, 0), 0);
    EXPECT_EQ(pickEntry(points, 1, 5000, 0), 0); // farther than any drawing reaches
}

} // namespace
} // namespace huelinx
