#pragma once
// Validation of a ".TVL" data file: `CmdWjjy` of the data-preparation window
// and `Wjxy` of the analysis window, one algorithm with the two windows'
// differences as a parameter. Reads every segment with the typed reads of
// the analysis and names the segment where a value does not read.

#include <string>

#include "common/host.h"
#include "prep/prep_window.h"

namespace tarvel {

struct AnalysisState;

// Done when the file reads cleanly, holds every mandatory segment and passes
// every guard of the analysis run (read as the run reads it, without
// analysing); the warnings of the run's reading follow the verdict. Refused
// otherwise: the segment that does not read, the missing segments, or the
// run's first refusal in the run's own words; a file that cannot be opened is
// named with the reason. The file is never changed.
// The run's reading goes into `scratch` when given (whatever it held is
// cleared), else into a state of its own: a caller that checks file after
// file keeps one state for all of them.
PrepOutcome checkDataFile(const std::string& path, PrepWindow window, Host& host,
                          AnalysisState* scratch = nullptr);

inline PrepOutcome CmdWjjy(const std::string& path, Host& host) {
    return checkDataFile(path, PrepWindow::DataPreparation, host);
}
inline PrepOutcome Wjxy(const std::string& path, Host& host) {
    return checkDataFile(path, PrepWindow::Analysis, host);
}

namespace check_text {
inline constexpr const char* kWaiting = "文件等待校验,请您选择！";
inline constexpr const char* kQuestion = "您是否真的要校验（TVL）数据文件吗？";
inline constexpr const char* kPassedStatus = "文件校验结束，您的（TVL）文件格式是正确的！";
inline constexpr const char* kPassed = "（TVL）文件校验结束，您的（TVL）文件格式是正确的！";
inline constexpr const char* kTitle = "（TVL）文件校验";
}  // namespace check_text

}  // namespace tarvel
