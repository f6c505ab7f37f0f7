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

// The result files of a run, formed one after the other in the order of
// their paths: each straight into its temporary beside its target, a piece at
// a time, or, for a request with a writer of its own, kept whole in memory
// and handed to that writer at the end. Temporaries of a run that stops
// before finish() are removed with the object.
class ResultFiles final : public TextSink {
public:
    ResultFiles(const RunRequest& request, std::vector<std::string> paths)
        : request_(request), disk_(request.writeResults ? std::vector<std::string>{} : paths),
          paths_(std::move(paths)) {}

    // form(out) prints the next file into `out`; false stops the run.
    template <typename Form>
    bool add(Form&& form) {
        if (request_.writeResults) {
            PrintBuffer out;
            const bool formed = form(out);
            kept_.push_back({paths_[kept_.size()], out.take()});
            return formed;
        }
        disk_.begin();
        PrintBuffer out(this, std::move(room_));
        const bool formed = form(out);
        room_ = out.releaseRoom();
        disk_.end();
        return formed;
    }

    // The next file, its text put in pieces into the sink given to form(sink).
    template <typename Form>
    void addPieces(Form&& form) {
        if (request_.writeResults) {
            struct Whole final : TextSink {
                std::string text;
                void put(std::string_view bytes) override { text += bytes; }
            } whole;
            form(static_cast<TextSink&>(whole));
            kept_.push_back({paths_[kept_.size()], std::move(whole.text)});
            return;
        }
        disk_.begin();
        form(static_cast<TextSink&>(*this));
        disk_.end();
    }

    void put(std::string_view bytes) override { disk_.put(bytes); }

    bool finish(std::string* error, std::string* failedPath) {
        return request_.writeResults ? request_.writeResults(kept_, error, failedPath)
                                     : disk_.commit(error, failedPath);
    }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    const RunRequest& request_;
    FileSetWriter disk_;
    std::vector<std::string> paths_;
    std::vector<FileContent> kept_;
    std::string room_;  // the print buffer's room, handed from file to file
};

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

    // The result files are formed as their results are ready and put in place
    // together at the end.
    std::vector<std::string> paths;
    for (int lc = kDeadCase; lc <= kWindCase; ++lc) paths.push_back(forceFilePath(s, kLoadSegmentNames[lc]));
    paths.push_back(resultFilePath(s, run_text::kReportFile));
    paths.push_back(resultFilePath(s, run_text::kForceListFile));
    paths.push_back(resultFilePath(s, run_text::kReinforcementFile));
    const bool withSummary = !request.summaryPath.empty() && request.summary;
    if (withSummary) paths.push_back(request.summaryPath);
    ResultFiles results(request, std::move(paths));

    for (int lc = kDeadCase; lc <= kWindCase; ++lc) {
        if (!results.add([&](PrintBuffer& out) { return LOADFORC(s, file, host, kLoadSegmentNames[lc], lc, out); })) {
            return stopped(result, kCaseSteps[lc], host);
        }
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
    results.add([&](PrintBuffer& out) {
        printTableOne(out, s, s.design, report);
        return true;
    });
    results.add([&](PrintBuffer& out) {
        printTableTwo(out, s, report);
        return true;
    });
    results.add([&](PrintBuffer& out) {
        printReinforcementFile(out, s.model, s.design);
        return true;
    });
    if (withSummary) {
        results.addPieces(
            [&](TextSink& out) { request.summary(s, dynamics != DynamicsStatus::EigenFailed, out); });
    }

    std::string error;
    std::string failedPath;
    if (!results.finish(&error, &failedPath)) {
        const std::string text = run_text::resultSetNotWritten(failedPath, error);
        tellError(host, text);
        return stopped(result, RunStep::WriteResults, host);
    }
    result.filesWritten = results.paths();

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
