#include "model/frame_reader.h"

#include <string>

#include "common/basic_convert.h"
#include "common/limits.h"
#include "common/messages.h"
#include "common/printed_number.h"
#include "common/table.h"
#include "common/text_encoding.h"

namespace tarvel {

ReaderOptions ReaderOptions::analysis() {
    return {limits::kMaxSections, limits::kMaxMemberRecords, limits::kMaxBeams, analysisConcreteTable(),
            limits::kMaxForceMembers, "超出结构分析极限，请重新调整数据或更新分析程序！！！ ", true};
}

ReaderOptions ReaderOptions::drawing() {
    return {limits::kDrawMaxSections, limits::kDrawMaxMemberRecords, limits::kDrawMaxMemberRecords,
            drawingConcreteTable(), limits::kDrawMaxMemberRecords, "超出图形交互程序极限，请重新调整数据！！！ "};
}

std::string recordPlace(std::string_view segment, int record, int line) {
    std::string text = "错误信息:'" + std::string(segment) + "' 数据段第 " + std::to_string(record) + " 条记录";
    if (line > 0) text += "(第 " + std::to_string(line) + " 行)";
    return text;
}

std::string strayValueText(std::string_view segment, const StrayValue& stray) {
    return "错误信息:'" + std::string(segment) + "' 数据段在结束记录(0 或空行)之后,第 " +
           std::to_string(stray.line) + " 行还有数值 '" + decodeTextFile(stray.text) +
           "'(应为下一数据段名;多余的数值会使其后的记录不被读入)" + read_text::kCheckFile;
}

std::string listErrorText(const ListInputError& e, std::string_view segment) {
    const std::string seg = "'" + std::string(segment) + "' 数据段";
    switch (e.kind()) {
        case ListInputError::Kind::PastEnd:
            return "错误信息:" + seg + "没有结束记录(读到文件末尾),请检查'TVL'文件！";
        case ListInputError::Kind::NotNumber:
            // Files of older installations hold GBK text.
            return "错误信息:" + seg + "第 " + std::to_string(e.line()) + " 行的 '" + decodeTextFile(e.item()) +
                   "' 不是数值,请检查'TVL'文件！";
        case ListInputError::Kind::Overflow:
            if (e.real()) {
                return "错误信息:" + seg + "第 " + std::to_string(e.line()) + " 行的数值 '" + e.item() +
                       "' 超出单精度实数范围(绝对值应小于 3.4E+38),请检查'TVL'文件！";
            }
            return "错误信息:" + seg + "第 " + std::to_string(e.line()) + " 行的数值 '" + e.item() +
                   "' 超出整数范围,请检查'TVL'文件！";
    }
    return {};
}

namespace {

// Reads one segment after another; the first failure is reported once and
// ends the reading.
class SegmentReader {
public:
    SegmentReader(DataFile& file, FrameModel& model, Host& host, const ReaderOptions& options,
                  std::vector<std::string>* warnings)
        : file_(file), m_(model), host_(host), opt_(options), in_(file.in()), warnings_(warnings) {}

    ReadStatus run();

private:
    ReadStatus weight();
    ReadStatus stiffness();
    ReadStatus sections();
    ReadStatus concretes();
    ReadStatus points();
    ReadStatus beams() { return members(false); }
    ReadStatus columns() { return members(true); }
    ReadStatus members(bool columns);
    ReadStatus memberReferences();
    void effectiveLengthFactors();

    ReadStatus badData(const std::string& text) {
        tellError(host_, text);
        return ReadStatus::BadData;
    }
    // A count beyond its table ("截面：65个（最多64个）。").
    ReadStatus overLimit(const char* what, long long found, int limit) {
        return reportLimit(overLimitText(opt_.limitMessage, what, found, limit));
    }
    // A number beyond its range ("节点号：221（最大220）。").
    ReadStatus overRange(const char* what, long long found, int limit) {
        return reportLimit(opt_.limitMessage + what + "：" + std::to_string(found) + "（最大" +
                           std::to_string(limit) + "）。");
    }
    ReadStatus reportLimit(const std::string& text) {
        tell(host_, text, read_text::kLimitTitle, Icon::None);
        return ReadStatus::OverLimit;
    }
    std::string recordText(int record) const {
        return "错误信息:'" + segment_ + "' 数据段第 " + std::to_string(record) + " 条记录";
    }
    void warn(const std::string& text) {
        host_.log(text);
        if (warnings_) warnings_->push_back(text);
    }
    // The run refuses a segment whose closing record is followed by values.
    ReadStatus closed() {
        if (!opt_.runGuards) return ReadStatus::Ok;
        if (const auto stray = file_.strayValueAfterSegment()) return badData(strayValueText(segment_, *stray));
        return ReadStatus::Ok;
    }

    DataFile& file_;
    FrameModel& m_;
    Host& host_;
    const ReaderOptions& opt_;
    ListReader& in_;
    std::vector<std::string>* warnings_;
    std::string segment_;
};

ReadStatus SegmentReader::run() {
    using Step = ReadStatus (SegmentReader::*)();
    struct Segment {
        const char* name;
        int mode;
        Step read;
    };
    static constexpr Segment kSegments[] = {
        {"WEIGHT", kOptional, &SegmentReader::weight},
        {"STIFFNESS", kSilent, &SegmentReader::stiffness},
        {"BAR-SEC", kMandatory, &SegmentReader::sections},
        {"CONCRATE", kMandatory, &SegmentReader::concretes},
        {"POINT", kMandatory, &SegmentReader::points},
        {"BEAM", kMandatory, &SegmentReader::beams},
        {"COLUMN", kMandatory, &SegmentReader::columns},
    };
    renew(m_);
    for (const Segment& s : kSegments) {
        segment_ = s.name;
        if (file_.FINDSEG(s.name, s.mode) != 0) {
            if (s.mode == kMandatory) return ReadStatus::MissingSegment;
            continue;  // absent optional segments keep their defaults
        }
        try {
            const ReadStatus st = (this->*s.read)();
            if (st != ReadStatus::Ok) return st;
        } catch (const ListInputError& e) {
            return badData(listErrorText(e, segment_));
        }
    }
    segment_ = "BEAM";
    if (const ReadStatus st = memberReferences(); st != ReadStatus::Ok) return st;
    effectiveLengthFactors();
    return FINDP(m_, host_, opt_);
}

ReadStatus SegmentReader::weight() {
    const float k = in_.readSingle();
    const auto kw = toInteger(k);
    if (!kw) return badData(recordText(1) + "的自重开关超出整数范围,请检查'TVL'文件！");
    m_.KW = *kw;
    // The switch only turns the self-weight on or off; the weight itself is
    // always that of reinforced concrete.
    if (opt_.runGuards && k != 0.0f && k != 1.0f) {
        warn(std::string(read_text::kWarning) + "'WEIGHT' 数据段的自重开关为" + strSingle(k) + "(应为 0 或 1):" +
             (m_.KW == 0 ? "按 0 处理,不计自重" : "按计入自重处理,容重一律取 25 kN/m³,不采用该数值"));
    }
    return ReadStatus::Ok;
}

ReadStatus SegmentReader::stiffness() {
    m_.ALFI = in_.readSingle();
    m_.ALFF = in_.readSingle();
    if (opt_.runGuards && (m_.ALFI != 1.0f || m_.ALFF != 1.0f)) {
        warn(std::string(read_text::kWarning) + "'STIFFNESS' 数据段的刚度系数 ALFI=" + strSingle(m_.ALFI) +
             ",ALFF=" + strSingle(m_.ALFF) + " 不等于 1:程序读入但不采用,刚度按截面尺寸计算");
    }
    return ReadStatus::Ok;
}

ReadStatus SegmentReader::sections() {
    for (int record = 1;; ++record) {
        const int line = in_.line();
        const float b = in_.readSingle();
        if (b == 0.0f) return closed();
        const float h = in_.readSingle();
        if (opt_.runGuards && (!(b > 0.0f) || !(h > 0.0f))) {
            const bool width = !(b > 0.0f);
            return badData(recordPlace(segment_, record, line) + "的截面" + (width ? "宽度 B=" : "高度 H=") +
                           strSingle(width ? b : h) + " 不是正数(截面尺寸应大于 0,单位 m)" + read_text::kCheckFile);
        }
        if (m_.NSEC >= opt_.maxSections) return overLimit("截面", m_.NSEC + 1, opt_.maxSections);
        const int s = ++m_.NSEC;
        m_.SEC(1, s) = b;
        m_.SEC(2, s) = h;
        m_.SEC(3, s) = b * h;
        m_.SEC(4, s) = h * h * m_.SEC(3, s) / 12.0f;
    }
}

ReadStatus SegmentReader::concretes() {
    for (;;) {
        const int line = in_.line();
        const std::int16_t grade = in_.readInteger();
        if (grade == 0) return closed();
        if (m_.NCON >= limits::kMaxConcretes) {
            return overLimit("混凝土种类", m_.NCON + 1, limits::kMaxConcretes);
        }
        const int c = ++m_.NCON;
        m_.GRADE(c) = grade;
        FCME(m_, c, grade, opt_.concretes, host_, line);
    }
}

ReadStatus SegmentReader::points() {
    for (int record = 1;; ++record) {
        const std::int16_t n = in_.readInteger();
        if (n == 0) return closed();
        std::int16_t codes[3];
        for (std::int16_t& c : codes) c = in_.readInteger();
        const float x = in_.readSingle();
        const float y = in_.readSingle();
        if (n < 0) return badData(recordText(record) + "的节点号 " + std::to_string(n) + " 无效,请检查'TVL'文件！");
        if (n > limits::kMaxNodes) return overRange("节点号", n, limits::kMaxNodes);
        for (std::int16_t c : codes) {
            if (c < 0) {
                return badData(recordText(record) + "的位移编码 " + std::to_string(c) +
                               " 无效,请检查'TVL'文件！");
            }
            if (c > limits::kMaxCode) return overRange("位移编码", c, limits::kMaxCode);
        }
        for (int k = 1; k <= 3; ++k) m_.JD(k, n) = codes[k - 1];
        m_.XY(1, n) = x;
        m_.XY(2, n) = y;
        if (n > m_.NJ) m_.NJ = n;
    }
}

// BEAM and COLUMN records: start node, end node, section, concrete, and for a
// column its effective-length factor (0: chosen from the end restraints);
// closed by a start node of 0. Columns follow the beams in the member table.
ReadStatus SegmentReader::members(bool columns) {
    for (;;) {
        const std::int16_t i = in_.readInteger();
        if (i == 0) break;
        const std::int16_t j = in_.readInteger();
        const std::int16_t sec = in_.readInteger();
        const std::int16_t con = in_.readInteger();
        const float alf = columns ? in_.readSingle() : 0.0f;
        if (!columns && m_.NE >= opt_.maxBeams) return overLimit("梁", m_.NE + 1, opt_.maxBeams);
        if (columns && m_.NE - m_.NB >= limits::kMaxColumns) {
            return overLimit("柱", m_.NE - m_.NB + 1, limits::kMaxColumns);
        }
        if (columns && m_.NE >= opt_.maxMemberRecords) {
            return overLimit("杆件", m_.NE + 1, opt_.maxMemberRecords);
        }
        const int e = ++m_.NE;
        m_.MEM(1, e) = i;
        m_.MEM(2, e) = j;
        m_.MEM(3, e) = sec;
        m_.MEM(4, e) = con;
        if (columns) m_.ALFC(e - m_.NB) = (alf != 0.0f) ? alf : -1.0f;
    }
    if (columns) {
        m_.NC = static_cast<std::int16_t>(m_.NE - m_.NB);
    } else {
        m_.NB = m_.NE;
    }
    return closed();
}

// Every member must name existing nodes, a section and a concrete, and the
// internal-force tables must hold all members.
ReadStatus SegmentReader::memberReferences() {
    if (m_.NE > opt_.maxMembers) return overLimit("杆件", m_.NE, opt_.maxMembers);
    for (int e = 1; e <= m_.NE; ++e) {
        const bool isBeam = e <= m_.NB;
        segment_ = isBeam ? "BEAM" : "COLUMN";
        const int record = isBeam ? e : e - m_.NB;
        struct Ref {
            int value;
            int count;
            const char* what;
        };
        const Ref refs[] = {{m_.startNode(e), m_.NJ, "始端节点号"},
                            {m_.endNode(e), m_.NJ, "末端节点号"},
                            {m_.sectionOf(e), m_.NSEC, "截面号"},
                            {m_.concreteOf(e), m_.NCON, "混凝土号"}};
        for (const Ref& r : refs) {
            if (r.value < 1 || r.value > r.count) {
                return badData(recordText(record) + "的" + r.what + " " + std::to_string(r.value) +
                               " 不存在(应为 1～" + std::to_string(r.count) + "),请检查'TVL'文件！");
            }
        }
    }
    return ReadStatus::Ok;
}

// A column without its own factor gets 1.25 when both ends can move or turn,
// 1.0 when one end is fully restrained (a ground-storey column).
void SegmentReader::effectiveLengthFactors() {
    for (int i = 1; i <= m_.NC; ++i) {
        if (m_.ALFC(i) > 0.0f) continue;
        const int e = m_.NB + i;
        auto codeSum = [&](int n) { return m_.JD(1, n) + m_.JD(2, n) + m_.JD(3, n); };
        const bool bothFree = codeSum(m_.startNode(e)) != 0.0f && codeSum(m_.endNode(e)) != 0.0f;
        m_.ALFC(i) = bothFree ? 1.25f : 1.0f;
    }
}

}  // namespace

void FCME(FrameModel& model, int c, int grade, std::span<const ConcreteRow> table, Host& host, int line) {
    for (const ConcreteRow& row : table) {
        if (row.grade == grade) {
            model.FC(c) = row.fc;
            model.FCM(c) = row.fc;
            model.EC(c) = row.ec;
            model.FT = row.ft;
            return;
        }
    }
    std::string where = "'CONCRATE' 数据段第 " + std::to_string(c) + " 条记录";
    if (line > 0) where += ",第 " + std::to_string(line) + " 行";
    host.message("错误信息:没有找到混凝土强度等级 C" + std::to_string(grade) + "(" + where + "),请检查'TVL'文件！",
                 read_text::kErrorTitle, Icon::Information);
    model.EC(c) = 0.0f;
    model.FC(c) = model.FC(c - 1);
    model.FCM(c) = model.FCM(c - 1);
}

ReadStatus FINDP(FrameModel& model, Host& host, const ReaderOptions& options) {
    model.NLEV = 0;
    model.LEVY(0) = 1.0E10f;
    for (int n = 1; n <= model.NJ; ++n) {
        if (model.XY(2, n) < model.LEVY(0)) model.LEVY(0) = model.XY(2, n);
    }
    for (int n = 1; n <= model.NJ; ++n) {
        if (model.JD(1, n) == 0.0f) continue;
        const float y = model.XY(2, n);
        bool known = false;
        for (int l = 1; l <= model.NLEV && !known; ++l) known = (model.LEVY(l) == y);
        if (known) continue;
        if (model.NLEV >= limits::kMaxLevels) {
            const std::string text = options.limitMessage + "楼层：" + std::to_string(model.NLEV + 1) + "个以上（最多" +
                                     std::to_string(limits::kMaxLevels) + "个）。";
            tell(host, text, read_text::kLimitTitle, Icon::None);
            return ReadStatus::OverLimit;
        }
        const int l = ++model.NLEV;
        model.LEVN(l) = static_cast<float>(n);
        model.LEVY(l) = y;
    }
    return ReadStatus::Ok;
}

ReadStatus INDATA(DataFile& file, FrameModel& model, Host& host, const ReaderOptions& options,
                  std::vector<std::string>* warnings) {
    if (!file.loaded() && !file.load()) {
        const std::string text = "错误信息:无法打开数据文件 '" + file.path() + "'！";
        tellError(host, text);
        return ReadStatus::CannotOpen;
    }
    return SegmentReader(file, model, host, options, warnings).run();
}

}  // namespace tarvel
