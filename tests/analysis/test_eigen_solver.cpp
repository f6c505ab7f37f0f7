// Protects JCB2/TRED2/TQL2: eigenvalues of symmetric matrices with known spectra,
// largest first, with orthonormal eigenvectors that satisfy A·z = λ·z.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "analysis/eigen_solver.h"

namespace tarvel {
namespace {

struct Solution {
    EigenMatrix A;
    EigenVector D;
    EigenMatrix Z;
    int ierr = -1;
};

std::unique_ptr<Solution> solve(int n, const EigenMatrix& a) {
    auto s = std::make_unique<Solution>();
    s->A = a;
    s->ierr = JCB2(n, s->A, s->D, s->Z);
    return s;
}

// Largest |A·z - λ·z| over all modes and components.
double worstResidual(int n, const Solution& s) {
    double worst = 0.0;
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i <= n; ++i) {
            double az = 0.0;
            for (int k = 1; k <= n; ++k) az += s.A(i, k) * s.Z(k, j);
            worst = std::fmax(worst, std::fabs(az - s.D(j) * s.Z(i, j)));
        }
    }
    return worst;
}

// Largest deviation of ZᵀZ from the identity.
double worstOrthogonality(int n, const Solution& s) {
    double worst = 0.0;
    for (int a = 1; a <= n; ++a) {
        for (int b = 1; b <= n; ++b) {
            double dot = 0.0;
            for (int k = 1; k <= n; ++k) dot += s.Z(k, a) * s.Z(k, b);
            worst = std::fmax(worst, std::fabs(dot - (a == b ? 1.0 : 0.0)));
        }
    }
    return worst;
}

TEST(EigenSolver, OneByOneKeepsItsValueAndAUnitMode) {
    EigenMatrix a;
    a(1, 1) = 0.0375;
    auto s = solve(1, a);
    EXPECT_EQ(s->ierr, 0);
    EXPECT_EQ(s->D(1), 0.0375);
    EXPECT_EQ(s->Z(1, 1), 1.0);
}

TEST(EigenSolver, DiagonalMatrixIsSortedLargestFirstWithoutRotation) {
    // Nothing to reduce or iterate: the eigenvalues are the diagonal, the
    // modes the unit vectors, merely reordered; with an odd order the middle
    // pair stays in place during the reversal.
    EigenMatrix a;
    const double diagonal[] = {3.0, 1.0, 4.0, 2.0, 5.0};
    for (int i = 1; i <= 5; ++i) a(i, i) = diagonal[i - 1];
    auto s = solve(5, a);
    ASSERT_EQ(s->ierr, 0);
    const int unitRow[] = {5, 3, 1, 4, 2};
    for (int j = 1; j <= 5; ++j) {
        EXPECT_EQ(s->D(j), 6.0 - j) << "mode " << j;
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(s->Z(i, j), i == unitRow[j - 1] ? 1.0 : 0.0) << "Z(" << i << "," << j << ")";
        }
    }
}

TEST(EigenSolver, EqualEigenvaluesKeepTheirOrderInTheSort) {
    // diag(2, 1, 2): the ascending selection sort moves 1 to the front and
    // leaves the two 2s in their order (unit vectors e2, e1, e3); the
    // reversal then swaps columns 1 and 3 only: modes e3, e1, e2. A sort that
    // also moved on equal values would end with e1, e3, e2.
    EigenMatrix a;
    a(1, 1) = 2.0;
    a(2, 2) = 1.0;
    a(3, 3) = 2.0;
    auto s = solve(3, a);
    ASSERT_EQ(s->ierr, 0);
    const double values[] = {2.0, 2.0, 1.0};
    const int unitRow[] = {3, 1, 2};
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(s->D(j), values[j - 1]) << "mode " << j;
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(s->Z(i, j), i == unitRow[j - 1] ? 1.0 : 0.0) << "Z(" << i << "," << j << ")";
        }
    }
}

TEST(EigenSolver, RepeatedEigenvaluesKeepAnOrthonormalBasis) {
    // 2·I + (all ones): λ = 6 once (mode (1,1,1,1)/2) and λ = 2 three times.
    EigenMatrix a;
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) a(i, j) = (i == j) ? 3.0 : 1.0;
    }
    auto s = solve(4, a);
    ASSERT_EQ(s->ierr, 0);
    EXPECT_NEAR(s->D(1), 6.0, 1e-13);
    for (int j = 2; j <= 4; ++j) EXPECT_NEAR(s->D(j), 2.0, 1e-13) << "mode " << j;
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(std::fabs(s->Z(i, 1)), 0.5, 1e-13);
    EXPECT_LT(worstOrthogonality(4, *s), 1e-13);
    EXPECT_LT(worstResidual(4, *s), 1e-13);
}

TEST(EigenSolver, SecondDifferenceMatrixOfOrder80) {
    // Tridiagonal (-1, 2, -1): λk = 2 - 2·cos(kπ/81), mode k ∝ sin(i·kπ/81).
    constexpr int n = 80;
    EigenMatrix a;
    for (int i = 1; i <= n; ++i) {
        a(i, i) = 2.0;
        if (i > 1) a(i, i - 1) = a(i - 1, i) = -1.0;
    }
    auto s = solve(n, a);
    ASSERT_EQ(s->ierr, 0);
    const double pi = std::numbers::pi;
    for (int j = 1; j <= n; ++j) {
        const int k = n + 1 - j;  // largest first
        EXPECT_NEAR(s->D(j), 2.0 - 2.0 * std::cos(k * pi / (n + 1)), 1e-10) << "mode " << j;
        // Compare with the normalised sine mode, sign chosen by the first component.
        const double norm = std::sqrt((n + 1) / 2.0);
        const double sign = s->Z(1, j) >= 0.0 ? 1.0 : -1.0;
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(s->Z(i, j), sign * std::sin(i * k * pi / (n + 1)) / norm, 1e-8)
                << "Z(" << i << "," << j << ")";
        }
    }
    EXPECT_LT(worstOrthogonality(n, *s), 1e-12);
}

TEST(EigenSolver, DenseMatrixOfOrder80WithKnownSpectrum) {
    // A = Q·diag(1..80)·Qᵀ with the reflection Q = I - 2vvᵀ/vᵀv: every entry
    // non-zero, eigenvalues 80, 79, ..., 1, eigenvector of λ = k is column k of Q.
    constexpr int n = 80;
    double v[n + 1];
    double vv = 0.0;
    for (int i = 1; i <= n; ++i) {
        v[i] = 1.0 + 0.37 * i - 0.004 * i * i;
        vv += v[i] * v[i];
    }
    auto q = [&](int i, int j) { return (i == j ? 1.0 : 0.0) - 2.0 * v[i] * v[j] / vv; };
    EigenMatrix a;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            double sum = 0.0;
            for (int k = 1; k <= n; ++k) sum += q(i, k) * k * q(j, k);
            a(i, j) = sum;
        }
    }
    auto s = solve(n, a);
    ASSERT_EQ(s->ierr, 0);
    for (int j = 1; j <= n; ++j) {
        const int k = n + 1 - j;
        EXPECT_NEAR(s->D(j), static_cast<double>(k), 1e-9) << "mode " << j;
        double dot = 0.0;
        for (int i = 1; i <= n; ++i) dot += s->Z(i, j) * q(i, k);
        EXPECT_NEAR(std::fabs(dot), 1.0, 1e-9) << "mode " << j;
    }
    EXPECT_LT(worstOrthogonality(n, *s), 1e-12);
    EXPECT_LT(worstResidual(n, *s), 1e-9);
}

TEST(EigenSolver, UnitModesAndDescendingOrderForAFlexibilityMatrix) {
    // Flexibility of a 5-storey shear building with unit storey stiffness,
    // F(i,j) = min(i,j): its eigenvalues are 1 / (4·sin²((2k-1)π/22)).
    constexpr int n = 5;
    EigenMatrix a;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) a(i, j) = std::fmin(i, j);
    }
    auto s = solve(n, a);
    ASSERT_EQ(s->ierr, 0);
    const double pi = std::numbers::pi;
    for (int j = 1; j <= n; ++j) {
        const double sine = std::sin((2 * j - 1) * pi / (4 * n + 2));
        EXPECT_NEAR(s->D(j), 1.0 / (4.0 * sine * sine), 1e-12) << "mode " << j;
        if (j > 1) {
            EXPECT_GT(s->D(j - 1), s->D(j));
        }
        double length = 0.0;
        for (int i = 1; i <= n; ++i) length += s->Z(i, j) * s->Z(i, j);
        EXPECT_NEAR(length, 1.0, 1e-14);
    }
    EXPECT_LT(worstResidual(n, *s), 1e-12);
}

TEST(EigenSolver, ReductionReadsOnlyTheLowerTriangleAndKeepsA) {
    // Junk above the diagonal must not matter, and A must survive.
    EigenMatrix a;
    a(1, 1) = 2.0;
    a(2, 1) = 1.0;
    a(2, 2) = 2.0;
    a(1, 2) = 99.0;
    EigenMatrix keep = a;
    EigenVector d;
    EigenMatrix z;
    ASSERT_EQ(JCB2(2, a, d, z), 0);
    EXPECT_NEAR(d(1), 3.0, 1e-14);
    EXPECT_NEAR(d(2), 1.0, 1e-14);
    for (int i = 0; i <= 2; ++i) {
        for (int j = 0; j <= 2; ++j) EXPECT_EQ(a(i, j), keep(i, j));
    }
}

TEST(EigenSolver, SubDiagonalBelowTwoToTheMinus36IsNegligible) {
    // |E| = 1e-12 < 2^-36·(1 + 1e-12): no rotation at all, Z stays the identity.
    // A tolerance at double precision would rotate Z by about 1e-12.
    EigenVector d;
    EigenVector e;
    EigenMatrix z;
    d(1) = 1.0;
    d(2) = 2.0;
    e(2) = 1e-12;
    z(1, 1) = 1.0;
    z(2, 2) = 1.0;
    ASSERT_EQ(TQL2(2, d, e, z), 0);
    EXPECT_EQ(d(1), 1.0);
    EXPECT_EQ(d(2), 2.0);
    EXPECT_EQ(z(2, 1), 0.0);
    EXPECT_EQ(z(1, 2), 0.0);
}

TEST(EigenSolver, NegligibilityBoundKeepsTheLargestScaleSeen) {
    // The bound set by D(1) = 1000 (1.46e-8) still holds at l = 2, so the
    // coupling 1e-9 between D(2) = 1 and D(3) = 2 is dropped unrotated.
    EigenVector d;
    EigenVector e;
    EigenMatrix z;
    d(1) = 1000.0;
    d(2) = 1.0;
    d(3) = 2.0;
    e(3) = 1e-9;
    for (int i = 1; i <= 3; ++i) z(i, i) = 1.0;
    ASSERT_EQ(TQL2(3, d, e, z), 0);
    EXPECT_EQ(d(1), 1.0);
    EXPECT_EQ(d(2), 2.0);
    EXPECT_EQ(d(3), 1000.0);
    // Sorted: the modes are the unit vectors e2, e3, e1, unmixed.
    EXPECT_EQ(z(2, 1), 1.0);
    EXPECT_EQ(z(3, 1), 0.0);
    EXPECT_EQ(z(2, 2), 0.0);
    EXPECT_EQ(z(3, 2), 1.0);
    EXPECT_EQ(z(1, 3), 1.0);
}

}  // namespace
}  // namespace tarvel
