// Validation of a ".TVL" data file in both windows. Rules: the file is never
// changed and nothing is written beside it; a file that validation passes is
// accepted by the run's own reading; the same file gives the same verdict and
// texts twice.

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

Check checkOnce(const std::string& path, PrepWindow window) {
    fuzz::TranscriptHost host;
    const PrepOutcome outcome = checkDataFile(path, window, host);
    TARVEL_FUZZ_CHECK(outcome == PrepOutcome::Done || outcome == PrepOutcome::Refused);
    return {static_cast<int>(outcome), std::move(host.transcript)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto state = std::make_unique<AnalysisState>();
    const fuzz::ScratchFolder& folder = fuzz::ScratchFolder::instance();
    folder.clear();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = folder.write("FUZZ.TVL", bytes);

    const Check prep = checkOnce(path, PrepWindow::DataPreparation);
    TARVEL_FUZZ_CHECK(checkOnce(path, PrepWindow::DataPreparation) == prep);
    const Check analysis = checkOnce(path, PrepWindow::Analysis);
    TARVEL_FUZZ_CHECK(analysis.outcome == prep.outcome);

    if (prep.outcome == static_cast<int>(PrepOutcome::Done)) {
        fuzz::TranscriptHost host;
        state->reset();
        DataFile file(host, path);
        TARVEL_FUZZ_CHECK(file.load());
        TARVEL_FUZZ_CHECK(readRunInput(file, host, *state).ok);
    }
    const auto files = folder.contents();
    TARVEL_FUZZ_CHECK(files.size() == 1 && files.begin()->second == bytes);
    return 0;
}
