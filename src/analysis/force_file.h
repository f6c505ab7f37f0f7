#pragma once
// The internal-force file of one static load case ("DLOAD.fkn", "LLOAD.fkn",
// "WLOAD.fkn"), read by the drawing window for the M, V and N diagrams.
// Layout, every number as the program prints numbers, lines ending CR LF:
//   NE; max |M|; max |V|; max |N| over all members and sections of the case
//   per member: X(I); Y(I); X(J); Y(J)
//               nine lines M; V; N at sections 1..9 (from FMQN)

#include <string>
#include <string_view>

#include "analysis/analysis_state.h"
#include "common/host.h"
#include "common/print_buffer.h"

namespace tarvel {

// The file's text for the forces now in FMQN.
std::string forceFileText(const AnalysisState& s);
void printForceFile(PrintBuffer& out, const AnalysisState& s);

// Where the file of load segment `name` goes: beside the data file.
std::string forceFilePath(const AnalysisState& s, std::string_view name);

// Writes the file of load segment `name` all or nothing. A file that cannot be
// written is reported (log and message naming it); false then.
bool writeForceFile(const AnalysisState& s, std::string_view name, Host& host,
                    std::string* writtenPath = nullptr);

}  // namespace tarvel
