#include "drawing/result_file_text.h"

namespace tarvel {

std::string readErrorText(const ListInputError& e, std::string_view file) {
    const std::string name = "错误信息:'" + std::string(file) + "' ";
    const std::string line = std::to_string(e.line());
    switch (e.kind()) {
        case ListInputError::Kind::PastEnd:
            return name + "中的数值少于文件头所示的数目(读到文件末尾)！";
        case ListInputError::Kind::NotNumber:
            return name + "第 " + line + " 行的 '" + e.item() + "' 不是数值！";
        case ListInputError::Kind::Overflow:
            return name + "第 " + line + " 行的数值 '" + e.item() + "' 超出范围！";
    }
    return {};
}

std::string invalidCountText(std::string_view file, std::string_view what, int count) {
    return "错误信息:'" + std::string(file) + "' 的" + std::string(what) + " " +
           std::to_string(count) + " 无效！";
}

std::string countOverLimitText(std::string_view file, std::string_view what, int count, int limit) {
    return "错误信息:'" + std::string(file) + "' 的" + std::string(what) + " " +
           std::to_string(count) + " 超出图形交互程序极限(最多 " + std::to_string(limit) + ")！";
}

}  // namespace tarvel
