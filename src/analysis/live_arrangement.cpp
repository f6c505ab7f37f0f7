#include "analysis/live_arrangement.h"

#include <cstddef>
#include <vector>

#include "analysis/band_solver.h"
#include "analysis/fixed_end_forces.h"
#include "analysis/load_vectors.h"
#include "analysis/member_forces.h"

namespace tarvel {

namespace {

// Without branches: the sum that does not take the value adds +0, which
// leaves it as it was (a sum that starts at +0 never becomes −0), and a NaN
// goes to neither sum.
void addToSplitSum(float value, float& negativeSum, float& positiveSum) {
    negativeSum += value < 0.0f ? value : 0.0f;
    positiveSum += value > 0.0f ? value : 0.0f;
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
    struct BeamBase {
        float M[10];
        float V1;
        float V9;
    };
    std::vector<BeamBase> firstCase(static_cast<std::size_t>(md.NB) + 1);
    for (int b = 1; b <= md.NB; ++b) {
        BeamBase& base = firstCase[static_cast<std::size_t>(b)];
        for (int sec = 1; sec <= 9; ++sec) base.M[sec] = s.FMQN(1, sec, b);
        base.V1 = s.FMQN(2, 1, b);
        base.V9 = s.FMQN(2, 9, b);
    }
    for (int b = 1; b <= md.NB; ++b) clearMember(s, b);
    for (const int k : loaded) clearMember(s, k);

    std::vector<float> moments(9 * n);
    std::vector<float> shears(n);
    for (int b = 1; b <= md.NB; ++b) {
        displacementBendingMany(memberMatrices(md, b), rhs.data(), n, moments.data(), shears.data());
        float negative[10];
        float positive[10];
        float shearNegative[3];
        float shearPositive[3];
        for (int sec = 1; sec <= 9; ++sec) {
            negative[sec] = s.BML(sec, b, 1);
            positive[sec] = s.BML(sec, b, 2);
        }
        for (int e = 1; e <= 2; ++e) {
            shearNegative[e] = s.BVL(e, b, 1);
            shearPositive[e] = s.BVL(e, b, 2);
        }
        for (std::size_t r = 0; r < n; ++r) {
            static constexpr BeamBase kUnloaded{};
            const BeamBase* base = &kUnloaded;
            BeamBase own;
            if (r == 0) {
                base = &firstCase[static_cast<std::size_t>(b)];
            } else if (loaded[r] == b) {
                for (int sec = 1; sec <= 9; ++sec) own.M[sec] = fixedEnd[r](1, sec);
                own.V1 = fixedEnd[r](2, 1);
                own.V9 = fixedEnd[r](2, 9);
                base = &own;
            }
            for (int sec = 1; sec <= 9; ++sec) {
                addToSplitSum(base->M[sec] + moments[static_cast<std::size_t>(sec - 1) * n + r], negative[sec],
                              positive[sec]);
            }
            addToSplitSum(base->V1 + shears[r], shearNegative[1], shearPositive[1]);
            addToSplitSum(base->V9 + shears[r], shearNegative[2], shearPositive[2]);
        }
        for (int sec = 1; sec <= 9; ++sec) {
            s.BML(sec, b, 1) = negative[sec];
            s.BML(sec, b, 2) = positive[sec];
        }
        for (int e = 1; e <= 2; ++e) {
            s.BVL(e, b, 1) = shearNegative[e];
            s.BVL(e, b, 2) = shearPositive[e];
        }
    }
}

}  // namespace tarvel
