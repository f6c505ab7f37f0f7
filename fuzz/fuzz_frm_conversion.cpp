// Conversion of a legacy ".FRM" frame file. Rules: a refused source leaves
// the folder as it was (no ".TVL", no temporary); a converted one gives its
// ".TVL" beside it, and when the source itself reads as a data file, the
// target reads into the same frame (but for one case, below); the source is
// never changed; the same source gives the same target bytes and the same
// texts twice.

#include "fuzz_support.h"
#include "model_rules.h"
#include "prep/frm_conversion.h"
#include "prep/prep_window.h"

using namespace tarvel;

namespace {

// STIFFNESS holds one record, ALFI and ALFF. When an empty item (a blank
// line, or a comma before the line end) closes it after ALFI, the two
// readings of the source part: as a legacy file the record ends there, and
// the target's ALFF is whatever follows; read as a data file, the empty
// item is ALFF = 0. ALFF enters no analysis step (the model comparison leaves
// it out), but what follows may be text, and then the target is refused when
// read, with a message naming STIFFNESS.
bool stiffnessClosedAfterAlfi(const std::string& path) {
    fuzz::TranscriptHost host;
    DataFile file(host, path);
    if (!file.load()) return false;
    if (findSegment(file, "STIFFNESS", kSilent, PrepWindow::DataPreparation, host) != 0) return false;
    ListReader& in = file.in();
    if (in.atEnd() || in.nextNumberItem().empty || in.atEnd()) return false;
    return in.nextNumberItem().empty;
}

struct Conversion {
    int outcome = 0;
    std::string transcript;
    std::map<std::string, std::string> files;
    bool operator==(const Conversion&) const = default;
};

Conversion convertOnce(std::string_view bytes) {
    const fuzz::ScratchFolder& folder = fuzz::ScratchFolder::instance();
    const std::string source = fuzz::freshInput("FUZZ.FRM", bytes);
    fuzz::TranscriptHost host;
    const PrepOutcome outcome = convertFrmFile(source, PrepWindow::DataPreparation, host);
    Conversion c{static_cast<int>(outcome), std::move(host.transcript), folder.contents()};
    TARVEL_FUZZ_CHECK(c.files.count("FUZZ.FRM") == 1 && c.files["FUZZ.FRM"] == bytes);
    if (outcome == PrepOutcome::Done) {
        TARVEL_FUZZ_CHECK(c.files.size() == 2 && c.files.count("FUZZ.TVL") == 1);
        if (const auto source = fuzz::readModel(folder.file("FUZZ.FRM"))) {
            const auto target = fuzz::readModel(folder.file("FUZZ.TVL"));
            if (target != nullptr) {
                TARVEL_FUZZ_CHECK(fuzz::sameModel(*source, *target));
            } else {
                TARVEL_FUZZ_CHECK(stiffnessClosedAfterAlfi(folder.file("FUZZ.FRM")));
            }
        }
    } else {
        TARVEL_FUZZ_CHECK(outcome == PrepOutcome::Refused);
        TARVEL_FUZZ_CHECK(c.files.size() == 1);
    }
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const Conversion first = convertOnce(bytes);
    if (fuzz::checkedTwice(bytes)) TARVEL_FUZZ_CHECK(convertOnce(bytes) == first);
    return 0;
}
