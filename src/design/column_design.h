#pragma once
// Reinforced-concrete design of rectangular columns with symmetric steel:
// the steel per side for bending with axial force (eccentric compression with
// slenderness magnification, eccentric tension, or bending alone), the steel
// per side for axial compression with the stability factor, the
// axial-compression ratio and the stirrups, each end with its governing
// combination (lists C and D of load_combinations.h). The section routines
// take forces, section and materials only (N, mm, N/mm²).

#include "common/host.h"
#include "design/beam_design.h"
#include "design/load_combinations.h"

namespace tarvel {

struct AnalysisState;

// Cover of columns to the steel centroid on both faces: h0 = h - 40 mm.
inline constexpr float kColumnCover = 40.0f;
// The steel per side is searched between 0.2 % and 3 % of b h.
inline constexpr float kColumnRhoMin = 0.002f;
inline constexpr float kColumnRhoMax = 0.03f;
// Relative tolerance of the search, on the steel bracket or on the eccentricity.
inline constexpr float kColumnTolerance = 0.001f;
// Steel per side of a combination whose eccentricity the 3 % section cannot reach.
inline constexpr float kColumnFailure = 1.0E10f;
// Marks of a column end that could not be designed.
inline constexpr float kFailedSteel = -1.0f;
inline constexpr float kFailedRatio = -0.01f;
// Slenderness L0 / (smaller side) beyond which no axial design is made.
inline constexpr float kMaxSlenderness = 50.0f;

// Main bars of a column design: strength, relative balanced depth ξb and the
// limit factor k of the small-eccentricity branch, by the main-bar grade
// chosen for the run: 1 -> 0.614, 0.986; 3 -> 0.528, 1; 4 -> 0.455, 1; any
// other -> 0.544, 1. (Grade 4 thus has the strength of grade 3 but a smaller ξb.)
struct MainBars {
    float fy = 300.0f;
    float xib = 0.544f;
    float k = 1.0f;
};
MainBars mainBars(int mainBarGrade, float fy);

// Eccentricity (mm, measured from the tension steel) at which the symmetric
// section with As per side reaches its capacity under the compression N.
float EASC(float As, float N, const RcSection& section, const MainBars& bars);

// Stability factor φ of an axial member of slenderness λ (λ ≤ 50): 1 up to
// 8, then two parabolas that meet at λ = 20.6 (φ ≈ 0.730).
float stabilityFactor(float lambda);

// Axial-compression steel per side for N > 0 with the stability factor φ of
// λ = L0 / min(b, h); 0 when the concrete suffices. Above λ = 50 the host gets
// the message "L/H OR L/B=<λ> is too large !" and the result is 0.
float AS00(float N, const RcSection& section, float fy, float L0, Host& host);

// Steel per side for eccentric tension N < 0 with the moment M.
float ASL(float M, float N, float h, float fy);

struct ColumnSectionDesign {
    float steel = 0.0f;  // per side for bending with axial force; kColumnFailure when impossible
    float axialSteel = 0.0f;  // per side for axial compression
    float area = 0.0f;        // b h, mm²
    float ratio = 0.0f;       // axial-compression ratio N / (fc b h); negative in tension
    bool failed = false;
};

// One combination M, N (N·mm, N; compression positive): tension by ASL, no
// axial force as a beam section (ASB0, no ξ limit, the larger face), and
// compression by a false-position search on EASC between 0.2 % and 3 %.
ColumnSectionDesign ASC0(float M, float N, const RcSection& section, float L0, const MainBars& bars,
                         Host& host);

// Running maxima of list C at one column end.
//
// After a failing combination n has ended the list: CAS = -1, CRHO = -0.01,
// CASC = n (the combination that could not be designed); CAS0, CRHO0 and CNR
// are the maxima over combinations 1..n, n included, since its axial steel and
// axial-compression ratio are well defined (only the bending search failed).
struct ColumnBendingDesign {
    float CAS = 0.0f;
    int CASC = 0;
    float CAS0 = 0.0f;
    float CRHO = 0.0f;
    float CRHO0 = 0.0f;
    float CNR = 0.0f;  // largest ratio; negative when every combination is in tension
    int designed = 0;  // combinations designed so far
    bool failed = false;
};

// Designs combination `number` and updates the running maxima (a value
// replaces only when strictly larger, so the lowest number wins a tie).
// Returns false when the combination cannot be designed: the list ends.
bool ASC(const MomentAxial& force, int number, const RcSection& section, float L0,
         const MainBars& bars, Host& host, ColumnBendingDesign& running);

// List C at one column end, in numerical order, up to the first failure.
ColumnBendingDesign ASCMAX(const CaseValues& M, const CaseValues& N, float RMN,
                           const RcSection& section, float L0, const MainBars& bars,
                           const SeismicDesignConstants& seismic, Host& host);

// Stirrups Asv/s (mm²/mm) of a column end for V with N; 99 when the section is
// too small. Hc is the column length (mm) for the shear span ratio
// λ = 0.5 Hc / h0, held to 1..3. A grade flag of 4 or more takes the
// non-seismic section limit, above 4 the non-seismic coefficients.
float ASVC0(float V, float N, const RcSection& section, float fyv, float gradeFlag, float Hc);

// Designs combination `number` of list D and keeps the running maximum
// (strictly larger replaces). Returns false once the maximum is the marker 99.
bool ASVC(const ShearAxial& force, int number, float gradeFlag, const RcSection& section, float fyv,
          float Hc, StirrupDesign& running);

// List D at one column end: 1..7 non-seismic, 8..11 with KCLASS, starting
// from 0 with number 1. N.E is the seismic axial force scaled by RVN.
StirrupDesign ASVCMAX(const CaseValues& V, const CaseValues& N, const RcSection& section, float fyv,
                      float Hc, const SeismicDesignConstants& seismic);

// Column design step of a run: both ends of every column 1..NC from CF of the
// four cases (moments × 10^6, forces × 10^3), list C with RMN and list D with
// the seismic axial force scaled by RVN. L0 is the length between the end
// nodes × ALFC(i); the shear span takes Hc = that length without ALFC. Reads
// model, CF, RMN, RVN, mainGrade, stirrupGrade; writes CAS, CASC, CAS0, CRHO,
// CRHO0, CNR, CASV, CASVC. Slenderness messages go to the host.
void ASCALL(const AnalysisState& state, const SeismicDesignConstants& seismic,
            DesignResults& design, Host& host);

}  // namespace tarvel
