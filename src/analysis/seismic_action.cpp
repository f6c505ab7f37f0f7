#include "analysis/seismic_action.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/member_forces.h"
#include "common/basic_convert.h"

namespace tarvel {

namespace {

// Start and end of the rising branch of the spectrum, s (Single values).
constexpr float kShortPeriod = 0.1f;
// The spectrum never falls below this fraction of ALFMAX.
constexpr double kLowerBound = 0.2;

float srss(float sumOfSquares) {
    return static_cast<float>(std::sqrt(static_cast<double>(sumOfSquares)));
}

// The seismic sums start from zero in every run, before the first mode.
void clearSeismicSums(AnalysisState& st) {
    for (int l = 0; l <= limits::kMaxLevels; ++l) {
        st.UD(2, l) = 0.0f;
        st.UD(3, l) = 0.0f;
    }
    for (int b = 0; b <= limits::kMaxBeams; ++b) {
        for (int s = 0; s <= 9; ++s) st.BM(s, b, kSeismicCase) = 0.0f;
        for (int e = 0; e <= 2; ++e) st.BV(e, b, kSeismicCase) = 0.0f;
    }
    for (int i = 0; i <= limits::kMaxColumns; ++i) {
        for (int k = 0; k <= 11; ++k) st.CF(k, i, kSeismicCase) = 0.0f;
    }
    st.RMN.clear();
    st.RVM.clear();
    st.RVN.clear();
}

// Mode j: horizontal forces WG·γ·α·φ at the mass unknowns, then `SBFORCE`.
void applyMode(AnalysisState& st, int j) {
    const DynamicResults& dyn = st.dyn;
    const float T = static_cast<float>(dyn.PERIOD(j));
    const float ALFA = seismicInfluence(T, dyn.par.TG, dyn.con.ALFMAX);

    float SUMGX = 0.0f;
    float SUMGX2 = 0.0f;
    for (int i = 1; i <= dyn.NMASS; ++i) {
        const double phi = dyn.PHI(i, j);
        const double wg = static_cast<double>(dyn.WG(i));
        SUMGX = static_cast<float>(static_cast<double>(SUMGX) + phi * wg);
        SUMGX2 = static_cast<float>(static_cast<double>(SUMGX2) + phi * phi * wg);
    }
    // Influence coefficient times participation factor.
    const float GAMA = ALFA * SUMGX / SUMGX2;

    for (int k = 1; k <= st.NDOF; ++k) st.P(k) = 0.0f;
    for (int i = 1; i <= dyn.NMASS; ++i) {
        const int code = st.model.code(1, static_cast<int>(dyn.MNODE(i)));
        st.P(code) = static_cast<float>(static_cast<double>(dyn.WG(i) * GAMA) * dyn.PHI(i, j));
    }
    SBFORCE(st);
}

// Square roots of the modal sums, then each product sum over the product of
// the two SRSS values it pairs.
void finishSrss(AnalysisState& st) {
    const FrameModel& m = st.model;
    for (int l = 1; l <= m.NLEV; ++l) {
        st.UD(2, l) = srss(st.UD(2, l));
        st.UD(3, l) = srss(st.UD(3, l));
    }
    for (int b = 1; b <= m.NB; ++b) {
        for (int s = 1; s <= 9; ++s) st.BM(s, b, kSeismicCase) = srss(st.BM(s, b, kSeismicCase));
        for (int e = 1; e <= 2; ++e) st.BV(e, b, kSeismicCase) = srss(st.BV(e, b, kSeismicCase));
    }
    for (int i = 1; i <= m.NC; ++i) {
        for (int k : {5, 6, 7, 9, 10, 11}) {
            st.CF(k, i, kSeismicCase) = srss(st.CF(k, i, kSeismicCase));
        }
    }
    for (int i = 1; i <= m.NC; ++i) {
        for (int e = 1; e <= 2; ++e) {
            const int k = e == 1 ? 5 : 9;  // M, V, N of the end at k, k+1, k+2
            const float M = st.CF(k, i, kSeismicCase);
            const float V = st.CF(k + 1, i, kSeismicCase);
            const float N = st.CF(k + 2, i, kSeismicCase);
            if (st.RMN(e, i) != 0.0f) st.RMN(e, i) = st.RMN(e, i) / (N * M);
            if (st.RVM(e, i) != 0.0f) st.RVM(e, i) = st.RVM(e, i) / (V * M);
            if (st.RVN(e, i) != 0.0f) st.RVN(e, i) = st.RVN(e, i) / (V * N);
        }
    }
}

}  // namespace

SeismicConstants seismicConstants(const SeismicParameters& par) {
    SeismicConstants con;
    con.XIMAXE = 1.0f;
    if (par.KCLASS <= 3.0f) con.XIMAXE = 0.35f;
    if (par.KCLASS <= 1.0f) con.XIMAXE = 0.25f;
    if (par.KCLASS > 2.0f) {
        con.ETAVB = 1.0f;
        con.ETAVC = 1.0f;
        con.ETAMC = 1.0f;
    } else {
        con.ETAVB = 1.05f;
        con.ETAVC = 1.1f;
        con.ETAMC = par.KCLASS == 1.0f ? 1.21f : 1.1f;
    }
    con.ETAMC *= par.ADJUST;
    con.ETAVC *= par.ADJUST;
    con.ETAVB *= par.ADJUST;
    con.ALFMAX = 0.04f;
    if (par.K0 == 7.0f) con.ALFMAX = 0.08f;
    if (par.K0 == 8.0f) con.ALFMAX = 0.16f;
    if (par.K0 == 9.0f) con.ALFMAX = 0.32f;
    return con;
}

float seismicInfluence(float T, float TG, float ALFMAX) {
    const double alfmax = static_cast<double>(ALFMAX);
    float ALFA = 0.0f;
    if (T <= kShortPeriod) {
        ALFA = static_cast<float>(alfmax * 5.5 * static_cast<double>(T) + alfmax * 0.45);
    }
    if (T >= kShortPeriod && T <= TG) ALFA = ALFMAX;
    // A zero period (ALF2 = 0) has no descending branch to divide by.
    if (T >= TG && T > 0.0f) {
        ALFA = static_cast<float>(std::pow(static_cast<double>(TG / T), 0.9) * alfmax);
    }
    if (static_cast<double>(ALFA / ALFMAX) < kLowerBound) {
        ALFA = static_cast<float>(kLowerBound * alfmax);
    }
    return ALFA;
}

void SEISMIC(AnalysisState& st) {
    DynamicResults& dyn = st.dyn;
    dyn.con = seismicConstants(dyn.par);
    clearSeismicSums(st);
    if (dyn.IERR == 0) {
        // NN, the number of modes combined, rounded half to even; reading
        // the seismic segment has already cut it to NMASS.
        const int NN = toInteger(static_cast<double>(dyn.par.NN)).value_or(0);
        const int modes = std::clamp(NN, 0, static_cast<int>(dyn.NMASS));
        for (int j = 1; j <= modes; ++j) applyMode(st, j);
    }
    finishSrss(st);
}

}  // namespace tarvel
