#pragma once
// Design strengths of the reinforcing steel chosen for a run.

#include "analysis/analysis_state.h"

namespace tarvel {

// Design strength of a steel grade, N/mm²: 1 → 210, 2 → 300, 3 and 4 → 360.
// An unknown main-bar grade gives 300, an unknown stirrup grade 210.
float mainBarStrength(int grade);
float stirrupStrength(int grade);

// `Gjjbxz`: fy of the main bars and fyv of the stirrups from the run's grades.
void Gjjbxz(const AnalysisState& s, float& fy, float& fyv);

}  // namespace tarvel
