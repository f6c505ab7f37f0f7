#include "run/run_driver.h"

#include <cmath>
#include <string>
#include <vector>

#include "analysis/band_solver.h"
#include "analysis/dynamics.h"
#include "analysis/live_arrangement.h"
#include "analysis/load_vectors.h"
#include "analysis/mechanism_check.h"
#include "analysis/member_forces.h"
#include "common/messages.h"
#include "report/report_table_one.h"
#include "report/report_table_two.h"
#include "analysis/run_input.h"
#include "analysis/run_texts.h"
#include "analysis/seismic_action.h"
#include "analysis/force_file.h"
#include "report/report_common.h"
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

// Every stop of a run ends with the same notice: nothing was written.
RunResult stopped(RunResult result, RunStep step, Host& host) {
    host.log(run_text::kNothingChanged);
    result.outcome = RunOutcome::Stopped;
    result.lastStep = step;
    result.filesWritten.clear();
    return result;
}

// The end of a run on a frame beyond the program's tables.
void reportOverLimitStop(Host& host) {
    tell(host, run_text::kOverLimitStop, run_text::kNoticeTitle, Icon::Information);
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

bool reportNotFinite(Host& host, const std::string& what) {
    const std::string text = run_text::notFinite(what);
    tellError(host, text);
    return false;
}

template <typename T>
bool allFinite(const T& table) {
    for (const float v : table.values()) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// The sums of the live-load arrangement and of the seismic modes.
bool finiteEnvelopes(const AnalysisState& s, Host& host) {
    if (!allFinite(s.BML) || !allFinite(s.BVL)) return reportNotFinite(host, "活载不利布置('LLOAD')");
    if (!allFinite(s.BM) || !allFinite(s.BV) || !allFinite(s.CF) || !allFinite(s.UD) || !allFinite(s.RMN) ||
        !allFinite(s.RVM) || !allFinite(s.RVN)) {
        return reportNotFinite(host, "地震作用('SEISMIC')");
    }
    return true;
}

// The steel areas of every member, named when one is not finite.
bool finiteDesign(const AnalysisState& s, Host& host) {
    const FrameModel& md = s.model;
    const DesignResults& d = s.design;
    for (int b = 1; b <= md.NB; ++b) {
        bool ok = std::isfinite(d.BASV(1, b)) && std::isfinite(d.BASV(2, b));
        for (int sec = 1; sec <= 9; ++sec) ok = ok && std::isfinite(d.BAS(sec, b, 1)) && std::isfinite(d.BAS(sec, b, 2));
        if (!ok) return reportNotFinite(host, "梁 " + std::to_string(b) + "(杆件 " + std::to_string(b) + ")的配筋");
    }
    for (int i = 1; i <= md.NC; ++i) {
        bool ok = true;
        for (int e = 1; e <= 2; ++e) {
            ok = ok && std::isfinite(d.CAS(e, i)) && std::isfinite(d.CAS0(e, i)) && std::isfinite(d.CASV(e, i)) &&
                 std::isfinite(d.CRHO(e, i)) && std::isfinite(d.CNR(e, i));
        }
        if (!ok) {
            return reportNotFinite(host, "柱 " + std::to_string(i) + "(杆件 " + std::to_string(md.NB + i) + ")的配筋");
        }
    }
    return true;
}

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
        tellError(host, text);
        return stopped(result, RunStep::OpenDataFile, host);
    }
    if (!PBC(file, host)) {
        reportOverLimitStop(host);
        return stopped(result, RunStep::SizeCheck, host);
    }
    writeRunHeader(host, fileNameOf(s.dataPath));

    // Every guard of the input, before anything is solved.
    const RunInput input = readRunInput(file, host, s);
    result.warnings = s.warnings;
    if (!input.ok) {
        if (input.overLimit) reportOverLimitStop(host);
        return stopped(result, input.step, host);
    }

    // A mechanism is refused like a matrix that is not positive definite.
    if (LI(s.SK, s.NDOF, s.band(), kPivotEpsilon) != 0 || isMechanism(s)) {
        host.log(run_text::kSingularLog);
        host.message(run_text::kSingularMessage, run_text::kErrorTitle, Icon::Information);
        return stopped(result, RunStep::Factorisation, host);
    }

    // The result files are formed here and put in place together at the end.
    std::vector<FileContent> results;
    for (int lc = kDeadCase; lc <= kWindCase; ++lc) {
        std::string text;
        if (!LOADFORC(s, file, host, kLoadSegmentNames[lc], lc, text)) {
            return stopped(result, kCaseSteps[lc], host);
        }
        results.push_back({forceFilePath(s, kLoadSegmentNames[lc]), std::move(text)});
    }
    LIVEFORC(s, kLoadSegmentNames[kLiveCase]);

    const DynamicsStatus dynamics = DYNAMICS(s, file, host, request.eigenSolver);
    if (dynamics == DynamicsStatus::Stopped) return stopped(result, RunStep::Dynamics, host);
    SEISMIC(s);  // after a failed eigen-solution only the constants are formed
    file.close();
    if (!finiteEnvelopes(s, host)) return stopped(result, RunStep::Seismic, host);

    const SeismicDesignConstants seismic = seismicDesignConstants(s);
    ASBALL(s, seismic, s.design);
    ASCALL(s, seismic, s.design, host);
    if (!finiteDesign(s, host)) return stopped(result, RunStep::Design, host);

    ReportRequest report = reportRequestFor(s, request.timeStamp);
    if (report.timeStamp.empty()) report.timeStamp = currentTimeStamp();
    results.push_back({resultFilePath(s, run_text::kReportFile), tableOneText(s, s.design, report)});
    results.push_back({resultFilePath(s, run_text::kForceListFile), tableTwoText(s, report)});
    results.push_back({resultFilePath(s, run_text::kReinforcementFile), reinforcementFileText(s.model, s.design)});

    if (!request.summaryPath.empty() && request.summary) {
        results.push_back({request.summaryPath, request.summary(s, dynamics != DynamicsStatus::EigenFailed)});
    }

    std::string error;
    std::string failedPath;
    if (!request.writeResults(results, &error, &failedPath)) {
        const std::string text = run_text::resultSetNotWritten(failedPath, error);
        tellError(host, text);
        return stopped(result, RunStep::WriteResults, host);
    }
    for (const FileContent& f : results) result.filesWritten.push_back(f.path);

    if (dynamics == DynamicsStatus::EigenFailed) {
        tell(host, run_text::kEndWithoutSeismic, run_text::kNoticeTitle, Icon::Exclamation);
        result.outcome = RunOutcome::FinishedWithoutSeismic;
    } else {
        tell(host, run_text::kNormalEnd, run_text::kNoticeTitle, Icon::Information);
        result.outcome = RunOutcome::Finished;
    }
    result.lastStep = RunStep::WriteResults;
    return result;
}

}  // namespace tarvel
