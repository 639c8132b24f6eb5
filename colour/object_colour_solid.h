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
// faces are kept in blocks of neighbouring normals, and blocks in groups;
// each block and group carries an oriented box around its normals, which
// bounds the excess of all its faces at once. A group, then a block, is
// measured (in single precision, four faces at a time) only when its bound
// could beat the largest excess found, and the faces that come within the
// rounding of the largest are measured again in double.
#pragma once

#include "colour/illuminant.h"
#include "colour/light_tables.h"

#include <array>
#include <optional>
#include <string_view>
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
    [[nodiscard]] std::size_t faceCount() const { return 2 * everyNormal_.size(); }

  private:
    // The normals of a run of faces (a block or a group) inside an oriented
    // box: three orthonormal axes e_k, the range [low_k, high_k] of n.e_k over
    // the run's normals, and e_k.v for v the solid's vertex furthest along
    // e_1 from the centre. Single-precision columns, one entry a run, padded
    // to whole vectors with runs that bound nothing (`base`, subtracted from
    // every bound, is the largest float for them and 0 for the others).
    struct BoxColumns {
        std::array<std::vector<float>, 9> axes; // e_1 x, y, z, then e_2, e_3
        std::array<std::vector<float>, 3> low, high, alongVertex;
        std::vector<float> base;
    };

    void keepDistinctPlanes();
    void orderFaces(std::size_t first, std::size_t end);
    void makeBlocks();
    void addBox(BoxColumns& boxes, std::size_t first, std::size_t end);
    float blockMost(std::size_t block, float qx, float qy, float qz) const;
    double excessNear(std::size_t block, const Vector& q, float least) const;

    std::vector<Vector> generators_;
    Vector white_{};
    // Each pair of opposite faces: unit normal n and half width w; the faces
    // are n.(p - c) = w and n.(p - c) = -w, c the centre of the solid (half
    // the white). Every pair, as the generators give them; and the distinct
    // ones, in double and in single precision as columns padded to whole
    // blocks with faces that never count, neighbours in direction neighbours
    // in the lists.
    std::vector<Vector> everyNormal_;
    std::vector<double> everyHalfWidth_;
    std::vector<Vector> normals_;
    std::vector<double> halfWidths_;
    std::vector<float> nx_, ny_, nz_, w_;
    BoxColumns blockBoxes_, groupBoxes_;
    std::size_t blockCount_ = 0, groupCount_ = 0;
};

// The solid of the illuminant and observer the program pairs for each of its
// three illuminants (C and D50 with 2 degrees, D65 with 10), from the tables;
// none when the tables lack the illuminant.
[[nodiscard]] std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables,
                                                       Illuminant illuminant);
// The solid of any illuminant of the tables ("A", "F11", ...) with the 2 or
// 10 degree observer; none when either is unknown.
[[nodiscard]] std::optional<ObjectColourSolid> solidOf(const SpectralTables& tables,
                                                       std::string_view illuminant, int degrees);

} // namespace huelinx
