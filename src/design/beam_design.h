#pragma once
// Reinforced-concrete design of rectangular beams: the longitudinal steel at
// the top and bottom of a section for a bending moment, the stirrups of an end
// for a shear, and the choice of the governing combinations (lists A and B of
// load_combinations.h). The section routines take forces, section and
// materials only (N, mm, N/mm²) and know nothing of the analysis tables.

#include "analysis/design_results.h"
#include "design/load_combinations.h"
#include "model/frame_model.h"

namespace tarvel {

struct AnalysisState;

// A rectangular section with the strengths of its concrete, N, mm, N/mm².
struct RcSection {
    float b = 0.0f;       // width, mm
    float h = 0.0f;       // depth, mm
    float fc = 0.0f;      // design compressive strength (shear limits, axial compression)
    float fcm = 0.0f;     // compressive strength in flexure
    float ft = 0.0f;      // design tensile strength
    float alpha1 = 1.0f;  // factor of the rectangular stress block
    float betaC = 1.0f;   // concrete strength factor of the shear limits
};

// α1 and βc from the concrete grade number (C30 -> 30): 1.0 up to C50, 0.94
// and 0.8 at C80, linear in between; a grade above 80 keeps the C80 values.
struct ConcreteFactors {
    float alpha1 = 1.0f;
    float betaC = 1.0f;
};
ConcreteFactors concreteFactors(float grade);

// Section of member m in design units: B, H of its section × 1000, fc, fcm
// and the grade factors of its concrete, and the frame's single ft.
RcSection memberSection(const FrameModel& model, int m);

// Cover of beams to the centroid of the tension steel: h0 = h - 35 mm.
inline constexpr float kBeamCover = 35.0f;
// Cover a' of beams to the centroid of the compression steel. Taken equal to
// the tension side: beams carry one layer of bars on either face.
inline constexpr float kBeamCompressionCover = 35.0f;
// Stirrup result of a section too small for the shear.
inline constexpr float kSectionTooSmall = 99.0f;

struct FlexureSteel {
    float top = 0.0f;     // mm²
    float bottom = 0.0f;  // mm²
    float ratio = 0.0f;   // tension steel / (b h0)
    float xi = 0.0f;      // relative depth of the compression zone x / h0
};

// Flexure of a rectangular section for one moment M (N·mm). xiLimit bounds
// the balanced depth ξb: 1.0 for non-seismic combinations, XIMAXE for seismic
// ones. A positive moment puts the tension steel at the bottom, a negative one
// at the top; the compression steel goes to the other face.
FlexureSteel ASB0(float M, const RcSection& section, float fy, float xiLimit);

// Stirrups Asv/s (mm²/mm) of a rectangular section with vertical stirrups for
// one shear V (N); 99 when the section is too small for the shear, 0 when the
// concrete alone carries it. gradeFlag above 4 means a non-seismic
// combination, otherwise it is the anti-seismic grade.
float VASB0(float V, const RcSection& section, float fyv, float gradeFlag);

struct BeamMomentDesign {
    float top = 0.0f;
    float bottom = 0.0f;
    int topCombination = 0;     // list A
    int bottomCombination = 0;  // list A
    float ratio = 0.0f;         // of the last design
    float xi = 0.0f;            // of the last design
};

// List A at one section: the largest and smallest of the non-seismic
// combinations 1..13 and of the seismic ones 14..21 are designed in that
// order (limit 1.0, 1.0, XIMAXE, XIMAXE); the first design sets both faces,
// a later one replaces a face (and its number) only with strictly more steel.
BeamMomentDesign ASBMAX(const BeamCaseValues& moments, const RcSection& section, float fy,
                        const SeismicDesignConstants& seismic);

struct StirrupDesign {
    float asv = 0.0f;     // Asv/s, mm²/mm, or 99
    int combination = 1;  // list B (beams) or list D (columns)
};

// List B at one end: the largest shear in magnitude among 1..13 is designed
// as non-seismic, among 14..21 with KCLASS; the non-seismic result is kept
// only when strictly larger, otherwise the seismic one and its number.
StirrupDesign VASBMAX(const BeamCaseValues& shears, const RcSection& section, float fyv,
                      const SeismicDesignConstants& seismic);

// The seismic constants of a run as the design takes them: ALF1 as read from
// the data file (the working copy serves as scratch), KCLASS, and XIMAXE,
// ETAVB, ETAVC, ETAMC formed by the seismic step.
SeismicDesignConstants seismicDesignConstants(const AnalysisState& state);

// Beam design step of a run: every beam 1..NB, sections 1..9 from BM and BML
// (list A) and both ends from BV and BVL (list B), moments × 10^6 and shears
// × 10^3, with the steel grades of the run. Reads model, BM, BV, BML, BVL,
// mainGrade, stirrupGrade; writes BAS, BASC, BASV, BASVC.
void ASBALL(const AnalysisState& state, const SeismicDesignConstants& seismic,
            DesignResults& design);

}  // namespace tarvel
