#pragma once
// Table one of the calculation report, "TARVEL1.wri": storey displacements
// under wind, the seismic results (masses, two periods, two modes, storey
// displacements), the reinforcement of every beam and column with the
// governing combination numbers, and the support end forces (`FIX0`).
// Lengths in m, forces in kN and kN·m, steel in mm², stirrups Asv/s in mm²/mm.

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "common/print_buffer.h"
#include "report/report_common.h"

namespace tarvel {

// The whole text of table one, with the request's time stamp as it stands.
// Reads the model, LCF, UD, dyn and the design results.
std::string tableOneText(const AnalysisState& st, const DesignResults& des,
                         const ReportRequest& request);
// The same text, printed into `out` (which may hand it on to a file as it goes).
void printTableOne(PrintBuffer& out, const AnalysisState& st, const DesignResults& des,
                   const ReportRequest& request);

// `FIX0`: the support end forces. For every column end whose node has at
// least one restrained displacement code, the combinations of the support
// list with the largest and smallest moment and axial force, over 1..6 and,
// with seismic data, over 7..10. Writes nothing when no column end is
// supported. Reads the model, CF, LCF, RMN, RVM, RVN and the raw ALF1.
void FIX0(PrintBuffer& out, const AnalysisState& st);

}  // namespace tarvel
