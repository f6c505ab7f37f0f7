#pragma once
// Eigen-solution of a real symmetric matrix of order n <= 80, in double
// precision: Householder reduction to tridiagonal form (`TRED2`), the QL method
// with implicit accumulation of the eigenvectors (`TQL2`), and `JCB2`, which
// calls both and hands the eigen-pairs back largest eigenvalue first. These are
// the EISPACK routines of the same names, with the convergence constant and the
// iteration limit fixed below. Matrices are used in rows and columns 1..n.

#include "common/limits.h"
#include "common/table.h"

namespace tarvel {

using EigenMatrix = Table<double, limits::kMaxMasses, limits::kMaxMasses>;
using EigenVector = Table<double, limits::kMaxMasses>;

namespace eigen {
// Relative precision the QL iteration works to: 2^-36, the precision of the
// machines the algorithm was tuned on, not that of a double. Sub-diagonal
// elements below it times the size of the matrix seen so far count as zero.
inline constexpr double kMachineEpsilon = 1.0 / 68719476736.0;
// QL iterations allowed per eigenvalue before the solution is abandoned.
inline constexpr int kMaxIterations = 30;
}  // namespace eigen

// Householder reduction of the symmetric matrix A (its lower triangle is read,
// A is left unchanged) to tridiagonal form. D receives the diagonal, E the
// sub-diagonal in E(2..n) with E(1) = 0, Z the orthogonal transformation.
void TRED2(int n, const EigenMatrix& A, EigenVector& D, EigenVector& E, EigenMatrix& Z);

// Eigenvalues and eigenvectors of the tridiagonal matrix (D, E) by the QL
// method; Z enters with the transformation of `TRED2` (or the identity) and
// leaves with the eigenvectors as columns. Eigenvalues end in ascending order.
// E is destroyed. Returns 0, or l when eigenvalue l has not converged within
// 30 iterations (D and Z then hold the partial state).
int TQL2(int n, EigenVector& D, EigenVector& E, EigenMatrix& Z);

// Eigenvalues of A in descending order in D(1..n), the unit eigenvectors as the
// columns of Z in the same order. Returns the `TQL2` failure index (0 = solved);
// the order is reversed in either case.
int JCB2(int n, const EigenMatrix& A, EigenVector& D, EigenMatrix& Z);

}  // namespace tarvel
