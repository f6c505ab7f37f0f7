// The data file read with every guard of the run. Rules: the file is never
// changed and nothing is written beside it; an accepted file gives a finite
// stiffness matrix and load vector; the same file reads the same twice.

#include <cstring>
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
    std::string numbers;  // the bytes of SK and P when accepted
    bool operator==(const Reading&) const = default;
};

template <typename T>
void appendBytes(std::string& out, const T& table) {
    const auto& v = table.values();
    out.append(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(v[0]));
}

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
        appendBytes(out.numbers, s.SK);
        appendBytes(out.numbers, s.P);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto state = std::make_unique<AnalysisState>();
    const fuzz::ScratchFolder& folder = fuzz::ScratchFolder::instance();
    folder.clear();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = folder.write("FUZZ.TVL", bytes);

    const Reading first = readOnce(path, *state);
    const Reading second = readOnce(path, *state);
    TARVEL_FUZZ_CHECK(first == second);
    const auto files = folder.contents();
    TARVEL_FUZZ_CHECK(files.size() == 1 && files.begin()->second == bytes);
    return 0;
}
