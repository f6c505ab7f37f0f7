// The data file read with every guard of the run. Rules: the file is never
// changed and nothing is written beside it; an accepted file gives a finite
// stiffness matrix and load vector; the same file reads the same twice.

#include <cstdint>
#include <memory>

#include "analysis/run_input.h"
#include "fuzz_support.h"
#include "model/data_file.h"

using namespace tarvel;

namespace {

struct Reading {
    bool ok = false;
    int step = 0;
    bool overLimit = false;
    std::string transcript;
    std::uint64_t numbers = 0;  // a hash of the bytes of SK and P when accepted
    bool operator==(const Reading&) const = default;
};

Reading readOnce(const std::string& path, AnalysisState& s) {
    fuzz::TranscriptHost host;
    s.reset();
    DataFile file(host, path);
    TARVEL_FUZZ_CHECK(file.load());
    const RunInput r = readRunInput(file, host, s);
    Reading out{r.ok, static_cast<int>(r.step), r.overLimit, std::move(host.transcript), {}};
    if (r.ok) {
        TARVEL_FUZZ_CHECK(fuzz::allFinite(s.SK));
        TARVEL_FUZZ_CHECK(fuzz::allFinite(s.P));
        TARVEL_FUZZ_CHECK(fuzz::allFinite(s.PLOAD));
        out.numbers = fuzz::tableHash(s.P, fuzz::tableHash(s.SK));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto state = std::make_unique<AnalysisState>();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::freshInput("FUZZ.TVL", bytes);

    const Reading first = readOnce(path, *state);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(readOnce(path, *state) == first);
    fuzz::checkOnlyInputLeft(bytes);
    return 0;
}
