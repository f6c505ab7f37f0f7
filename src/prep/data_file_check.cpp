#include "prep/data_file_check.h"

#include <string_view>
#include <vector>

#include "common/limits.h"
#include "common/list_input.h"
#include "common/text_encoding.h"
#include "model/data_file.h"

namespace tarvel {

namespace {

// The reads of one segment, in the types the analysis reads them.
enum class Reads {
    Weight,     // one whole value
    Stiffness,  // two reals
    Sections,   // width, depth (reals) until a width of 0
    Concretes,  // a grade (whole) until 0
    Points,     // four whole, two reals until a node number of 0
    Beams,      // four whole until 0
    Columns,    // four whole, one real until 0
    Loads,      // two whole, three reals until 0
    Seismic,    // seven parameters, then mass records until a count of 0
};

struct CheckedSegment {
    std::string_view name;
    int mode;
    Reads reads;
};

constexpr CheckedSegment kCheckedSegments[] = {
    {"WEIGHT", kOptional, Reads::Weight},     {"STIFFNESS", kSilent, Reads::Stiffness},
    {"BAR-SEC", kMandatory, Reads::Sections}, {"CONCRATE", kMandatory, Reads::Concretes},
    {"POINT", kMandatory, Reads::Points},     {"BEAM", kMandatory, Reads::Beams},
    {"COLUMN", kMandatory, Reads::Columns},   {"DLOAD", kSilent, Reads::Loads},
    {"LLOAD", kSilent, Reads::Loads},         {"WLOAD", kSilent, Reads::Loads},
    {"SEISMIC", kOptional, Reads::Seismic},
};

// A mass record the analysis tables cannot hold.
struct MassTableFault {};

void readIntegers(ListReader& in, int count) {
    for (int i = 0; i < count; ++i) in.readInteger();
}
void readSingles(ListReader& in, int count) {
    for (int i = 0; i < count; ++i) in.readSingle();
}

// Records end at a first value of 0: the blank line that closes the segment.
// The first value is tested before the rest is read, so the marker of the
// next segment is never taken for a value.
void readRecords(ListReader& in, bool firstIsWhole, int wholeAfter, int realsAfter) {
    for (;;) {
        const bool end = firstIsWhole ? in.readInteger() == 0 : in.readSingle() == 0.0f;
        if (end) return;
        readIntegers(in, wholeAfter);
        readSingles(in, realsAfter);
    }
}

void readSeismic(ListReader& in, PrepWindow window) {
    if (window == PrepWindow::DataPreparation) {
        readIntegers(in, 2);
        readSingles(in, 3);
        readIntegers(in, 1);
        readSingles(in, 1);
    } else {
        readSingles(in, 7);
    }
    int masses = 0;
    for (;;) {
        const int count = in.readInteger();
        if (count == 0) return;
        // The analysis keeps at most 80 masses of at most 300 values each.
        if (count < 0 || count > limits::kMaxMassValues || ++masses > limits::kMaxMasses) {
            throw MassTableFault{};
        }
        readIntegers(in, count);
    }
}

void readSegment(ListReader& in, Reads reads, PrepWindow window) {
    switch (reads) {
        case Reads::Weight:
            in.readInteger();
            break;
        case Reads::Stiffness:
            readSingles(in, 2);
            break;
        case Reads::Sections:
            readRecords(in, false, 0, 1);
            break;
        case Reads::Concretes:
            readRecords(in, true, 0, 0);
            break;
        case Reads::Points:
            readRecords(in, true, 3, 2);
            break;
        case Reads::Beams:
            readRecords(in, true, 3, 0);
            break;
        case Reads::Columns:
            readRecords(in, true, 3, 1);
            break;
        case Reads::Loads:
            readRecords(in, true, 1, 3);
            break;
        case Reads::Seismic:
            readSeismic(in, window);
            break;
    }
}

std::string missingVerdict(const std::vector<std::string_view>& missing, bool message) {
    std::string names;
    for (const std::string_view name : missing) {
        if (!names.empty()) names += "、";
        names += "'" + std::string(name) + "'";
    }
    return std::string(message ? "（TVL）" : "") + "文件校验结束，找不到 " + names +
           " 数据段，您的（TVL）文件格式是不正确的！";
}

}  // namespace

PrepOutcome checkDataFile(const std::string& path, PrepWindow window, Host& host) {
    showStatus(host, window, check_text::kWaiting);
    if (host.ask(check_text::kQuestion, prep_text::kNoticeTitle) != Answer::Yes) {
        return PrepOutcome::Declined;
    }

    std::string_view segment = kCheckedSegments[0].name;
    auto failed = [&] {
        const std::string text = segmentFormatError(segment);
        showStatus(host, window, text);
        host.message(text, prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::Refused;
    };

    DataFile file(host, path);
    if (!file.load()) return failed();
    std::vector<std::string_view> missing;
    try {
        for (const CheckedSegment& s : kCheckedSegments) {
            segment = s.name;
            if (findSegment(file, s.name, s.mode, window, host) != 0) {
                if (s.mode == kMandatory) missing.push_back(s.name);
                continue;
            }
            readSegment(file.in(), s.reads, window);
        }
    } catch (const ListInputError&) {
        return failed();
    } catch (const MassTableFault&) {
        return failed();
    }

    host.view(decodeTextFile(file.in().content()));
    // A file without a mandatory segment does not analyse, whatever else it holds.
    if (!missing.empty()) {
        if (window == PrepWindow::DataPreparation) host.status(missingVerdict(missing, false));
        host.message(missingVerdict(missing, true), check_text::kTitle, Icon::Information);
        return PrepOutcome::Refused;
    }
    if (window == PrepWindow::DataPreparation) host.status(check_text::kPassedStatus);
    host.message(check_text::kPassed, check_text::kTitle, Icon::Information);
    return PrepOutcome::Done;
}

}  // namespace tarvel
