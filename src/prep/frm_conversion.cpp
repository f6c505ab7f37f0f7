#include "prep/frm_conversion.h"

#include <cmath>
#include <filesystem>
#include <string_view>
#include <vector>

#include "common/file_io.h"
#include "common/list_input.h"
#include "common/print_buffer.h"
#include "common/text_encoding.h"
#include "model/data_file.h"

namespace tarvel {

namespace {

constexpr std::string_view kSegmentNames[] = {"WEIGHT", "STIFFNESS", "BAR-SEC", "CONCRATE",
                                              "POINT",  "BEAM",      "COLUMN",  "DLOAD",
                                              "LLOAD",  "WLOAD",     "SEISMIC"};

// How the records of a segment are copied.
enum class Copy {
    Weight,            // one whole value
    Records,           // `Readr1`
    CompletedRecords,  // `Readr2`: a record of four values gets a fifth, 0
    Seismic,           // seven parameters, then the mass groups
};

struct FrmSegment {
    std::string_view name;
    int mode;
    Copy copy;
    bool isLoad;
};

constexpr FrmSegment kFrmSegments[] = {
    {"WEIGHT", kOptional, Copy::Weight, false},
    {"STIFFNESS", kSilent, Copy::Records, false},
    {"BAR-SEC", kMandatory, Copy::Records, false},
    {"CONCRATE", kMandatory, Copy::Records, false},
    {"POINT", kMandatory, Copy::Records, false},
    {"BEAM", kMandatory, Copy::Records, false},
    {"COLUMN", kMandatory, Copy::CompletedRecords, false},
    {"DLOAD", kSilent, Copy::CompletedRecords, true},
    {"LLOAD", kSilent, Copy::CompletedRecords, true},
    {"WLOAD", kSilent, Copy::CompletedRecords, true},
    {"SEISMIC", kOptional, Copy::Seismic, false},
};

// Values one seismic group of the source may hold.
constexpr std::size_t kMaxGroupValues = 1000;

// A seismic group longer than the converter's list.
struct GroupTooLong {};

class FrmConverter {
  public:
    FrmConverter(DataFile& file, PrepWindow window, Host& host)
        : file_(file), in_(file.in()), window_(window), host_(host) {}

    // The target text. Throws ListInputError or GroupTooLong; segment() then
    // names the segment being converted.
    std::string run();
    const std::string& segment() const { return segment_; }

  private:
    bool isStop(const ListReader::Item& item) const;
    void Readr1() { copyRecords(false); }
    void Readr2() { copyRecords(true); }
    void copyRecords(bool completeFourValues);
    void writeItem(const ListReader::Item& item);
    void seismic();
    float groupValue(const ListReader::Item& item) const;

    DataFile& file_;
    ListReader& in_;
    PrepWindow window_;
    Host& host_;
    PrintBuffer out_;
    std::string segment_;
    bool lastSegmentIsLoad_ = false;
};

std::string FrmConverter::run() {
    for (const FrmSegment& s : kFrmSegments) {
        segment_ = s.name;
        if (findSegment(file_, s.name, s.mode, window_, host_) != 0) continue;
        lastSegmentIsLoad_ = s.isLoad;
        out_.text(s.name).endLine();
        switch (s.copy) {
            case Copy::Weight:
                out_.integer(in_.readInteger()).endLine();
                break;
            case Copy::Records:
                Readr1();
                break;
            case Copy::CompletedRecords:
                Readr2();
                break;
            case Copy::Seismic:
                seismic();
                break;
        }
        out_.endLine();
    }
    if (lastSegmentIsLoad_) {
        out_.integer(0).integer(0).single(0.0f).single(0.0f).single(0.0f).endLine();
        out_.endLine();
    }
    return out_.take();
}

// The segment ends at any other segment name (exact spelling).
bool FrmConverter::isStop(const ListReader::Item& item) const {
    if (item.empty || item.text == segment_) return false;
    for (const std::string_view name : kSegmentNames) {
        if (item.text == name) return true;
    }
    return false;
}

// Each source record, closed by an empty item, becomes one output line.
void FrmConverter::copyRecords(bool completeFourValues) {
    int values = 0;
    while (!in_.atEnd()) {
        const ListReader::Item item = in_.nextNumberItem();
        if (isStop(item)) return;
        if (item.empty) {
            if (completeFourValues && values == 4) out_.integer(0);
            out_.endLine();
            values = 0;
            continue;
        }
        writeItem(item);
        ++values;
    }
}

// Numbers in print format; anything else as the text it is.
void FrmConverter::writeItem(const ListReader::Item& item) {
    double number = 0.0;
    if (parseNumber(item.text, number)) {
        if (!std::isfinite(number)) {
            throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line);
        }
        out_.dbl(number);
        return;
    }
    std::string_view text = item.text;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    out_.text(text);
}

float FrmConverter::groupValue(const ListReader::Item& item) const {
    double number = 0.0;
    if (!parseNumber(item.text, number)) {
        throw ListInputError(ListInputError::Kind::NotNumber, item.text, item.line);
    }
    const float value = static_cast<float>(number);
    if (!std::isfinite(value)) {
        throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line);
    }
    return value;
}

// The data-preparation window reads KCLASS, K0 and NN as whole numbers; the
// analysis window reads all seven parameters as reals. A group is written,
// count first, when its closing empty item is read.
void FrmConverter::seismic() {
    if (window_ == PrepWindow::DataPreparation) {
        out_.integer(in_.readInteger());
        out_.integer(in_.readInteger());
        out_.single(in_.readSingle());
        out_.single(in_.readSingle());
        out_.single(in_.readSingle());
        out_.integer(in_.readInteger());
        out_.single(in_.readSingle());
    } else {
        for (int i = 0; i < 7; ++i) out_.single(in_.readSingle());
    }
    out_.endLine();

    std::vector<float> group;
    while (!in_.atEnd()) {
        const ListReader::Item item = in_.nextNumberItem();
        if (isStop(item)) break;
        if (item.empty) {
            out_.integer(static_cast<long long>(group.size()));
            for (const float v : group) out_.single(v);
            out_.endLine();
            group.clear();
            continue;
        }
        if (group.size() >= kMaxGroupValues) throw GroupTooLong{};
        group.push_back(groupValue(item));
    }
}

// Byte offset at which the last `count` characters of a UTF-8 text begin.
std::size_t lastCharactersStart(std::string_view text, int count) {
    std::size_t i = text.size();
    for (int k = 0; k < count && i > 0; ++k) {
        --i;
        while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    }
    return i;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// Names that differ only in case are one file where these files come from.
bool sameFile(const std::string& a, const std::string& b) {
    if (equalIgnoringCase(a, b)) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

void refuse(Host& host, PrepWindow window, const std::string& text) {
    showStatus(host, window, text);
    host.message(text, prep_text::kNoticeTitle, Icon::Information);
}

}  // namespace

std::optional<std::string> frmTargetPath(const std::string& source) {
    constexpr int kExtensionLength = 4;  // ".FRM"
    if (utf8Length(fileNameOf(source)) <= kExtensionLength) return std::nullopt;
    return source.substr(0, lastCharactersStart(source, kExtensionLength)) + ".TVL";
}

PrepOutcome convertFrmFile(const std::string& source, PrepWindow window, Host& host) {
    if (source.empty()) return PrepOutcome::NoFile;
    const std::optional<std::string> target = frmTargetPath(source);
    if (!target) {
        refuse(host, window,
               "文件名 '" + fileNameOf(source) + "' 太短,没有扩展名,不能转换成（TVL）数据文件！");
        return PrepOutcome::Refused;
    }
    // A ".TVL" picked by mistake would be its own target and be destroyed.
    if (sameFile(source, *target)) {
        refuse(host, window,
               "源文件 '" + source + "' 与目标文件同名,转换会毁掉源文件,请选择（FRM）数据文件！");
        return PrepOutcome::Refused;
    }
    DataFile file(host, source);
    if (!file.load()) {
        refuse(host, window, "源文件 '" + source + "' 无法打开,请检查文件名后重试！");
        return PrepOutcome::Refused;
    }

    showStatus(host, window, conversion_text::kWaiting);
    if (host.ask(conversion_text::kQuestion, prep_text::kNoticeTitle) != Answer::Yes) {
        return PrepOutcome::Declined;
    }

    FrmConverter converter(file, window, host);
    std::string text;
    try {
        text = converter.run();
    } catch (const ListInputError&) {
        refuse(host, window, segmentFormatError(converter.segment()));
        return PrepOutcome::Refused;
    } catch (const GroupTooLong&) {
        refuse(host, window, segmentFormatError(converter.segment()));
        return PrepOutcome::Refused;
    }
    std::string writeError;
    if (!writeFileAtomic(*target, text, &writeError)) {
        refuse(host, window, "（TVL）文件 '" + *target + "' 无法写入：" + writeError);
        return PrepOutcome::Refused;
    }
    showStatus(host, window, conversion_text::kFinishedStatus);
    host.message(conversion_text::kFinished, conversion_text::kFinishedTitle, Icon::Information);
    return PrepOutcome::Done;
}

}  // namespace tarvel
