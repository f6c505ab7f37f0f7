#pragma once
// The factored load combinations of the design and of the support-force
// table. Each list is formed from the four load-case effects at one place of
// one member (dead D, live L, wind W, seismic E); the seismic effect is an
// SRSS magnitude, so it is both added and subtracted. Combination numbers are
// the indices 1..n of the returned arrays (slot 0 unused); they are what the
// report prints as the most unfavourable combination.
//
//   A  beam section moment        21 values     beamMomentCombinations
//   B  beam end shear             21 values     beamShearCombinations
//   C  column end M with N        15 pairs      columnMomentCombinations
//   D  column end V with N        11 pairs      columnShearCombinations
//   E  support end M, V, N        10 triples    supportCombinations
//
// Units follow the inputs: the design passes N and N·mm, the report kN, kN·m.

#include <array>

namespace tarvel {

// Load factors shared by the lists.
inline constexpr float kDeadFactor = 1.2f;       // alternative to 1.0 in the same list
inline constexpr float kVariableFactor = 1.4f;   // live and wind load
inline constexpr float kWindWithLive = 0.85f;    // combination coefficient, used as 1.4 × 0.85
inline constexpr float kSeismicFactor = 1.3f;    // seismic action
inline constexpr float kBeamBendingRE = 0.75f;   // seismic adjustment of beam bending
inline constexpr float kColumnBendingRE = 0.8f;  // ... of column bending and axial force
inline constexpr float kShearRE = 0.85f;         // ... of shear
// Grade value given to the shear routines for a non-seismic combination: any
// value above 4 means "no anti-seismic grade".
inline constexpr float kNonSeismicGradeFlag = 5.0f;

// Seismic constants of the run that enter the combinations and the design.
// The defaults are those of a run without seismic data (all seismic effects 0).
struct SeismicDesignConstants {
    float ALF1 = 0.0f;     // live-load fraction of seismic combinations, as read from the data file
    float KCLASS = 0.0f;   // anti-seismic grade: the grade flag of the seismic shear designs
    float XIMAXE = 0.25f;  // limit of ξ of beams in seismic combinations
    float ETAVB = 0.0f;    // beam shear adjustment
    float ETAVC = 0.0f;    // column shear adjustment
    float ETAMC = 0.0f;    // column moment adjustment
};

// Effects of one beam place: the dead and wind cases, the two live-load
// arrangement sums (L1 negative effects, L2 positive effects) and the
// seismic magnitude.
struct BeamCaseValues {
    float D = 0.0f;
    float L1 = 0.0f;
    float L2 = 0.0f;
    float W = 0.0f;
    float E = 0.0f;
};

// One force of a column end for the four load cases (full live arrangement).
struct CaseValues {
    float D = 0.0f;
    float L = 0.0f;
    float W = 0.0f;
    float E = 0.0f;
};

struct MomentAxial {
    float M = 0.0f;
    float N = 0.0f;
};
struct ShearAxial {
    float V = 0.0f;
    float N = 0.0f;
};
struct EndForces {
    float M = 0.0f;
    float V = 0.0f;
    float N = 0.0f;
};

inline constexpr int kBeamCombinations = 21;  // lists A and B; 1..13 non-seismic, 14..21 seismic
inline constexpr int kLastNonSeismicBeam = 13;
inline constexpr int kColumnMomentCombinations = 15;  // list C; 8..15 seismic
inline constexpr int kColumnShearCombinations = 11;   // list D; 8..11 seismic
inline constexpr int kLastNonSeismicColumnShear = 7;
inline constexpr int kSupportCombinations = 10;  // list E; 7..10 seismic
inline constexpr int kLastNonSeismicSupport = 6;

using BeamCombinations = std::array<float, kBeamCombinations + 1>;
using ColumnMomentCombinations = std::array<MomentAxial, kColumnMomentCombinations + 1>;
using ColumnShearCombinations = std::array<ShearAxial, kColumnShearCombinations + 1>;
using SupportCombinations = std::array<EndForces, kSupportCombinations + 1>;

// List A: in each pair the even number takes D, the odd one 1.2 D; the
// seismic ones 14..21 are 0.75 × (D or 1.2 D + 1.3 × (ALF1 × L ± E)).
BeamCombinations beamMomentCombinations(const BeamCaseValues& m, float ALF1);

// List B: as list A up to 13; the seismic ones take the live share without
// the factor 1.3: ETAVB × 0.85 × (ALF1 L + D ± 1.3 E), resp.
// ETAVB × 0.85 × (1.2 (ALF1 L + D) ± 1.3 E).
BeamCombinations beamShearCombinations(const BeamCaseValues& v, float ALF1, float ETAVB);

// List C: 8..11 take the seismic moment in full and the seismic axial force
// scaled by the correlation RMN of the end, 12..15 the other way round; the
// seismic moments carry 0.8 × ETAMC, the seismic axial forces 0.8.
ColumnMomentCombinations columnMomentCombinations(const CaseValues& M, const CaseValues& N,
                                                  float RMN, float ALF1, float ETAMC);

// List D: the seismic shears 8..11 carry 0.85 × ETAVC, the axial forces 0.85.
// N.E must already be the seismic axial force scaled by the shear-axial
// correlation RVN of the end (NE′ = NE × RVN).
ColumnShearCombinations columnShearCombinations(const CaseValues& V, const CaseValues& N,
                                                float ALF1, float ETAVC);

// List E, the support end forces of the report (kN, kN·m): 7, 8 scale the
// seismic shear by RVM and the axial force by RMN, 9, 10 the seismic moment
// by RMN and the shear by RVN.
SupportCombinations supportCombinations(const CaseValues& M, const CaseValues& V,
                                        const CaseValues& N, float RMN, float RVM, float RVN,
                                        float ALF1);

// Number of the largest (smallest, largest in magnitude) value among the
// combinations first..last. The scan starts with `first` and moves only on a
// strictly larger (smaller) value, so the lowest number wins a tie.
int largestOf(const BeamCombinations& values, int first, int last);
int smallestOf(const BeamCombinations& values, int first, int last);
int largestMagnitudeOf(const BeamCombinations& values, int first, int last);

// The four support-table choices over combinations first..last of list E.
struct SupportExtremes {
    int largestM = 0;
    int smallestM = 0;
    int largestN = 0;
    int smallestN = 0;
};
// Scans start from -1E30 (largest) or +1E30 (smallest) and move only on a
// strictly larger (smaller) value; a number stays `first` when nothing moves it.
SupportExtremes supportExtremes(const SupportCombinations& values, int first, int last);

}  // namespace tarvel
