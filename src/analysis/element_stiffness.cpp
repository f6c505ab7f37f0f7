#include "analysis/element_stiffness.h"

#include <cmath>

namespace tarvel {

MemberStiffness memberStiffness(const FrameModel& model, int m) {
    const int sec = model.sectionOf(m);
    return {model.EC(model.concreteOf(m)), model.SEC(4, sec), model.SEC(3, sec)};
}

void codeVector(const FrameModel& model, int m, int LV[7]) {
    const int i = model.startNode(m);
    const int j = model.endNode(m);
    LV[0] = 0;
    for (int k = 1; k <= 3; ++k) {
        LV[k] = model.code(k, i);
        LV[k + 3] = model.code(k, j);
    }
}

// The signs of the 6EI/L² terms (negative in 2–3 and 2–6, positive in 3–5 and
// 5–6) make rotations and end moments clockwise-positive in every later step.
template <typename T>
void KE0(Matrix6<T>& k, T E, T I, T A, T L) {
    k.clear();
    const T axial = E * A / L;                    // EA/L
    const T shear = T(12) * E * I / (L * L * L);  // 12EI/L³
    const T couple = T(6) * E * I / (L * L);      // 6EI/L²
    const T bend = T(4) * E * I / L;              // 4EI/L
    k(1, 1) = axial;
    k(4, 4) = axial;
    k(1, 4) = -axial;
    k(2, 2) = shear;
    k(5, 5) = shear;
    k(2, 5) = -shear;
    k(2, 3) = -couple;
    k(2, 6) = -couple;
    k(3, 5) = couple;
    k(5, 6) = couple;
    k(3, 3) = bend;
    k(6, 6) = bend;
    k(3, 6) = bend * T(0.5);
    for (int p = 1; p <= 6; ++p) {
        for (int q = p + 1; q <= 6; ++q) k(q, p) = k(p, q);
    }
}

template <typename T>
void TT(Matrix6<T>& T6, T c, T s) {
    T6.clear();
    for (int b = 0; b <= 3; b += 3) {
        T6(b + 1, b + 1) = c;
        T6(b + 1, b + 2) = s;
        T6(b + 2, b + 1) = -s;
        T6(b + 2, b + 2) = c;
        T6(b + 3, b + 3) = T(1);
    }
}

template <typename T>
void KE(Matrix6<T>& k, T E, T I, T A, T L, T c, T s) {
    Matrix6<T> T6;
    Matrix6<T> kT;
    KE0(k, E, I, A, L);
    TT(T6, c, s);
    MRM(k, T6, kT, 6, 6, 6);
    MRT(T6, kT, k, 6, 6, 6);
}

template <typename T>
void MRM(const Matrix6<T>& A, const Matrix6<T>& B, Matrix6<T>& C, int l, int m, int n) {
    for (int i = 1; i <= l; ++i) {
        for (int j = 1; j <= n; ++j) {
            T sum = 0;
            for (int k = 1; k <= m; ++k) sum += A(i, k) * B(k, j);
            C(i, j) = sum;
        }
    }
}

template <typename T>
void MRT(const Matrix6<T>& A, const Matrix6<T>& B, Matrix6<T>& C, int l, int m, int n) {
    for (int i = 1; i <= l; ++i) {
        for (int j = 1; j <= n; ++j) {
            T sum = 0;
            for (int k = 1; k <= m; ++k) sum += A(k, i) * B(k, j);
            C(i, j) = sum;
        }
    }
}

template <typename T>
void MRT0(const Matrix6<T>& A, const Vector6<T>& x, Vector6<T>& y, int n, int m) {
    for (int i = 1; i <= n; ++i) {
        T sum = 0;
        for (int k = 1; k <= m; ++k) sum += A(k, i) * x(k);
        y(i) = sum;
    }
}

// The single-precision analysis and the double-precision mechanism check.
template void KE0<float>(Matrix6<float>&, float, float, float, float);
template void TT<float>(Matrix6<float>&, float, float);
template void KE<float>(Matrix6<float>&, float, float, float, float, float, float);
template void MRM<float>(const Matrix6<float>&, const Matrix6<float>&, Matrix6<float>&, int, int,
                         int);
template void MRT<float>(const Matrix6<float>&, const Matrix6<float>&, Matrix6<float>&, int, int,
                         int);
template void MRT0<float>(const Matrix6<float>&, const Vector6<float>&, Vector6<float>&, int, int);
template void KE0<double>(Matrix6<double>&, double, double, double, double);
template void TT<double>(Matrix6<double>&, double, double);
template void KE<double>(Matrix6<double>&, double, double, double, double, double, double);
template void MRM<double>(const Matrix6<double>&, const Matrix6<double>&, Matrix6<double>&, int,
                          int, int);
template void MRT<double>(const Matrix6<double>&, const Matrix6<double>&, Matrix6<double>&, int,
                          int, int);
template void MRT0<double>(const Matrix6<double>&, const Vector6<double>&, Vector6<double>&, int,
                           int);

}  // namespace tarvel
