#include "prep/prep_window.h"

#include <string>

namespace tarvel {

void showStatus(Host& host, PrepWindow window, std::string_view text) {
    if (window == PrepWindow::DataPreparation) {
        host.status(text);
    } else {
        host.view(text);
    }
}

int findSegment(DataFile& file, std::string_view name, int mode, PrepWindow window, Host& host) {
    if (window == PrepWindow::Analysis) return file.FINDSEG(name, mode);
    if (file.FINDSEG(name, kSilent) == 0) return 0;
    const std::string quotedName = " '" + std::string(name) + "' ";
    if (mode == kMandatory) {
        host.status("致命的错误：找不到" + quotedName + "数据段！");
    } else if (mode == kOptional) {
        host.status("系统提示：没找到" + quotedName + "数据段！");
    }
    return 1;
}

std::string segmentFormatError(std::string_view segment) {
    return "源文件 '" + std::string(segment) + "' 数据段格式有错，请检查核对数据后重试！";
}

}  // namespace tarvel
