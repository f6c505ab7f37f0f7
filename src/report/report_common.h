#pragma once
// What the two report files have in common: the request of the run that they
// describe (data file, steel grades and strengths, time stamp), the title
// block, and the all-or-nothing writing of a result file with a message that
// names the file when it cannot be written.

#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/analysis_state.h"
#include "common/host.h"
#include "common/print_buffer.h"

namespace tarvel {

struct ReportRequest {
    std::string dataFileName;  // printed in the title block after "原始数据文件名"
    int mainGrade = 2;         // steel grade of the main bars as chosen, 1..4
    int stirrupGrade = 1;      // steel grade of the stirrups as chosen, 1..4
    float fy = 300.0f;         // main-bar strength, N/mm²
    float fyv = 210.0f;        // stirrup strength, N/mm²
    // "yyyy - mm - dd   hh:mm:ss"; empty means the local time when the report
    // is written. A fixed text makes the report files reproducible.
    std::string timeStamp;
};

// The request of the run held in `st`: the data file's name without its
// folder, the two grades and their strengths (`Gjjbxz`), and `timeStamp`.
ReportRequest reportRequestFor(const AnalysisState& st, std::string timeStamp = {});

// "yyyy - mm - dd   hh:mm:ss" (24-hour clock) of a broken-down time.
std::string formatTimeStamp(const std::tm& t);
// The same for the current local time.
std::string currentTimeStamp();
// True when `text` has exactly the form "dddd - dd - dd   dd:dd:dd" with a
// month 01..12, a day 01..31, an hour 00..23 and minutes and seconds 00..59.
bool isTimeStamp(std::string_view text);

// Table number in the title block: "(表一)" or "(表二)".
enum class ReportTable { One, Two };

// Title lines of a report file with the request's time stamp as it stands,
// followed by a blank line.
void titleBlock(PrintBuffer& out, ReportTable table, const ReportRequest& request);

// A heading line of a table: each text at its Tab column, then the line end.
struct TabbedText {
    int column = 1;
    std::string_view text;
};
void headingLine(PrintBuffer& out, std::initializer_list<TabbedText> items);

// Writes `text` to `path` all or nothing. A file that cannot be written is
// reported in the run log and in a message naming it; false then.
bool writeResultFile(const std::string& path, std::string_view text, Host& host);

}  // namespace tarvel
