#include "prep/file_choice.h"

#include "common/file_io.h"
#include "common/text_encoding.h"

namespace tarvel {

std::string Open1(Host& host) {
    return host.chooseFile(choice_text::kOpenTitle, choice_text::kFilter).value_or("");
}

std::optional<std::string> readFileForDisplay(const std::string& path, Host& host) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        host.message("文件 '" + path + "' 不能打开,无法显示！", "提示", Icon::Information);
        return std::nullopt;
    }
    return decodeTextFile(*bytes);
}

bool showFileInView(const std::string& path, Host& host) {
    const std::optional<std::string> text = readFileForDisplay(path, host);
    if (!text) return false;
    host.view(*text);
    host.status(choice_text::kFileName + path);
    return true;
}

}  // namespace tarvel
