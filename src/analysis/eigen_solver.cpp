#include "analysis/eigen_solver.h"

#include <cmath>
#include <utility>

namespace tarvel {

namespace {

// |a| with the sign of b; a zero b counts as positive.
double withSign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

// Z transposed in place over rows and columns 1..n.
void transpose(EigenMatrix& Z, int n) {
    for (int i = 1; i <= n; ++i) {
        for (int k = i + 1; k <= n; ++k) std::swap(Z(i, k), Z(k, i));
    }
}

}  // namespace

void TRED2(int n, const EigenMatrix& A, EigenVector& D, EigenVector& E, EigenMatrix& Z) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= i; ++j) Z(i, j) = A(i, j);
    }

    // Rows n down to 2: annihilate row i left of the sub-diagonal with one
    // Householder reflection. Z keeps the reduced matrix in its lower triangle
    // and the reflection vectors u/H in its upper part; D(i) keeps H.
    for (int i = n; i >= 2; --i) {
        const int l = i - 1;
        double h = 0.0;
        double scale = 0.0;
        if (l >= 2) {
            for (int k = 1; k <= l; ++k) scale += std::fabs(Z(i, k));
        }
        if (scale == 0.0) {
            // Already tridiagonal in this row (or the last row pair): no reflection.
            E(i) = Z(i, l);
            D(i) = h;
            continue;
        }
        for (int k = 1; k <= l; ++k) {
            Z(i, k) /= scale;
            h += Z(i, k) * Z(i, k);
        }
        double f = Z(i, l);
        double g = -withSign(std::sqrt(h), f);
        E(i) = scale * g;
        h -= f * g;
        Z(i, l) = f - g;
        f = 0.0;
        for (int j = 1; j <= l; ++j) {
            Z(j, i) = Z(i, j) / h;
            g = 0.0;
            // Element j of A·u, from the lower triangle of the reduced matrix.
            for (int k = 1; k <= j; ++k) g += Z(j, k) * Z(i, k);
            for (int k = j + 1; k <= l; ++k) g += Z(k, j) * Z(i, k);
            // Element j of p = A·u / H.
            E(j) = g / h;
            f += E(j) * Z(i, j);
        }
        const double hh = f / (h + h);
        // Reduced matrix A - u·qᵀ - q·uᵀ with q = p - (uᵀp / 2H)·u.
        for (int j = 1; j <= l; ++j) {
            f = Z(i, j);
            g = E(j) - hh * f;
            E(j) = g;
            for (int k = 1; k <= j; ++k) Z(j, k) = Z(j, k) - f * E(k) - g * Z(i, k);
        }
        D(i) = h;
    }
    D(1) = 0.0;
    E(1) = 0.0;

    // Accumulate the reflections into Z, from the smallest one outwards.
    for (int i = 1; i <= n; ++i) {
        const int l = i - 1;
        if (D(i) != 0.0) {
            // g(j) = Σ_k Z(i,k)·Z(k,j), then column j less g(j) times column i,
            // for j = 1..l. The updates leave row i, column i and every other
            // column as they were, so all g(j) are formed first, row by row of
            // Z with each sum still in the order of k, and the columns updated
            // after: the same operations on every entry, on consecutive storage.
            double g[limits::kMaxMasses + 1];
            for (int j = 1; j <= l; ++j) g[j] = 0.0;
            for (int k = 1; k <= l; ++k) {
                const double zik = Z(i, k);
                const double* const row = &Z(k, 0);
                for (int j = 1; j <= l; ++j) g[j] += zik * row[j];
            }
            for (int k = 1; k <= l; ++k) {
                const double zki = Z(k, i);
                double* const row = &Z(k, 0);
                for (int j = 1; j <= l; ++j) row[j] -= g[j] * zki;
            }
        }
        D(i) = Z(i, i);
        Z(i, i) = 1.0;
        for (int j = 1; j <= l; ++j) {
            Z(i, j) = 0.0;
            Z(j, i) = 0.0;
        }
    }
}

int TQL2(int n, EigenVector& D, EigenVector& E, EigenMatrix& Z) {
    if (n <= 1) return 0;
    // The rotations work on pairs of columns of Z: they run on its transpose,
    // where each column is a row in consecutive storage, and the transpose is
    // turned back at the end. Every entry gets the same operations as before.
    transpose(Z, n);

    for (int i = 2; i <= n; ++i) E(i - 1) = E(i);
    E(n) = 0.0;

    double f = 0.0;  // sum of the shifts taken off D(l+1..n) so far
    double b = 0.0;  // running negligibility bound of the sub-diagonal
    for (int l = 1; l <= n; ++l) {
        int iterations = 0;
        const double h0 = eigen::kMachineEpsilon * (std::fabs(D(l)) + std::fabs(E(l)));
        if (b < h0) b = h0;
        // First negligible sub-diagonal element at or below l; E(n) = 0 ends the search.
        int m = l;
        while (std::fabs(E(m)) > b) ++m;

        if (m != l) {
            do {
                if (iterations == eigen::kMaxIterations) {
                    transpose(Z, n);
                    return l;
                }
                ++iterations;
                // Shift from the leading 2x2 block.
                const int l1 = l + 1;
                double g = D(l);
                double p = (D(l1) - g) / (2.0 * E(l));
                double r = std::sqrt(p * p + 1.0);
                D(l) = E(l) / (p + withSign(r, p));
                double h = g - D(l);
                for (int i = l1; i <= n; ++i) D(i) -= h;
                f += h;

                // QL sweep with plane rotations from m-1 up to l.
                p = D(m);
                double c = 1.0;
                double s = 0.0;
                for (int i = m - 1; i >= l; --i) {
                    g = c * E(i);
                    h = c * p;
                    if (std::fabs(p) >= std::fabs(E(i))) {
                        c = E(i) / p;
                        r = std::sqrt(c * c + 1.0);
                        E(i + 1) = s * p * r;
                        s = c / r;
                        c = 1.0 / r;
                    } else {
                        c = p / E(i);
                        r = std::sqrt(c * c + 1.0);
                        E(i + 1) = s * E(i) * r;
                        s = 1.0 / r;
                        c = c * s;
                    }
                    p = c * D(i) - s * g;
                    D(i + 1) = h + s * (c * g + s * D(i));
                    // Columns i and i+1 of Z, rows i and i+1 of its transpose.
                    double* const zi = &Z(i, 0);
                    double* const zi1 = &Z(i + 1, 0);
                    for (int k = 1; k <= n; ++k) {
                        const double old = zi1[k];
                        zi1[k] = s * zi[k] + c * old;
                        zi[k] = c * zi[k] - s * old;
                    }
                }
                E(l) = s * p;
                D(l) = c * p;
            } while (std::fabs(E(l)) > b);
        }
        D(l) = D(l) + f;
    }

    // Selection sort, ascending; a later equal value never displaces an earlier one.
    for (int i = 1; i < n; ++i) {
        int k = i;
        double p = D(i);
        for (int j = i + 1; j <= n; ++j) {
            if (D(j) < p) {
                k = j;
                p = D(j);
            }
        }
        if (k == i) continue;
        D(k) = D(i);
        D(i) = p;
        for (int j = 1; j <= n; ++j) std::swap(Z(i, j), Z(k, j));
    }
    transpose(Z, n);
    return 0;
}

int JCB2(int n, const EigenMatrix& A, EigenVector& D, EigenMatrix& Z) {
    if (n <= 0) return 0;
    EigenVector E;
    TRED2(n, A, D, E, Z);
    const int ierr = TQL2(n, D, E, Z);
    // Largest eigenvalue first; with an odd order the middle pair stays in place.
    for (int i = 1; i <= n / 2; ++i) {
        const int k = n - i + 1;
        std::swap(D(i), D(k));
        for (int j = 1; j <= n; ++j) std::swap(Z(j, i), Z(j, k));
    }
    return ierr;
}

}  // namespace tarvel
