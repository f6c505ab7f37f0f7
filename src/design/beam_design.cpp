#include "design/beam_design.h"

#include <algorithm>
#include <cmath>

#include "analysis/analysis_state.h"
#include "design/steel_grades.h"

namespace tarvel {

ConcreteFactors concreteFactors(float grade) {
    ConcreteFactors f;
    if (grade <= 50.0f) return f;
    if (grade >= 80.0f) return {0.94f, 0.8f};
    const float part = (grade - 50.0f) / 30.0f;
    f.alpha1 = 1.0f - 0.06f * part;
    f.betaC = 1.0f - 0.2f * part;
    return f;
}

RcSection memberSection(const FrameModel& model, int m) {
    const int s = model.sectionOf(m);
    const int c = model.concreteOf(m);
    RcSection section;
    section.b = model.SEC(1, s) * 1000.0f;
    section.h = model.SEC(2, s) * 1000.0f;
    section.fc = model.FC(c);
    section.fcm = model.FCM(c);
    section.ft = model.FT;
    const ConcreteFactors f = concreteFactors(model.GRADE(c));
    section.alpha1 = f.alpha1;
    section.betaC = f.betaC;
    return section;
}

FlexureSteel ASB0(float M, const RcSection& section, float fy, float xiLimit) {
    const float b = section.b;
    const float a1fcm = section.alpha1 * section.fcm;
    // Minimum tension steel: 0.15 % of b h0 for fcm up to 16.7 N/mm², 0.2 % above.
    const float rhoMin = section.fcm <= 16.7f ? 0.0015f : 0.002f;
    const float Es = fy <= 220.0f ? 210000.0f : 200000.0f;
    float xib = 0.8f / (1.0f + fy / (0.0033f * Es));
    if (xib > xiLimit) xib = xiLimit;

    const float h0 = section.h - kBeamCover;
    const float m = std::fabs(M);
    const float xb = xib * h0;
    const float Mb = a1fcm * b * xb * (h0 - 0.5f * xb);

    float As = 0.0f;     // tension steel
    float AsTop = 0.0f;  // compression steel As'
    float xi = 0.0f;
    if (Mb >= m) {
        // Tension steel only. Mb >= m keeps the root's argument at or above
        // h0² (1 - ξb)² > 0; the clamp only absorbs rounding.
        const float root = std::sqrt(std::max(0.0f, h0 * h0 - 2.0f * m / (a1fcm * b)));
        const float x = h0 - root;
        As = a1fcm * b * x / fy;
        xi = x / h0;
    } else {
        // Compression zone held at ξb; the rest of the moment goes to a
        // couple of compression and tension steel. The single-precision
        // products square h0 first and otherwise run from the left (ξb · α1
        // · fcm ...): the cancellation in As' shows any other rounding.
        AsTop = (m - a1fcm * b * (h0 * h0) * xib * (1.0f - 0.5f * xib)) /
                ((h0 - kBeamCompressionCover) * fy);
        As = xib * section.alpha1 * section.fcm * b * h0 / fy + AsTop;
        xi = xib;
    }
    const float AsMin = rhoMin * b * h0;
    if (AsMin > As) As = AsMin;

    FlexureSteel r;
    r.ratio = As / (h0 * b);
    r.xi = xi;
    if (M >= 0.0f) {
        r.bottom = As;
        r.top = AsTop;
    } else {
        r.top = As;
        r.bottom = AsTop;
    }
    return r;
}

float VASB0(float V, const RcSection& section, float fyv, float gradeFlag) {
    const float b = section.b;
    const float h0 = section.h - kBeamCover;
    const float v = std::fabs(V);
    const bool seismic = gradeFlag <= 4.0f;

    float k = 0.2f;  // section limit factor of seismic combinations
    if (!seismic) {
        const float r = h0 / b;
        k = 0.35f - 0.025f * r;
        if (r <= 4.0f) k = 0.25f;
        if (r >= 6.0f) k = 0.2f;
    }
    if (v > k * section.betaC * section.fc * b * h0) return kSectionTooSmall;

    const float alphaCv = seismic ? 0.42f : 0.7f;
    const float asv = (v - alphaCv * section.ft * b * h0) / (1.25f * fyv * h0);
    return asv < 0.0f ? 0.0f : asv;
}

BeamMomentDesign ASBMAX(const BeamCaseValues& moments, const RcSection& section, float fy,
                        const SeismicDesignConstants& seismic) {
    const BeamCombinations c = beamMomentCombinations(moments, seismic.ALF1);
    const int chosen[4] = {largestOf(c, 1, kLastNonSeismicBeam),
                           smallestOf(c, 1, kLastNonSeismicBeam),
                           largestOf(c, kLastNonSeismicBeam + 1, kBeamCombinations),
                           smallestOf(c, kLastNonSeismicBeam + 1, kBeamCombinations)};
    const float xiLimit[4] = {1.0f, 1.0f, seismic.XIMAXE, seismic.XIMAXE};

    BeamMomentDesign r;
    for (int k = 0; k < 4; ++k) {
        const int n = chosen[k];
        const FlexureSteel s = ASB0(c[static_cast<std::size_t>(n)], section, fy, xiLimit[k]);
        if (k == 0 || s.top > r.top) {
            r.top = s.top;
            r.topCombination = n;
        }
        if (k == 0 || s.bottom > r.bottom) {
            r.bottom = s.bottom;
            r.bottomCombination = n;
        }
        r.ratio = s.ratio;
        r.xi = s.xi;
    }
    return r;
}

StirrupDesign VASBMAX(const BeamCaseValues& shears, const RcSection& section, float fyv,
                      const SeismicDesignConstants& seismic) {
    const BeamCombinations c = beamShearCombinations(shears, seismic.ALF1, seismic.ETAVB);
    const int plain = largestMagnitudeOf(c, 1, kLastNonSeismicBeam);
    const int quake = largestMagnitudeOf(c, kLastNonSeismicBeam + 1, kBeamCombinations);
    const float asvPlain =
        VASB0(c[static_cast<std::size_t>(plain)], section, fyv, kNonSeismicGradeFlag);
    const float asvQuake = VASB0(c[static_cast<std::size_t>(quake)], section, fyv, seismic.KCLASS);
    if (asvPlain > asvQuake) return {asvPlain, plain};
    return {asvQuake, quake};
}

SeismicDesignConstants seismicDesignConstants(const AnalysisState& state) {
    SeismicDesignConstants c;
    c.ALF1 = state.dyn.raw.ALF1;
    c.KCLASS = state.dyn.par.KCLASS;
    c.XIMAXE = state.dyn.con.XIMAXE;
    c.ETAVB = state.dyn.con.ETAVB;
    c.ETAVC = state.dyn.con.ETAVC;
    c.ETAMC = state.dyn.con.ETAMC;
    return c;
}

void ASBALL(const AnalysisState& state, const SeismicDesignConstants& seismic,
            DesignResults& design) {
    design.clearBeams();
    const FrameModel& model = state.model;
    float fy = 0.0f;
    float fyv = 0.0f;
    Gjjbxz(state, fy, fyv);
    constexpr float kNmm = 1.0E6f;  // kN·m -> N·mm
    constexpr float kN = 1.0E3f;    // kN -> N
    for (int b = 1; b <= model.NB; ++b) {
        const RcSection section = memberSection(model, b);
        for (int s = 1; s <= 9; ++s) {
            const BeamCaseValues moments{state.BM(s, b, kDeadCase) * kNmm,
                                         state.BML(s, b, 1) * kNmm, state.BML(s, b, 2) * kNmm,
                                         state.BM(s, b, kWindCase) * kNmm,
                                         state.BM(s, b, kSeismicCase) * kNmm};
            const BeamMomentDesign d = ASBMAX(moments, section, fy, seismic);
            design.BAS(s, b, 1) = d.top;
            design.BAS(s, b, 2) = d.bottom;
            design.BASC(s, b, 1) = static_cast<float>(d.topCombination);
            design.BASC(s, b, 2) = static_cast<float>(d.bottomCombination);
        }
        for (int e = 1; e <= 2; ++e) {
            const BeamCaseValues shears{state.BV(e, b, kDeadCase) * kN, state.BVL(e, b, 1) * kN,
                                        state.BVL(e, b, 2) * kN, state.BV(e, b, kWindCase) * kN,
                                        state.BV(e, b, kSeismicCase) * kN};
            const StirrupDesign d = VASBMAX(shears, section, fyv, seismic);
            design.BASV(e, b) = d.asv;
            design.BASVC(e, b) = static_cast<float>(d.combination);
        }
    }
}

}  // namespace tarvel
