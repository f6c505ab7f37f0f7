#pragma once
// `SEISMIC`: the response-spectrum seismic action. Forms the design constants
// of the anti-seismic grade and the intensity, applies the horizontal forces
// of each of the first NN modes through `SBFORCE`, and finishes the square
// root of the sum of squares: case 4 of BM, BV, CF, the seismic storey
// displacements and drifts UD(2..3, ·), and the correlation coefficients RMN,
// RVM, RVN of the column ends.
// Reads: dyn (parameters, masses, periods, modes), model.JD, NDOF.
// Writes: dyn.con, case 4 of BM, BV, CF, UD(2..3, ·), RMN, RVM, RVN, P.

#include "analysis/analysis_state.h"
#include "analysis/dynamic_results.h"

namespace tarvel {

// XIMAXE, ETAVB, ETAVC, ETAMC (times ADJUST) from KCLASS, ALFMAX from K0.
SeismicConstants seismicConstants(const SeismicParameters& par);

// Seismic influence coefficient of a mode of period T (s): the rising branch
// up to 0.1 s, the plateau ALFMAX up to TG, (TG/T)^0.9·ALFMAX beyond, and
// never less than 0.2·ALFMAX.
float seismicInfluence(float T, float TG, float ALFMAX);

// Runs after `DYNAMICS`. Without masses, or after a failed eigen-solution
// (dyn.IERR != 0), no mode is applied: every seismic effect is zero and only
// the constants are formed.
void SEISMIC(AnalysisState& st);

}  // namespace tarvel
