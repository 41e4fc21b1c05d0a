// Small dense linear algebra shared by the AcGe matrices: Gauss-Jordan inversion and determinants.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace arxhost::geom::detail {

// Inverts the n x n matrix `m` into `out` with partial pivoting. Returns false, leaving `out` untouched, when
// a pivot falls to `tol` times the largest entry of `m` or below: the matrix is singular for the host's
// purposes.
template <std::size_t N> bool invertSquare(const double (&m)[N][N], double (&out)[N][N], double tol)
{
    double a[N][N];
    double inv[N][N];
    double largest = 0.0;
    for (std::size_t r = 0; r < N; ++r) {
        for (std::size_t c = 0; c < N; ++c) {
            a[r][c] = m[r][c];
            inv[r][c] = r == c ? 1.0 : 0.0;
            largest = std::max(largest, std::fabs(m[r][c]));
        }
    }
    if (largest == 0.0)
        return false;
    for (std::size_t col = 0; col < N; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < N; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        }
        if (std::fabs(a[pivot][col]) <= tol * largest)
            return false;
        if (pivot != col) {
            for (std::size_t c = 0; c < N; ++c) {
                std::swap(a[pivot][c], a[col][c]);
                std::swap(inv[pivot][c], inv[col][c]);
            }
        }
        const double p = a[col][col];
        for (std::size_t c = 0; c < N; ++c) {
            a[col][c] /= p;
            inv[col][c] /= p;
        }
        for (std::size_t r = 0; r < N; ++r) {
            if (r == col || a[r][col] == 0.0)
                continue;
            const double f = a[r][col];
            for (std::size_t c = 0; c < N; ++c) {
                a[r][c] -= f * a[col][c];
                inv[r][c] -= f * inv[col][c];
            }
        }
    }
    for (std::size_t r = 0; r < N; ++r)
        for (std::size_t c = 0; c < N; ++c)
            out[r][c] = inv[r][c];
    return true;
}

// Determinant by elimination with partial pivoting.
template <std::size_t N> double determinant(const double (&m)[N][N])
{
    double a[N][N];
    for (std::size_t r = 0; r < N; ++r)
        for (std::size_t c = 0; c < N; ++c)
            a[r][c] = m[r][c];
    double det = 1.0;
    for (std::size_t col = 0; col < N; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < N; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        }
        if (a[pivot][col] == 0.0)
            return 0.0;
        if (pivot != col) {
            for (std::size_t c = 0; c < N; ++c)
                std::swap(a[pivot][c], a[col][c]);
            det = -det;
        }
        det *= a[col][col];
        for (std::size_t r = col + 1; r < N; ++r) {
            const double f = a[r][col] / a[col][col];
            for (std::size_t c = col; c < N; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    return det;
}

} // namespace arxhost::geom::detail
