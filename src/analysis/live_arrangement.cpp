#include "analysis/live_arrangement.h"

#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "analysis/band_solver.h"
#include "analysis/fixed_end_forces.h"
#include "analysis/load_vectors.h"
#include "analysis/member_forces.h"

namespace tarvel {

namespace {

// Without branches: the sum that does not take the value adds +0, which
// leaves it as it was (a sum that starts at +0 never becomes −0), and a NaN
// goes to neither sum.
[[maybe_unused]] void addToSplitSum(float value, float& negativeSum, float& positiveSum) {
    negativeSum += value < 0.0f ? value : 0.0f;
    positiveSum += value > 0.0f ? value : 0.0f;
}

// A beam's values in one case side by side: the moments at the nine
// sections, the shears at both ends and one unused lane, so that a case is
// added to all eleven sums of the envelope at once.
constexpr int kLanes = 12;
struct alignas(16) BeamLanes {
    float v[kLanes];
};

// f(k3, sec): the member's forces at a section, as FMQN holds them.
template <typename Forces>
BeamLanes lanesOf(const Forces& f) {
    BeamLanes lanes{};
    for (int sec = 1; sec <= 9; ++sec) lanes.v[sec - 1] = f(1, sec);
    lanes.v[9] = f(2, 1);
    lanes.v[10] = f(2, 9);
    return lanes;
}

// One case of a beam into its split sums: its fixed-end state `base` plus its
// displacement part, the moments at M[0], M[n], .., M[8n] and the shear V.
// Each lane takes the operations of `addToSplitSum`, so every sum is that of
// adding the cases one value at a time.
void addCase(const BeamLanes& base, const float* M, std::size_t n, float V, BeamLanes& negative,
             BeamLanes& positive) {
#if defined(__SSE2__)
    const __m128 zero = _mm_setzero_ps();
    const __m128 parts[3] = {_mm_setr_ps(M[0], M[n], M[2 * n], M[3 * n]),
                             _mm_setr_ps(M[4 * n], M[5 * n], M[6 * n], M[7 * n]),
                             _mm_setr_ps(M[8 * n], V, V, 0.0f)};
    for (int q = 0; q < 3; ++q) {
        const __m128 value = _mm_add_ps(_mm_load_ps(base.v + 4 * q), parts[q]);
        const __m128 below = _mm_and_ps(_mm_cmplt_ps(value, zero), value);
        const __m128 above = _mm_and_ps(_mm_cmpgt_ps(value, zero), value);
        _mm_store_ps(negative.v + 4 * q, _mm_add_ps(_mm_load_ps(negative.v + 4 * q), below));
        _mm_store_ps(positive.v + 4 * q, _mm_add_ps(_mm_load_ps(positive.v + 4 * q), above));
    }
#else
    for (int j = 0; j < 9; ++j) {
        addToSplitSum(base.v[j] + M[static_cast<std::size_t>(j) * n], negative.v[j], positive.v[j]);
    }
    addToSplitSum(base.v[9] + V, negative.v[9], positive.v[9]);
    addToSplitSum(base.v[10] + V, negative.v[10], positive.v[10]);
#endif
}

void clearMember(AnalysisState& s, int m) {
    for (int k = 1; k <= 3; ++k) {
        for (int sec = 1; sec <= 9; ++sec) s.FMQN(k, sec, m) = 0.0f;
    }
}

}  // namespace

// The member-by-member cases are independent until their sums, so their load
// vectors are gathered first and solved together (each one exactly as `MLI`
// would solve it alone); the sums are then formed member by member in order.
void LIVEFORC(AnalysisState& s, std::string_view name) {
    const FrameModel& md = s.model;
    const int NDOF = s.NDOF;
    s.BML.clear();
    s.BVL.clear();

    // `LLOAD` of each loaded member: its fixed-end state, and its load vector
    // straight into the layout of the solver: entry i of case r at (i − 1)·count + r.
    const std::vector<int> loaded = membersLoadedBy(s, name);
    const int count = static_cast<int>(loaded.size());
    if (count == 0) return;
    const auto n = static_cast<std::size_t>(count);
    std::vector<SectionForces> fixedEnd(n);
    std::vector<float> rhs(n * static_cast<std::size_t>(NDOF));
    for (std::size_t r = 0; r < n; ++r) {
        const int k = loaded[r];
        LLOAD(s, name, k);
        for (int k3 = 1; k3 <= 3; ++k3) {
            for (int sec = 1; sec <= 9; ++sec) fixedEnd[r](k3, sec) = s.FMQN(k3, sec, k);
        }
        clearMember(s, k);
        for (int i = 1; i <= NDOF; ++i) {
            rhs[static_cast<std::size_t>(i - 1) * n + r] = s.P(i);
            s.P(i) = 0.0f;
        }
    }
    solveMany(s.SK, NDOF, s.band(), rhs.data(), count);

    // Each case adds its displacement part to the beam forces that stand in
    // FMQN: in the first case what stands there with the first member's
    // fixed-end state, in every later one the fixed-end state of its own
    // member and zero elsewhere, since the first case clears the beams and
    // each case its own member. Only the beams are enveloped, so only their
    // moments and end shears are formed: beam by beam for all cases at once,
    // each sum still taking the cases in order.
    for (int k3 = 1; k3 <= 3; ++k3) {
        for (int sec = 1; sec <= 9; ++sec) s.FMQN(k3, sec, loaded[0]) = fixedEnd[0](k3, sec);
    }
    std::vector<BeamLanes> firstCase(static_cast<std::size_t>(md.NB) + 1);
    for (int b = 1; b <= md.NB; ++b) {
        firstCase[static_cast<std::size_t>(b)] = lanesOf([&](int k3, int sec) { return s.FMQN(k3, sec, b); });
    }
    for (int b = 1; b <= md.NB; ++b) clearMember(s, b);
    for (const int k : loaded) clearMember(s, k);

    std::vector<float> moments(9 * n);
    std::vector<float> shears(n);
    for (int b = 1; b <= md.NB; ++b) {
        displacementBendingMany(memberMatrices(md, b), rhs.data(), n, moments.data(), shears.data());
        BeamLanes negative{};
        BeamLanes positive{};
        for (int sec = 1; sec <= 9; ++sec) {
            negative.v[sec - 1] = s.BML(sec, b, 1);
            positive.v[sec - 1] = s.BML(sec, b, 2);
        }
        for (int e = 1; e <= 2; ++e) {
            negative.v[8 + e] = s.BVL(e, b, 1);
            positive.v[8 + e] = s.BVL(e, b, 2);
        }
        for (std::size_t r = 0; r < n; ++r) {
            static constexpr BeamLanes kUnloaded{};
            const BeamLanes* base = &kUnloaded;
            BeamLanes own;
            if (r == 0) {
                base = &firstCase[static_cast<std::size_t>(b)];
            } else if (loaded[r] == b) {
                own = lanesOf(fixedEnd[r]);
                base = &own;
            }
            addCase(*base, moments.data() + r, n, shears[r], negative, positive);
        }
        for (int sec = 1; sec <= 9; ++sec) {
            s.BML(sec, b, 1) = negative.v[sec - 1];
            s.BML(sec, b, 2) = positive.v[sec - 1];
        }
        for (int e = 1; e <= 2; ++e) {
            s.BVL(e, b, 1) = negative.v[8 + e];
            s.BVL(e, b, 2) = positive.v[8 + e];
        }
    }
}

}  // namespace tarvel
