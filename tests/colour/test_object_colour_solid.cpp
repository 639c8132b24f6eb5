#include "colour/object_colour_solid.h"

#include "table_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <set>
#include <sstream>

namespace huelinx {
namespace {

const SpectralTables& tables() {
    return testing::spectralTables();
}

const ObjectColourSolid& solidC() {
    static const ObjectColourSolid solid = *solidOf(tables(), Illuminant::C);
    return solid;
}

ObjectColourSolid::Vector ofXyY(double x, double y, double Y) {
    return {x / y * Y, Y, (1 - x - y) / y * Y};
}

MacAdamCheck checked(const ObjectColourSolid& solid, const ObjectColourSolid::Vector& p) {
    return solid.check(p[0], p[1], p[2]);
}

// The colour of a surface reflecting fully in the wavelengths [first, end)
// of the circle of 81 (end below first: the band wraps round, a band stop).
ObjectColourSolid::Vector bandColour(const ObjectColourSolid& solid, int first, int end) {
    ObjectColourSolid::Vector sum{};
    const int n = int(solid.generators().size());
    for (int i = first; i != end; i = (i + 1) % n)
        for (int c = 0; c < 3; ++c)
            sum[c] += solid.generators()[i][c];
    return sum;
}

TEST(ObjectColourSolid, RedOfChromaticityPoint6Point3EndsBetweenY20And30UnderC) {
    for (const double Y : {10.0, 20.0})
        EXPECT_TRUE(checked(solidC(), ofXyY(0.6, 0.3, Y)).within) << Y;
    for (const double Y : {30.0, 40.0}) {
        const MacAdamCheck c = checked(solidC(), ofXyY(0.6, 0.3, Y));
        EXPECT_FALSE(c.within) << Y;
        EXPECT_GT(c.excess, 0.5) << Y;
    }
    // Deeper in, a larger Y is further beyond.
    EXPECT_LT(checked(solidC(), ofXyY(0.6, 0.3, 30)).excess,
              checked(solidC(), ofXyY(0.6, 0.3, 40)).excess);
}

// The optimal colour of a direction: the surface reflecting fully where its
// generator points to the direction's side, nothing elsewhere.
ObjectColourSolid::Vector optimalColour(const ObjectColourSolid& solid,
                                        const ObjectColourSolid::Vector& direction) {
    ObjectColourSolid::Vector sum{};
    for (const auto& g : solid.generators())
        if (direction[0] * g[0] + direction[1] * g[1] + direction[2] * g[2] > 0)
            for (int c = 0; c < 3; ++c)
                sum[c] += g[c];
    return sum;
}

TEST(ObjectColourSolid, OptimalColoursLieOnTheSurfaceAndGreysInside) {
    const ObjectColourSolid& solid = solidC();
    EXPECT_NEAR(solid.white()[1], 100.0, 1e-9);
    // The white of C as the program takes it (2 degrees, four decimals).
    EXPECT_NEAR(solid.white()[0], 98.074, 0.01);
    EXPECT_NEAR(solid.white()[2], 118.232, 0.01);
    EXPECT_GT(solid.faceCount(), 6000u);
    EXPECT_LE(solid.faceCount(), 81u * 80u);

    std::mt19937 random(7);
    std::normal_distribution<double> normal;
    for (int i = 0; i < 3000; ++i) {
        const auto p = optimalColour(solid, {normal(random), normal(random), normal(random)});
        ASSERT_NEAR(checked(solid, p).excess, 0, 1e-9) << p[0] << " " << p[1] << " " << p[2];
        // Half a per cent further from the centre is beyond.
        ObjectColourSolid::Vector out;
        for (int k = 0; k < 3; ++k)
            out[k] = solid.white()[k] / 2 + 1.005 * (p[k] - solid.white()[k] / 2);
        ASSERT_GT(checked(solid, out).excess, 0.01);
    }
    // Every band pass and band stop is within, on the surface or, where the
    // spectrum locus is not quite convex, a hair inside it.
    const int n = int(solid.generators().size());
    for (int first = 0; first < n; ++first)
        for (int end = 0; end < n; ++end) {
            if (end == first) continue;
            const double excess = checked(solid, bandColour(solid, first, end)).excess;
            ASSERT_LT(excess, 1e-9) << first << ".." << end;
            ASSERT_GT(excess, -0.002) << first << ".." << end;
        }

    const MacAdamCheck white = checked(solid, solid.white());
    EXPECT_TRUE(white.within);
    EXPECT_NEAR(white.excess, 0, 1e-9);
    const MacAdamCheck black = solid.check(0, 0, 0);
    EXPECT_TRUE(black.within);
    EXPECT_NEAR(black.excess, 0, 1e-9);
    const auto& w = solid.white();
    const MacAdamCheck grey = solid.check(w[0] / 2, w[1] / 2, w[2] / 2);
    EXPECT_TRUE(grey.within);
    EXPECT_LT(grey.excess, -5);
    // A rounding beyond the white is within; a tenth is not.
    const MacAdamCheck rounded = solid.check(w[0], 100.01, w[2]);
    EXPECT_GT(rounded.excess, 0);
    EXPECT_TRUE(rounded.within);
    EXPECT_FALSE(solid.check(w[0], 100.1, w[2]).within);
    EXPECT_FALSE(solid.check(1, 0, 0).within); // no surface has X without Y
}

TEST(ObjectColourSolid, GroupedFacesGiveTheExcessOfEveryFace) {
    std::mt19937 random(29);
    std::uniform_real_distribution<double> coordinate(-20, 140);
    for (const Illuminant ill : {Illuminant::C, Illuminant::D5000, Illuminant::D65}) {
        const auto solid = solidOf(tables(), ill);
        ASSERT_TRUE(solid);
        for (int i = 0; i < 20000; ++i) {
            const double X = coordinate(random), Y = coordinate(random) * 0.8,
                         Z = coordinate(random);
            ASSERT_DOUBLE_EQ(solid->check(X, Y, Z).excess, solid->excessOverEveryFace(X, Y, Z))
                << X << " " << Y << " " << Z;
        }
        // Near the surface, where the groups' bounds are closest.
        for (int first = 0; first < 81; first += 3)
            for (int end = 0; end < 81; end += 5) {
                if (end == first) continue;
                auto p = bandColour(*solid, first, end);
                p[1] *= 0.999;
                ASSERT_DOUBLE_EQ(checked(*solid, p).excess,
                                 solid->excessOverEveryFace(p[0], p[1], p[2]));
            }
    }
    // Numbers beyond single precision, infinite or not a number are never within.
    const double huge = 1e200, inf = std::numeric_limits<double>::infinity();
    for (const auto& [X, Y, Z] : {std::array{huge, huge, huge},
                                  {inf, 1.0, 1.0},
                                  {-inf, 1.0, 1.0},
                                  {std::nan(""), 1.0, 1.0}}) {
        const MacAdamCheck c = solidC().check(X, Y, Z);
        EXPECT_FALSE(c.within) << X << " " << Y;
        EXPECT_FALSE(c.excess <= 0) << X << " " << Y;
    }
}

// The bounds of the grouped faces are computed in single precision: colours
// a hair from an optimal colour, and colours from a thousandth to 1e29 from
// the centre in every direction, under lights whose solids differ in shape.
TEST(ObjectColourSolid, GrazingAndFarColoursGiveTheExcessOfEveryFaceExactly) {
    std::mt19937 random(41);
    std::normal_distribution<double> normal(0, 1);
    std::uniform_real_distribution<double> power(-3, 29);
    for (const auto& [light, degrees] : {std::pair{"C", 2}, {"D65", 10}, {"A", 10}, {"F11", 2}}) {
        const auto solid = solidOf(tables(), light, degrees);
        ASSERT_TRUE(solid) << light;
        const ObjectColourSolid::Vector& w = solid->white();
        for (int i = 0; i < 4000; ++i) {
            const ObjectColourSolid::Vector d{normal(random), normal(random), normal(random)};
            ObjectColourSolid::Vector p{};
            if (i % 2 == 0) {
                // The optimal colour of direction d, moved by about 1e-9.
                for (const auto& g : solid->generators())
                    if (d[0] * g[0] + d[1] * g[1] + d[2] * g[2] > 0)
                        for (int c = 0; c < 3; ++c)
                            p[c] += g[c];
                for (double& c : p)
                    c += 1e-9 * normal(random);
            } else {
                const double distance = std::pow(10.0, power(random));
                for (int c = 0; c < 3; ++c)
                    p[c] = w[c] / 2 + distance * d[c];
            }
            ASSERT_EQ(checked(*solid, p).excess, solid->excessOverEveryFace(p[0], p[1], p[2]))
                << light << " " << p[0] << " " << p[1] << " " << p[2];
        }
    }
}

TEST(ObjectColourSolid, AnyIlluminantOfTheTablesHasItsSolid) {
    for (const std::string& name : tables().illuminantNames())
        for (const int degrees : {2, 10}) {
            const auto solid = solidOf(tables(), name, degrees);
            ASSERT_TRUE(solid) << name;
            EXPECT_NEAR(solid->white()[1], 100, 1e-9) << name;
            EXPECT_TRUE(checked(*solid, solid->white()).within) << name;
            // The white of the tungsten light A is far from that of C.
            if (name == "A") {
                EXPECT_FALSE(checked(solidC(), solid->white()).within);
            }
        }
    EXPECT_FALSE(solidOf(tables(), "E", 2));
    EXPECT_FALSE(solidOf(tables(), "C", 4));
}

struct RenotationRow {
    std::string notation;
    ObjectColourSolid::Vector xyz;
};

// The renotation rows of a data file, Y taken from the file's scale (magnesium
// oxide, 102.57 at value 10) to that of a perfect white by the program's PWD
// factor.
std::vector<RenotationRow> renotationRows(const std::string& file) {
    std::istringstream text(testing::dataFile(file));
    std::string line;
    std::getline(text, line);
    std::vector<RenotationRow> rows;
    while (std::getline(text, line)) {
        std::istringstream fields(line);
        std::string hue, value, chroma, x, y, Y;
        std::getline(fields, hue, ',');
        std::getline(fields, value, ',');
        std::getline(fields, chroma, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        std::getline(fields, Y, ',');
        rows.push_back({hue + " " + value + "/" + chroma,
                        ofXyY(std::stod(x), std::stod(y), std::stod(Y) * 0.975)});
    }
    return rows;
}

struct Outside {
    int count = 0;
    double most = 0;
};

Outside outsideOf(const std::vector<RenotationRow>& rows, bool print) {
    Outside o;
    for (const RenotationRow& r : rows) {
        const MacAdamCheck c = checked(solidC(), r.xyz);
        if (c.within) continue;
        ++o.count;
        o.most = std::max(o.most, c.excess);
        if (print) std::cout << "  beyond: " << r.notation << " by " << c.excess << "\n";
    }
    return o;
}

TEST(ObjectColourSolid, RealRenotationColoursLieWithinAndExtrapolatedOnesOftenNot) {
    const auto real = renotationRows("munsell-renotation-real.csv");
    ASSERT_EQ(real.size(), 2734u);
    const Outside r = outsideOf(real, true);
    std::cout << "real: " << r.count << " beyond, at most by " << r.most << "\n";
    EXPECT_LE(r.count, 3);
    EXPECT_LT(r.most, 0.36);

    std::set<std::string> realNotations;
    for (const RenotationRow& row : real)
        realNotations.insert(row.notation);
    std::vector<RenotationRow> extrapolated;
    for (RenotationRow& row : renotationRows("munsell-renotation-all.csv"))
        if (!realNotations.contains(row.notation)) extrapolated.push_back(std::move(row));
    ASSERT_EQ(extrapolated.size(), 4995u - 2734u);
    const Outside e = outsideOf(extrapolated, false);
    std::cout << "extrapolated: " << e.count << " beyond\n";
    EXPECT_GT(e.count, int(extrapolated.size()) / 2);
}

} // namespace
} // namespace huelinx
