#pragma once
// File choice and display of the data-preparation window: `Open1` picks the
// file the generate, convert and check commands work on; the view and print
// commands read a text file for display.

#include <optional>
#include <string>

#include "common/host.h"

namespace tarvel {

// `LastChosenFile`: the chosen path, empty when the dialog was cancelled.
std::string Open1(Host& host);

// The text of a file for display (UTF-8; older files in GBK are converted).
// A file that cannot be read ends the command with a message: nullopt.
std::optional<std::string> readFileForDisplay(const std::string& path, Host& host);

// The view box command: shows the file's text, then its name on the status
// line. False (with a message) when the file cannot be read.
bool showFileInView(const std::string& path, Host& host);

namespace choice_text {
inline constexpr const char* kOpenTitle = "文件打开";
inline constexpr const char* kFilter =
    "所有文件 (*.*)|*.*|TVL 文件 (*.TVL)|*.TVL|FRM 文件 (*.FRM)|*.FRM|数据文件 (*.WRI)|*.WRI";
inline constexpr const char* kFileName = "文件名：";
}  // namespace choice_text

}  // namespace tarvel
