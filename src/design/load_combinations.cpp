#include "design/load_combinations.h"

#include <cmath>

namespace tarvel {

namespace {
// 1.4 × 0.85: wind and live load acting together.
constexpr float kWindLiveFactor = kVariableFactor * kWindWithLive;

// The four wind (seismic) variants of lists A and B, in the order of their
// pairs: L1 + W, L2 + W, L1 − W, L2 − W.
std::array<float, 4> withWind(const BeamCaseValues& e) {
    return {e.L1 + e.W, e.L2 + e.W, e.L1 - e.W, e.L2 - e.W};
}

// Fills numbers 1..13, common to lists A and B.
void nonSeismicBeam(const BeamCaseValues& e, BeamCombinations& c) {
    const float D = e.D;
    c[1] = kDeadFactor * D;
    c[2] = D + kVariableFactor * e.L1;
    c[3] = kDeadFactor * D + kVariableFactor * e.L1;
    c[4] = D + kVariableFactor * e.L2;
    c[5] = kDeadFactor * D + kVariableFactor * e.L2;
    const std::array<float, 4> live = withWind(e);
    for (int k = 0; k < 4; ++k) {
        c[6 + 2 * k] = D + kWindLiveFactor * live[static_cast<std::size_t>(k)];
        c[7 + 2 * k] = kDeadFactor * D + kWindLiveFactor * live[static_cast<std::size_t>(k)];
    }
}
}  // namespace

BeamCombinations beamMomentCombinations(const BeamCaseValues& m, float ALF1) {
    BeamCombinations c{};
    nonSeismicBeam(m, c);
    const float D = m.D;
    const std::array<float, 4> seismic = {ALF1 * m.L1 + m.E, ALF1 * m.L2 + m.E, ALF1 * m.L1 - m.E,
                                          ALF1 * m.L2 - m.E};
    for (int k = 0; k < 4; ++k) {
        const float s = seismic[static_cast<std::size_t>(k)];
        c[14 + 2 * k] = kBeamBendingRE * (D + kSeismicFactor * s);
        c[15 + 2 * k] = kBeamBendingRE * (kDeadFactor * D + kSeismicFactor * s);
    }
    return c;
}

BeamCombinations beamShearCombinations(const BeamCaseValues& v, float ALF1, float ETAVB) {
    BeamCombinations c{};
    nonSeismicBeam(v, c);
    const float D = v.D;
    const float live[4] = {v.L1, v.L2, v.L1, v.L2};
    const float sign[4] = {1.0f, 1.0f, -1.0f, -1.0f};
    for (int k = 0; k < 4; ++k) {
        const float E = sign[k] * kSeismicFactor * v.E;
        c[14 + 2 * k] = ETAVB * kShearRE * (ALF1 * live[k] + D + E);
        c[15 + 2 * k] = ETAVB * kShearRE * (kDeadFactor * (ALF1 * live[k] + D) + E);
    }
    return c;
}

ColumnMomentCombinations columnMomentCombinations(const CaseValues& M, const CaseValues& N,
                                                  float RMN, float ALF1, float ETAMC) {
    ColumnMomentCombinations c{};
    const float g = kDeadFactor;
    c[1] = {g * M.D, g * N.D};
    c[2] = {M.D + kVariableFactor * M.L, N.D + kVariableFactor * N.L};
    c[3] = {g * M.D + kVariableFactor * M.L, g * N.D + kVariableFactor * N.L};
    c[4] = {g * M.D + kVariableFactor * M.W, g * N.D + kVariableFactor * N.W};
    c[5] = {g * M.D - kVariableFactor * M.W, g * N.D - kVariableFactor * N.W};
    c[6] = {g * M.D + kWindLiveFactor * (M.L + M.W), g * N.D + kWindLiveFactor * (N.L + N.W)};
    c[7] = {g * M.D + kWindLiveFactor * (M.L - M.W), g * N.D + kWindLiveFactor * (N.L - N.W)};

    const float etaM = kColumnBendingRE * ETAMC;
    // 8..11: full seismic moment, axial force scaled by RMN; 12..15 the reverse.
    // The correlation multiplies the factored seismic force, 1.3 × NE × RMN, in
    // that order (a factor of 1 leaves the full force unrounded).
    for (int half = 0; half < 2; ++half) {
        const float scaleM = half == 0 ? 1.0f : RMN;
        const float scaleN = half == 0 ? RMN : 1.0f;
        for (int k = 0; k < 2; ++k) {
            const float s = k == 0 ? kSeismicFactor : -kSeismicFactor;
            const float seismicM = s * M.E * scaleM;
            const float seismicN = s * N.E * scaleN;
            const int n = 8 + 4 * half + 2 * k;
            // Even numbers 1.2 ALF1 L + D, odd numbers 1.2 (ALF1 L + D).
            c[n] = {etaM * (g * ALF1 * M.L + M.D + seismicM),
                    kColumnBendingRE * (g * ALF1 * N.L + N.D + seismicN)};
            c[n + 1] = {etaM * (g * (ALF1 * M.L + M.D) + seismicM),
                        kColumnBendingRE * (g * (ALF1 * N.L + N.D) + seismicN)};
        }
    }
    return c;
}

ColumnShearCombinations columnShearCombinations(const CaseValues& V, const CaseValues& N,
                                                float ALF1, float ETAVC) {
    ColumnShearCombinations c{};
    const float g = kDeadFactor;
    c[1] = {g * V.D, g * N.D};
    c[2] = {V.D + kVariableFactor * V.L, N.D + kVariableFactor * N.L};
    c[3] = {g * V.D + kVariableFactor * V.L, g * N.D + kVariableFactor * N.L};
    c[4] = {V.D + kWindLiveFactor * (V.L + V.W), N.D + kWindLiveFactor * (N.L + N.W)};
    c[5] = {g * V.D + kWindLiveFactor * (V.L + V.W), g * N.D + kWindLiveFactor * (N.L + N.W)};
    c[6] = {V.D + kWindLiveFactor * (V.L - V.W), N.D + kWindLiveFactor * (N.L - N.W)};
    c[7] = {g * V.D + kWindLiveFactor * (V.L - V.W), g * N.D + kWindLiveFactor * (N.L - N.W)};

    const float etaV = kShearRE * ETAVC;
    for (int k = 0; k < 2; ++k) {
        const float s = k == 0 ? kSeismicFactor : -kSeismicFactor;
        const int n = 8 + 2 * k;
        c[n] = {etaV * (g * ALF1 * V.L + V.D + s * V.E),
                kShearRE * (g * ALF1 * N.L + N.D + s * N.E)};
        c[n + 1] = {etaV * (g * (ALF1 * V.L + V.D) + s * V.E),
                    kShearRE * (g * (ALF1 * N.L + N.D) + s * N.E)};
    }
    return c;
}

SupportCombinations supportCombinations(const CaseValues& M, const CaseValues& V,
                                        const CaseValues& N, float RMN, float RVM, float RVN,
                                        float ALF1) {
    SupportCombinations c{};
    const float g = kDeadFactor;
    const auto sameRule = [&](auto rule) { return EndForces{rule(M), rule(V), rule(N)}; };
    c[1] = sameRule([](const CaseValues& x) { return x.D + kVariableFactor * x.L; });
    c[2] = sameRule([&](const CaseValues& x) { return g * x.D + kVariableFactor * x.L; });
    c[3] = sameRule([](const CaseValues& x) { return x.D + kWindLiveFactor * (x.L + x.W); });
    c[4] = sameRule([](const CaseValues& x) { return x.D + kWindLiveFactor * (x.L - x.W); });
    c[5] = sameRule([&](const CaseValues& x) { return g * x.D + kWindLiveFactor * (x.L + x.W); });
    c[6] = sameRule([&](const CaseValues& x) { return g * x.D + kWindLiveFactor * (x.L - x.W); });

    const auto gravity = [&](const CaseValues& x) { return g * (ALF1 * x.L + x.D); };
    for (int k = 0; k < 2; ++k) {
        const float s = k == 0 ? kSeismicFactor : -kSeismicFactor;
        // 7, 8: the moment in full, shear by RVM, axial force by RMN.
        c[7 + k] = {gravity(M) + s * M.E, gravity(V) + s * RVM * V.E, gravity(N) + s * RMN * N.E};
        // 9, 10: the moment by RMN, shear by RVN, axial force in full.
        c[9 + k] = {gravity(M) + s * RMN * M.E, gravity(V) + s * RVN * V.E, gravity(N) + s * N.E};
    }
    return c;
}

int largestOf(const BeamCombinations& values, int first, int last) {
    int chosen = first;
    for (int n = first + 1; n <= last; ++n) {
        if (values[static_cast<std::size_t>(n)] > values[static_cast<std::size_t>(chosen)])
            chosen = n;
    }
    return chosen;
}

int smallestOf(const BeamCombinations& values, int first, int last) {
    int chosen = first;
    for (int n = first + 1; n <= last; ++n) {
        if (values[static_cast<std::size_t>(n)] < values[static_cast<std::size_t>(chosen)])
            chosen = n;
    }
    return chosen;
}

int largestMagnitudeOf(const BeamCombinations& values, int first, int last) {
    int chosen = first;
    for (int n = first + 1; n <= last; ++n) {
        if (std::fabs(values[static_cast<std::size_t>(n)]) >
            std::fabs(values[static_cast<std::size_t>(chosen)]))
            chosen = n;
    }
    return chosen;
}

SupportExtremes supportExtremes(const SupportCombinations& values, int first, int last) {
    constexpr float kStart = 1.0E30f;
    SupportExtremes r{first, first, first, first};
    float maxM = -kStart, minM = kStart, maxN = -kStart, minN = kStart;
    for (int n = first; n <= last; ++n) {
        const EndForces& f = values[static_cast<std::size_t>(n)];
        if (f.M > maxM) {
            maxM = f.M;
            r.largestM = n;
        }
        if (f.M < minM) {
            minM = f.M;
            r.smallestM = n;
        }
        if (f.N > maxN) {
            maxN = f.N;
            r.largestN = n;
        }
        if (f.N < minN) {
            minN = f.N;
            r.smallestN = n;
        }
    }
    return r;
}

}  // namespace tarvel
