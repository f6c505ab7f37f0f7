#include "model/size_precheck.h"

#include <string>

#include "common/limits.h"
#include "common/list_input.h"
#include "common/messages.h"

namespace tarvel {

namespace {
// The first value of a record line, for the terminator test. A line that
// starts with a comma has an empty first item, which reads as 0 just as the
// reader takes it for the terminating record.
bool firstValueIsZero(std::string_view line) {
    std::size_t end = line.find_first_of(", \t");
    std::string_view first = line.substr(0, end);
    if (first.empty()) return true;
    double v = 0.0;
    return parseNumber(first, v) && v == 0.0;
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}
}  // namespace

int countRecordLines(DataFile& file, const char* segment) {
    if (file.FINDSEG(segment, kMandatory) != 0) return 0;
    const std::string& text = file.in().content();
    std::size_t pos = file.in().position();
    int count = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        const std::size_t first = line.find_first_not_of(" \t");
        if (isBlank(line) || firstValueIsZero(line.substr(first))) break;
        ++count;
        pos = end;  // past CR LF, a lone LF or a lone CR
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
            if (pos < text.size() && text[pos] == '\n') ++pos;
        } else if (pos < text.size()) {
            ++pos;
        }
    }
    file.close();
    return count;
}

bool PBC(DataFile& file, Host& host, SizeCount* out) {
    SizeCount c;
    c.nodes = countRecordLines(file, "POINT");
    c.beams = countRecordLines(file, "BEAM");
    c.columns = countRecordLines(file, "COLUMN");
    if (out) *out = c;
    file.close();
    if (c.nodes > limits::kMaxNodes || c.beams > limits::kMaxBeams || c.columns > limits::kMaxColumns) {
        host.message("超出结构分析极限，请重新调整数据或更新分析程序！！！ 节点：" + std::to_string(c.nodes) +
                         "个； 梁：" + std::to_string(c.beams) + "条； 柱：" + std::to_string(c.columns) +
                         "条。",
                     kNoticeTitle, Icon::None);
        return false;
    }
    return true;
}

}  // namespace tarvel
