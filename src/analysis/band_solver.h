#pragma once
// Banded Cholesky factorisation and solution of the stiffness equations.
// Storage: row r of the lower band occupies SK((r−1)·MBAND+1 .. r·MBAND); band
// column c of row r holds the matrix element (r, r−MBAND+c), so the diagonal
// is the last entry of the row, SK(r·MBAND). Band columns that fall before
// matrix column 1 are kept and stay 0. After `LI` the same storage holds the
// factor L (matrix = L·Lᵀ). All sums run in single precision, term after
// term in the order of the textbook recurrences (band_factor.h, and `MLI`):
//   forward   P(i) = (P(i) − Σ_{k=m0}^{MBAND−1} L(i,k)·P(i+k−MBAND)) / L(i,MBAND)
//   backward  P(i) = (P(i) − Σ_{k=i+1}^{min(i+MBAND−1,NDOF)} L(k,MBAND+i−k)·P(k)) / L(i,MBAND)
// with m0 = max(1, MBAND − i + 1), the first band column inside the matrix.
// The exact zeros a row of a frame's band starts with (the columns before the
// first equation it is coupled to) are passed over, which changes no bit of
// any result (band_factor.h).

#include "analysis/analysis_state.h"

namespace tarvel {

// The factorisation passes this as the smallest acceptable pivot.
inline constexpr float kPivotEpsilon = 1.0E-32f;

// `LI`: factorises SK(1..NDOF·MBAND) in place. Returns IERR: 0, or 1 when a
// pivot is not at least eps (the matrix is not positive definite). Whether a
// frame that passes is a mechanism is judged by `isMechanism`.
int LI(StiffnessStore& SK, int NDOF, int MBAND, float eps);

// `MLI`: forward and backward substitution with the factor; P(1..NDOF)
// becomes the solution.
void MLI(const StiffnessStore& SK, int NDOF, int MBAND, LoadVector& P);

// Several right-hand sides at once, each solved exactly as `MLI` solves it
// (same operations in the same order), interleaved so that the independent
// sums overlap. rhs[(i − 1)·count + r] is entry i of right-hand side r
// (r = 0 .. count−1).
void solveMany(const StiffnessStore& SK, int NDOF, int MBAND, float* rhs, int count);

}  // namespace tarvel
