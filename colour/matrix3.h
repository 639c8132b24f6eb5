// 3 x 3 matrices in double precision for the linear maps between X, Y, Z and
// display or cone responses, with an exact inverse so that a map and its way
// back undo each other to double precision.
#pragma once

#include <array>

namespace huelinx {

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Vector3 = std::array<double, 3>;

constexpr Vector3 operator*(const Matrix3& m, const Vector3& v) {
    Vector3 out{};
    for (int r = 0; r < 3; ++r)
        out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
    return out;
}

// The inverse by the adjugate over the determinant (the matrices used here
// are far from singular).
constexpr Matrix3 inverseOf(const Matrix3& m) {
    Matrix3 adj{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            adj[r][c] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
        }
    const double det = m[0][0] * adj[0][0] + m[0][1] * adj[1][0] + m[0][2] * adj[2][0];
    for (auto& row : adj)
        for (double& v : row)
            v /= det;
    return adj;
}

} // namespace huelinx
