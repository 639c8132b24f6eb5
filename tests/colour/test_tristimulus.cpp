#include "colour/settings.h"
#include "colour/tristimulus.h"

#include <gtest/gtest.h>

namespace huelinx {
namespace {

Reflectance flat(float percent) {
    Reflectance r{};
    for (int i = 1; i <= 40; ++i)
        r[i] = percent;
    return r;
}

TEST(Tristimulus, PerfectWhiteAndBlack) {
    const Tristimulus white = tris(flat(100));
    EXPECT_NEAR(white.X, 98.074f, 1e-3f);
    EXPECT_NEAR(white.Y, 100.0f, 1e-3f);
    EXPECT_NEAR(white.Z, 118.23f, 1e-3f);
    const Tristimulus black = tris(flat(0));
    EXPECT_EQ(black.X, 0.0f);
    EXPECT_EQ(black.Y, 0.0f);
    EXPECT_EQ(black.Z, 0.0f);
}

TEST(Tristimulus, EachWavelengthCountsOnlyWhereItsWeightsDo) {
    const auto single = [](int index, float value) {
        Reflectance r{};
        r[index] = value;
        return tris(r);
    };
    const Tristimulus at360 = single(1, 100);
    EXPECT_EQ(at360.X + at360.Y + at360.Z, 0.0f);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(single(i, 100).Y, 0.0f); // 360..380 nm
    for (int i = 28; i <= 40; ++i)
        EXPECT_EQ(single(i, 100).Z, 0.0f);         // 630 nm on
    EXPECT_NEAR(single(21, 100).Y, 9.834f, 1e-4f); // 560 nm
    // Entry 0 is not part of the curve.
    Reflectance r = flat(50);
    r[0] = 1000;
    const Tristimulus withEntry0 = tris(r), without = tris(flat(50));
    EXPECT_EQ(withEntry0.X, without.X);
    EXPECT_EQ(withEntry0.Y, without.Y);
    EXPECT_EQ(withEntry0.Z, without.Z);
}

TEST(Tristimulus, WeightColumnsSumToTheWhite) {
    double sum[3] = {0, 0, 0};
    for (int i = 1; i <= 40; ++i)
        for (int c = 0; c < 3; ++c)
            sum[c] += weights[i][c];
    EXPECT_NEAR(sum[0], 98.074, 1e-4);
    EXPECT_NEAR(sum[1], 100.000, 1e-4);
    EXPECT_NEAR(sum[2], 118.230, 1e-4);
}

} // namespace
} // namespace huelinx
