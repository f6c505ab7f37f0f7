#include "run/run_driver.h"

#include <string>

#include "analysis/band_solver.h"
#include "analysis/dynamics.h"
#include "analysis/live_arrangement.h"
#include "analysis/load_vectors.h"
#include "analysis/mechanism_check.h"
#include "analysis/member_forces.h"
#include "analysis/run_texts.h"
#include "analysis/seismic_action.h"
#include "analysis/stiffness_assembly.h"
#include "common/file_io.h"
#include "design/beam_design.h"
#include "design/column_design.h"
#include "model/data_file.h"
#include "model/frame_reader.h"
#include "model/size_precheck.h"
#include "report/reinforcement_file.h"
#include "report/report.h"

namespace tarvel {

namespace {

RunResult stopped(RunResult result, RunStep step) {
    result.outcome = RunOutcome::Stopped;
    result.lastStep = step;
    return result;
}

// The end of a run on a frame beyond the program's tables.
void reportOverLimitStop(Host& host) {
    host.log(run_text::kOverLimitStop);
    host.message(run_text::kOverLimitStop, run_text::kNoticeTitle, Icon::Information);
}

void writeRunHeader(Host& host, const std::string& dataFileName) {
    using namespace run_text;
    const std::string fkn = kForceFileExtension;
    host.clearLog();
    host.log(kRunHeader);
    host.log(std::string(kDataFileLabel) + dataFileName);
    host.log(std::string(kReportLabel) + kReportFile);
    host.log(std::string(kForceListLabel) + kForceListFile);
    host.log(std::string(kReinforcementLabel) + kReinforcementFile);
    host.log(std::string(kDeadForceLabel) + kLoadSegmentNames[kDeadCase] + fkn);
    host.log(std::string(kLiveForceLabel) + kLoadSegmentNames[kLiveCase] + fkn);
    host.log(std::string(kWindForceLabel) + kLoadSegmentNames[kWindCase] + fkn);
}

constexpr RunStep kCaseSteps[4] = {RunStep::DeadCase, RunStep::DeadCase, RunStep::LiveCase,
                                   RunStep::WindCase};

}  // namespace

RunResult Frame5(const RunRequest& request, Host& host, AnalysisState& s) {
    s.reset();
    s.dataPath = request.dataFile;
    s.mainGrade = request.mainGrade;
    s.stirrupGrade = request.stirrupGrade;
    RunResult result;

    DataFile file(host, s.dataPath);
    if (!file.load()) {
        const std::string text = run_text::cannotOpen(s.dataPath);
        host.log(text);
        host.message(text, run_text::kErrorTitle, Icon::Information);
        return stopped(result, RunStep::OpenDataFile);
    }
    if (!PBC(file, host)) {
        reportOverLimitStop(host);
        return stopped(result, RunStep::SizeCheck);
    }
    writeRunHeader(host, fileNameOf(s.dataPath));

    const ReadStatus read = INDATA(file, s.model, host, ReaderOptions::analysis());
    if (read != ReadStatus::Ok) {
        if (read == ReadStatus::OverLimit) reportOverLimitStop(host);
        return stopped(result, RunStep::ReadFrame);
    }
    if (!readLoadSegments(s, file, host)) return stopped(result, RunStep::ReadLoads);

    if (!INITAK(s, host)) {
        reportOverLimitStop(host);
        return stopped(result, RunStep::Equations);
    }
    s.P.clear();
    if (!KMAIN(s, host)) return stopped(result, RunStep::Assembly);
    // A mechanism is refused like a matrix that is not positive definite.
    if (LI(s.SK, s.NDOF, s.band(), kPivotEpsilon) != 0 || isMechanism(s)) {
        host.log(run_text::kSingularLog);
        host.message(run_text::kSingularMessage, run_text::kErrorTitle, Icon::Information);
        return stopped(result, RunStep::Factorisation);
    }

    for (int lc = kDeadCase; lc <= kWindCase; ++lc) {
        std::string written;
        if (!LOADFORC(s, file, host, kLoadSegmentNames[lc], lc, &written)) {
            return stopped(result, kCaseSteps[lc]);
        }
        result.filesWritten.push_back(written);
    }
    LIVEFORC(s, kLoadSegmentNames[kLiveCase]);

    if (DYNAMICS(s, file, host) == DynamicsStatus::Stopped) return stopped(result, RunStep::Dynamics);
    SEISMIC(s);  // after a failed eigen-solution only the constants are formed
    file.close();

    const SeismicDesignConstants seismic = seismicDesignConstants(s);
    ASBALL(s, seismic, s.design);
    ASCALL(s, seismic, s.design, host);

    if (!OUTF(s, s.design, reportRequestFor(s, request.timeStamp), host)) {
        return stopped(result, RunStep::Report);
    }
    result.filesWritten.push_back(resultFilePath(s, run_text::kReportFile));
    result.filesWritten.push_back(resultFilePath(s, run_text::kForceListFile));
    if (!OUTAS(s, s.design, host)) return stopped(result, RunStep::ReinforcementFile);
    result.filesWritten.push_back(resultFilePath(s, run_text::kReinforcementFile));

    host.log(run_text::kNormalEnd);
    host.message(run_text::kNormalEnd, run_text::kNoticeTitle, Icon::Information);
    result.outcome = RunOutcome::Finished;
    result.lastStep = RunStep::ReinforcementFile;
    return result;
}

}  // namespace tarvel
