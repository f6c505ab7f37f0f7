#pragma once
// What the file commands of data preparation share: which window runs them
// (the data-preparation window and the analysis window each have a copy with
// small differences), how a command ended, where its status texts go, and the
// segment finder of each window.

#include <string_view>

#include "common/host.h"
#include "model/data_file.h"

namespace tarvel {

enum class PrepWindow {
    DataPreparation,  // FrmInput: status line, its own segment finder
    Analysis,         // FrmTarvel: status texts in the view box, the model's finder
};

enum class PrepOutcome {
    NoFile,    // no file was chosen: nothing asked, nothing done
    Declined,  // No or Cancel: nothing written
    Refused,   // the input or the target could not be used; the message says why
    Done,
};

// A status text: the status line of the data-preparation window, the view box
// of the analysis window.
void showStatus(Host& host, PrepWindow window, std::string_view text);

// `FINDSEG` of the window: positions file.in() after the marker of `name`;
// 0 found, 1 not found. Both search the same way; the data-preparation
// window shows a missing segment on its status line, the analysis window
// writes it to the run log.
int findSegment(DataFile& file, std::string_view name, int mode, PrepWindow window, Host& host);

// The message of the convert and check commands for a failure inside a segment.
std::string segmentFormatError(std::string_view segment);

namespace prep_text {
inline constexpr const char* kNoticeTitle = "提示！";
inline constexpr const char* kGenerateTitle = "提示";
}  // namespace prep_text

}  // namespace tarvel
