#include "analysis/member_forces.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "analysis/band_solver.h"
#include "analysis/force_file.h"
#include "analysis/load_vectors.h"
#include "analysis/run_texts.h"
#include "common/messages.h"

namespace tarvel {

namespace {

// floor(y), exact, through a 64-bit integer where y allows: without
// branches that depend on the data, which the library call and a plain
// comparison cost on this hot path. The sign of y carries over to a zero
// result as floor keeps it (floor(−0) = −0).
double floorOf(double y) {
    constexpr double kIntegerRange = 0x1p62;
    if (!(std::fabs(y) < kIntegerRange)) return std::floor(y);
    const auto t = static_cast<double>(static_cast<long long>(y));  // y cut toward zero
    return std::copysign(t - static_cast<double>(t > y), y);
}

// Seven decimals, half upward: floor(10⁷·x + 0.5)/10⁷, in double precision.
// From magnitude 1 up, the spacing of single-precision values (1.2E-7 and
// more) is coarser than the step of 1E-7, so the value comes back unchanged.
float roundSeven(float x) {
    const auto rounded = static_cast<float>(floorOf(1.0E7 * static_cast<double>(x) + 0.5) / 1.0E7);
    return std::fabs(x) < 1.0f ? rounded : x;
}

// Seven decimals, cut downward: floor(10⁷·x)/10⁷. The cut moves a value by up
// to a whole step of 1E-7, which changes nothing from magnitude 2 up.
float cutSeven(float x) {
    const auto cut = static_cast<float>(floorOf(1.0E7 * static_cast<double>(x)) / 1.0E7);
    return std::fabs(x) < 2.0f ? cut : x;
}

// M at section s (1..9) of the line from MI at the start to −MJ at the end.
float sectionMoment(float MI, float dM, int s) { return roundSeven(MI - static_cast<float>(s - 1) * dM); }

}  // namespace

void QMNDIS(const Vec6& f, SectionForces& F) {
    const float MI = f(3);
    const float MJ = f(6);
    const float dM = (MI + MJ) / 8.0f;
    const float V = roundSeven(f(2));
    const float N = cutSeven(f(1));
    for (int s = 1; s <= 9; ++s) {
        F(1, s) = sectionMoment(MI, dM, s);
        F(2, s) = V;
        F(3, s) = N;
    }
}

MemberMatrices memberMatrices(const FrameModel& model, int m) {
    MemberMatrices mm;
    codeVector(model, m, mm.LV);
    const MemberGeometry g = memberGeometry(model, m);
    const MemberStiffness e = memberStiffness(model, m);
    TT(mm.T, g.c, g.s);
    KE0(mm.k, e.E, e.I, e.A, g.L);
    return mm;
}

void addDisplacementForces(AnalysisState& s, int m, const LoadVector& D) {
    addDisplacementForces(s, m, D, memberMatrices(s.model, m));
}

void addDisplacementForces(AnalysisState& s, int m, const LoadVector& D, const MemberMatrices& mm) {
    Vec6 u;
    for (int p = 1; p <= 6; ++p) u(p) = mm.LV[p] != 0 ? D(mm.LV[p]) : 0.0f;
    Vec6 local;
    Vec6 f;
    MRM0(mm.T, u, local, 6, 6);
    MRM0(mm.k, local, f, 6, 6);

    SectionForces F;
    QMNDIS(f, F);
    for (int k3 = 1; k3 <= 3; ++k3) {
        for (int sec = 1; sec <= 9; ++sec) s.FMQN(k3, sec, m) += F(k3, sec);
    }
}

void displacementBending(const MemberMatrices& mm, const float* D, std::size_t stride, BendingForces& out) {
    Vec6 u;
    for (int p = 1; p <= 6; ++p) {
        u(p) = mm.LV[p] != 0 ? D[static_cast<std::size_t>(mm.LV[p] - 1) * stride] : 0.0f;
    }
    Vec6 local;
    MRM0(mm.T, u, local, 6, 6);
    // Rows 2, 3 and 6 of f = k·local, each summed as the full product sums it.
    auto row = [&](int i) {
        float sum = 0;
        for (int k = 1; k <= 6; ++k) sum += mm.k(i, k) * local(k);
        return sum;
    };
    const float V = row(2);
    const float MI = row(3);
    const float MJ = row(6);
    const float dM = (MI + MJ) / 8.0f;
    for (int s = 1; s <= 9; ++s) out.M[s] = sectionMoment(MI, dM, s);
    out.V = roundSeven(V);
}

void BFORCE(AnalysisState& s) {
    MLI(s.SK, s.NDOF, s.band(), s.P);
    for (int m = 1; m <= s.model.NE; ++m) addDisplacementForces(s, m, s.P);
}

void clearLoadVector(AnalysisState& s) {
    for (int k = 1; k <= 3; ++k) {
        for (int sec = 1; sec <= 9; ++sec) {
            for (int m = 1; m <= s.model.NE; ++m) s.FMQN(k, sec, m) = 0.0f;
        }
    }
    for (int j = 1; j <= s.NDOF; ++j) s.P(j) = 0.0f;
}

bool finiteSolution(const AnalysisState& s) {
    for (int j = 1; j <= s.NDOF; ++j) {
        if (!std::isfinite(s.P(j))) return false;
    }
    for (int m = 1; m <= s.model.NE; ++m) {
        for (int sec = 1; sec <= 9; ++sec) {
            for (int k = 1; k <= 3; ++k) {
                if (!std::isfinite(s.FMQN(k, sec, m))) return false;
            }
        }
    }
    return true;
}

bool LOADFORC(AnalysisState& s, DataFile& file, Host& host, std::string_view name, int LC,
              PrintBuffer& forceText) {
    const FrameModel& md = s.model;
    if (!BLOAD(s, file, name, LC)) return false;
    if (LC <= kLiveCase) {
        for (int j = 1; j <= s.NDOF; ++j) s.PLOAD(LC, j) = s.P(j);
    }
    BFORCE(s);
    if (!finiteSolution(s)) {
        const std::string text = run_text::notFinite("'" + std::string(name) + "' 荷载工况");
        tellError(host, text);
        clearLoadVector(s);
        return false;
    }
    if (LC == kWindCase) {
        for (int l = 1; l <= md.NLEV; ++l) {
            s.UD(1, l) = s.P(md.code(1, static_cast<int>(md.LEVN(l))));
        }
    }
    for (int b = 1; b <= md.NB; ++b) {
        for (int sec = 1; sec <= 9; ++sec) s.BM(sec, b, LC) = s.FMQN(1, sec, b);
        s.BV(1, b, LC) = s.FMQN(2, 1, b);
        s.BV(2, b, LC) = s.FMQN(2, 9, b);
    }
    for (int m = md.NB + 1; m <= md.NE; ++m) {
        const int i = m - md.NB;
        for (int k = 1; k <= 3; ++k) {
            s.CF(4 + k, i, LC) = s.FMQN(k, 1, m);
            s.CF(8 + k, i, LC) = s.FMQN(k, 9, m);
        }
    }
    printForceFile(forceText, s);
    clearLoadVector(s);
    return true;
}

void SBFORCE(AnalysisState& s) {
    const FrameModel& md = s.model;
    BFORCE(s);
    float previous = 0.0f;
    for (int l = 1; l <= md.NLEV; ++l) {
        const float d = s.P(md.code(1, static_cast<int>(md.LEVN(l))));
        s.UD(2, l) += d * d;
        const float drift = l == 1 ? d : d - previous;
        s.UD(3, l) += drift * drift;
        previous = d;
    }
    for (int b = 1; b <= md.NB; ++b) {
        for (int sec = 1; sec <= 9; ++sec) {
            const float M = s.FMQN(1, sec, b);
            s.BM(sec, b, kSeismicCase) += M * M;
        }
        const float V1 = s.FMQN(2, 1, b);
        const float V9 = s.FMQN(2, 9, b);
        s.BV(1, b, kSeismicCase) += V1 * V1;
        s.BV(2, b, kSeismicCase) += V9 * V9;
    }
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        for (int k = 1; k <= 3; ++k) {
            const float bottom = s.FMQN(k, 1, m);
            const float top = s.FMQN(k, 9, m);
            s.CF(4 + k, i, kSeismicCase) += bottom * bottom;
            s.CF(8 + k, i, kSeismicCase) += top * top;
        }
        for (int e = 1; e <= 2; ++e) {
            const int sec = e == 1 ? 1 : 9;
            const float M = s.FMQN(1, sec, m);
            const float V = s.FMQN(2, sec, m);
            const float N = s.FMQN(3, sec, m);
            s.RMN(e, i) += N * M;
            s.RVM(e, i) += V * M;
            s.RVN(e, i) += V * N;
        }
    }
    clearLoadVector(s);
}

}  // namespace tarvel
