#pragma once
// The data file read with every guard of the run, without solving anything:
// the structural segments, the load segments, the equation numbering, the
// stiffness assembly with the self-weight, the lumped weights and the
// seismic data. The run starts its analysis from here, and the validation of
// a data file uses the same routine, so a file that validation passes is a
// file the run accepts.

#include "analysis/analysis_state.h"
#include "analysis/run_step.h"
#include "common/host.h"
#include "model/data_file.h"

namespace tarvel {

struct RunInput {
    bool ok = false;
    RunStep step = RunStep::ReadFrame;  // the step that refused the file
    bool overLimit = false;             // refused for a table the program cannot hold
};

// Reads `file` (loaded) into `s` (reset by the caller) and leaves the run
// ready for the factorisation: SK assembled, P holding the self-weight.
// Each refusal is logged and shown once, with its own text and nothing
// after it; each warning is logged and kept in s.warnings. The file is left
// closed.
RunInput readRunInput(DataFile& file, Host& host, AnalysisState& s);

}  // namespace tarvel
