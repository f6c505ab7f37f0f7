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
    // Values per record of the data file's reader, for the segments it ends
    // at a record whose first value is 0 (a blank line reads as that 0);
    // 0 for the others.
    int fields;
};

constexpr FrmSegment kFrmSegments[] = {
    {"WEIGHT", kOptional, Copy::Weight, false, 0},
    {"STIFFNESS", kSilent, Copy::Records, false, 0},
    {"BAR-SEC", kMandatory, Copy::Records, false, 2},
    {"CONCRATE", kMandatory, Copy::Records, false, 1},
    {"POINT", kMandatory, Copy::Records, false, 6},
    {"BEAM", kMandatory, Copy::Records, false, 4},
    {"COLUMN", kMandatory, Copy::CompletedRecords, false, 5},
    {"DLOAD", kSilent, Copy::CompletedRecords, true, 5},
    {"LLOAD", kSilent, Copy::CompletedRecords, true, 5},
    {"WLOAD", kSilent, Copy::CompletedRecords, true, 5},
    {"SEISMIC", kOptional, Copy::Seismic, false, 0},
};

// Values one seismic group of the source may hold.
constexpr std::size_t kMaxGroupValues = 1000;

// A seismic group longer than the converter's list.
struct GroupTooLong {};

// Data after the record that ends its segment in the data file: the file
// written would lose it when read.
struct DataAfterEnd {
    std::string text;
};

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
    void endRecord(bool completeFourValues, int& values, int line);
    void writeItem(const ListReader::Item& item);
    void follow(double value, const std::string& text, int line, bool blank);
    [[noreturn]] void refuseSegmentName(const std::string& shown, int line) const;
    void endSegment();
    void seismic();
    float groupValue(const ListReader::Item& item) const;

    DataFile& file_;
    ListReader& in_;
    PrepWindow window_;
    Host& host_;
    PrintBuffer out_;
    std::string segment_;
    bool lastSegmentIsLoad_ = false;
    // The output as the data file's reader will take it: values per record
    // (0: not followed), the field the next value fills, and the source line
    // of the closing 0 (0 while the segment runs on), a blank line or not.
    int fields_ = 0;
    int field_ = 0;
    int endLine_ = 0;
    bool endedByBlank_ = false;
    // The texts written side by side at the end of the line being formed.
    std::string textRun_;
};

std::string FrmConverter::run() {
    for (const FrmSegment& s : kFrmSegments) {
        segment_ = s.name;
        if (findSegment(file_, s.name, s.mode, window_, host_) != 0) continue;
        lastSegmentIsLoad_ = s.isLoad;
        fields_ = s.fields;
        field_ = 0;
        endLine_ = 0;
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
        endSegment();
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
// In the segments the data file's reader ends at a 0 or a blank line, the
// segment's last record is closed by the segment's end as well, so that the
// empty line written after the segment ends it.
void FrmConverter::copyRecords(bool completeFourValues) {
    int values = 0;
    while (!in_.atEnd()) {
        const ListReader::Item item = in_.nextNumberItem();
        if (isStop(item)) break;
        if (item.empty) {
            // An empty record is a blank line, which reads as a 0.
            if (values == 0) follow(0.0, "", item.line, true);
            endRecord(completeFourValues, values, item.line);
            continue;
        }
        writeItem(item);
        ++values;
    }
    if (fields_ != 0 && values > 0) endRecord(completeFourValues, values, in_.line());
}

void FrmConverter::endRecord(bool completeFourValues, int& values, int line) {
    if (completeFourValues && values == 4) {
        out_.integer(0);
        follow(0.0, "0", line, false);
    }
    out_.endLine();
    values = 0;
}

// The empty line written after the segment reads as the next value; it must
// be the closing 0 of a segment still running on, or a value after it.
void FrmConverter::endSegment() {
    if (fields_ == 0) return;
    follow(0.0, "", in_.line(), true);
    if (endLine_ == 0) {
        throw DataAfterEnd{"源文件 '" + segment_ + "' 数据段的数值个数不是每条记录 " +
                           std::to_string(fields_) +
                           " 个数值的整数倍,转换后读入时各条记录会错位,请检查核对数据后重试！"};
    }
}

// Takes one value written into a segment the reader ends at a 0: a 0 in the
// first field of a record ends the segment, and after it only zeros may
// follow. Text is not followed: the reader refuses it wherever it stands.
void FrmConverter::follow(double value, const std::string& text, int line, bool blank) {
    if (fields_ == 0) return;
    if (endLine_ != 0) {
        if (value != 0.0) {
            throw DataAfterEnd{"源文件 '" + segment_ + "' 数据段第 " + std::to_string(line) +
                               " 行的数值 " + text + " 在第 " + std::to_string(endLine_) + " 行的" +
                               (endedByBlank_ ? "空行" : "结束记录(首个数值为 0)") +
                               "之后,转换后读入时会被丢掉,请检查核对数据后重试！"};
        }
        return;
    }
    if (field_ == 0 && value == 0.0) {
        endLine_ = line;
        endedByBlank_ = blank;
        return;
    }
    field_ = (field_ + 1) % fields_;
}

// Numbers in print format; anything else as the text it is, except where the
// data file's reader takes every value as a number until the segment's
// closing record: there text would make the whole target unreadable (the
// source may still read, when a blank line ends the segment for its reader
// before the text while it only closes a record here), so it is refused as a
// value that does not read.
void FrmConverter::writeItem(const ListReader::Item& item) {
    double number = 0.0;
    if (parseNumber(item.text, number)) {
        if (!std::isfinite(number)) {
            throw ListInputError(ListInputError::Kind::Overflow, item.text, item.line);
        }
        out_.dbl(number);
        textRun_.clear();
        follow(number, item.text, item.line, false);
        return;
    }
    if (fields_ != 0 && endLine_ == 0) {
        throw ListInputError(ListInputError::Kind::NotNumber, item.text, item.line);
    }
    std::string_view text = item.text;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        const std::string_view inner = text.substr(1, text.size() - 2);
        // Without its quotes a string holding a blank, a comma or a line end
        // falls apart into several items, and its numbers would land after
        // the segment's closing record; such a string keeps its quotes.
        if (!inner.empty() && inner.find_first_of(" \t,\r\n") == std::string_view::npos) text = inner;
    }
    // The segment search of the target would take a segment's name here for
    // that segment's start, ahead of the segment itself when the target puts
    // it further on.
    const bool quoted = item.text.size() >= 2 && item.text.front() == '"';
    if (isSegmentName(quoted ? std::string_view(item.text).substr(1, item.text.size() - 2) : text)) {
        refuseSegmentName(item.text, item.line);
    }
    if (fields_ != 0) {
        // To the reader's look for stray values once it opens a line here, a
        // string whose every word is a number is those numbers: each must be a 0.
        if (quoted) {
            std::vector<double> numbers;
            for (const std::string_view word : wordsOf(std::string_view(item.text).substr(1, item.text.size() - 2))) {
                if (!parseNumber(word, numbers.emplace_back())) {
                    numbers.clear();
                    break;
                }
            }
            for (const double value : numbers) follow(value, item.text, item.line, false);
        }
        // After the closing record the reader looks at whole lines for stray
        // values: text sharing a line with other items could join them or
        // open a string there, so each text gets a line of its own.
        if (out_.column() > 1) out_.endLine();
        out_.text(text).endLine();
        return;
    }
    // Texts are written unspaced: a string straight after another text would
    // no longer open an item, and its closing quote would open one that runs
    // on over the segments that follow. A string starts a line.
    if (text.front() == '"' && out_.column() > 1) out_.endLine();
    // Texts side by side on a line read back as one item, which may spell a
    // segment's name of its own.
    if (out_.column() == 1 || text.front() == '"') textRun_.clear();
    out_.text(text);
    textRun_ += text;
    if (textRun_.size() > text.size() && isSegmentName(textRun_)) refuseSegmentName(textRun_, item.line);
}

void FrmConverter::refuseSegmentName(const std::string& shown, int line) const {
    const std::string where = "源文件 '" + segment_ + "' 数据段第 " + std::to_string(line) + " 行的 " + shown;
    const std::string after = endLine_ != 0 ? " 在第 " + std::to_string(endLine_) + " 行的结束记录之后" : "";
    throw DataAfterEnd{where + after + ",转换后读入时会被当作数据段名,请检查核对数据后重试！"};
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

    // An empty group is written as a count of 0, which ends the mass records
    // when read: a group after it would be lost.
    std::vector<float> group;
    int emptyGroupLine = 0;
    while (!in_.atEnd()) {
        const ListReader::Item item = in_.nextNumberItem();
        if (isStop(item)) break;
        if (item.empty) {
            if (group.empty() && emptyGroupLine == 0) emptyGroupLine = item.line;
            out_.integer(static_cast<long long>(group.size()));
            for (const float v : group) out_.single(v);
            out_.endLine();
            group.clear();
            continue;
        }
        if (group.size() >= kMaxGroupValues) throw GroupTooLong{};
        group.push_back(groupValue(item));
        if (emptyGroupLine != 0) {
            throw DataAfterEnd{"源文件 'SEISMIC' 数据段第 " + std::to_string(item.line) +
                               " 行的质点数据在第 " + std::to_string(emptyGroupLine) +
                               " 行的空质点记录(数据个数为 0)之后,转换后读入时会被丢掉,"
                               "请检查核对数据后重试！"};
        }
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
    } catch (const DataAfterEnd& fault) {
        refuse(host, window, fault.text);
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
