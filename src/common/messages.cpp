#include "common/messages.h"

namespace tarvel {

void tell(Host& host, std::string_view text, std::string_view title, Icon icon, Tell where) {
    if (where != Tell::Show) host.log(text);
    if (where != Tell::Log) host.message(text, title, icon);
}

std::string overLimitText(std::string_view opening, std::string_view what, long long found,
                          long long limit) {
    return std::string(opening) + std::string(what) + "：" + std::to_string(found) + "个（最多" +
           std::to_string(limit) + "个）。";
}

}  // namespace tarvel
