#pragma once
// Table two of the calculation report, "TARVEL2.wri": the internal forces of
// every load case with data (beam moments at sections 1, 3, 5, 7, 9 and end
// shears, column end forces), the seismic forces with the correlation
// coefficients of the column ends, and the two live-load arrangement sums of
// the beams. kN and kN·m, four decimals.

#include <string>

#include "analysis/analysis_state.h"
#include "common/print_buffer.h"
#include "report/report_common.h"

namespace tarvel {

// The whole text of table two, with the request's time stamp as it stands.
// Reads the model, LCF, BM, BV, CF, BML, BVL, RMN and RVN.
std::string tableTwoText(const AnalysisState& st, const ReportRequest& request);
// The same text, printed into `out` (which may hand it on to a file as it goes).
void printTableTwo(PrintBuffer& out, const AnalysisState& st, const ReportRequest& request);

}  // namespace tarvel
