#pragma once
// `Frame5`: the analysis run of the frame-analysis window and of
// `tarvel-cli run`, in one synchronous pass with its progress log.

#include <functional>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/dynamics.h"
#include "analysis/run_step.h"
#include "common/file_io.h"
#include "common/host.h"
#include "common/print_buffer.h"

namespace tarvel {

struct RunRequest {
    std::string dataFile;  // the ".TVL" file; the result files go into its folder
    int mainGrade = 2;     // steel grade of the main bars, 1..4
    int stirrupGrade = 1;  // steel grade of the stirrups, 1..4
    std::string timeStamp; // report time stamp "yyyy - mm - dd   hh:mm:ss"; empty: local time now
    EigenSolverFunction eigenSolver = JCB2;  // tests may put a failing one in its place
    // Empty: the result files go to disk as they are formed (FileSetWriter). A
    // harness that keeps the results in memory puts its own writer here; it
    // gets the finished set at the end, as writeFileSet would.
    std::function<bool(const std::vector<FileContent>&, std::string*, std::string*)> writeResults =
        nullptr;
    // A further file written with the result files, as one of the set, when
    // summaryPath is not empty: summary(state, complete, out) puts its bytes
    // from the finished run into `out`, in order, in pieces of any size
    // (complete: with the seismic action).
    std::string summaryPath = {};
    std::function<void(const AnalysisState&, bool complete, TextSink& out)> summary = nullptr;
};

enum class RunOutcome {
    Finished,    // every step ran and "结构分析程序正常结束！" was shown
    Stopped,     // stopped on an error that has been logged and shown; no result file changed
    FinishedWithoutSeismic,  // the eigen-solution failed: the result files are written
                             // without the seismic action, and the final message says so
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Stopped;
    RunStep lastStep =
        RunStep::OpenDataFile;              // the step that stopped the run, or the last one done
    std::vector<std::string> filesWritten;  // result files, in the order written
    std::vector<std::string> warnings;      // the warnings of the reading, once per record
};

// Runs the analysis of request.dataFile into `state` (reset first, so every
// run starts afresh) and writes the result files beside the data file. Every
// log line and message goes to `host`.
//
// A stopped run changes no result file: each result file is written to a
// temporary in the data folder as soon as its text is formed (and flushed),
// and the temporaries are renamed into place together at the very end, when
// all are written. A stop at any step, including a result file that cannot be
// replaced, leaves every previous result file byte for byte as it was and no
// temporary behind (short of a disk that fails between the renames, see
// writeFileSet, or a process killed while it runs). After
// a power loss each result file is complete, either the old or the new one
// (the renames are not one atomic step).
RunResult Frame5(const RunRequest& request, Host& host, AnalysisState& state);

}  // namespace tarvel
