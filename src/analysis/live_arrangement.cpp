#include "analysis/live_arrangement.h"

#include <cstddef>
#include <vector>

#include "analysis/band_solver.h"
#include "analysis/fixed_end_forces.h"
#include "analysis/load_vectors.h"
#include "analysis/member_forces.h"

namespace tarvel {

namespace {

void addToSplitSum(float value, float& negativeSum, float& positiveSum) {
    if (value < 0.0f) negativeSum += value;
    if (value > 0.0f) positiveSum += value;
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

    std::vector<MemberMatrices> beams;
    beams.reserve(static_cast<std::size_t>(md.NB));
    for (int b = 1; b <= md.NB; ++b) beams.push_back(memberMatrices(md, b));

    // Each case adds its displacement part to the beam forces that stand in
    // FMQN: the fixed-end state of its own member, zero elsewhere once the
    // first case has cleared the beams. Only the beams are enveloped, so
    // only their moments and end shears are formed.
    BendingForces F;
    for (std::size_t r = 0; r < n; ++r) {
        const int k = loaded[r];
        for (int k3 = 1; k3 <= 3; ++k3) {
            for (int sec = 1; sec <= 9; ++sec) s.FMQN(k3, sec, k) = fixedEnd[r](k3, sec);
        }
        for (int b = 1; b <= md.NB; ++b) {
            displacementBending(beams[static_cast<std::size_t>(b - 1)], rhs.data() + r, n, F);
            for (int sec = 1; sec <= 9; ++sec) {
                addToSplitSum(s.FMQN(1, sec, b) + F.M[sec], s.BML(sec, b, 1), s.BML(sec, b, 2));
            }
            addToSplitSum(s.FMQN(2, 1, b) + F.V, s.BVL(1, b, 1), s.BVL(1, b, 2));
            addToSplitSum(s.FMQN(2, 9, b) + F.V, s.BVL(2, b, 1), s.BVL(2, b, 2));
        }
        if (r == 0) {
            for (int b = 1; b <= md.NB; ++b) clearMember(s, b);
        }
        clearMember(s, k);
    }
}

}  // namespace tarvel
