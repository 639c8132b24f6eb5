// Where the patches are read: the grid through the four corner centres, the
// squares read, their medians in linear values, and the decoding table.
#include "synthetic_shot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace huelinx::photo {
namespace {

TEST(Linearizer, DecodesSrgbAndKeepsLinearValues) {
    const Linearizer srgb(Encoding::Srgb), linear(Encoding::Linear);
    EXPECT_EQ(srgb(0), 0.0);
    EXPECT_FLOAT_EQ(srgb(65535), 1.0f);
    EXPECT_FLOAT_EQ(linear(65535), 1.0f);
    EXPECT_FLOAT_EQ(linear(32768), 32768.0f / 65535);
    // 8-bit 128 (times 257): the power segment, 0.2158605.
    EXPECT_NEAR(srgb(128 * 257), 0.2158605, 1e-6);
    // 8-bit 10: below 0.04045, the straight segment, 10 / 255 / 12.92.
    EXPECT_NEAR(srgb(10 * 257), 10.0 / 255 / 12.92, 1e-7);
    // Both segments meet at 0.04045 and the table only rises.
    for (int i = 1; i < 65536; ++i)
        ASSERT_GT(srgb(static_cast<std::uint16_t>(i)), srgb(static_cast<std::uint16_t>(i - 1)))
            << i;
}

TEST(ChartGrid, CentresOfAChartSquareToThePicture) {
    const ChartCorners k{{100, 50}, {600, 50}, {600, 350}, {100, 350}};
    const auto c = patchCentres(k);
    for (int i = 0; i < chartPatches; ++i) {
        EXPECT_NEAR(c[i].x, 100 + 100 * (i % 6), 1e-9) << i;
        EXPECT_NEAR(c[i].y, 50 + 100 * (i / 6), 1e-9) << i;
    }
    EXPECT_NEAR(patchHalfSide(k), 100.0 / 3, 1e-9);
}

// A chart turned and seen in perspective: the centres the four corners give
// are where the projection puts each patch.
TEST(ChartGrid, CentresFollowTurnAndPerspective) {
    for (const auto& [degrees, tilt] :
         {std::pair{0.0, 0.0}, {12.0, 0.0}, {-7.0, 0.03}, {30.0, -0.04}, {180.0, 0.0}}) {
        const auto p = testing::projection(degrees, tilt);
        const auto c = patchCentres(testing::cornersOf(p));
        for (int i = 0; i < chartPatches; ++i) {
            const Point truth = p(i % 6, i / 6);
            EXPECT_NEAR(c[i].x, truth.x, 1e-9) << degrees << " " << tilt << " patch " << i;
            EXPECT_NEAR(c[i].y, truth.y, 1e-9) << degrees << " " << tilt << " patch " << i;
        }
    }
    // The half side is a third of the nearest neighbours' distance: under a
    // tilt the far side's patches are the smaller ones.
    const auto p = testing::projection(0, 0.05);
    double nearest = 1e9;
    for (int i = 0; i < chartPatches; ++i) {
        const Point a = p(i % 6, i / 6), right = p(i % 6 + 1, i / 6), below = p(i % 6, i / 6 + 1);
        if (i % 6 < 5) nearest = std::min(nearest, std::hypot(a.x - right.x, a.y - right.y));
        if (i / 6 < 3) nearest = std::min(nearest, std::hypot(a.x - below.x, a.y - below.y));
    }
    const double half = patchHalfSide(testing::cornersOf(p));
    EXPECT_LE(half, nearest / 3 + 1e-9);
    EXPECT_GE(half, nearest / 3 / std::sqrt(2.0));
    EXPECT_LT(nearest, 30); // far smaller than the 40 of the near side
    // Turned by 45 degrees, the upright square's corners reach no further
    // from the centre along the patch's sides than an untilted one's.
    const double turned = patchHalfSide(testing::cornersOf(testing::projection(45)));
    EXPECT_NEAR(turned * std::sqrt(2.0), 40.0 / 3, 1e-9);
}

TEST(ChartGrid, SquaresAroundAPoint) {
    const Region r = squareAround({10, 20}, 2);
    EXPECT_EQ(r.x, 8);
    EXPECT_EQ(r.y, 18);
    EXPECT_EQ(r.width, 5);
    EXPECT_EQ(r.height, 5);
    const Region half = squareAround({10.5, 20.25}, 1);
    EXPECT_EQ(half.x, 10);
    EXPECT_EQ(half.width, 2); // pixels 10 and 11
    EXPECT_EQ(half.y, 20);
    EXPECT_EQ(half.height, 2); // 20 and 21
    const Region one = squareAround({3.4, 7.6}, 0);
    EXPECT_EQ(one.x, 3);
    EXPECT_EQ(one.y, 8);
    EXPECT_EQ(one.width, 1);
    EXPECT_EQ(one.height, 1);
    // Far or not a number: a region outside any picture, no overflow.
    const Picture p{4, 4, 16, std::vector<std::uint16_t>(48, 1000)};
    const Linearizer linear(Encoding::Linear);
    EXPECT_FALSE(medianOf(p, linear, squareAround({1e300, 0}, 5)));
    EXPECT_FALSE(medianOf(p, linear, squareAround({std::nan(""), 1}, 5)));
    EXPECT_TRUE(medianOf(p, linear, squareAround({1, 1}, 1e300)));
}

TEST(ChartGrid, MediansInLinearValues) {
    // A 4 x 1 picture: red 100, 200, 300, 60000; green 7 everywhere; blue
    // 5, 5, then at both ends of the range.
    Picture p{4, 1, 16, {100, 7, 5, 200, 7, 5, 300, 7, 0, 60000, 7, 65535}};
    const Linearizer linear(Encoding::Linear), srgb(Encoding::Srgb);
    const auto all = medianOf(p, linear, {0, 0, 4, 1});
    ASSERT_TRUE(all);
    // An even count: the mean of the two middle values, not one of them.
    EXPECT_NEAR(all->r, 250.0 / 65535, 1e-7);
    EXPECT_NEAR(all->g, 7.0 / 65535, 1e-9);
    const auto decoded = medianOf(p, srgb, {0, 0, 4, 1});
    EXPECT_NEAR(decoded->r, (srgb(200) + srgb(300)) / 2, 1e-9);
    // Clipped to the picture; a region wholly outside reads nothing.
    const auto right = medianOf(p, linear, {2, -5, 10, 10});
    EXPECT_NEAR(right->r, (300.0 + 60000) / 2 / 65535, 1e-7);
    EXPECT_FALSE(medianOf(p, linear, {4, 0, 2, 1}));
    EXPECT_FALSE(medianOf(p, linear, {-3, 0, 3, 1}));
    EXPECT_FALSE(medianOf(p, linear, {0, 0, 0, 1}));
    // A picture whose samples fall short of its size is not read past its end.
    Picture shortOne{4, 2, 16, p.samples};
    EXPECT_FALSE(medianOf(shortOne, linear, {0, 0, 4, 2}));
    EXPECT_FALSE(anyClipped(p, {0, 0, 2, 1}));
    EXPECT_TRUE(anyClipped(p, {2, 0, 1, 1})); // blue at 0
    EXPECT_TRUE(anyClipped(p, {3, 0, 1, 1})); // blue at 65535
}

// Large regions count their values instead of sorting them: the median must
// be the same, for odd and even counts alike.
TEST(ChartGrid, LargeRegionsGiveTheSameMedians) {
    Picture p{301, 300, 16, {}};
    std::mt19937 random(7);
    for (std::size_t i = 0; i < 3 * p.pixelCount(); ++i)
        p.samples.push_back(static_cast<std::uint16_t>(random() % (i % 3 == 0 ? 65536 : 900)));
    const Linearizer srgb(Encoding::Srgb);
    for (const Region r :
         {Region{0, 0, 301, 300}, Region{0, 0, 301, 299}, Region{5, 7, 257, 256}}) {
        ASSERT_GT(static_cast<std::size_t>(r.width) * r.height, 65536u);
        const auto m = medianOf(p, srgb, r);
        ASSERT_TRUE(m);
        double expected[3];
        for (int c = 0; c < 3; ++c) {
            std::vector<double> v;
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x)
                    v.push_back(srgb(p.at(x, y)[c]));
            std::sort(v.begin(), v.end());
            const std::size_t n = v.size();
            expected[c] = (v[(n - 1) / 2] + v[n / 2]) / 2;
        }
        EXPECT_DOUBLE_EQ(m->r, expected[0]) << r.width << "x" << r.height;
        EXPECT_DOUBLE_EQ(m->g, expected[1]) << r.width << "x" << r.height;
        EXPECT_DOUBLE_EQ(m->b, expected[2]) << r.width << "x" << r.height;
    }
}

TEST(ChartGrid, TheGridLandsOnTheRenderedPatches) {
    const auto camera = testing::cameraUnder("nikon_d700", "D65");
    const auto colours = testing::chartRgb(camera);
    for (const auto& [degrees, tilt] :
         {std::pair{0.0, 0.0}, {15.0, 0.04}, {-8.0, -0.03}, {40.0, 0.0}}) {
        const auto p = testing::projection(degrees, tilt, {140, 80});
        testing::Canvas canvas(480, 360, {0.02, 0.02, 0.02});
        canvas.chart(p, colours);
        const Picture picture = canvas.linear16();
        const auto reading = readChart(picture, Encoding::Linear, testing::cornersOf(p));
        ASSERT_TRUE(reading.value) << degrees << ": " << reading.message;
        // Every square lies wholly inside its own patch: the median is the
        // patch's own colour, to the 16-bit step.
        for (int i = 0; i < chartPatches; ++i) {
            EXPECT_NEAR(reading.value->patches[i].r, colours[i].r, 1e-5) << degrees << " " << i;
            EXPECT_NEAR(reading.value->patches[i].g, colours[i].g, 1e-5) << degrees << " " << i;
            EXPECT_NEAR(reading.value->patches[i].b, colours[i].b, 1e-5) << degrees << " " << i;
            EXPECT_FALSE(reading.value->clipped[i]);
        }
        EXPECT_EQ(reading.value->encoding, Encoding::Linear);
    }
}

TEST(ChartGrid, CornersThatMakeNoChartAreRefused) {
    const auto p = testing::projection();
    testing::Canvas canvas(320, 200, {0.02, 0.02, 0.02});
    const Picture picture = canvas.linear16();
    const ChartCorners k = testing::cornersOf(p);
    // Two corners swapped: the shape crosses itself.
    const auto crossed =
        readChart(picture, Encoding::Linear, {k.topLeft, k.bottomRight, k.topRight, k.bottomLeft});
    EXPECT_NE(crossed.message.find("make no chart"), std::string::npos) << crossed.message;
    // All four on one point, or not numbers.
    EXPECT_FALSE(
        readChart(picture, Encoding::Linear, {k.topLeft, k.topLeft, k.topLeft, k.topLeft}).value);
    const Point nan{std::nan(""), 0};
    EXPECT_FALSE(
        readChart(picture, Encoding::Linear, {nan, k.topRight, k.bottomRight, k.bottomLeft}).value);
    // Patches closer than 3 pixels.
    const auto tiny =
        readChart(picture, Encoding::Linear, {{10, 10}, {15, 10}, {15, 13}, {10, 13}});
    EXPECT_NE(tiny.message.find("too small"), std::string::npos) << tiny.message;
    // The chart runs off the right of the picture: the first patch outside is named.
    const auto off =
        readChart(picture, Encoding::Linear, {{200, 50}, {400, 50}, {400, 170}, {200, 170}});
    EXPECT_EQ(off.message, "The chart's patch 4 (foliage) lies outside the picture.");
}

} // namespace
} // namespace huelinx::photo
