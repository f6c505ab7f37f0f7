// A whole analysis run on small frames, the result files kept in memory and
// the report stamped with a fixed time. Rules: a stopped run puts no file in
// place and leaves nothing beside the data file; a finished run gives its six
// result files with finite numbers only; the same file gives the same bytes
// and the same log twice.

#include <memory>
#include <vector>

#include "common/file_io.h"
#include "fuzz_support.h"
#include "model/data_file.h"
#include "model/size_precheck.h"
#include "run/run_driver.h"

using namespace tarvel;

namespace {

// Frames larger than this are left to the reader targets: a run on them is
// too slow to fuzz.
constexpr int kMaxFuzzedRecords = 24;

struct Run {
    int outcome = 0;
    int lastStep = 0;
    std::string transcript;
    std::vector<FileContent> files;  // as handed to the writer
    int writes = 0;
    bool operator==(const Run& o) const {
        if (outcome != o.outcome || lastStep != o.lastStep || transcript != o.transcript ||
            writes != o.writes || files.size() != o.files.size()) {
            return false;
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i].path != o.files[i].path || files[i].bytes != o.files[i].bytes) return false;
        }
        return true;
    }
};

Run runOnce(const std::string& path, AnalysisState& s) {
    fuzz::TranscriptHost host;
    Run run;
    RunRequest request;
    request.dataFile = path;
    request.timeStamp = "2026 - 12 - 08   10:00:00";
    request.writeResults = [&run](const std::vector<FileContent>& files, std::string*, std::string*) {
        ++run.writes;
        run.files = files;
        return true;
    };
    const RunResult result = Frame5(request, host, s);
    run.outcome = static_cast<int>(result.outcome);
    run.lastStep = static_cast<int>(result.lastStep);
    run.transcript = std::move(host.transcript);

    if (result.outcome == RunOutcome::Stopped) {
        TARVEL_FUZZ_CHECK(run.writes == 0);
        TARVEL_FUZZ_CHECK(result.filesWritten.empty());
    } else {
        TARVEL_FUZZ_CHECK(run.writes == 1);
        TARVEL_FUZZ_CHECK(run.files.size() == 6);
        TARVEL_FUZZ_CHECK(result.filesWritten.size() == run.files.size());
        for (const FileContent& f : run.files) {
            TARVEL_FUZZ_CHECK(folderOf(f.path) == folderOf(path));
            TARVEL_FUZZ_CHECK(fuzz::printedFinite(f.bytes));
        }
    }
    return run;
}

bool smallFrame(const std::string& path) {
    fuzz::TranscriptHost host;
    DataFile file(host, path);
    if (!file.load()) return false;
    return countRecordLines(file, "POINT") <= kMaxFuzzedRecords &&
           countRecordLines(file, "BEAM") <= kMaxFuzzedRecords &&
           countRecordLines(file, "COLUMN") <= kMaxFuzzedRecords;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto state = std::make_unique<AnalysisState>();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::freshInput("FUZZ.TVL", bytes);
    if (!smallFrame(path)) return -1;  // not added to the corpus

    const Run first = runOnce(path, *state);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(runOnce(path, *state) == first);
    fuzz::checkOnlyInputLeft(bytes);
    return 0;
}
