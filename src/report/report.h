#pragma once
// `OUTF`: the calculation report of a run, written beside the data file:
// table one "TARVEL1.wri" (displacements, seismic results, reinforcement,
// support end forces) and table two "TARVEL2.wri" (internal forces).
// Both are UTF-8 text with CR LF line ends; each file is written all or
// nothing.

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "common/host.h"
#include "report/report_common.h"

namespace tarvel {

// Where a report file of the run goes: the folder of the data file.
std::string resultFilePath(const AnalysisState& st, const char* fileName);

// Writes table one, then table two. An empty time stamp in the request is
// replaced by the current local time, the same in both files. A file that
// cannot be written is reported (run log and message naming it) and ends
// the writing; false then. Reads the model, the results by load case, dyn
// and the design results.
bool OUTF(const AnalysisState& st, const DesignResults& des, const ReportRequest& request,
          Host& host);

}  // namespace tarvel
