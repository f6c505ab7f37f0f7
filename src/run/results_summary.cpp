#include "run/results_summary.h"

#include <algorithm>
#include <cmath>

#include "analysis/seismic_action.h"
#include "common/basic_convert.h"

namespace tarvel {

namespace {

// Design markers left by the beam and column design.
constexpr float kShearMarker = 99.0f;         // section too small for the shear
constexpr float kUndesignableMarker = -1.0f;  // column combination that cannot be designed

bool restrained(const FrameModel& md, int k, int node) {
    return node >= 1 && node <= md.NJ && md.code(k, node) == 0;
}

// Largest d/h over the levels; the earliest level wins a tie.
template <typename Drift>
DriftRatio largestDrift(const FrameModel& md, Drift driftOf) {
    DriftRatio largest;
    for (int l = 1; l <= md.NLEV; ++l) {
        const double h = static_cast<double>(md.LEVY(l) - md.LEVY(l - 1));
        if (h <= 0.0) continue;
        const double ratio = std::fabs(static_cast<double>(driftOf(l))) / h;
        if (ratio > largest.ratio) largest = {ratio, l};
    }
    return largest;
}

// Base shear of the seismic action: in each combined mode the horizontal
// storey forces WG·γ·α·φ summed over the masses, then the square root of
// the sum of the squares of the modal base shears.
double seismicBaseShear(const DynamicResults& dyn) {
    if (dyn.IERR != 0) return 0.0;
    const int NN = toInteger(static_cast<double>(dyn.par.NN)).value_or(0);
    const int modes = std::clamp(NN, 0, static_cast<int>(dyn.NMASS));
    double sumOfSquares = 0.0;
    for (int j = 1; j <= modes; ++j) {
        const float ALFA = seismicInfluence(static_cast<float>(dyn.PERIOD(j)), dyn.par.TG,
                                            dyn.con.ALFMAX);
        double SUMGX = 0.0;
        double SUMGX2 = 0.0;
        for (int i = 1; i <= dyn.NMASS; ++i) {
            SUMGX += dyn.PHI(i, j) * static_cast<double>(dyn.WG(i));
            SUMGX2 += dyn.PHI(i, j) * dyn.PHI(i, j) * static_cast<double>(dyn.WG(i));
        }
        if (SUMGX2 == 0.0) continue;
        const double gamma = static_cast<double>(ALFA) * SUMGX / SUMGX2;
        double shear = 0.0;
        for (int i = 1; i <= dyn.NMASS; ++i) {
            shear += static_cast<double>(dyn.WG(i)) * gamma * dyn.PHI(i, j);
        }
        sumOfSquares += shear * shear;
    }
    return std::sqrt(sumOfSquares);
}

std::string_view trimmedStart(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// A line that opens with the number followed by `after`.
bool opensWith(std::string_view line, int number, std::string_view after) {
    const std::string head = std::to_string(number);
    const std::string_view t = trimmedStart(line);
    return t.substr(0, head.size()) == head && t.substr(head.size(), after.size()) == after;
}

}  // namespace

SupportReactions supportReactions(const AnalysisState& st, int c) {
    const FrameModel& md = st.model;
    SupportReactions r;
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        const int I = md.startNode(m);
        const int J = md.endNode(m);
        if (I < 1 || I > md.NJ || J < 1 || J > md.NJ) continue;
        const double dx = static_cast<double>(md.XY(1, J) - md.XY(1, I));
        const double dy = static_cast<double>(md.XY(2, J) - md.XY(2, I));
        const double L = std::hypot(dx, dy);
        if (L == 0.0) continue;
        const double cx = dx / L;  // member axis from I to J
        const double cy = dy / L;
        // Force on the column from its node, in member directions: at I it
        // is (N, V) of section 1, at J it is (−N, −V) of section 9.
        for (int e = 1; e <= 2; ++e) {
            const int node = e == 1 ? I : J;
            const bool fixedX = restrained(md, 1, node);
            const bool fixedY = restrained(md, 2, node);
            if (!fixedX && !fixedY) continue;
            const double sign = e == 1 ? 1.0 : -1.0;
            const int k = e == 1 ? 5 : 9;
            const double V = sign * static_cast<double>(st.CF(k + 1, i, c));
            const double N = sign * static_cast<double>(st.CF(k + 2, i, c));
            if (fixedX) r.horizontal += N * cx - V * cy;
            if (fixedY) r.vertical += N * cy + V * cx;
        }
    }
    return r;
}

ResultsSummary summarise(const AnalysisState& st) {
    const FrameModel& md = st.model;
    const DynamicResults& dyn = st.dyn;
    ResultsSummary s;
    for (int j = 1; j <= dyn.NMASS && dyn.IERR == 0; ++j) s.periods.push_back(dyn.PERIOD(j));
    s.hasWind = st.LCF(kWindCase) != 0.0f;
    s.hasSeismic = st.LCF(kSeismicCase) != 0.0f;
    if (s.hasWind) {
        s.windDrift = largestDrift(md, [&](int l) {
            return st.UD(1, l) - (l > 1 ? st.UD(1, l - 1) : 0.0f);
        });
    }
    if (s.hasSeismic) {
        s.seismicDrift = largestDrift(md, [&](int l) { return st.UD(3, l); });
        s.seismicBaseShear = seismicBaseShear(dyn);
    }
    s.dead = supportReactions(st, kDeadCase);
    s.live = supportReactions(st, kLiveCase);
    s.wind = supportReactions(st, kWindCase);

    const DesignResults& des = st.design;
    for (int b = 1; b <= md.NB; ++b) {
        if (des.BASV(1, b) == kShearMarker || des.BASV(2, b) == kShearMarker) {
            s.failed.push_back({FailedMember::Kind::Beam, b, "截面抗剪不足"});
        }
    }
    for (int i = 1; i <= md.NC; ++i) {
        const bool shear = des.CASV(1, i) == kShearMarker || des.CASV(2, i) == kShearMarker;
        const bool bending = des.CAS(1, i) == kUndesignableMarker ||
                             des.CAS(2, i) == kUndesignableMarker;
        if (shear || bending) {
            const char* reason = shear && bending ? "截面抗剪不足，压弯无法配筋"
                                 : shear          ? "截面抗剪不足"
                                                  : "压弯无法配筋";
            s.failed.push_back({FailedMember::Kind::Column, i, reason});
        }
    }
    return s;
}

int reportLineOf(std::string_view reportText, const FailedMember& member) {
    bool inColumnTable = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < reportText.size()) {
        std::size_t end = reportText.find('\n', start);
        if (end == std::string_view::npos) end = reportText.size();
        std::string_view line = reportText.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber;
        if (line.find("柱钢筋面积") != std::string_view::npos) inColumnTable = true;
        if (line.find("支座处杆端组合内力") != std::string_view::npos) inColumnTable = false;
        if (member.kind == FailedMember::Kind::Beam) {
            if (!inColumnTable && opensWith(line, member.number, " 梁(")) return lineNumber;
        } else if (inColumnTable && opensWith(line, member.number, " ")) {
            return lineNumber;
        }
        start = end + 1;
    }
    return 0;
}

}  // namespace tarvel
