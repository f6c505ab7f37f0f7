#pragma once
// `CmdWjsc`: writes the twelve input tables of a job out as a ".TVL" frame
// data file, segment by segment, every number in the print format.

#include <string>

#include "common/host.h"
#include "prep/job_database.h"
#include "prep/prep_window.h"

namespace tarvel {

// The data file text, or the reason it cannot be written: a table row with
// an empty or non-numeric cell; a row whose first value is 0 (it would end
// its segment when read); a second SEISMIC1 row; mass rows without SEISMIC1;
// a mass record whose value count differs from the count it announces. So
// the file always reads back as the tables say. Shows the status texts as it goes.
struct GeneratedDataFile {
    bool ok = false;
    std::string text;     // CR LF lines
    std::string refusal;  // names the table and the row
};
GeneratedDataFile buildDataFileText(const JobDatabase& db, Host& host);

// The command: asks, then writes `target` whole or not at all. An empty
// target is a cancelled file choice. The target is touched only after Yes.
PrepOutcome CmdWjsc(const JobDatabase& db, const std::string& target, Host& host);

namespace generation_text {
inline constexpr const char* kWaiting = "文件等待转换,请您选择！";
inline constexpr const char* kQuestion = "您是否真的要生成（TVL）数据文件吗？";
inline constexpr const char* kRunning = "文件正在生成,请您稍侯！";
inline constexpr const char* kFinished = "文件生成结束！";
inline constexpr const char* kDone = "（TVL）文件生成完毕！";
inline constexpr const char* kDoneTitle = "TVL文件生成";
}  // namespace generation_text

}  // namespace tarvel
