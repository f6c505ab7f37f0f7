#pragma once
// Conversion of a legacy ".FRM" frame file into a ".TVL" data file beside it:
// `CmdWjzh` of the data-preparation window and `Wjzh` of the analysis window,
// one algorithm with the two windows' differences as a parameter.

#include <optional>
#include <string>

#include "common/host.h"
#include "prep/prep_window.h"

namespace tarvel {

// The target of a source: its path without the last four characters,
// followed by ".TVL". nullopt when the file name is too short to carry an
// extension (four characters or fewer).
std::optional<std::string> frmTargetPath(const std::string& source);

// Converts `source` (an empty path is a cancelled file choice). Nothing is
// written before the Yes, and the target is written whole or not at all. The
// target reads as the source: a source with data after the record that ends
// a segment for the data file's reader (a blank line, a record starting with
// 0, an empty mass group) is refused, naming the segment and both lines.
PrepOutcome convertFrmFile(const std::string& source, PrepWindow window, Host& host);

inline PrepOutcome CmdWjzh(const std::string& source, Host& host) {
    return convertFrmFile(source, PrepWindow::DataPreparation, host);
}
inline PrepOutcome Wjzh(const std::string& source, Host& host) {
    return convertFrmFile(source, PrepWindow::Analysis, host);
}

namespace conversion_text {
inline constexpr const char* kWaiting = "文件等待转换,请您选择！";
inline constexpr const char* kQuestion = "您是否真的要把（FRM）数据文件转换成（TVL）数据文件吗？";
inline constexpr const char* kFinishedStatus = "文件转换结束，请检查（TVL）文件格式是否正确！";
inline constexpr const char* kFinished = "（FRM）文件转换结束，请检查（TVL）文件格式是否正确！";
inline constexpr const char* kFinishedTitle = "（FRM）文件转换";
}  // namespace conversion_text

}  // namespace tarvel
