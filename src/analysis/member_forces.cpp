#include "analysis/member_forces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// `roundSeven` of every value of out[0..w): where the rounded value is used,
// |x| < 1, 10⁷·x + 0.5 lies well within the range of a 32-bit integer, so
// cutting y toward zero through one gives what the 64-bit cut of floorOf
// gives; the other values are not converted at all and come back unchanged.
// Four values at a time with SSE2, each operation the IEEE operation of the
// scalar form, so every result is bit for bit that of `roundSeven`.
void roundSevenAll(float* out, std::size_t w) {
    std::size_t r = 0;
#if defined(__SSE2__)
    const __m128d absMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
    const __m128d one = _mm_set1_pd(1.0);
    const __m128d scale = _mm_set1_pd(1.0E7);
    const __m128d half = _mm_set1_pd(0.5);
    auto roundTwo = [&](__m128d x) {  // two values, widened exactly to double
        const __m128d small = _mm_cmplt_pd(_mm_and_pd(x, absMask), one);
        const __m128d y = _mm_and_pd(small, _mm_add_pd(_mm_mul_pd(scale, x), half));
        const __m128d t = _mm_cvtepi32_pd(_mm_cvttpd_epi32(y));
        const __m128d floorY = _mm_sub_pd(t, _mm_and_pd(_mm_cmpgt_pd(t, y), one));
        const __m128d signed_ = _mm_or_pd(_mm_and_pd(floorY, absMask), _mm_andnot_pd(absMask, y));
        return _mm_cvtpd_ps(_mm_div_pd(signed_, scale));  // in the two low lanes
    };
    const __m128 absMaskF = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 oneF = _mm_set1_ps(1.0f);
    for (; r + 4 <= w; r += 4) {
        const __m128 x = _mm_loadu_ps(out + r);
        const __m128 low = roundTwo(_mm_cvtps_pd(x));
        const __m128 high = roundTwo(_mm_cvtps_pd(_mm_movehl_ps(x, x)));
        const __m128 rounded = _mm_movelh_ps(low, high);
        const __m128 small = _mm_cmplt_ps(_mm_and_ps(x, absMaskF), oneF);
        _mm_storeu_ps(out + r, _mm_or_ps(_mm_and_ps(small, rounded), _mm_andnot_ps(small, x)));
    }
#endif
    for (; r < w; ++r) out[r] = roundSeven(out[r]);
}

}  // namespace

void displacementBendingMany(const MemberMatrices& mm, const float* D, std::size_t count, float* M, float* V) {
    constexpr std::size_t kLanes = 64;
    alignas(64) float u[7][kLanes];
    alignas(64) float local[7][kLanes];
    alignas(64) float f[7][kLanes];
    for (std::size_t r0 = 0; r0 < count; r0 += kLanes) {
        const std::size_t w = std::min(kLanes, count - r0);
        for (int p = 1; p <= 6; ++p) {
            const int code = mm.LV[p];
            for (std::size_t r = 0; r < w; ++r) {
                u[p][r] = code != 0 ? D[static_cast<std::size_t>(code - 1) * count + r0 + r] : 0.0f;
            }
        }
        // local = T·u and rows 2, 3, 6 of k·local, each sum from 0 in the order of k.
        for (int i = 1; i <= 6; ++i) {
            for (std::size_t r = 0; r < w; ++r) local[i][r] = 0.0f;
            for (int k = 1; k <= 6; ++k) {
                const float t = mm.T(i, k);
                for (std::size_t r = 0; r < w; ++r) local[i][r] += t * u[k][r];
            }
        }
        for (const int i : {2, 3, 6}) {
            for (std::size_t r = 0; r < w; ++r) f[i][r] = 0.0f;
            for (int k = 1; k <= 6; ++k) {
                const float kk = mm.k(i, k);
                for (std::size_t r = 0; r < w; ++r) f[i][r] += kk * local[k][r];
            }
        }
        float* const dM = f[1];  // row 1 is not needed
        for (std::size_t r = 0; r < w; ++r) dM[r] = (f[3][r] + f[6][r]) / 8.0f;
        for (int sec = 1; sec <= 9; ++sec) {
            const auto steps = static_cast<float>(sec - 1);
            float* const out = M + static_cast<std::size_t>(sec - 1) * count + r0;
            for (std::size_t r = 0; r < w; ++r) out[r] = f[3][r] - steps * dM[r];
            roundSevenAll(out, w);
        }
        for (std::size_t r = 0; r < w; ++r) V[r0 + r] = f[2][r];
        roundSevenAll(V + r0, w);
    }
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
