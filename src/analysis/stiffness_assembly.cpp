#include "analysis/stiffness_assembly.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/element_stiffness.h"
#include "analysis/load_vectors.h"
#include "analysis/run_texts.h"
#include "common/limits.h"
#include "common/messages.h"

namespace tarvel {

bool INITAK(AnalysisState& s, Host& host) {
    const FrameModel& md = s.model;
    // Largest and smallest code over the nodes 1..n, both starting from JD(1,1).
    Table<int, limits::kMaxNodes> highest;
    Table<int, limits::kMaxNodes> lowest;
    int hi = md.code(1, 1);
    int lo = hi;
    for (int n = 1; n <= md.NJ; ++n) {
        for (int k = 1; k <= 3; ++k) {
            hi = std::max(hi, md.code(k, n));
            lo = std::min(lo, md.code(k, n));
        }
        highest(n) = hi;
        lowest(n) = lo;
    }
    s.NDOF = static_cast<std::int16_t>(hi);  // codes are at most 1000

    int band = 0;
    for (int m = 1; m <= md.NE; ++m) {
        const int i = md.startNode(m);
        const int j = md.endNode(m);
        const int top = std::max({0, highest(i), highest(j)});
        const int bottom = std::min({65535, lowest(i), lowest(j)});
        band = std::max(band, top - bottom + 1);
    }
    s.MBAND = static_cast<float>(band);

    const long long entries = static_cast<long long>(s.NDOF) * band;
    if (entries > limits::kMaxStiffnessEntries) {
        const std::string text =
            run_text::stiffnessOverLimit(entries, limits::kMaxStiffnessEntries);
        tell(host, text, run_text::kNoticeTitle, Icon::None);
        return false;
    }
    s.SK.resize(static_cast<int>(entries));
    return true;
}

namespace {

// The stiffness of a member and the load vector at its codes.
bool finiteMember(const AnalysisState& s, const Mat6& k, const int (&LV)[7]) {
    for (int p = 1; p <= 6; ++p) {
        for (int q = 1; q <= 6; ++q) {
            if (!std::isfinite(k(q, p))) return false;
        }
        if (LV[p] != 0 && !std::isfinite(s.P(LV[p]))) return false;
    }
    return true;
}

}  // namespace

bool KMAIN(AnalysisState& s, Host& host) {
    const FrameModel& md = s.model;
    const int MBAND = s.band();
    Mat6 k;
    int LV[7];
    for (int m = 1; m <= md.NE; ++m) {
        const MemberGeometry g = memberGeometry(md, m);
        if (g.L == 0.0f) {
            host.log(run_text::zeroLengthLog(m, md.NB, md.startNode(m), md.endNode(m)));
            host.message(run_text::kZeroLengthMessage, run_text::kNoticeTitle, Icon::Information);
            return false;
        }
        if (!std::isfinite(g.L)) {
            tellError(host, run_text::lengthOverflow(m, md.NB, md.startNode(m), md.endNode(m)));
            return false;
        }
        if (md.KW != 0) addSelfWeight(s, m, g);

        codeVector(md, m, LV);
        const MemberStiffness e = memberStiffness(md, m);
        KE(k, e.E, e.I, e.A, g.L, g.c, g.s);
        // Sections or lengths beyond what a Single holds would carry overflow
        // into every later step: the member that first gives it is named.
        if (!finiteMember(s, k, LV)) {
            tellError(host, run_text::notFinite(run_text::memberName(m, md.NB) + " 的刚度或自重"));
            return false;
        }
        // Lower triangle only; a code met twice in one member (shared
        // unknowns) receives both contributions.
        for (int p = 1; p <= 6; ++p) {
            for (int q = 1; q <= 6; ++q) {
                const int r = LV[p];
                const int t = LV[q];
                if (r != 0 && t != 0 && r - t >= 0) s.SK(r * MBAND - (r - t)) += k(q, p);
            }
        }
    }
    for (int e = 1; e <= s.SK.upper(); ++e) {
        if (!std::isfinite(s.SK(e))) {
            tellError(host, run_text::notFinite("刚度矩阵"));
            return false;
        }
    }
    return true;
}

}  // namespace tarvel
