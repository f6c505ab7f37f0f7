#include "analysis/fixed_end_forces.h"

#include <cmath>
#include <utility>

namespace tarvel {

namespace {

constexpr int kSections = 9;

// Last section at or before position a: the integer part of 8a/L, plus 1.
// Every section lies before a load placed beyond the end node (K = 10) and
// after one placed a whole eighth before the start node (K = 0); the bounds
// keep the conversion to an integer defined for any position the data holds.
int sectionsUpTo(float a, float L) {
    const float eighths = 8.0f * a / L;
    if (!(eighths < 9.0f)) return 10;
    if (!(eighths > -1.0f)) return 0;
    return static_cast<int>(eighths) + 1;
}

// Distance of section s from the start node.
float sectionX(int s, float L) { return static_cast<float>(s - 1) * (L / 8.0f); }

// Force Q at a, b = L − a.
void pointForce(const LoadParameters& R, SectionForces& F) {
    const float Q = R.Q;
    const float L = R.L;
    const float a = R.A;
    const float b = L - a;
    const float bl = b / L;
    const float VA = Q * (bl * bl) * (1.0f + 2.0f * a / L);
    const float MA = -Q * a * (bl * bl);
    const int K = sectionsUpTo(a, L);
    for (int s = 1; s <= kSections; ++s) {
        const float x = sectionX(s, L);
        if (s <= K) {
            F(1, s) = MA + VA * x;
            F(2, s) = VA;
        } else {
            F(1, s) = MA + VA * x - Q * (x - a);
            F(2, s) = VA - Q;
        }
    }
}

// Uniform Q over [a, a+c]: resultant W = Q·c at e = a + c/2, f = L − e.
void uniformLoad(const LoadParameters& R, SectionForces& F) {
    const float Q = R.Q;
    const float L = R.L;
    const float a = R.A;
    const float c = R.B - a;
    const float W = Q * c;
    const float e = a + c / 2.0f;
    const float f = L - e;
    const float fl = f / L;
    const float cl = c / L;
    const float VA = W * (3.0f * (fl * fl) - 2.0f * (fl * fl * fl) + (cl * cl) / 4.0f -
                          (cl * cl) * f / (2.0f * L));
    const float MA = -W * (e * (fl * fl) - (cl * cl) * f / 4.0f + c * c / (12.0f * L));
    const int K1 = sectionsUpTo(a, L);
    const int K2 = sectionsUpTo(a + c, L);
    for (int s = 1; s <= kSections; ++s) {
        const float x = sectionX(s, L);
        if (s <= K1) {
            F(1, s) = MA + VA * x;
            F(2, s) = VA;
        } else if (s <= K2) {
            F(1, s) = MA + VA * x - Q * ((x - a) * (x - a)) / 2.0f;
            F(2, s) = VA - Q * (x - a);
        } else {
            F(1, s) = MA + VA * x - W * (x - e);
            F(2, s) = VA - W;
        }
    }
}

// Triangle over [a, a+c], 0 at a rising to Q at a+c: resultant W = Q·c/2 at
// e = a + 2c/3, f = L − e.
void risingTriangle(const LoadParameters& R, SectionForces& F) {
    const float Q = R.Q;
    const float L = R.L;
    const float a = R.A;
    const float c = R.B - a;
    const float W = Q * c / 2.0f;
    const float e = a + 2.0f * c / 3.0f;
    const float f = L - e;
    const float fl = f / L;
    const float cl = c / L;
    const float VA = Q * c *
                     (1.5f * (fl * fl) - (fl * fl * fl) + (cl * cl) / 12.0f -
                      f * (c * c) / (6.0f * (L * L * L)) - (cl * cl * cl) / 135.0f);
    const float MA = -Q * c *
                     (e * (f * f) / (2.0f * (L * L)) - f * (c * c) / (12.0f * (L * L)) +
                      (c * c) / (36.0f * L) - (c * c * c) / (270.0f * (L * L)));
    const int K1 = sectionsUpTo(a, L);
    const int K2 = sectionsUpTo(a + c, L);
    for (int s = 1; s <= kSections; ++s) {
        const float x = sectionX(s, L);
        const float d = x - a;
        if (s <= K1) {
            F(1, s) = MA + VA * x;
            F(2, s) = VA;
        } else if (s <= K2) {
            F(1, s) = MA + VA * x - Q * (d * d * d) / (6.0f * c);
            F(2, s) = VA - Q * (d * d) / (2.0f * c);
        } else {
            F(1, s) = MA + VA * x - W * (x - e);
            F(2, s) = VA - W;
        }
    }
}

// Falling triangle: the rising one on the mirrored member (from L − a − c to
// L − a), mirrored back; the shear changes sign with the direction of x.
void fallingTriangle(const LoadParameters& R, SectionForces& F) {
    LoadParameters mirrored = R;
    mirrored.A = R.L - R.B;
    mirrored.B = R.L - R.A;
    risingTriangle(mirrored, F);
    for (int s = 1; s <= 4; ++s) std::swap(F(1, s), F(1, 10 - s));
    for (int s = 1; s <= 5; ++s) {
        const float v = F(2, s);
        F(2, s) = -F(2, 10 - s);
        F(2, 10 - s) = -v;
    }
}

// Axial force Q at a: the part before the load carries (a/L − 1)·Q, the
// part after it Q·a/L (compression positive).
void axialForce(const LoadParameters& R, SectionForces& F) {
    const float Q = R.Q;
    const float L = R.L;
    const float a = R.A;
    const int K = sectionsUpTo(a, L);
    for (int s = 1; s <= kSections; ++s) {
        F(3, s) = (s <= K) ? (a / L - 1.0f) * Q : Q * a / L;
    }
}

// Moment Q at a, b = L − a.
void pointMoment(const LoadParameters& R, SectionForces& F) {
    const float Q = R.Q;
    const float L = R.L;
    const float a = R.A;
    const float b = L - a;
    const float VA = -6.0f * Q * a * b / (L * L * L);
    const float MA = (2.0f - 3.0f * b / L) * b * Q / L;
    const int K = sectionsUpTo(a, L);
    for (int s = 1; s <= kSections; ++s) {
        const float x = sectionX(s, L);
        F(1, s) = (s <= K) ? MA + VA * x : MA + VA * x + Q;
        F(2, s) = VA;
    }
}

}  // namespace

void MQN0(int type, const LoadParameters& R, SectionForces& F) {
    F.clear();
    switch (type) {
        case 1:
            pointForce(R, F);
            break;
        case 2:
            uniformLoad(R, F);
            break;
        case 3:
            risingTriangle(R, F);
            break;
        case 4:
            fallingTriangle(R, F);
            break;
        case 5:
            axialForce(R, F);
            break;
        case 6:
            pointMoment(R, F);
            break;
        default:
            break;
    }
}

void MQN(int type, const LoadParameters& R, SectionForces& F, Vec6& FE) {
    F.clear();
    FE.clear();
    LoadParameters r = R;
    const LoadFate fate = cleanLoad(type, r);
    if (fate == LoadFate::NoLoad || fate == LoadFate::Vanishes) return;
    // A concentrated load at a member end goes straight to that node.
    if (fate == LoadFate::AtStart || fate == LoadFate::AtEnd) {
        const int base = fate == LoadFate::AtStart ? 0 : 3;
        if (type == 1) FE(base + 2) = r.Q;
        if (type == 5) FE(base + 1) = -r.Q;
        if (type == 6) FE(base + 3) = -r.Q;
        return;
    }

    MQN0(type, r, F);
    FE(1) = F(3, 1);
    FE(2) = F(2, 1);
    FE(3) = F(1, 1);
    FE(4) = -F(3, 9);
    FE(5) = -F(2, 9);
    FE(6) = -F(1, 9);
}

void MQNXY(int type, const LoadParameters& R, float c, float s, Vec6& FE, SectionForces& F) {
    Vec6 local;
    Mat6 T;
    MQN(type, R, F, local);
    TT(T, c, s);
    MRT0(T, local, FE, 6, 6);
}

}  // namespace tarvel
