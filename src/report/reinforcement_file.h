#pragma once
// `OUTAS`: the reinforcement file "AS.ags" beside the data file, read by the
// drawing window as a stream of numbers. Every number as the program prints
// numbers (sign position, digits, one blank), lines ending CR LF:
//   NB; NC
//   per beam:   B; H (m); G (concrete grade, Integer); XI; YI; XJ; YJ (m)
//               top steel at sections 1, 3, 5, 7, 9 (mm²)
//               bottom steel at sections 1, 3, 5, 7, 9 (mm²)
//               stirrups Asv/s at both ends (mm²/mm; 99 = section too small)
//   per column: B; H; G; XI; YI; XJ; YJ
//               steel per side at the bottom and top (mm²; -1 = not designable),
//               stirrups Asv/s at both ends
//               larger steel ratio of the two ends; larger axial-compression ratio

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/design_results.h"
#include "common/host.h"
#include "common/print_buffer.h"

namespace tarvel {

// The file's text for the model and design results of the run.
std::string reinforcementFileText(const FrameModel& md, const DesignResults& des);
// The same text, printed into `out` (which may hand it on to a file as it goes).
void printReinforcementFile(PrintBuffer& out, const FrameModel& md, const DesignResults& des);

// Writes "AS.ags" into the folder of the data file, all or nothing. A file
// that cannot be written is reported (run log and message naming it); false then.
bool OUTAS(const AnalysisState& st, const DesignResults& des, Host& host);

}  // namespace tarvel
