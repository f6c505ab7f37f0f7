#include "analysis/run_input.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/dynamics.h"
#include "analysis/load_vectors.h"
#include "analysis/run_texts.h"
#include "analysis/stiffness_assembly.h"
#include "common/printed_number.h"
#include "common/table.h"
#include "model/frame_reader.h"

namespace tarvel {

namespace {

RunInput refused(RunStep step, bool overLimit = false) { return {false, step, overLimit}; }

void warn(AnalysisState& s, Host& host, const std::string& text) {
    host.log(text);
    s.warnings.push_back(text);
}

// The dead and live nodal loads the lumped masses are taken from, as the load
// cases will assemble them: the dead case on top of the self-weight in P.
// P and FMQN are left as they were found (the self-weight only).
void previewNodalLoads(AnalysisState& s) {
    const int NDOF = s.NDOF;
    // Codes run 1..NDOF: P holds nothing beyond.
    const std::vector<float> selfWeight(&s.P(0), &s.P(0) + NDOF + 1);
    applyNodalLoads(s, kDeadCase);
    for (int j = 1; j <= NDOF; ++j) s.PLOAD(kDeadCase, j) = s.P(j);
    for (int j = 0; j <= NDOF; ++j) s.P(j) = 0.0f;
    applyNodalLoads(s, kLiveCase);
    for (int j = 1; j <= NDOF; ++j) s.PLOAD(kLiveCase, j) = s.P(j);
    for (int j = 0; j <= NDOF; ++j) s.P(j) = selfWeight[static_cast<std::size_t>(j)];
}

}  // namespace

RunInput readRunInput(DataFile& file, Host& host, AnalysisState& s) {
    const ReadStatus read = INDATA(file, s.model, host, ReaderOptions::analysis(), &s.warnings);
    if (read != ReadStatus::Ok) return refused(RunStep::ReadFrame, read == ReadStatus::OverLimit);
    for (const SegmentLookalike& l : file.segmentNameLookalikes()) {
        warn(s, host,
             std::string(read_text::kWarning) + "第 " + std::to_string(l.line) + " 行的 '" + l.text +
                 "' 像是数据段名,但不是(是否应为 '" + l.nearest + "'?),该行及其后的数据不会作为该数据段读入");
    }
    if (!readLoadSegments(s, file, host)) return refused(RunStep::ReadLoads);
    if (!s.loads[kDeadCase].found) {
        file.FINDSEG(kLoadSegmentNames[kDeadCase], kMandatory);  // its two fatal log lines
        return refused(RunStep::ReadLoads);
    }
    if (!INITAK(s, host)) return refused(RunStep::Equations, true);
    s.P.clear();
    if (!KMAIN(s, host)) return refused(RunStep::Assembly);

    previewNodalLoads(s);
    for (const int LC : {kDeadCase, kLiveCase}) {
        for (int j = 1; j <= s.NDOF; ++j) {
            if (!std::isfinite(s.PLOAD(LC, j))) {
                tellError(host, run_text::notFinite("'" + std::string(kLoadSegmentNames[LC]) + "' 荷载工况"));
                return refused(RunStep::Assembly);
            }
        }
    }
    if (readSeismicSegment(s, file, host, kSilent) != DynamicsStatus::Ok) return refused(RunStep::Dynamics);
    file.close();
    if (s.LCF(kSeismicCase) != 0.0f) {
        const float K0 = s.dyn.par.K0;
        if (K0 < 6.0f || K0 > 9.0f) {
            warn(s, host,
                 std::string(read_text::kWarning) + "'SEISMIC' 数据段第 1 条记录的设防烈度 K0=" + strSingle(K0) +
                     " 不在 6～9 之间,按 6 度计算(αmax=0.04)");
        }
    }
    renew(s.dyn);
    s.LCF(kSeismicCase) = 0.0f;
    return {true, RunStep::Assembly, false};
}

}  // namespace tarvel
