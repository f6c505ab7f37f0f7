#pragma once
// Member stiffness in local and global directions, the transformation between
// them, and the small matrix products the stiffness method uses.
// Local unknowns of a member: (u_I, v_I, θ_I, u_J, v_J, θ_J), u along the
// member from I to J, v perpendicular to it; local = T · global.

#include "common/table.h"
#include "model/frame_model.h"
#include "model/member_loads.h"

namespace tarvel {

// 6×6 matrices and 6-vectors indexed 1..6. The analysis works in single
// precision; the mechanism check repeats the assembly in double precision.
template <typename T>
using Matrix6 = Table<T, 6, 6>;
template <typename T>
using Vector6 = Table<T, 6>;
using Mat6 = Matrix6<float>;
using Vec6 = Vector6<float>;


// E (kN/m²), I (m⁴) and A (m²) of member m.
struct MemberStiffness {
    float E = 0.0f;
    float I = 0.0f;
    float A = 0.0f;
};
MemberStiffness memberStiffness(const FrameModel& model, int m);

// Code vector LV(1..6): the equation numbers of the start node, then the end node.
void codeVector(const FrameModel& model, int m, int LV[7]);

// `KE0`: local stiffness matrix of a member.
template <typename T>
void KE0(Matrix6<T>& k, T E, T I, T A, T L);
// `TT`: transformation matrix, two blocks [[c, s, 0], [−s, c, 0], [0, 0, 1]].
template <typename T>
void TT(Matrix6<T>& T6, T c, T s);
// `KE`: global stiffness matrix Tᵀ·k·T of a member.
template <typename T>
void KE(Matrix6<T>& k, T E, T I, T A, T L, T c, T s);

// `MRM`: C = A·B (l×m times m×n).
template <typename T>
void MRM(const Matrix6<T>& A, const Matrix6<T>& B, Matrix6<T>& C, int l, int m, int n);
// `MRT`: C = Aᵀ·B (A is m×l).
template <typename T>
void MRT(const Matrix6<T>& A, const Matrix6<T>& B, Matrix6<T>& C, int l, int m, int n);
// `MRM0`: y = A·x (n×m matrix times vector). Defined here so that the member
// force loop, which calls it for every member and load vector, gets it inline.
template <typename T>
inline void MRM0(const Matrix6<T>& A, const Vector6<T>& x, Vector6<T>& y, int n, int m) {
    for (int i = 1; i <= n; ++i) {
        T sum = 0;
        for (int k = 1; k <= m; ++k) sum += A(i, k) * x(k);
        y(i) = sum;
    }
}
// `MRT0`: y = Aᵀ·x (A is m×n).
template <typename T>
void MRT0(const Matrix6<T>& A, const Vector6<T>& x, Vector6<T>& y, int n, int m);

}  // namespace tarvel
