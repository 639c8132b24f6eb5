// The MacAdam limits: the object-colour solid of an illuminant and observer,
// the set of X, Y, Z every surface (reflectance 0..1 at each wavelength) can
// have under that light. It is the zonohedron spanned by the 81 generators
// g_i = k S(l_i) (x-bar, y-bar, z-bar)(l_i), 380..780 nm at 5 nm, with
// k = 100 / sum S y-bar, so a perfect white has Y = 100. Its faces lie in the
// planes through the optimal colours with normal g_i x g_j: 81 x 80 faces, a
// pair of opposite faces for each pair of generators (pairs whose generators
// are parallel span no face and are left out).
//
// check() gives the largest excess of X, Y, Z over the face planes, the
// signed distance to the plane most exceeded, in X, Y, Z units (white
// Y = 100): 0 on the surface, below 0 inside (minus the distance to the
// nearest face), above 0 beyond. The answer is exact to double precision: the
// faces are grouped by the direction of their normals and a group is
// measured only when a bound on its faces could beat the excess found so far.
#pragma once

#include "colour/illuminant.h"
#include "colour/spectral_tables.h"

#include <array>
#include <optional>
#include <vector>

namespace huelinx {

// X, Y, Z at most this far beyond the surface count as within the limits.
// The program's whites, tabulated to four or five digits, lie up to 0.013
// beyond the white of the solid summed from the 5 nm tables (a perfect white
// on the value scale, N 10/, under C: 0.012), and the X, Y, Z boxes show two
// decimals: a colour that far from the surface is one a rounding away from it.
inline constexpr double macAdamTolerance = 0.02;

struct MacAdamCheck {
    bool within = false; // excess <= macAdamTolerance
    double excess = 0;   // the largest signed distance beyond a face plane
};

class ObjectColourSolid {
  public:
    using Vector = std::array<double, 3>;

    ObjectColourSolid(const photo::Spectrum& light, const ObserverFunctions& observer);

    [[nodiscard]] MacAdamCheck check(double X, double Y, double Z) const;
    // The same excess measured over every face, without the grouping (slow;
    // for tests and benchmarks that compare the two).
    [[nodiscard]] double excessOverEveryFace(double X, double Y, double Z) const;

    // The generators g_i, and the white (their sum).
    [[nodiscard]] const std::vector<Vector>& generators() const { return generators_; }
    [[nodiscard]] const Vector& white() const { return white_; }
    // The number of face planes (two a non-parallel pair of generators).
    [[nodiscard]] std::size_t faceCount() const { return 2 * normals_.size(); }

  private:
    struct Group {
        Vector axis{};                  // unit, the mean direction of its normals
        double cosSpread = 1;           // cos and sin of the widest angle from the axis
        double sinSpread = 0;           // to a normal of the group
        double leastHalfWidth = 0;      // the smallest half width of its faces
        std::size_t first = 0, end = 0; // its normals in normals_
    };

    double groupExcess(const Group& g, const Vector& q) const;

    std::vector<Vector> generators_;
    Vector white_{};
    // Each pair of opposite faces: unit normal n (pointing into the half of the
    // sphere its group is on) and half width w; the faces are n.(p - c) = w and
    // n.(p - c) = -w, with c the centre of the solid, half the white.
    std::vector<Vector> normals_;
    std::vector<double> halfWidths_;
    std::vector<Group> groups_;
};

// The solid of the illuminant and observer the program pairs for each of its
// three illuminants (C and D50 with 2 degrees, D65 with 10), from the tables;
// none when the tables lack the illuminant.
[[nodiscard]] std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables,
                                                       Illuminant illuminant);

} // namespace huelinx
