#include "report/report_common.h"

#include <cctype>
#include <utility>

#include "analysis/run_texts.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "design/steel_grades.h"

namespace tarvel {

namespace {

void appendDigits(std::string& out, int value, int width) {
    std::string digits(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i) {
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out += digits;
}

// The number written at `pos` with `width` digits, or -1 when a character there is no digit.
int digitsAt(std::string_view text, std::size_t pos, std::size_t width) {
    int value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

ReportRequest reportRequestFor(const AnalysisState& st, std::string timeStamp) {
    ReportRequest request;
    request.dataFileName = fileNameOf(st.dataPath);
    request.mainGrade = st.mainGrade;
    request.stirrupGrade = st.stirrupGrade;
    Gjjbxz(st, request.fy, request.fyv);
    request.timeStamp = std::move(timeStamp);
    return request;
}

std::string formatTimeStamp(const std::tm& t) {
    std::string out;
    appendDigits(out, t.tm_year + 1900, 4);
    out += " - ";
    appendDigits(out, t.tm_mon + 1, 2);
    out += " - ";
    appendDigits(out, t.tm_mday, 2);
    out += "   ";
    appendDigits(out, t.tm_hour, 2);
    out += ':';
    appendDigits(out, t.tm_min, 2);
    out += ':';
    appendDigits(out, t.tm_sec, 2);
    return out;
}

std::string currentTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return formatTimeStamp(local);
}

bool isTimeStamp(std::string_view text) {
    // "2026 - 12 - 08   10:00:00": the separators stand at fixed places.
    constexpr std::string_view kPattern = "dddd - dd - dd   dd:dd:dd";
    if (text.size() != kPattern.size()) return false;
    for (std::size_t i = 0; i < kPattern.size(); ++i) {
        if (kPattern[i] == 'd') {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        } else if (text[i] != kPattern[i]) {
            return false;
        }
    }
    const int month = digitsAt(text, 7, 2);
    const int day = digitsAt(text, 12, 2);
    const int hour = digitsAt(text, 17, 2);
    const int minute = digitsAt(text, 20, 2);
    const int second = digitsAt(text, 23, 2);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 &&
           second <= 59;
}

void titleBlock(PrintBuffer& out, ReportTable table, const ReportRequest& request) {
    const bool one = table == ReportTable::One;
    out.tab(30).text("平面框架结构分析计算书").endLine();
    out.tab(38).text(one ? "(表一)" : "(表二)").endLine();
    out.tab(30)
        .text(one ? "原始数据文件名：" : "原始数据文件名:")
        .text(request.dataFileName)
        .endLine();
    out.tab(one ? 25 : 30).text("计算时间:").text(request.timeStamp).endLine();
    out.endLine();
}

void headingLine(PrintBuffer& out, std::initializer_list<TabbedText> items) {
    for (const TabbedText& item : items) out.tab(item.column).text(item.text);
    out.endLine();
}

bool writeResultFile(const std::string& path, std::string_view text, Host& host) {
    std::string error;
    if (writeFileAtomic(path, text, &error)) return true;
    const std::string message = run_text::cannotWrite(path, error);
    tellError(host, message);
    return false;
}

}  // namespace tarvel
