// Conversion of a legacy ".FRM" frame file. Rules: a refused source leaves
// the folder as it was (no ".TVL", no temporary); a converted one gives its
// ".TVL" beside it, and when the source itself reads as a data file, the
// target reads into the same frame (where the legacy records and that
// reading agree, below); the source is never changed; the same source gives
// the same target bytes and the same texts twice.

#include <algorithm>
#include <iterator>
#include <vector>

#include "common/list_input.h"
#include "fuzz_support.h"
#include "model_rules.h"
#include "prep/frm_conversion.h"
#include "prep/prep_window.h"

using namespace tarvel;

namespace {

// The records of the structural segments as the data file's reader takes
// them (the frame compared is the structure): values per record, whether a
// legacy record of four values gets a fifth, and whether the reader takes
// only the first record (STIFFNESS: ALFI and ALFF).
struct ReaderRecord {
    std::string_view name;
    int values;
    bool completed;
    bool firstOnly;
};
constexpr ReaderRecord kReaderRecords[] = {
    {"STIFFNESS", 2, false, true}, {"BAR-SEC", 2, false, false}, {"CONCRATE", 1, false, false},
    {"POINT", 6, false, false},    {"BEAM", 4, false, false},    {"COLUMN", 5, true, false},
};
// The values of one segment up to the reader's end of it: the first record
// only, or the record opening with 0 (a text reads as no number here).
std::vector<std::string> readerValues(std::vector<std::string> v, const ReaderRecord& r) {
    if (r.firstOnly) {
        if (v.size() > static_cast<std::size_t>(r.values)) v.resize(r.values);
        return v;
    }
    for (std::size_t k = 0; k < v.size(); k += r.values) {
        double value = 1.0;
        if (parseNumber(v[k], value) && value == 0.0) {
            v.resize(k + 1);
            break;
        }
    }
    return v;
}

bool sameValues(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        double x = 0.0;
        double y = 0.0;
        if (parseNumber(a[k], x) && parseNumber(b[k], y) ? x != y : a[k] != b[k]) return false;
    }
    return true;
}

// A legacy record ends at an empty item (a blank line, or a comma before the
// line end), and the converter writes it as one line; read as a data file,
// the same empty item is a value, 0. Where it closes a record the reader
// would still fill, the target's next values are whatever follows, and the
// two readings of the source part by design. Both streams of values are
// formed here, segment by segment, and compared up to the reader's end.
bool readingsPart(const std::string& path) {
    fuzz::TranscriptHost host;
    DataFile file(host, path);
    if (!file.load()) return false;
    for (const ReaderRecord& r : kReaderRecords) {
        if (findSegment(file, r.name, kSilent, PrepWindow::DataPreparation, host) != 0) continue;
        ListReader& in = file.in();
        std::vector<std::string> asDataFile;
        std::vector<std::string> asTarget;
        int values = 0;  // of the legacy record
        while (!in.atEnd()) {
            const ListReader::Item item = in.nextNumberItem();
            const bool stop = std::find_if(std::begin(kSegmentNames), std::end(kSegmentNames),
                                           [&](std::string_view n) {
                                               return n != r.name && item.text == n;
                                           }) != std::end(kSegmentNames);
            if (stop) break;
            asDataFile.push_back(item.empty ? "0" : item.text);
            if (!item.empty) {
                asTarget.push_back(item.text);
                ++values;
                continue;
            }
            if (values == 0 || (r.completed && values == 4)) asTarget.push_back("0");
            values = 0;
        }
        // The empty line written after the segment; an unclosed last record
        // is closed first, except in STIFFNESS, whose line the empty line ends.
        if (!r.firstOnly && r.completed && values == 4) asTarget.push_back("0");
        if (!r.firstOnly || values == 0) asTarget.push_back("0");
        if (!sameValues(readerValues(asDataFile, r), readerValues(asTarget, r))) return true;
    }
    return false;
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
        const auto source = fuzz::readModel(folder.file("FUZZ.FRM"));
        if (source != nullptr && !readingsPart(folder.file("FUZZ.FRM"))) {
            const auto target = fuzz::readModel(folder.file("FUZZ.TVL"));
            TARVEL_FUZZ_CHECK(target != nullptr);
            TARVEL_FUZZ_CHECK(fuzz::sameModel(*source, *target));
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
