// Validation of a ".TVL" data file in both windows. Rules: the file is never
// changed and nothing is written beside it; a file that the analysis window's
// check passes is accepted by the run's own reading; the data-preparation
// window's check is the stricter one: it reads KCLASS, K0 and NN of the
// seismic parameters as whole numbers (as its tables hold them), the
// analysis window as the run reads them, so a value beyond the whole-number
// range is refused there, naming SEISMIC, and passes here when the run takes
// it; otherwise both give the same verdict; the same file gives the same
// verdict and texts twice.

#include <memory>

#include "analysis/run_input.h"
#include "fuzz_support.h"
#include "model/data_file.h"
#include "run/data_file_check.h"

using namespace tarvel;

namespace {

struct Check {
    int outcome = 0;
    std::string transcript;
    bool operator==(const Check&) const = default;
};

// One state for every reading: each check must clear what the last one left.
AnalysisState& scratchState() {
    static const auto state = std::make_unique<AnalysisState>();
    return *state;
}

Check checkOnce(const std::string& path, PrepWindow window) {
    fuzz::TranscriptHost host;
    const PrepOutcome outcome = checkDataFile(path, window, host, &scratchState());
    TARVEL_FUZZ_CHECK(outcome == PrepOutcome::Done || outcome == PrepOutcome::Refused);
    return {static_cast<int>(outcome), std::move(host.transcript)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AnalysisState* const state = &scratchState();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::freshInput("FUZZ.TVL", bytes);

    const Check prep = checkOnce(path, PrepWindow::DataPreparation);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(checkOnce(path, PrepWindow::DataPreparation) == prep);
    const Check analysis = checkOnce(path, PrepWindow::Analysis);
    constexpr int kDone = static_cast<int>(PrepOutcome::Done);
    if (analysis.outcome != prep.outcome) {
        TARVEL_FUZZ_CHECK(analysis.outcome == kDone);
        TARVEL_FUZZ_CHECK(prep.transcript.find(segmentFormatError("SEISMIC")) != std::string::npos);
    }

    if (analysis.outcome == kDone) {
        fuzz::TranscriptHost host;
        state->reset();
        DataFile file(host, path);
        TARVEL_FUZZ_CHECK(file.load());
        TARVEL_FUZZ_CHECK(readRunInput(file, host, *state).ok);
    }
    fuzz::checkOnlyInputLeft(bytes);
    return 0;
}
