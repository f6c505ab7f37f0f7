#pragma once
// Telling the user: the titles every subsystem shares, the over-limit text,
// and the one routine that puts a text in the run log, in a message box or both.

#include <string>
#include <string_view>

#include "common/host.h"

namespace tarvel {

// Titles of the message boxes.
inline constexpr const char* kErrorTitle = "错误信息提示！";
inline constexpr const char* kNoticeTitle = "提示！";

// Where a text goes: the run log, a message box, or both (log first).
enum class Tell { Log, Show, LogAndShow };

void tell(Host& host, std::string_view text, std::string_view title, Icon icon,
          Tell where = Tell::LogAndShow);

// A refusal or failure: logged and shown with the error title.
inline void tellError(Host& host, std::string_view text) {
    tell(host, text, kErrorTitle, Icon::Information);
}

// "<opening><what>：65个（最多64个）。": a count beyond its table.
std::string overLimitText(std::string_view opening, std::string_view what, long long found,
                          long long limit);

}  // namespace tarvel
