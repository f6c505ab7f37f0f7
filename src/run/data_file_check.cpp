#include "run/data_file_check.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/run_input.h"
#include "analysis/run_texts.h"
#include "common/file_io.h"
#include "common/limits.h"
#include "common/list_input.h"
#include "common/text_encoding.h"
#include "model/data_file.h"
#include "model/size_precheck.h"

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

// Keeps the last line or message of the run's reading instead of showing
// them: a refusal is always the last thing the reading says.
class CapturingHost : public Host {
public:
    void message(std::string_view text, std::string_view, Icon) override { last = text; }
    Answer ask(std::string_view, std::string_view, Buttons, Icon) override { return Answer::No; }
    void log(std::string_view line) override { last = line; }
    void clearLog() override {}
    void status(std::string_view) override {}
    void view(std::string_view) override {}
    std::optional<std::string> chooseFile(std::string_view, std::string_view) override { return std::nullopt; }
    bool startProgram(std::string_view, const std::vector<std::string>&) override { return false; }

    std::string last;
};

// The file read as the run reads it, with every guard and without any
// analysis: the run's refusal text, or nothing when the run accepts it.
std::optional<std::string> runRefusal(const std::string& path, std::vector<std::string>& warnings,
                                      AnalysisState* scratch) {
    CapturingHost capture;
    DataFile file(capture, path);
    if (!file.load()) return run_text::cannotOpen(path);
    if (!PBC(file, capture)) return capture.last;
    std::unique_ptr<AnalysisState> own;
    AnalysisState* state = scratch;
    if (state != nullptr) {
        state->reset();
    } else {
        own = std::make_unique<AnalysisState>();
        state = own.get();
    }
    state->dataPath = path;
    const RunInput input = readRunInput(file, capture, *state);
    warnings = state->warnings;
    if (!input.ok) return capture.last;
    return std::nullopt;
}

std::string cannotOpenText(const std::string& path) {
    return "错误信息:无法打开数据文件 '" + path + "'(" + unreadableReason(path) + ")！";
}

}  // namespace

PrepOutcome checkDataFile(const std::string& path, PrepWindow window, Host& host, AnalysisState* scratch) {
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
    if (!file.load()) {
        const std::string text = cannotOpenText(path);
        showStatus(host, window, text);
        host.message(text, prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::Refused;
    }
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
    // Values that read are not yet a file the run accepts: the run's own
    // guards decide, with the run's own text.
    std::vector<std::string> warnings;
    if (const std::optional<std::string> refusal = runRefusal(path, warnings, scratch)) {
        showStatus(host, window, *refusal);
        host.message(*refusal, prep_text::kNoticeTitle, Icon::Information);
        return PrepOutcome::Refused;
    }
    if (window == PrepWindow::DataPreparation) host.status(check_text::kPassedStatus);
    std::string verdict = check_text::kPassed;
    for (const std::string& w : warnings) verdict += "\n" + w;
    host.message(verdict, check_text::kTitle, Icon::Information);
    return PrepOutcome::Done;
}

}  // namespace tarvel
