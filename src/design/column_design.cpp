#include "design/column_design.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/analysis_state.h"
#include "common/printed_number.h"
#include "design/steel_grades.h"

namespace tarvel {

namespace {
// The false-position search closes its bracket to 0.1 % in a few dozen
// steps; the cap only guards against a capacity curve that is not monotonic.
constexpr int kMaxSearchSteps = 200;

// A slenderness as a string conversion writes it: the Single digits without
// the sign position ("51.25"). Only values above 50 are ever shown.
std::string slendernessText(float lambda) {
    std::string s = strSingle(lambda);
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    return s;
}
}  // namespace

MainBars mainBars(int mainBarGrade, float fy) {
    MainBars bars;
    bars.fy = fy;
    switch (mainBarGrade) {
        case 1:
            bars.xib = 0.614f;
            bars.k = 0.986f;
            break;
        case 3:
            bars.xib = 0.528f;
            break;
        case 4:
            bars.xib = 0.455f;
            break;
        default:
            break;
    }
    return bars;
}

float EASC(float As, float N, const RcSection& section, const MainBars& bars) {
    const float h0 = section.h - kColumnCover;
    const float a1fcmb = section.alpha1 * section.fcm * section.b;
    const float fy = bars.fy;
    const float xib = bars.xib;
    const float Nb = a1fcmb * xib * h0;
    float xi = 0.0f;
    if (Nb >= N) {
        // Large eccentricity: both steels at yield, they cancel.
        xi = N / (a1fcmb * h0);
    } else if (a1fcmb * bars.k * h0 >= N) {
        // Small eccentricity: the far steel's stress runs linearly from fy at
        // ξb to 0 at ξ = 0.8.
        xi = (N - fy * As * xib / (xib - 0.8f)) / (a1fcmb * h0 - fy * As / (xib - 0.8f));
    } else {
        // Almost axial load: both steels in compression at yield.
        xi = (N - 2.0f * fy * As) / (a1fcmb * h0);
        if (xi > 1.0f) xi = 1.0f;
    }
    const float x = xi * h0;
    return (a1fcmb * x * (h0 - 0.5f * x) + fy * As * (h0 - kColumnCover)) / N;
}

float stabilityFactor(float lambda) {
    if (lambda <= 8.0f) return 1.0f;
    const float lambda2 = lambda * lambda;  // squared before the coefficient, as in the formula
    if (lambda <= 20.6f) return 1.01136f + 0.00634f * lambda - 0.00097f * lambda2;
    return 1.3857f - 0.037333f * lambda + 0.00026666f * lambda2;
}

float AS00(float N, const RcSection& section, float fy, float L0, Host& host) {
    const float b = section.b;
    const float h = section.h;
    const float lambda = L0 / std::min(b, h);
    if (lambda > kMaxSlenderness) {
        // A plain OK box without icon; the design goes on without axial steel.
        host.message("L/H OR L/B=" + slendernessText(lambda) + " is too large !", "", Icon::None);
        return 0.0f;
    }
    const float phi = stabilityFactor(lambda);
    const float total = (N / (0.9f * phi) - section.fc * b * h) / (fy - section.fc);
    const float perSide = 0.5f * total;
    return perSide < 0.0f ? 0.0f : perSide;
}

float ASL(float M, float N, float h, float fy) {
    const float Nt = -N;
    const float h0 = h - kColumnCover;
    const float e0 = std::fabs(M) / Nt;
    const float ePrime = 0.5f * h + e0 - kColumnCover;  // N to the far steel
    return Nt * ePrime / ((h0 - kColumnCover) * fy);
}

ColumnSectionDesign ASC0(float M, float N, const RcSection& section, float L0, const MainBars& bars,
                         Host& host) {
    ColumnSectionDesign d;
    const float m = std::fabs(M);  // symmetric steel: the sign of M does not matter
    const float A = section.b * section.h;
    d.area = A;
    d.ratio = N / (A * section.fc);

    if (N < 0.0f) {
        d.steel = ASL(m, N, section.h, bars.fy);
        return d;
    }
    if (N == 0.0f) {
        const FlexureSteel f = ASB0(m, section, bars.fy, 1.0f);
        d.steel = std::max(f.top, f.bottom);
        return d;
    }

    d.axialSteel = AS00(N, section, bars.fy, L0, host);
    const float h = section.h;
    const float h0 = h - kColumnCover;
    const float Amin = kColumnRhoMin * A;
    const float Amax = kColumnRhoMax * A;

    // Initial eccentricity with the additional eccentricity of small e0.
    const float e0 = m / N;
    const float ea = 0.12f * (0.3f * h0 - e0);
    const float ei = ea > 0.0f ? e0 + ea : e0;

    // Slenderness magnification of the eccentricity.
    float eta = 1.0f;
    const float slenderness = L0 / h;
    if (slenderness > 8.0f) {
        float zeta1 = 0.5f * section.fc * A / N;
        if (zeta1 > 1.0f) zeta1 = 1.0f;
        float zeta2 = 1.15f - 0.01f * L0 / h;  // (0.01 L0) / h in single precision
        if (zeta2 > 1.0f) zeta2 = 1.0f;
        eta = 1.0f + slenderness * slenderness * h0 / (1400.0f * ei) * zeta1 * zeta2;
    }
    // Required eccentricity of N from the tension steel.
    const float e = eta * ei + 0.5f * h - kColumnCover;

    float lo = Amin;
    float euLo = EASC(lo, N, section, bars);
    if (euLo >= e) {
        d.steel = Amin;
        return d;
    }
    float hi = Amax;
    float euHi = EASC(hi, N, section, bars);
    if (e > euHi) {
        d.steel = kColumnFailure;
        d.failed = true;
        return d;
    }
    // False position on eu(As) - e; the bracket keeps eu(lo) <= e <= eu(hi).
    float As = lo;
    for (int step = 0; step < kMaxSearchSteps; ++step) {
        As = lo + (hi - lo) / (euHi - euLo) * (e - euLo);
        const float eu = EASC(As, N, section, bars);
        if (e < eu) {
            hi = As;
            euHi = eu;
        } else {
            lo = As;
            euLo = eu;
        }
        if ((hi - lo) / hi <= kColumnTolerance || std::fabs(1.0f - eu / e) <= kColumnTolerance)
            break;
    }
    d.steel = As;
    return d;
}

bool ASC(const MomentAxial& force, int number, const RcSection& section, float L0,
         const MainBars& bars, Host& host, ColumnBendingDesign& running) {
    const ColumnSectionDesign d = ASC0(force.M, force.N, section, L0, bars, host);
    const bool first = running.designed == 0;
    if (first || d.axialSteel > running.CAS0) running.CAS0 = d.axialSteel;
    if (first || d.ratio > running.CNR) running.CNR = d.ratio;
    running.CRHO0 = running.CAS0 / d.area;
    ++running.designed;
    if (d.failed) {
        running.CAS = kFailedSteel;
        running.CRHO = kFailedRatio;
        running.CASC = number;
        running.failed = true;
        return false;
    }
    if (first || d.steel > running.CAS) {
        running.CAS = d.steel;
        running.CASC = number;
        running.CRHO = d.steel / d.area;
    }
    return true;
}

ColumnBendingDesign ASCMAX(const CaseValues& M, const CaseValues& N, float RMN,
                           const RcSection& section, float L0, const MainBars& bars,
                           const SeismicDesignConstants& seismic, Host& host) {
    const ColumnMomentCombinations c =
        columnMomentCombinations(M, N, RMN, seismic.ALF1, seismic.ETAMC);
    ColumnBendingDesign running;
    for (int n = 1; n <= kColumnMomentCombinations; ++n) {
        if (!ASC(c[static_cast<std::size_t>(n)], n, section, L0, bars, host, running)) break;
    }
    return running;
}

float ASVC0(float V, float N, const RcSection& section, float fyv, float gradeFlag, float Hc) {
    const float b = section.b;
    const float h0 = section.h - kColumnCover;
    const float v = std::fabs(V);

    // Grade 4 takes the non-seismic section limit but keeps the seismic
    // coefficients below.
    const float limitFactor = gradeFlag >= 4.0f ? 0.25f : 0.2f;
    if (v > limitFactor * section.betaC * section.fc * b * h0) return kSectionTooSmall;

    const bool nonSeismic = gradeFlag > 4.0f;
    const float alpha = nonSeismic ? 1.75f : 1.05f;
    const float kN = nonSeismic ? 0.07f : 0.056f;
    float lambda = 0.5f * Hc / h0;  // shear span ratio
    if (lambda < 1.0f) lambda = 1.0f;
    if (lambda > 3.0f) lambda = 3.0f;
    const float concrete = alpha / (lambda + 1.0f) * section.ft * b * h0;

    if (N >= 0.0f) {
        float Nc = N;
        const float NcMax = 0.3f * section.fc * b * section.h;
        if (Nc > NcMax) Nc = NcMax;
        const float asv = (v - concrete - kN * Nc) / (fyv * h0);
        return asv < 0.0f ? 0.0f : asv;
    }
    // Tension lowers the concrete share; when it wipes it out a minimum of
    // stirrups is required.
    float Vc = concrete + 0.2f * N;
    float minimum = 0.0f;
    if (Vc < 0.0f) {
        Vc = 0.0f;
        minimum = 0.03f * section.fc * b / fyv;
    }
    float asv = (v - Vc) / (fyv * h0);
    if (asv < minimum) asv = minimum;
    return asv < 0.0f ? 0.0f : asv;
}

bool ASVC(const ShearAxial& force, int number, float gradeFlag, const RcSection& section, float fyv,
          float Hc, StirrupDesign& running) {
    const float asv = ASVC0(force.V, force.N, section, fyv, gradeFlag, Hc);
    if (asv > running.asv) {
        running.asv = asv;
        running.combination = number;
    }
    return running.asv != kSectionTooSmall;
}

StirrupDesign ASVCMAX(const CaseValues& V, const CaseValues& N, const RcSection& section, float fyv,
                      float Hc, const SeismicDesignConstants& seismic) {
    const ColumnShearCombinations c = columnShearCombinations(V, N, seismic.ALF1, seismic.ETAVC);
    StirrupDesign running{0.0f, 1};
    for (int n = 1; n <= kColumnShearCombinations; ++n) {
        const float flag = n <= kLastNonSeismicColumnShear ? kNonSeismicGradeFlag : seismic.KCLASS;
        if (!ASVC(c[static_cast<std::size_t>(n)], n, flag, section, fyv, Hc, running)) break;
    }
    return running;
}

void ASCALL(const AnalysisState& state, const SeismicDesignConstants& seismic,
            DesignResults& design, Host& host) {
    design.clearColumns();
    const FrameModel& model = state.model;
    float fy = 0.0f;
    float fyv = 0.0f;
    Gjjbxz(state, fy, fyv);
    const MainBars bars = mainBars(state.mainGrade, fy);
    constexpr float kNmm = 1.0E6f;  // kN·m -> N·mm
    constexpr float kN = 1.0E3f;    // kN -> N
    for (int i = 1; i <= model.NC; ++i) {
        const int m = model.NB + i;
        const RcSection section = memberSection(model, m);
        const int I = model.startNode(m);
        const int J = model.endNode(m);
        const float dx = model.XY(1, J) - model.XY(1, I);
        const float dy = model.XY(2, J) - model.XY(2, I);
        const float length = std::sqrt(dx * dx + dy * dy) * 1000.0f;  // mm
        const float L0 = length * model.ALFC(i);
        const float Hc = length;

        for (int e = 1; e <= 2; ++e) {
            const int k = e == 1 ? 4 : 8;  // M, V, N at k + 1, k + 2, k + 3
            const auto forces = [&](int kk, float unit) {
                return CaseValues{
                    state.CF(kk, i, kDeadCase) * unit, state.CF(kk, i, kLiveCase) * unit,
                    state.CF(kk, i, kWindCase) * unit, state.CF(kk, i, kSeismicCase) * unit};
            };
            const CaseValues M = forces(k + 1, kNmm);
            const CaseValues V = forces(k + 2, kN);
            const CaseValues N = forces(k + 3, kN);

            const ColumnBendingDesign bending =
                ASCMAX(M, N, state.RMN(e, i), section, L0, bars, seismic, host);
            design.CAS(e, i) = bending.CAS;
            design.CASC(e, i) = static_cast<float>(bending.CASC);
            design.CAS0(e, i) = bending.CAS0;
            design.CRHO(e, i) = bending.CRHO;
            design.CRHO0(e, i) = bending.CRHO0;
            design.CNR(e, i) = bending.CNR;

            CaseValues shearAxial = N;
            shearAxial.E = N.E * state.RVN(e, i);
            const StirrupDesign shear = ASVCMAX(V, shearAxial, section, fyv, Hc, seismic);
            design.CASV(e, i) = shear.asv;
            design.CASVC(e, i) = static_cast<float>(shear.combination);
        }
    }
}

}  // namespace tarvel
